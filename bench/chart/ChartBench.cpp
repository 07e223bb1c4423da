// Figures of the chart of a long result: a result of N rows (a minute-by-minute time column
// and three numeric columns, as the grid holds them) drawn to a 1,600-pixel-wide image, for
// N = 1,000,000 against N = 1,600 (one point per pixel column). Each phase is timed apart:
// reading the series from the grid's texts, drawing the saved picture (the reduction to pixel
// columns included), and the pane over Qt Charts taking the result and painting itself.
#include "catalog/ReportResult.h"
#include "chart/ChartPane.h"
#include "chart/ChartPicture.h"

#include <QApplication>
#include <QChartView>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTimeZone>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

constexpr QSize Picture{1600, 800};
constexpr int Repeats = 3;

std::shared_ptr<TReportResult> minuteResult(int Rows)
{
    auto result = std::make_shared<TReportResult>();
    result->SetColCount(5);
    result->SetRowCount(Rows + 1);
    const QStringList titles{"Время", "P МВт", "Q Мвар", "U кВ"};
    for (int c = 0; c < titles.size(); ++c)
        result->SetCells(c + 1, 0, titles[c]);
    const QDateTime start(QDate(2015, 1, 1), QTime(0, 0), QTimeZone::utc());
    for (int r = 1; r <= Rows; ++r) {
        const double t = r / 1440.0;
        result->SetCells(0, r, QString::number(r));
        result->SetCells(1, r,
                         start.addSecs(60LL * r).toString(QStringLiteral("dd.MM.yyyy H:mm:ss")));
        result->SetCells(
            2, r, QString::number(100 + 30 * std::sin(t * 6.283), 'f', 2).replace(u'.', u','));
        result->SetCells(3, r,
                         QString::number(30 + 8 * std::cos(t * 6.283), 'f', 2).replace(u'.', u','));
        result->SetCells(4, r, QString::number(110 + (r % 17) * 0.1, 'f', 1).replace(u'.', u','));
    }
    return result;
}

// The least of a few timings of F, in milliseconds.
template <typename F> double bestMs(F f)
{
    double best = INFINITY;
    for (int k = 0; k < Repeats; ++k) {
        QElapsedTimer timer;
        timer.start();
        f();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

void measure(int Rows)
{
    const std::shared_ptr<TReportResult> result = minuteResult(Rows);
    TChartData data;
    const double read = bestMs([&] { data = ReadChartData(*result); });
    const TChartChoice choice = DefaultChartChoice(data);
    const double draw = bestMs([&] { ChartImage(Picture, *result, data, choice); });
    TChartPane pane;
    pane.resize(Picture.width() + 200, Picture.height());
    pane.show();
    QApplication::processEvents();
    const double shown = bestMs([&] {
        pane.SetResult(result, -1);
        pane.findChild<QChartView *>("ChartView")->grab();
    });
    std::printf("%9d rows x 3 series: read %9.1f ms, picture %7.1f ms, pane (Qt Charts) %8.1f ms\n",
                Rows, read, draw, shown);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("chart of a result, %dx%d pixels, best of %d\n", Picture.width(), Picture.height(),
                Repeats);
    measure(1'600);
    measure(1'000'000);
    return 0;
}
