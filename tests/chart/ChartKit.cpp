#include "tests/chart/ChartKit.h"

#include "tests/support/TempDir.h"

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

IdentifiedPicture identifyPicture(const QString &File)
{
    QString out;
    if (runProgram(QStringLiteral("identify"),
                   {QStringLiteral("-format"), QStringLiteral("%m %w %h %k"), File}, &out) != 0)
        return {};
    const QStringList fields = out.split(u' ');
    if (fields.size() != 4)
        return {};
    return {fields.mid(0, 3).join(u' '), fields[3].toInt()};
}
