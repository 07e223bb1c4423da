#include "tests/chart/ChartKit.h"

TReportResult chartResult(const QStringList &Titles, const QList<QStringList> &Rows)
{
    TReportResult result;
    result.SetColCount(int(Titles.size()) + 1);
    result.SetRowCount(int(Rows.size()) + 1);
    for (int c = 0; c < Titles.size(); ++c)
        result.SetCells(c + 1, 0, Titles[c]);
    for (int r = 0; r < Rows.size(); ++r) {
        result.SetCells(0, r + 1, QString::number(r + 1));
        for (int c = 0; c < Rows[r].size(); ++c)
            result.SetCells(c + 1, r + 1, Rows[r][c]);
    }
    return result;
}
