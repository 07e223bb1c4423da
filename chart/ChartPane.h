#pragma once

#include "chart/ChartChoice.h"

#include <QWidget>

#include <memory>
#include <vector>

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QStackedWidget;
class TReportResult;

// The chart of a result beside the grid: the series to tick, the kind (lines or bars), the
// chart itself through Qt Charts, and "Сохранить график". Every series is reduced to the
// view's pixel columns before it reaches the chart; the values stay in the result. A result
// without a numeric column shows NoNumericColumnsText instead of a chart.
class TChartPane : public QWidget {
    Q_OBJECT
public:
    explicit TChartPane(QWidget *parent = nullptr);

    // Shows the chart of a report's result (ReportId: its catalog id, below 0 for none) as
    // the choice kept for the report gives it.
    void SetResult(std::shared_ptr<const TReportResult> Result, int ReportId);

    const TChartData &Data() const { return data_; }
    const TChartChoice &Choice() const { return choice_; }
    QChart *Chart() const;

    // The user's changes: drawn at once and kept for the report.
    void SetKind(TChartKind Kind);
    void SetShown(std::size_t Series, bool Shown);
    // "Разбить по": a series per value of the column titled SplitBy (empty: none), every one
    // of them shown.
    void SetSplit(const QString &SplitBy);

    // "Сохранить график": PNG, or SVG for a name ending in ".svg", the size of the view.
    void SaveClick();

protected:
    void resizeEvent(QResizeEvent *Event) override;

private:
    void fillSeriesList();
    void rebuild();
    void addLines(int Pixels);
    void addBars(int Pixels);
    void keepChoice();
    void showTip(std::size_t Series, std::size_t Point);

    std::shared_ptr<const TReportResult> result_;
    int reportId_ = -1;
    TChartData data_;
    TChartChoice choice_;
    // Of each series drawn as a line: its index in data_ and the points it draws, with their
    // positions on the chart's horizontal axis.
    struct TDrawn {
        std::size_t Series;
        std::vector<std::size_t> Points;
        std::vector<double> ChartX;
    };
    std::vector<TDrawn> drawn_;
    std::vector<std::size_t> barPoints_;
    int drawnWidth_ = 0;

    QListWidget *series_;
    QComboBox *kind_;
    QComboBox *split_;
    QPushButton *save_;
    QStackedWidget *stack_;
    QChartView *view_;
    QLabel *empty_;
};
