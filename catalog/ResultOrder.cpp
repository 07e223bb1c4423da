#include "catalog/ResultOrder.h"

#include "catalog/ReportResult.h"
#include "export/CellValue.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <numeric>
#include <optional>

namespace {

// The kind every filled cell of the column has, or Text when they differ.
TCellValue::Kind columnKind(const std::vector<TCellValue> &values, const std::vector<bool> &empty)
{
    std::optional<TCellValue::Kind> kind;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (empty[i])
            continue;
        if (kind && *kind != values[i].kind)
            return TCellValue::Text;
        kind = values[i].kind;
    }
    return kind.value_or(TCellValue::Text);
}

} // namespace

std::vector<int> SortedRows(const TReportResult &Result, int ACol, bool Descending)
{
    const int count = std::max(Result.RowCount() - 1, 0);
    std::vector<int> rows(std::size_t(count), 0);
    std::iota(rows.begin(), rows.end(), 1);
    std::vector<TCellValue> values(rows.size());
    std::vector<bool> empty(rows.size());
    for (int r = 1; r <= count; ++r) {
        const QStringView text = Result.CellView(ACol, r);
        empty[std::size_t(r - 1)] = text.isEmpty();
        if (!text.isEmpty())
            values[std::size_t(r - 1)] = ReadCellValue(text);
    }
    const TCellValue::Kind kind = columnKind(values, empty);
    QCollator collator{QLocale(QLocale::Russian, QLocale::Russia)};
    // Negative, zero or positive as row a comes before, with or after row b.
    const auto compare = [&](int a, int b) -> int {
        const std::size_t i = std::size_t(a - 1), j = std::size_t(b - 1);
        if (empty[i] || empty[j])
            return int(empty[j]) - int(empty[i]);
        switch (kind) {
        case TCellValue::Number:
            return values[i].number < values[j].number ? -1 : values[j].number < values[i].number;
        case TCellValue::DateTime:
            return values[i].dateTime < values[j].dateTime
                       ? -1
                       : int(values[j].dateTime < values[i].dateTime);
        case TCellValue::Text:
            break;
        }
        return collator.compare(Result.CellView(ACol, a), Result.CellView(ACol, b));
    };
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        const int c = compare(a, b);
        return Descending ? c > 0 : c < 0;
    });
    return rows;
}
