#include "chart/ChartPicture.h"

#include "catalog/ReportResult.h"
#include "chart/ChartReduce.h"
#include "db/FieldValue.h"
#include "export/ExportFile.h"

#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPolygonF>
#include <QSvgGenerator>
#include <QTimeZone>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int Margin = 12;
constexpr int TickLength = 4;
constexpr int AxisTicks = 6;

const QColor &seriesColor(std::size_t k)
{
    static const QColor palette[] = {QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28),
                                     QColor(0x2c, 0xa0, 0x2c), QColor(0xff, 0x7f, 0x0e),
                                     QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
                                     QColor(0xe3, 0x77, 0xc2), QColor(0x17, 0xbe, 0xcf)};
    return palette[k % std::size(palette)];
}

// A step of 1, 2 or 5 times a power of ten giving about Ticks intervals over Span.
double niceStep(double span, int ticks)
{
    const double raw = span / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (raw <= m * power)
            return m * power;
    return 10 * power;
}

struct TRange {
    double Min = std::numeric_limits<double>::infinity();
    double Max = -std::numeric_limits<double>::infinity();
    void take(double v)
    {
        Min = std::min(Min, v);
        Max = std::max(Max, v);
    }
    bool empty() const { return Min > Max; }
    // A range of some width that holds zero for bars.
    TRange widened(bool withZero) const
    {
        TRange r = empty() ? TRange{0, 1} : *this;
        if (withZero)
            r = {std::min(r.Min, 0.0), std::max(r.Max, 0.0)};
        if (r.Max - r.Min <= 0)
            r = {r.Min - 1, r.Max + 1};
        return r;
    }
};

// The shown series, the points each draws and the value range over them.
struct TPlotted {
    std::vector<std::size_t> Series;
    std::vector<std::vector<std::size_t>> Points; // per shown series (lines)
    std::vector<std::size_t> BarPoints;           // common to all shown series (bars)
    TRange Values;
};

TPlotted plotted(const TChartData &Data, const TChartChoice &Choice, int Pixels)
{
    TPlotted p;
    const double xMin = Data.X.empty() ? 0 : Data.X.front();
    const double xMax = Data.X.empty() ? 0 : Data.X.back();
    for (std::size_t k = 0; k < Data.Series.size(); ++k) {
        if (!ChartShows(Choice, Data.Series[k]))
            continue;
        p.Series.push_back(k);
        const std::vector<double> &y = Data.Series[k].Values;
        std::vector<std::size_t> points = ReduceToPixels(Data.X, y, xMin, xMax, Pixels);
        for (std::size_t i : points)
            p.Values.take(y[i]);
        p.Points.push_back(std::move(points));
    }
    if (Choice.Kind == TChartKind::Bar) {
        for (const auto &points : p.Points)
            p.BarPoints.insert(p.BarPoints.end(), points.begin(), points.end());
        std::sort(p.BarPoints.begin(), p.BarPoints.end());
        p.BarPoints.erase(std::unique(p.BarPoints.begin(), p.BarPoints.end()), p.BarPoints.end());
    }
    return p;
}

QString timeLabel(double msecs, double span)
{
    const QDateTime t = QDateTime::fromMSecsSinceEpoch(qint64(msecs), QTimeZone::utc());
    constexpr double Day = 24 * 3600 * 1000.0;
    return t.toString(span < Day        ? QStringLiteral("H:mm")
                      : span < 60 * Day ? QStringLiteral("dd.MM H:mm")
                                        : QStringLiteral("dd.MM.yyyy"));
}

class TChartPainter {
public:
    TChartPainter(QPainter &painter, const QRect &area, const TReportResult &result,
                  const TChartData &data, const TChartChoice &choice)
        : p_(painter), area_(area), result_(result), data_(data), choice_(choice)
    {
    }

