#include "catalog/GridCopy.h"

#include "catalog/ReportResult.h"

#include <QStringList>

namespace {

QString tsvCell(const QString &text)
{
    if (!text.contains(u'\t') && !text.contains(u'\n') && !text.contains(u'\r') &&
        !text.contains(u'"'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

void appendRow(TCellBlock &block, const QStringList &cells, const QString &tag)
{
    QStringList tsv;
    block.Html += QStringLiteral("<tr>");
    for (const QString &cell : cells) {
        tsv.append(tsvCell(cell));
        block.Html += QStringLiteral("<%1>%2</%1>").arg(tag, cell.toHtmlEscaped());
    }
    block.Html += QStringLiteral("</tr>");
    block.Tsv += tsv.join(u'\t') + QStringLiteral("\r\n");
}

} // namespace

TCellBlock CopyCells(const TReportResult &Result, std::span<const int> Rows,
                     std::span<const int> Cols, bool Titles,
                     const std::function<bool(int ACol, int ARow)> &Included)
{
    TCellBlock block;
    block.Html = QStringLiteral("<table>");
    const auto row = [&](int ARow, bool all) {
        QStringList cells;
        for (const int c : Cols)
            cells.append(all || !Included || Included(c, ARow) ? Result.Cells(c, ARow) : QString());
        return cells;
    };
    if (Titles)
        appendRow(block, row(0, true), QStringLiteral("th"));
    for (const int r : Rows)
        appendRow(block, row(r, false), QStringLiteral("td"));
    block.Html += QStringLiteral("</table>");
    return block;
}
