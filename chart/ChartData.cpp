#include "chart/ChartData.h"

#include "catalog/ReportResult.h"
#include "export/CellValue.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

constexpr double NoValue = std::numeric_limits<double>::quiet_NaN();

// One column's texts as the chart reads them, with the values of its numbers or dates.
struct TColumnRead {
    bool Any = false;
    bool Numbers = true;
    bool Dates = true;
    std::vector<double> Values;

    bool IsNumeric() const { return Any && Numbers; }
    bool IsTime() const { return Any && Dates; }
    bool IsText() const { return Any && !Numbers && !Dates; }
};

TColumnRead readColumn(const TReportResult &Result, int Column, int DataRows)
{
    TColumnRead read;
    read.Values.assign(std::size_t(DataRows), NoValue);
    for (int i = 0; i < DataRows; ++i) {
        const QStringView text = Result.CellView(Column, i + 1);
        if (text.isEmpty())
            continue;
        read.Any = true;
        const TCellValue value = ReadCellValue(text);
        if (value.kind == TCellValue::Number && read.Numbers) {
            read.Dates = false;
            read.Values[std::size_t(i)] = value.number;
        } else if (value.kind == TCellValue::DateTime && read.Dates) {
            read.Numbers = false;
            read.Values[std::size_t(i)] = double(value.dateTime.toMSecsSinceEpoch());
        } else {
            // A text column: none of its values is needed.
            read.Numbers = read.Dates = false;
            read.Values.clear();
            return read;
        }
    }
    return read;
}

} // namespace

TChartData ReadChartData(const TReportResult &Result)
{
    TChartData data;
    const int dataRows = std::max(Result.RowCount() - 1, 0);
    std::vector<double> time;
    int textColumn = -1;
    for (int c = 1; c < Result.ColCount(); ++c) {
        TColumnRead read = readColumn(Result, c, dataRows);
        if (read.IsNumeric())
            data.Series.push_back({c, Result.Title(c), std::move(read.Values)});
        else if (read.IsTime() && data.AxisColumn < 0) {
            data.Axis = TChartAxis::Time;
            data.AxisColumn = c;
            time = std::move(read.Values);
        } else if (read.IsText()) {
            if (textColumn < 0)
                textColumn = c;
            data.SplitCandidates << Result.Title(c);
        }
    }
    std::vector<std::size_t> order;
    if (data.Axis == TChartAxis::Time) {
        for (std::size_t i = 0; i < time.size(); ++i)
            if (!std::isnan(time[i]))
                order.push_back(i);
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return time[a] < time[b]; });
    } else {
        order.resize(std::size_t(dataRows));
        std::iota(order.begin(), order.end(), std::size_t(0));
        if (textColumn >= 0) {
            data.Axis = TChartAxis::Category;
            data.AxisColumn = textColumn;
            data.SplitCandidates.removeFirst();
        }
    }
    data.Rows.reserve(order.size());
    data.X.reserve(order.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::size_t i = order[k];
        data.Rows.push_back(int(i) + 1);
        data.X.push_back(data.Axis == TChartAxis::Time       ? time[i]
                         : data.Axis == TChartAxis::Category ? double(k)
                                                             : double(i + 1));
    }
    if (data.Axis == TChartAxis::Time)
        for (TChartSeries &s : data.Series) {
            std::vector<double> ordered;
            ordered.reserve(order.size());
            for (std::size_t i : order)
                ordered.push_back(s.Values[i]);
            s.Values = std::move(ordered);
        }
    return data;
}

TChartData SplitChartData(const TReportResult &Result, TChartData Data, const QString &SplitBy)
{
    if (SplitBy.isEmpty() || !Data.SplitCandidates.contains(SplitBy))
        return Data;
    int column = 1;
    while (column < Result.ColCount() && Result.Title(column) != SplitBy)
        ++column;
    if (column == Result.ColCount())
        return Data;
    // The value of each point, as an index into the values in order of first appearance.
    QStringList values;
    QHash<QString, int> index;
    std::vector<int> of(Data.Points());
    for (std::size_t k = 0; k < Data.Points(); ++k) {
        const QString text = Result.Cells(column, Data.Rows[k]);
        auto found = index.constFind(text);
        if (found == index.constEnd()) {
            if (values.size() == MaxSplitValues)
                return Data;
            found = index.insert(text, int(values.size()));
            values << text;
        }
        of[k] = found.value();
    }
    std::vector<TChartSeries> split;
    split.reserve(Data.Series.size() * std::size_t(values.size()));
    for (const TChartSeries &s : Data.Series)
        for (int v = 0; v < values.size(); ++v) {
            const QString value = values[v].isEmpty() ? QStringLiteral("(пусто)") : values[v];
            TChartSeries part{
                s.Column, Data.Series.size() == 1 ? value : s.Title + QStringLiteral(": ") + value,
                std::vector<double>(Data.Points(), NoValue)};
            for (std::size_t k = 0; k < Data.Points(); ++k)
                if (of[k] == v)
                    part.Values[k] = s.Values[k];
            split.push_back(std::move(part));
        }
    Data.Series = std::move(split);
    Data.SplitColumn = column;
    Data.SplitBy = SplitBy;
    return Data;
}

QString SuggestedChartSplit(const TChartData &Data)
{
    if (Data.Axis != TChartAxis::Time || Data.SplitCandidates.isEmpty() || Data.Series.empty())
        return {};
    // The points are in order of time: a repeated time stands next to itself.
    for (std::size_t k = 1; k < Data.Points(); ++k)
        if (Data.X[k] == Data.X[k - 1])
            return Data.SplitCandidates.front();
    return {};
}

QString ChartXText(const TReportResult &Result, const TChartData &Data, std::size_t Point)
{
    const int row = Data.Rows[Point];
    return Data.AxisColumn < 0 ? QString::number(row) : Result.Cells(Data.AxisColumn, row);
}

QString ChartPointTip(const TReportResult &Result, const TChartData &Data, std::size_t Series,
                      std::size_t Point)
{
    const TChartSeries &s = Data.Series[Series];
    return s.Title + u'\n' + ChartXText(Result, Data, Point) + u'\n' +
           Result.Cells(s.Column, Data.Rows[Point]);
}

QString NoNumericColumnsText()
{
    return QStringLiteral("Нет числовых колонок для графика");
}
