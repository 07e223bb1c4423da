#include "chart/ChartPane.h"
#include "common/TempTmp.h"
#include "tests/catalog/ExportTestKit.h"
#include "tests/chart/ChartKit.h"
#include "tests/support/DialogScript.h"
#include "tests/support/TempDir.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

class ChartPane_Gui : public ::testing::Test {
protected:
    void SetUp() override
    {
        TmpFile = dir.file("Temp.tmp");
        pane.resize(900, 500);
        pane.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    }
    void TearDown() override { TmpFile.clear(); }

    void show(const TReportResult &Result, int ReportId = 101)
    {
        pane.SetResult(std::make_shared<TReportResult>(Result), ReportId);
    }
    QList<QLineSeries *> lines() const
    {
        QList<QLineSeries *> found;
        for (QAbstractSeries *s : pane.Chart()->series())
            if (auto *line = qobject_cast<QLineSeries *>(s))
                found << line;
        return found;
    }
    QListWidget *seriesList() const { return pane.findChild<QListWidget *>("lbSeries"); }

    TempDir dir;
    TChartPane pane;
};

const TReportResult loads = chartResult({"Подстанция", "Время", "P МВт", "Q Мвар"},
                                        {{"ПС Северная", "05.03.2015 8:30:00", "12,5", "-3"},
                                         {"ПС Северная", "05.03.2015 9:00:00", "1,5E-7", ""},
                                         {"ПС Южная", "04.03.2015 23:00:00", "100", "0,25"}});

TEST_F(ChartPane_Gui, TheSeriesHoldTheGridsNumbersOnATimeAxisOverTheirRange)
{
    show(loads);
    const QList<QLineSeries *> drawn = lines();
    ASSERT_EQ(drawn.size(), 2);
    EXPECT_EQ(drawn[0]->name(), "P МВт");
    EXPECT_EQ(drawn[1]->name(), "Q Мвар");
    const auto at = [](int d, int h, int m) {
        return double(QDateTime(QDate(2015, 3, d), QTime(h, m)).toMSecsSinceEpoch());
    };
    EXPECT_EQ(drawn[0]->points(),
              (QList<QPointF>{{at(4, 23, 0), 100}, {at(5, 8, 30), 12.5}, {at(5, 9, 0), 1.5e-7}}));
    EXPECT_EQ(drawn[1]->points(), (QList<QPointF>{{at(4, 23, 0), 0.25}, {at(5, 8, 30), -3}}));

    const QList<QAbstractAxis *> x = pane.Chart()->axes(Qt::Horizontal);
    ASSERT_EQ(x.size(), 1);
    auto *time = qobject_cast<QDateTimeAxis *>(x[0]);
    ASSERT_NE(time, nullptr);
    EXPECT_EQ(time->min(), QDateTime(QDate(2015, 3, 4), QTime(23, 0)));
    EXPECT_EQ(time->max(), QDateTime(QDate(2015, 3, 5), QTime(9, 0)));
    EXPECT_EQ(time->titleText(), "Время");
}

TEST_F(ChartPane_Gui, CategoriesDrawBarsAndRowNumbersDrawLines)
{
    show(chartResult({"Подстанция", "Потери"},
                     {{"ПС Северная", "1,5"}, {"ПС Южная", "2"}, {"ПС Северная", "3"}}));
    ASSERT_EQ(pane.Chart()->series().size(), 1);
    auto *bars = qobject_cast<QBarSeries *>(pane.Chart()->series()[0]);
    ASSERT_NE(bars, nullptr);
    ASSERT_EQ(bars->barSets().size(), 1);
    EXPECT_EQ(bars->barSets()[0]->label(), "Потери");
    QList<qreal> values;
    for (int i = 0; i < bars->barSets()[0]->count(); ++i)
        values << bars->barSets()[0]->at(i);
    EXPECT_EQ(values, (QList<qreal>{1.5, 2, 3}));
    auto *names = qobject_cast<QBarCategoryAxis *>(pane.Chart()->axes(Qt::Horizontal).value(0));
    ASSERT_NE(names, nullptr);
    // The repeated substation keeps a bar of its own.
    ASSERT_EQ(names->count(), 3);
    EXPECT_TRUE(names->at(2).startsWith("ПС Северная"));

    show(chartResult({"A"}, {{"4"}, {"5"}}), 102);
    ASSERT_EQ(lines().size(), 1);
    EXPECT_EQ(lines()[0]->points(), (QList<QPointF>{{1, 4}, {2, 5}}));
}

