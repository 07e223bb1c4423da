#include "chart/ChartPane.h"

#include "catalog/ExportFileChoice.h"
#include "catalog/ReportResult.h"
#include "chart/ChartPicture.h"
#include "chart/ChartReduce.h"
#include "common/MessageDialogs.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCursor>
#include <QDateTimeAxis>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimeZone>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

// The time axis of Qt Charts reads local time; the result's readings are wall-clock ones.
double chartTime(double WallMsecs)
{
    const QDateTime wall = QDateTime::fromMSecsSinceEpoch(qint64(WallMsecs), QTimeZone::utc());
    return double(QDateTime(wall.date(), wall.time()).toMSecsSinceEpoch());
}

} // namespace

TChartPane::TChartPane(QWidget *parent)
    : QWidget(parent), series_(new QListWidget(this)), kind_(new QComboBox(this)),
      split_(new QComboBox(this)), save_(new QPushButton(QStringLiteral("Сохранить график"), this)),
      stack_(new QStackedWidget(this)), view_(new QChartView(stack_)),
      empty_(new QLabel(NoNumericColumnsText(), stack_))
{
    series_->setObjectName(QStringLiteral("lbSeries"));
    kind_->setObjectName(QStringLiteral("cbChartKind"));
    kind_->addItems({QStringLiteral("Линии"), QStringLiteral("Столбцы")});
    split_->setObjectName(QStringLiteral("cbSplit"));
    split_->setToolTip(QStringLiteral("Разбить по"));
    save_->setObjectName(QStringLiteral("btSaveChart"));
    view_->setObjectName(QStringLiteral("ChartView"));
    empty_->setObjectName(QStringLiteral("lNoSeries"));
    empty_->setAlignment(Qt::AlignCenter);
    stack_->addWidget(view_);
    stack_->addWidget(empty_);

    auto *side = new QVBoxLayout;
    side->addWidget(kind_);
    side->addWidget(split_);
    side->addWidget(series_, 1);
    side->addWidget(save_);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(side);
    layout->addWidget(stack_, 1);
    series_->setMaximumWidth(200);
    kind_->setMaximumWidth(200);
    split_->setMaximumWidth(200);

    connect(kind_, &QComboBox::activated, this,
            [this](int index) { SetKind(index == 1 ? TChartKind::Bar : TChartKind::Line); });
    connect(split_, &QComboBox::activated, this,
            [this](int index) { SetSplit(index == 0 ? QString() : split_->itemText(index)); });
    connect(series_, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        SetShown(std::size_t(series_->row(item)), item->checkState() == Qt::Checked);
    });
    connect(save_, &QPushButton::clicked, this, &TChartPane::SaveClick);
    SetResult(std::make_shared<TReportResult>(), -1);
}

QChart *TChartPane::Chart() const
{
    return view_->chart();
}

void TChartPane::SetResult(std::shared_ptr<const TReportResult> Result, int ReportId)
{
    result_ = std::move(Result);
    reportId_ = ReportId;
    TChartPlan plan = PlanChart(*result_, ReportId);
    data_ = std::move(plan.Data);
    choice_ = std::move(plan.Choice);
    fillSeriesList();
    rebuild();
}

void TChartPane::SetSplit(const QString &SplitBy)
{
    const TChartKind kind = choice_.Kind;
    data_ = SplitChartData(*result_, ReadChartData(*result_), SplitBy);
    choice_ = DefaultChartChoice(data_);
    choice_.Kind = kind;
    fillSeriesList();
    rebuild();
    keepChoice();
}

void TChartPane::SetKind(TChartKind Kind)
{
    choice_.Kind = Kind;
    kind_->setCurrentIndex(Kind == TChartKind::Bar ? 1 : 0);
    rebuild();
    keepChoice();
}

void TChartPane::SetShown(std::size_t Series, bool Shown)
{
    const QString &title = data_.Series.at(Series).Title;
    choice_.Shown.removeAll(title);
    if (Shown)
        choice_.Shown << title;
    const QSignalBlocker quiet(series_);
    series_->item(int(Series))->setCheckState(Shown ? Qt::Checked : Qt::Unchecked);
    rebuild();
    keepChoice();
}