    void draw()
    {
        p_.save();
        p_.setRenderHint(QPainter::Antialiasing, false);
        p_.fillRect(area_, Qt::white);
        p_.setPen(Qt::black);
        if (data_.Series.empty()) {
            p_.drawText(area_, Qt::AlignCenter, NoNumericColumnsText());
            p_.restore();
            return;
        }
        const QFontMetrics fm = p_.fontMetrics();
        const int line = fm.height();
        const int legendHeight = line + Margin;
        const int axisLabelWidth = fm.horizontalAdvance(QStringLiteral("-000000,00"));
        plot_ = QRect(area_.left() + Margin + axisLabelWidth + TickLength,
                      area_.top() + Margin + legendHeight,
                      area_.width() - 2 * Margin - axisLabelWidth - TickLength,
                      area_.height() - 2 * Margin - legendHeight - line - TickLength);
        if (plot_.width() < 2 || plot_.height() < 2) {
            p_.restore();
            return;
        }
        const TPlotted shown = plotted(data_, choice_, plot_.width());
        values_ = shown.Values.widened(choice_.Kind == TChartKind::Bar);
        drawLegend(shown, fm);
        drawValueAxis(fm);
        if (choice_.Kind == TChartKind::Bar)
            drawBars(shown, fm);
        else {
            drawXAxis(fm);
            drawLines(shown);
        }
        p_.setPen(Qt::black);
        p_.drawRect(plot_);
        p_.restore();
    }

private:
    double yAt(double v) const
    {
        return plot_.bottom() - (v - values_.Min) / (values_.Max - values_.Min) * plot_.height();
    }
    double xAt(double x) const
    {
        const double lo = data_.X.front(), hi = data_.X.back();
        return plot_.left() +
               (hi > lo ? (x - lo) / (hi - lo) * plot_.width() : plot_.width() / 2.0);
    }

    void drawLegend(const TPlotted &shown, const QFontMetrics &fm)
    {
        int x = plot_.left();
        const int y = area_.top() + Margin;
        for (std::size_t k : shown.Series) {
            const QString &title = data_.Series[k].Title;
            p_.fillRect(QRect(x, y + fm.height() / 4, fm.height() / 2, fm.height() / 2),
                        seriesColor(k));
            x += fm.height();
            p_.setPen(Qt::black);
            p_.drawText(QPoint(x, y + fm.ascent()), title);
            x += fm.horizontalAdvance(title) + 2 * Margin;
        }
    }

    void drawValueAxis(const QFontMetrics &fm)
    {
        const double step = niceStep(values_.Max - values_.Min, AxisTicks);
        for (double v = std::ceil(values_.Min / step) * step; v <= values_.Max + step / 1e6;
             v += step) {
            const int y = int(std::lround(yAt(v)));
            p_.setPen(QColor(0xe0, 0xe0, 0xe0));
            p_.drawLine(plot_.left(), y, plot_.right(), y);
            p_.setPen(Qt::black);
            p_.drawLine(plot_.left() - TickLength, y, plot_.left(), y);
            const QString text = FloatText(std::abs(v) < step / 1e6 ? 0 : v);
            p_.drawText(QRect(area_.left(), y - fm.height() / 2,
                              plot_.left() - TickLength - 2 - area_.left(), fm.height()),
                        Qt::AlignRight | Qt::AlignVCenter, text);
        }
    }

    // Labels of the horizontal axis at about AxisTicks places along the points.
    void drawXAxis(const QFontMetrics &fm)
    {
        const double lo = data_.X.front(), hi = data_.X.back();
        const int y = plot_.bottom() + TickLength;
        p_.setPen(Qt::black);
        for (int t = 0; t <= AxisTicks; ++t) {
            const double x = lo + (hi - lo) * t / AxisTicks;
            QString text;
            if (data_.Axis == TChartAxis::Time)
                text = timeLabel(x, hi - lo);
            else if (data_.Axis == TChartAxis::RowNumber)
                text = QString::number(std::llround(x));
            else
                text = ChartXText(result_, data_, std::size_t(std::llround(x)));
            if (t > 0 && hi == lo)
                break;
            const int at = int(std::lround(xAt(x)));
            p_.drawLine(at, plot_.bottom(), at, y);
            const int w = fm.horizontalAdvance(text);
            const int left = std::clamp(at - w / 2, area_.left(), area_.right() - w);
            p_.drawText(QPoint(left, y + fm.ascent()), text);
        }
    }

