#include "catalog/PropTVItem.h"
#include "catalog/QuorvelUtil.h"
#include "catalog/RunProgress.h"
#include "catalog/StringGrid.h"
#include "tests/catalog/CatalogDb.h"
#include "tests/catalog/GridDump.h"
#include "tests/support/DialogScript.h"

#include <QAbstractItemModelTester>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {
const QDate march1(2015, 3, 1);
const QDate march31(2015, 3, 31);

class ExecSql_Gui_Sqlite : public ::testing::Test {
protected:
    ExecSql_Gui_Sqlite() : tester(SG.GridModel())
    {
        db.exec(QStringLiteral("CREATE TABLE DATA (DT DATE, V NUMBER(9), S VARCHAR2(20));"
                               "INSERT INTO DATA VALUES ('2015-02-28 00:00:00', 1, 'feb');"
                               "INSERT INTO DATA VALUES ('2015-03-05 08:30:00', 2, 'mar');"
                               "INSERT INTO DATA VALUES ('2015-03-31 00:00:00', 3, 'end');"
                               "INSERT INTO DATA VALUES ('2015-04-01 00:00:00', 4, 'apr')"));
        SG.SetColCount(2);
        SG.SetRowCount(2);
    }
    // The grid as the node selection prepares it for the query, then the run.
    TExecResult prepareAndRun(const QString &sql, const QString &titles = {})
    {
        TPropTVItem rec;
        rec.SQL_TEXT = sql;
        rec.NAME_TITLE = titles;
        CreateTableIn(rec, SG, nullptr);
        return ExecSqlInto(rec.SQL_TEXT, nullptr, SG, march1, march31);
    }

    CatalogDb db;
    TStringGrid SG;
    QAbstractItemModelTester tester;
};

TEST_F(ExecSql_Gui_Sqlite, ThreeRowsGiveFourGridRowsNumberedFromOne)
{
    const TExecResult r = prepareAndRun(
        QStringLiteral("select s name, v val, dt d from data where dt between dtpbegin and "
                       "to_date('31.03.2015 23:59:59', 'DD.MM.YYYY HH24:MI:SS') "
                       "or v = 1 order by v"),
        QStringLiteral("Имя,Значение,Дата"));
    EXPECT_TRUE(r.Opened);
    EXPECT_EQ(r.Rows, 3);
    EXPECT_EQ(SG.RowCount(), 4);
    EXPECT_EQ(gridText(SG), QStringLiteral(",Имя,Значение,Дата | 1,feb,1,28.02.2015 | "
                                           "2,mar,2,05.03.2015 8:30:00 | 3,end,3,31.03.2015"));
}

TEST_F(ExecSql_Gui_Sqlite, MarkersBecomeThePeriodAndLiteralsReachTheDatabaseInUpperCase)
{
    prepareAndRun(QStringLiteral("select v, 'lower' t from data where dt between dtpbegin and "
                                 "DtpEnd order by v"));
    EXPECT_EQ(gridText(SG), QStringLiteral(",, | 1,2,LOWER | 2,3,LOWER"));
}

TEST_F(ExecSql_Gui_Sqlite, AnEmptyResultLeavesTheTitleRowOnly)
{
    const TExecResult r =
        prepareAndRun(QStringLiteral("select v a, s b from data where v > 10"), "A,B");
    EXPECT_TRUE(r.Opened);
    EXPECT_EQ(r.Rows, 0);
    EXPECT_EQ(gridText(SG), QStringLiteral(",A,B"));
}

TEST_F(ExecSql_Gui_Sqlite, AFailedOpenLeavesTwoRowsAndTheColumnsAsTheyWere)
{
    prepareAndRun(QStringLiteral("select v a from data order by v"), "A");
    SG.SetColWidths(1, 77);
    const TExecResult r =
        ExecSqlInto(QStringLiteral("select x, y, z from missing"), nullptr, SG, march1, march31);
    EXPECT_FALSE(r.Opened);
    EXPECT_EQ(gridText(SG), QStringLiteral(",A | 1,1"));
    EXPECT_EQ(gridWidths(SG), QStringLiteral("30,77"));
}

TEST_F(ExecSql_Gui_Sqlite, AFailedStepEndsTheRunWithTheRowsBeforeIt)
{
    // The first batch of rows is fetched on open; the bad row fails a later fetch.
    db.exec(QStringLiteral("CREATE TABLE T (N INTEGER, S VARCHAR2(20));"
                           "WITH RECURSIVE C(N) AS (SELECT 1 UNION ALL SELECT N + 1 FROM C "
                           "WHERE N < 2000) INSERT INTO T SELECT N, '01.01.2015' FROM C;"
                           "UPDATE T SET S = 'bad' WHERE N = 1500"));
    const TExecResult r =
        prepareAndRun(QStringLiteral("select n, to_date(s, 'DD.MM.YYYY') d from t"));
    EXPECT_TRUE(r.Opened);
    EXPECT_TRUE(r.StepFailed);
    EXPECT_GT(r.Rows, 0);
    EXPECT_LT(r.Rows, 1500);
    EXPECT_EQ(SG.RowCount(), r.Rows + 1);
    EXPECT_EQ(SG.Cells(0, r.Rows), QString::number(r.Rows));
    EXPECT_EQ(SG.Cells(1, r.Rows), QString::number(r.Rows));
}