TEST_F(ChartPane_Gui, AResultWithoutNumericColumnsSaysSoInsteadOfAnEmptyChart)
{
    show(chartResult({"Подстанция", "Дата"}, {{"ПС Южная", "01.03.2015"}}));
    auto *empty = pane.findChild<QLabel *>("lNoSeries");
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->isVisible());
    EXPECT_EQ(empty->text(), "Нет числовых колонок для графика");
    EXPECT_FALSE(pane.findChild<QChartView *>("ChartView")->isVisible());
    EXPECT_TRUE(pane.Chart()->series().isEmpty());
    EXPECT_FALSE(pane.findChild<QPushButton *>("btSaveChart")->isEnabled());

    show(loads);
    EXPECT_FALSE(empty->isVisible());
    EXPECT_TRUE(pane.findChild<QChartView *>("ChartView")->isVisible());
}

TEST_F(ChartPane_Gui, TheTickedSeriesAndTheKindAreDrawnAndKeptForTheReport)
{
    show(loads);
    seriesList()->item(0)->setCheckState(Qt::Unchecked);
    ASSERT_EQ(lines().size(), 1);
    EXPECT_EQ(lines()[0]->name(), "Q Мвар");

    auto *kind = pane.findChild<QComboBox *>("cbChartKind");
    kind->setFocus();
    QTest::keyClick(kind, Qt::Key_Down);
    ASSERT_EQ(pane.Chart()->series().size(), 1);
    auto *bars = qobject_cast<QBarSeries *>(pane.Chart()->series()[0]);
    ASSERT_NE(bars, nullptr);
    EXPECT_EQ(bars->barSets()[0]->label(), "Q Мвар");

    // The next run of the report shows the same chart; another report has its own.
    TChartPane next;
    next.SetResult(std::make_shared<TReportResult>(loads), 101);
    EXPECT_EQ(next.Choice(), (TChartChoice{TChartKind::Bar, {"Q Мвар"}, {}}));
    EXPECT_EQ(next.findChild<QComboBox *>("cbChartKind")->currentIndex(), 1);
    EXPECT_EQ(next.findChild<QListWidget *>("lbSeries")->item(0)->checkState(), Qt::Unchecked);
    next.SetResult(std::make_shared<TReportResult>(loads), 102);
    EXPECT_EQ(next.Choice(), (TChartChoice{TChartKind::Line, {"P МВт", "Q Мвар"}, {}}));
}