    void drawLines(const TPlotted &shown)
    {
        for (std::size_t s = 0; s < shown.Series.size(); ++s) {
            const std::vector<double> &y = data_.Series[shown.Series[s]].Values;
            QPolygonF line;
            line.reserve(qsizetype(shown.Points[s].size()));
            for (std::size_t i : shown.Points[s])
                line.append(QPointF(xAt(data_.X[i]), yAt(y[i])));
            // A one-pixel cosmetic pen takes the rasterizer's line path: a wider pen strokes
            // the up-and-down run of every pixel column as one overlapping outline.
            QPen pen(seriesColor(shown.Series[s]), 1);
            pen.setCosmetic(true);
            p_.setPen(pen);
            p_.drawPolyline(line);
        }
    }

    void drawBars(const TPlotted &shown, const QFontMetrics &fm)
    {
        const std::size_t n = shown.BarPoints.size();
        if (n == 0)
            return;
        const double group = double(plot_.width()) / double(n);
        const double bar = group * 0.8 / double(shown.Series.size());
        const double zero = yAt(0);
        for (std::size_t b = 0; b < n; ++b) {
            const std::size_t i = shown.BarPoints[b];
            for (std::size_t s = 0; s < shown.Series.size(); ++s) {
                const double v = data_.Series[shown.Series[s]].Values[i];
                if (std::isnan(v))
                    continue;
                const double left = plot_.left() + group * (double(b) + 0.1) + bar * double(s);
                const double top = std::min(yAt(v), zero);
                p_.fillRect(QRectF(left, top, std::max(bar, 1.0), std::abs(yAt(v) - zero)),
                            seriesColor(shown.Series[s]));
            }
        }
        // As many labels as fit side by side, from the first bar on.
        p_.setPen(Qt::black);
        int widest = 0;
        for (std::size_t i : shown.BarPoints)
            widest = std::max(widest, fm.horizontalAdvance(ChartXText(result_, data_, i)));
        const int labelWidth = std::min(widest, plot_.width() / 2) + Margin;
        const std::size_t every =
            std::max<std::size_t>(1, std::size_t(std::ceil(labelWidth / group)));
        for (std::size_t b = 0; b < n; b += every) {
            const QString text = ChartXText(result_, data_, shown.BarPoints[b]);
            const double centre = plot_.left() + group * (double(b) + 0.5);
            p_.drawText(QRectF(centre - labelWidth / 2.0, plot_.bottom() + TickLength, labelWidth,
                               fm.height()),
                        Qt::AlignHCenter | Qt::AlignTop,
                        fm.elidedText(text, Qt::ElideRight, labelWidth - Margin));
        }
    }

    QPainter &p_;
    QRect area_;
    const TReportResult &result_;
    const TChartData &data_;
    const TChartChoice &choice_;
    QRect plot_;
    TRange values_;
};

void requireGui()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        throw EChartError(
            "a chart picture needs a QGuiApplication (the offscreen platform serves)");
}

} // namespace

void DrawChart(QPainter &Painter, const QRect &Area, const TReportResult &Result,
               const TChartData &Data, const TChartChoice &Choice)
{
    TChartPainter(Painter, Area, Result, Data, Choice).draw();
}

QImage ChartImage(const QSize &Size, const TReportResult &Result, const TChartData &Data,
                  const TChartChoice &Choice)
{
    requireGui();
    QImage image(Size, QImage::Format_RGB32);
    QPainter painter(&image);
    DrawChart(painter, image.rect(), Result, Data, Choice);
    return image;
}

void SaveChartPicture(const QString &FileName, const QSize &Size, const TReportResult &Result,
                      const TChartData &Data, const TChartChoice &Choice)
{
    if (Data.Series.empty())
        throw EChartError(NoNumericColumnsText().toStdString());
    requireGui();
    TExportFile file(QFileInfo(FileName).absoluteFilePath());
    if (FileName.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file.device());
        svg.setSize(Size);
        svg.setViewBox(QRect(QPoint(0, 0), Size));
        QPainter painter(&svg);
        DrawChart(painter, QRect(QPoint(0, 0), Size), Result, Data, Choice);
    } else if (!ChartImage(Size, Result, Data, Choice).save(&file.device(), "PNG")) {
        file.raiseWriteError(file.device().errorString());
    }
    file.commit();
}

void SaveReportChart(const QString &FileName, const TReportResult &Result, int ReportId)
{
    const TChartPlan plan = PlanChart(Result, ReportId);
    SaveChartPicture(FileName, ChartPictureSize, Result, plan.Data, plan.Choice);
}