void TChartPane::fillSeriesList()
{
    const QSignalBlocker quiet(series_);
    series_->clear();
    for (const TChartSeries &s : data_.Series) {
        auto *item = new QListWidgetItem(s.Title, series_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(ChartShows(choice_, s) ? Qt::Checked : Qt::Unchecked);
    }
    kind_->setCurrentIndex(choice_.Kind == TChartKind::Bar ? 1 : 0);
    const QSignalBlocker quietSplit(split_);
    split_->clear();
    split_->addItem(QStringLiteral("Не разбивать"));
    split_->addItems(data_.SplitCandidates);
    split_->setCurrentIndex(int(data_.SplitCandidates.indexOf(data_.SplitBy)) + 1);
    const bool any = !data_.Series.empty();
    stack_->setCurrentWidget(any ? static_cast<QWidget *>(view_) : empty_);
    for (QWidget *w : {static_cast<QWidget *>(series_), static_cast<QWidget *>(kind_),
                       static_cast<QWidget *>(save_)})
        w->setEnabled(any);
    split_->setEnabled(any && !data_.SplitCandidates.isEmpty());
}

void TChartPane::rebuild()
{
    QChart *chart = view_->chart();
    chart->removeAllSeries();
    // The chart hands a removed axis back to its caller, unlike the series it deletes.
    for (QAbstractAxis *axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    drawn_.clear();
    barPoints_.clear();
    drawnWidth_ = view_->width();
    if (data_.Series.empty())
        return;
    const int pixels = std::max(drawnWidth_, 100);
    if (choice_.Kind == TChartKind::Bar)
        addBars(pixels);
    else
        addLines(pixels);
}

void TChartPane::addLines(int Pixels)
{
    QChart *chart = view_->chart();
    QAbstractAxis *x;
    if (data_.Axis == TChartAxis::Time) {
        auto *time = new QDateTimeAxis;
        time->setFormat(QStringLiteral("dd.MM.yyyy H:mm"));
        x = time;
    } else {
        auto *numbers = new QValueAxis;
        numbers->setLabelFormat(QStringLiteral("%d"));
        x = numbers;
    }
    if (data_.AxisColumn >= 0)
        x->setTitleText(result_->Title(data_.AxisColumn));
    auto *y = new QValueAxis;
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    const double xMin = data_.X.front(), xMax = data_.X.back();
    double yMin = INFINITY, yMax = -INFINITY;
    for (std::size_t k = 0; k < data_.Series.size(); ++k) {
        const TChartSeries &s = data_.Series[k];
        if (!ChartShows(choice_, s))
            continue;
        TDrawn d{k, ReduceToPixels(data_.X, s.Values, xMin, xMax, Pixels), {}};
        QList<QPointF> points;
        points.reserve(qsizetype(d.Points.size()));
        for (std::size_t i : d.Points) {
            const double at = data_.Axis == TChartAxis::Time ? chartTime(data_.X[i]) : data_.X[i];
            d.ChartX.push_back(at);
            points.append(QPointF(at, s.Values[i]));
            yMin = std::min(yMin, s.Values[i]);
            yMax = std::max(yMax, s.Values[i]);
        }
        auto *line = new QLineSeries;
        line->setName(s.Title);
        line->replace(points);
        chart->addSeries(line);
        line->attachAxis(x);
        line->attachAxis(y);
        const std::size_t drawnIndex = drawn_.size();
        connect(line, &QLineSeries::hovered, this, [this, drawnIndex](QPointF at, bool state) {
            if (!state)
                return QToolTip::hideText();
            const TDrawn &shown = drawn_[drawnIndex];
            const auto next = std::lower_bound(shown.ChartX.begin(), shown.ChartX.end(), at.x());
            std::size_t nearest = std::size_t(next - shown.ChartX.begin());
            if (nearest == shown.ChartX.size() ||
                (nearest > 0 && at.x() - shown.ChartX[nearest - 1] < *next - at.x()))
                --nearest;
            showTip(shown.Series, shown.Points[nearest]);
        });
        drawn_.push_back(std::move(d));
    }
    if (data_.Axis == TChartAxis::Time) {
        auto *time = static_cast<QDateTimeAxis *>(x);
        time->setRange(QDateTime::fromMSecsSinceEpoch(qint64(chartTime(xMin))),
                       QDateTime::fromMSecsSinceEpoch(qint64(chartTime(xMax))));
    } else {
        x->setRange(xMin, xMax);
    }
    if (yMin <= yMax)
        y->setRange(yMin, yMax > yMin ? yMax : yMin + 1);
}

void TChartPane::addBars(int Pixels)
{
    QChart *chart = view_->chart();
    const double xMin = data_.X.front(), xMax = data_.X.back();
    std::vector<std::size_t> shown;
    for (std::size_t k = 0; k < data_.Series.size(); ++k) {
        if (!ChartShows(choice_, data_.Series[k]))
            continue;
        shown.push_back(k);
        const std::vector<std::size_t> points =
            ReduceToPixels(data_.X, data_.Series[k].Values, xMin, xMax, Pixels);
        barPoints_.insert(barPoints_.end(), points.begin(), points.end());
    }
    std::sort(barPoints_.begin(), barPoints_.end());
    barPoints_.erase(std::unique(barPoints_.begin(), barPoints_.end()), barPoints_.end());
    auto *bars = new QBarSeries;
    for (std::size_t k : shown) {
        const TChartSeries &s = data_.Series[k];
        auto *set = new QBarSet(s.Title);
        QList<qreal> values;
        values.reserve(qsizetype(barPoints_.size()));
        for (std::size_t i : barPoints_)
            values.append(std::isnan(s.Values[i]) ? 0 : s.Values[i]);
        set->append(values);
        connect(set, &QBarSet::hovered, this, [this, k](bool status, int index) {
            if (!status)
                return QToolTip::hideText();
            showTip(k, barPoints_[std::size_t(index)]);
        });
        bars->append(set);
    }
    chart->addSeries(bars);
    // The category axis merges equal texts; a category repeats in a report (one row per
    // substation and hour), so each repetition gets a different invisible tail.
    QStringList categories;
    QHash<QString, int> seen;
    for (std::size_t i : barPoints_) {
        const QString text = ChartXText(*result_, data_, i);
        categories << text + QString(seen[text]++, QChar(0x200B));
    }
    auto *x = new QBarCategoryAxis;
    x->append(categories);
    if (data_.AxisColumn >= 0)
        x->setTitleText(result_->Title(data_.AxisColumn));
    auto *y = new QValueAxis;
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    bars->attachAxis(x);
    bars->attachAxis(y);
}

void TChartPane::showTip(std::size_t Series, std::size_t Point)
{
    QToolTip::showText(QCursor::pos(), ChartPointTip(*result_, data_, Series, Point), view_);
}

void TChartPane::keepChoice()
{
    if (reportId_ < 0)
        return;
    try {
        SaveChartChoice(reportId_, choice_);
    } catch (const std::exception &e) {
        ErrorMessage(QString::fromStdString(e.what()), QString());
    }
}

void TChartPane::SaveClick()
{
    const std::optional<QString> chosen = ChooseExportFile(this, QStringLiteral("grafik.png"));
    if (!chosen)
        return;
    QString file = *chosen;
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".png");
    try {
        SaveChartPicture(file, view_->size(), *result_, data_, choice_);
    } catch (const std::exception &e) {
        ErrorMessage(QString::fromStdString(e.what()), QString());
    }
}

void TChartPane::resizeEvent(QResizeEvent *Event)
{
    QWidget::resizeEvent(Event);
    // The series were reduced to the old width's pixels.
    if (view_->width() != drawnWidth_)
        rebuild();
}
