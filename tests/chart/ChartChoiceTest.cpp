#include "chart/ChartChoice.h"
#include "common/IniFile.h"
#include "common/TempTmp.h"
#include "tests/chart/ChartKit.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

class ChartChoice : public ::testing::Test {
protected:
    void SetUp() override { TmpFile = dir.file("Temp.tmp"); }
    void TearDown() override { TmpFile.clear(); }

    TempDir dir;
    const TChartData times = ReadChartData(
        chartResult({"Время", "P", "Q", "U"}, {{"01.03.2015 1:00:00", "1", "2", "3"}}));
    const TChartData names =
        ReadChartData(chartResult({"Подстанция", "Потери"}, {{"ПС Южная", "1,5"}}));
};

TEST_F(ChartChoice, WithNothingKeptTheKindFollowsTheAxisAndEverySeriesIsShown)
{
    EXPECT_EQ(LoadChartChoice(101, times), (TChartChoice{TChartKind::Line, {"P", "Q", "U"}, {}}));
    EXPECT_EQ(LoadChartChoice(101, names), (TChartChoice{TChartKind::Bar, {"Потери"}, {}}));
    EXPECT_EQ(DefaultChartChoice(ReadChartData(chartResult({"A"}, {{"1"}}))).Kind,
              TChartKind::Line);
}

TEST_F(ChartChoice, EachReportKeepsItsOwnChoiceInASectionOfItsOwn)
{
    SaveChartChoice(101, {TChartKind::Bar, {"U", "P"}, {}});
    SaveChartChoice(102, {TChartKind::Line, {}, {}});
    SaveChartChoice(101, {TChartKind::Bar, {"U"}, {}});
    EXPECT_EQ(LoadChartChoice(101, times), (TChartChoice{TChartKind::Bar, {"U"}, {}}));
    EXPECT_EQ(LoadChartChoice(102, times), (TChartChoice{TChartKind::Line, {}, {}}));

    IniFile ini(TmpFile);
    EXPECT_EQ(ini.readSection("Chart.101"), (QStringList{"Kind", "Series", "Series1", "SplitBy"}));
    EXPECT_EQ(ini.readString("Chart.101", "Series1", ""), "U");
}

TEST_F(ChartChoice, SeriesTheResultNoLongerHasAreDropped)
{
    SaveChartChoice(7, {TChartKind::Line, {"Q", "Старая", "P"}, {}});
    EXPECT_EQ(LoadChartChoice(7, times), (TChartChoice{TChartKind::Line, {"Q", "P"}, {}}));
}

} // namespace
