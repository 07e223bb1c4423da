#include "chart/ChartData.h"
#include "chart/ChartChoice.h"
#include "tests/chart/ChartKit.h"

#include <QDateTime>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <cmath>

namespace {

double wallMsecs(int y, int mo, int d, int h, int mi)
{
    return double(QDateTime(QDate(y, mo, d), QTime(h, mi), QTimeZone::utc()).toMSecsSinceEpoch());
}

// Values with NaN shown as "-", so that a failed comparison reads at a glance.
QString dump(const std::vector<double> &Values)
{
    QStringList texts;
    for (double v : Values)
        texts << (std::isnan(v) ? QStringLiteral("-") : QString::number(v, 'g', 15));
    return texts.join(u' ');
}

QString titles(const TChartData &Data)
{
    QStringList texts;
    for (const TChartSeries &s : Data.Series)
        texts << QString::number(s.Column) + u':' + s.Title;
    return texts.join(u' ');
}

TEST(ChartData, ATimeColumnAndTwoNumericColumnsGiveTheGridsNumbersOverTime)
{
    const TReportResult result = chartResult({"Подстанция", "Время", "P МВт", "Q Мвар"},
                                             {{"ПС Северная", "05.03.2015 8:30:00", "12,5", "-3"},
                                              {"ПС Северная", "05.03.2015", "1,5E-7", ""},
                                              {"ПС Южная", "04.03.2015 23:00:00", "100", "0,25"}});
    const TChartData data = ReadChartData(result);
    EXPECT_EQ(data.Axis, TChartAxis::Time);
    EXPECT_EQ(data.AxisColumn, 2);
    EXPECT_EQ(titles(data), "3:P МВт 4:Q Мвар");
    // In order of time: the row of 23:00 the day before first.
    EXPECT_EQ(data.Rows, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(data.X,
              (std::vector<double>{wallMsecs(2015, 3, 4, 23, 0), wallMsecs(2015, 3, 5, 0, 0),
                                   wallMsecs(2015, 3, 5, 8, 30)}));
    EXPECT_EQ(dump(data.Series[0].Values), "100 1.5e-07 12.5");
    EXPECT_EQ(dump(data.Series[1].Values), "0.25 - -3");
    EXPECT_EQ(ChartXText(result, data, 0), "04.03.2015 23:00:00");
    EXPECT_EQ(ChartPointTip(result, data, 1, 2), "Q Мвар\n05.03.2015 8:30:00\n-3");
}

TEST(ChartData, RowsWithoutADateAreLeftOffTheTimeAxis)
{
    const TChartData data = ReadChartData(
        chartResult({"Дата", "V"}, {{"02.03.2015", "2"}, {"", "9"}, {"01.03.2015", "1"}}));
    EXPECT_EQ(data.Axis, TChartAxis::Time);
    EXPECT_EQ(data.Rows, (std::vector<int>{3, 1}));
    EXPECT_EQ(dump(data.Series[0].Values), "1 2");
}

TEST(ChartData, WithoutADateColumnTheFirstTextColumnGivesCategories)
{
    // "007" and "31.02.2015" are not a number and not a date: the column is text.
    const TReportResult result = chartResult(
        {"Код", "Подстанция", "Потери", "Дата"},
        {{"007", "ПС Северная", "1,5", "31.02.2015"}, {"8", "ПС Южная", "2", "01.03.2015"}});
    const TChartData data = ReadChartData(result);
    EXPECT_EQ(data.Axis, TChartAxis::Category);
    EXPECT_EQ(data.AxisColumn, 1);
    EXPECT_EQ(titles(data), "3:Потери");
    EXPECT_EQ(data.X, (std::vector<double>{0, 1}));
    EXPECT_EQ(ChartXText(result, data, 1), "8");
}

TEST(ChartData, WithoutADateOrTextColumnTheAxisIsTheRowNumber)
{
    const TReportResult result =
        chartResult({"Пусто", "A", "B"}, {{"", "1", "-2,5"}, {"", "", "3"}, {"", "4", ""}});
    const TChartData data = ReadChartData(result);
    EXPECT_EQ(data.Axis, TChartAxis::RowNumber);
    EXPECT_EQ(data.AxisColumn, -1);
    EXPECT_EQ(titles(data), "2:A 3:B");
    EXPECT_EQ(data.X, (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(dump(data.Series[0].Values), "1 - 4");
    EXPECT_EQ(ChartPointTip(result, data, 1, 0), "B\n1\n-2,5");
}

TEST(ChartData, AResultWithoutNumericColumnsHasNoSeries)
{
    for (const TReportResult &result :
         {chartResult({"Имя", "Дата"}, {{"ПС", "01.03.2015"}}), chartResult({"A"}, {}),
          chartResult({"A"}, {{""}, {""}}), chartResult({"A"}, {{"1"}, {"1,5 МВт"}})}) {
        const TChartData data = ReadChartData(result);
        EXPECT_TRUE(data.Series.empty()) << titles(data).toStdString();
    }
    EXPECT_EQ(NoNumericColumnsText(), "Нет числовых колонок для графика");
}

// Two substations an hour: the rows of one time come together.
const QList<QStringList> HourlyRows = {{"ПС Северная", "05.03.2015 8:00:00", "10", "110"},
                                       {"ПС Южная", "05.03.2015 8:00:00", "20", "115"},
                                       {"ПС Северная", "05.03.2015 9:00:00", "11", "111"},
                                       {"ПС Южная", "05.03.2015 9:00:00", "", "116"}};

TEST(ChartSplit, EachValueOfTheSplitColumnIsASeriesOfItsOwnPoints)
{
    const TReportResult one = chartResult({"Подстанция", "Время", "P"}, HourlyRows);
    const TChartData plain = ReadChartData(one);
    EXPECT_EQ(plain.SplitCandidates, QStringList{"Подстанция"});
    EXPECT_EQ(SuggestedChartSplit(plain), "Подстанция");
    const TChartData data = SplitChartData(one, plain, "Подстанция");
    EXPECT_EQ(data.SplitColumn, 1);
    EXPECT_EQ(data.SplitBy, "Подстанция");
    EXPECT_EQ(titles(data), "3:ПС Северная 3:ПС Южная");
    EXPECT_EQ(dump(data.Series[0].Values), "10 - 11 -");
    EXPECT_EQ(dump(data.Series[1].Values), "- 20 - -");
    EXPECT_EQ(data.X, plain.X);

    // With several numeric columns a series names its column too.
    const TReportResult two = chartResult({"Подстанция", "Время", "P", "U"}, HourlyRows);
    const TChartData both = SplitChartData(two, ReadChartData(two), "Подстанция");
    EXPECT_EQ(titles(both), "3:P: ПС Северная 3:P: ПС Южная 4:U: ПС Северная 4:U: ПС Южная");
    // Shown at first: the first column's series.
    EXPECT_EQ(DefaultChartChoice(both).Shown, (QStringList{"P: ПС Северная", "P: ПС Южная"}));
}

TEST(ChartSplit, NoSplitWithoutACandidateOrWithTooManyValues)
{
    const TReportResult hourly = chartResult({"Подстанция", "Время", "P"}, HourlyRows);
    EXPECT_EQ(titles(SplitChartData(hourly, ReadChartData(hourly), "P")), "3:P");
    EXPECT_EQ(titles(SplitChartData(hourly, ReadChartData(hourly), "Нет такой")), "3:P");
    // Times that never repeat suggest no split.
    const TReportResult daily = chartResult({"Подстанция", "Время", "P"},
                                            {{"А", "01.03.2015", "1"}, {"Б", "02.03.2015", "2"}});
    EXPECT_EQ(SuggestedChartSplit(ReadChartData(daily)), QString());
    // On a category axis the axis column is no candidate.
    const TReportResult names = chartResult({"Подстанция", "Район", "P"}, {{"А", "Север", "1"}});
    EXPECT_EQ(ReadChartData(names).SplitCandidates, QStringList{"Район"});
    EXPECT_EQ(SuggestedChartSplit(ReadChartData(names)), QString());
    QList<QStringList> many;
    for (int i = 0; i <= MaxSplitValues; ++i)
        many << QStringList{"ПС " + QString::number(i), "05.03.2015 8:00:00", "1"};
    const TReportResult crowd = chartResult({"Подстанция", "Время", "P"}, many);
    const TChartData data = SplitChartData(crowd, ReadChartData(crowd), "Подстанция");
    EXPECT_EQ(data.SplitColumn, -1);
    EXPECT_EQ(titles(data), "3:P");
}

} // namespace