TEST_F(ChartPane_Gui, RowsPerSubstationAndHourAreALinePerSubstationUntilTheUserJoinsThem)
{
    const TReportResult hourly =
        chartResult({"Подстанция", "Время", "P МВт"}, {{"ПС Северная", "05.03.2015 8:00:00", "10"},
                                                       {"ПС Южная", "05.03.2015 8:00:00", "20"},
                                                       {"ПС Северная", "05.03.2015 9:00:00", "11"},
                                                       {"ПС Южная", "05.03.2015 9:00:00", "21"}});
    show(hourly);
    auto *split = pane.findChild<QComboBox *>("cbSplit");
    ASSERT_NE(split, nullptr);
    EXPECT_EQ(split->currentText(), "Подстанция");
    ASSERT_EQ(lines().size(), 2);
    EXPECT_EQ(lines()[0]->name(), "ПС Северная");
    QList<qreal> north;
    for (const QPointF &p : lines()[0]->points())
        north << p.y();
    EXPECT_EQ(north, (QList<qreal>{10, 11}));
    EXPECT_EQ(lines()[1]->name(), "ПС Южная");

    split->setFocus();
    QTest::keyClick(split, Qt::Key_Up);
    ASSERT_EQ(lines().size(), 1);
    EXPECT_EQ(lines()[0]->name(), "P МВт");
    EXPECT_EQ(lines()[0]->points().size(), 4);
    // Kept for the report: the next run is not split.
    TChartPane next;
    next.SetResult(std::make_shared<TReportResult>(hourly), 101);
    EXPECT_EQ(next.Choice(), (TChartChoice{TChartKind::Line, {"P МВт"}, QString()}));
    EXPECT_EQ(next.findChild<QComboBox *>("cbSplit")->currentIndex(), 0);
}

TEST_F(ChartPane_Gui, HoveringAPointShowsItsTitleItsXAndTheGridsText)
{
    show(loads);
    QLineSeries *q = lines()[1];
    emit q->hovered(q->at(1) + QPointF(1000, 0.1), true);
    EXPECT_EQ(QToolTip::text(), "Q Мвар\n05.03.2015 8:30:00\n-3");

    pane.SetKind(TChartKind::Bar);
    auto *bars = qobject_cast<QBarSeries *>(pane.Chart()->series().value(0));
    ASSERT_NE(bars, nullptr);
    emit bars->barSets()[0]->hovered(true, 2);
    EXPECT_EQ(QToolTip::text(), "P МВт\n05.03.2015 9:00:00\n1,5E-7");
}

TEST_F(ChartPane_Gui, ManyRowsReachTheChartAsEachPixelColumnsMinimumAndMaximum)
{
    QList<QStringList> rows;
    for (int i = 0; i < 100'000; ++i)
        rows << QStringList{QString::number(i % 97)};
    rows[54'321][0] = QStringLiteral("5000");
    show(chartResult({"V"}, rows));
    ASSERT_EQ(lines().size(), 1);
    const QList<QPointF> points = lines()[0]->points();
    EXPECT_LE(points.size(), 2 * pane.findChild<QChartView *>("ChartView")->width());
    EXPECT_TRUE(points.contains(QPointF(54'322, 5000)));
    EXPECT_EQ(pane.Data().Series[0].Values.size(), 100'000u);
}

TEST_F(ChartPane_Gui, SaveWritesTheShownChartAsPng)
{
    show(loads);
    SaveDialogScript save;
    save.answer(dir.file("grafik"));
    QTest::mouseClick(pane.findChild<QPushButton *>("btSaveChart"), Qt::LeftButton);
    const QImage image(dir.file("grafik.png"));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), pane.findChild<QChartView *>("ChartView")->size());
}

TEST_F(ChartPane_Gui, RefusedWritesAreShownAndTheChartStaysAsChosen)
{
    show(loads);
    TmpFile = dir.file("missing/Temp.tmp");
    DialogScript boxes;
    boxes.answer(mrOk).answer(mrOk);
    pane.SetKind(TChartKind::Bar);
    EXPECT_NE(qobject_cast<QBarSeries *>(pane.Chart()->series().value(0)), nullptr);

    SaveDialogScript save;
    save.answer(dir.file("missing/grafik.png"));
    QTest::mouseClick(pane.findChild<QPushButton *>("btSaveChart"), Qt::LeftButton);
    ASSERT_EQ(boxes.shown().size(), 2);
    EXPECT_EQ(boxes.shown()[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(boxes.shown()[0].text, "Unable to write to " + TmpFile);
    EXPECT_TRUE(boxes.shown()[1].text.contains("grafik.png"))
        << boxes.shown()[1].text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.file("missing/grafik.png")));
}

} // namespace
