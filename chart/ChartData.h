#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class TReportResult;

// What the horizontal axis of a result's chart reads.
enum class TChartAxis { Time, Category, RowNumber };

// A numeric column of the result as a series: its values, one per point of the chart.
struct TChartSeries {
    int Column = 0;
    QString Title;
    std::vector<double> Values; // NaN where the cell is empty
};

// A text column splits the numeric columns into a series per value only up to this many values.
inline constexpr int MaxSplitValues = 50;

// The chart of a result as its texts give it. The axis is the first column whose non-empty
// texts all read as dates or date-times (Time), else the first column holding any other text
// (Category), else the row number. Every column whose non-empty texts all read as numbers with
// the decimal comma is a series, titled with the column's title. On a time axis the points are
// in order of time (rows of one time in their order) and rows without a date are left out;
// otherwise the points are the data rows in their order.
struct TChartData {
    TChartAxis Axis = TChartAxis::RowNumber;
    int AxisColumn = -1;   // the result's column of the axis; -1 for the row number
    std::vector<int> Rows; // the result's row of each point
    // Time: milliseconds since 1970 of the wall-clock reading taken as UTC; Category: the
    // point's index; RowNumber: the row number.
    std::vector<double> X;
    std::vector<TChartSeries> Series;
    // The titles of the text columns, the axis column aside, that can split the series.
    QStringList SplitCandidates;
    // The column whose values split the series (SplitChartData), -1 and empty for none.
    int SplitColumn = -1;
    QString SplitBy;

    std::size_t Points() const { return Rows.size(); }
};

TChartData ReadChartData(const TReportResult &Result);

// Data with each numeric column split into one series per value of the column titled SplitBy,
// the values in order of their first point: a point keeps its value in the series of its row's
// value and has none (NaN) in the others. A series is titled with the value, or "title: value"
// when there are several numeric columns. Data is returned as it is when SplitBy names no
// candidate or its column holds more than MaxSplitValues values.
TChartData SplitChartData(const TReportResult &Result, TChartData Data, const QString &SplitBy);

// The column to split by when none was chosen: on a time axis where some time has more than
// one row (a row per substation and hour), the first candidate; none otherwise.
QString SuggestedChartSplit(const TChartData &Data);

// A point's x as the grid shows it: the axis column's text, or the row number.
QString ChartXText(const TReportResult &Result, const TChartData &Data, std::size_t Point);

// What hovering a point shows: the series' title, the point's x and its value in the grid's
// text, one per line.
QString ChartPointTip(const TReportResult &Result, const TChartData &Data, std::size_t Series,
                      std::size_t Point);

// Shown instead of a chart when the result has no numeric column.
QString NoNumericColumnsText();