TEST_F(ExecSql_Gui_Sqlite, ACancelledRunKeepsTheRowsFetchedAndSaysSo)
{
    db.exec(QStringLiteral("CREATE TABLE T (N INTEGER);"
                           "WITH RECURSIVE C(N) AS (SELECT 1 UNION ALL SELECT N + 1 FROM C "
                           "WHERE N < 5000) INSERT INTO T SELECT N FROM C"));
    TRunProgress progress(&SG, 0);
    bool sawDialog = false;
    QTimer::singleShot(0, [&] {
        sawDialog = progress.Dialog() != nullptr;
        if (sawDialog)
            progress.Dialog()->cancel();
    });
    const TExecResult r = ExecSqlInto(QStringLiteral("select n from t order by n"), nullptr, SG,
                                      march1, march31, &progress);
    EXPECT_TRUE(sawDialog);
    EXPECT_TRUE(r.Cancelled);
    EXPECT_GT(r.Rows, 0);
    EXPECT_LT(r.Rows, 5000);
    EXPECT_EQ(SG.RowCount(), r.Rows + 1);
    EXPECT_EQ(SG.Cells(1, r.Rows), QString::number(r.Rows));

    DialogScript script;
    script.answer(mrOk);
    ReportRunOutcome(r);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].text,
              QStringLiteral("Формирование отчета прервано. Показаны полученные строки: ") +
                  QString::number(r.Rows) + QStringLiteral("."));
}

TEST_F(ExecSql_Gui_Sqlite, ARunThatEndsNormallySaysNothing)
{
    TRunProgress progress(&SG, 0);
    const TExecResult r =
        ExecSqlInto(QStringLiteral("select v from data"), nullptr, SG, march1, march31, &progress);
    EXPECT_FALSE(r.Cancelled);
    ReportRunOutcome(r); // an unexpected box would fail the test
    EXPECT_EQ(SG.RowCount(), 5);
}

class MergeSettings_Gui_Sqlite : public ExecSql_Gui_Sqlite {
protected:
    MergeSettings_Gui_Sqlite() : settingsTester(Settings.GridModel())
    {
        Settings.SetRowCount(4);
        Settings.SetColCount(3);
        const QStringList a{"A", "Первый", "80", "R"};
        const QStringList b{"B", "Второй", "120", "L"};
        for (int r = 0; r < 4; ++r) {
            Settings.SetCells(1, r, a[r]);
            Settings.SetCells(2, r, b[r]);
        }
        db.exec(QStringLiteral("CREATE TABLE Q (A INTEGER, B INTEGER, C INTEGER);"
                               "INSERT INTO Q VALUES (1, 2, 3)"));
    }
    TStringGrid Settings;
    QAbstractItemModelTester settingsTester;
};

TEST_F(MergeSettings_Gui_Sqlite, ANewFieldTakesItsPlaceWithItsNameWidthHundredAndCentred)
{
    ExecSqlInto(QStringLiteral("select a, c, b from q"), &Settings, SG, march1, march31);
    EXPECT_EQ(gridText(Settings),
              QStringLiteral(",A,C,B | ,Первый,C,Второй | ,80,100,120 | ,R,C,L"));
    // The preview's title row shows the names, its data follows the result's order.
    EXPECT_EQ(gridText(SG), QStringLiteral(",A,C,B | 1,1,3,2"));
}

TEST_F(MergeSettings_Gui_Sqlite, SettingsOfFieldsNoLongerInTheResultStay)
{
    ExecSqlInto(QStringLiteral("select a from q"), &Settings, SG, march1, march31);
    EXPECT_EQ(gridText(Settings), QStringLiteral(",A,B | ,Первый,Второй | ,80,120 | ,R,L"));
    EXPECT_EQ(gridText(SG), QStringLiteral(",A | 1,1"));
}

TEST_F(MergeSettings_Gui_Sqlite, AWidthThatIsNoNumberStopsTheRunAndChangesNoSetting)
{
    Settings.SetCells(2, 2, u"wide");
    const QString before = gridText(Settings);
    try {
        ExecSqlInto(QStringLiteral("select a, c from q"), &Settings, SG, march1, march31);
        ADD_FAILURE() << "no conversion error";
    } catch (const std::invalid_argument &e) {
        EXPECT_STREQ(e.what(), "'wide' is not a valid integer value");
    }
    EXPECT_EQ(gridText(Settings), before);
    EXPECT_EQ(SG.RowCount(), 1);
}
} // namespace
