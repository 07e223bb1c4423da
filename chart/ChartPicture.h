#pragma once

#include "chart/ChartChoice.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <stdexcept>

class QPainter;
class QRect;
class TReportResult;

// A chart picture that cannot be drawn; what() is the message shown to the user.
class EChartError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The size of a picture the unattended program draws.
inline constexpr QSize ChartPictureSize{1600, 800};

// Draws the chart into Area of an active painter: the legend of the shown series, the value
// axis, the horizontal axis with the grid's texts, and the series as lines or bars, each
// reduced to the plot's pixel columns first (ReduceToPixels), so the cost follows the width.
// Without a numeric column it draws NoNumericColumnsText instead.
void DrawChart(QPainter &Painter, const QRect &Area, const TReportResult &Result,
               const TChartData &Data, const TChartChoice &Choice);

// The chart on a white image of the given size. Needs a QGuiApplication (fonts); raises
// EChartError without one.
QImage ChartImage(const QSize &Size, const TReportResult &Result, const TChartData &Data,
                  const TChartChoice &Choice);

// Writes the chart as PNG, or as SVG when the name ends in ".svg". Raises EChartError for a
// result without a numeric column or without a QGuiApplication, EQExportError when the file
// cannot be written; nothing is left under the name then.
void SaveChartPicture(const QString &FileName, const QSize &Size, const TReportResult &Result,
                      const TChartData &Data, const TChartChoice &Choice);

// The chart of a report's result as its kept choice shows it, written as SaveChartPicture
// writes it, ChartPictureSize large.
void SaveReportChart(const QString &FileName, const TReportResult &Result, int ReportId);
