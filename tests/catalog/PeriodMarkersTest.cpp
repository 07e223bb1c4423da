#include "catalog/QuorvelUtil.h"
#include "db/OracleSession.h"
#include "db/OracleStatement.h"
#include "tests/support/PgServer.h"
#include "tests/support/SqliteDb.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace {

// The stored values around the period 05.04.2016 to 06.04.2016, numbered by V, as people
// write dates into SQLite: date only, with a blank or a 'T' before the time, with fractions.
const char *const storedDates[] = {
    "2016-04-04 23:59:59",     // 1  the day before
    "2016-04-05",              // 2  the first midnight, date only
    "2016-04-05 00:00:00",     // 3
    "2016-04-05T00:00:00",     // 4
    "2016-04-05 00:00:00.000", // 5
    "2016-04-05 10:00:00",     // 6  inside the period
    "2016-04-05T23:59:59.250", // 7
    "2016-04-06",              // 8  the last midnight, date only
    "2016-04-06 00:00:00",     // 9
    "2016-04-06T00:00:00",     // 10
    "2016-04-06 00:00:00.000", // 11
    "2016-04-06 00:00:00.500", // 12 just after the last midnight
    "2016-04-06 10:00:00",     // 13
    "2016-04-07",              // 14 the day after at midnight and later
    "2016-04-07 00:00:00",     // 15
    "2016-04-07T08:00:00",     // 16
};

// One condition of a report on the markers and the rows the server engines select with it.
struct ConditionCase {
    const char *name;
    const char *condition;
    const char *rows; // V of the rows, in order
};

void PrintTo(const ConditionCase &c, std::ostream *os)
{
    *os << c.name << ": " << c.condition;
}

// The same report over the same stored values on SQLite (D declared DATE, the values as text)
// and on PostgreSQL (D a timestamp, the values parsed): the same rows on both.
class PeriodMarkers_Sqlite_Postgres : public ::testing::TestWithParam<ConditionCase> {
protected:
    static void SetUpTestSuite()
    {
        pg = std::make_unique<PgServer>(false);
        dir = std::make_unique<TempDir>();
        const QString file = dir->file("dd.db");
        QStringList values;
        for (int v = 1; v <= int(std::size(storedDates)); ++v)
            values.append(QStringLiteral("('%1', %2)").arg(storedDates[v - 1]).arg(v));
        const QString insert = "INSERT INTO DD VALUES " + values.join(", ");
        pg->sql("CREATE TABLE DD (D TIMESTAMP, V INTEGER); " + insert);
        sqlite = std::make_unique<TOracleSession>();
        sqlite->SetLogonDatabase(createSqliteDatabase(file));
        sqliteExec(file, "CREATE TABLE DD (D DATE, V INTEGER); " + insert);
        postgres = std::make_unique<TOracleSession>();
        postgres->SetLogonDatabase(pg->connectString());
        postgres->SetLogonUsername(pg->user());
    }
    static void TearDownTestSuite()
    {
        sqlite.reset();
        postgres.reset();
        pg.reset();
        dir.reset();
    }

    // V of the rows the report selects for the period on the session's engine.
    static QString rowsOf(TOracleSession &session, const char *condition)
    {
        session.LogOn();
        TOracleQuery q;
        q.SetSession(&session);
        q.SQL = QStringList{
            PeriodStatement(QStringLiteral("select v from dd where %1 order by v").arg(condition),
                            QDate(2016, 4, 5), QDate(2016, 4, 6), session.Dialect())};
        q.Execute();
        QStringList rows;
        for (; !q.Eof(); q.Next())
            rows.append(q.FieldAsString("V"));
        return rows.join(u' ');
    }

    static std::unique_ptr<PgServer> pg;
    static std::unique_ptr<TempDir> dir;
    static std::unique_ptr<TOracleSession> sqlite;
    static std::unique_ptr<TOracleSession> postgres;
};

std::unique_ptr<PgServer> PeriodMarkers_Sqlite_Postgres::pg;
std::unique_ptr<TempDir> PeriodMarkers_Sqlite_Postgres::dir;
std::unique_ptr<TOracleSession> PeriodMarkers_Sqlite_Postgres::sqlite;
std::unique_ptr<TOracleSession> PeriodMarkers_Sqlite_Postgres::postgres;

TEST_P(PeriodMarkers_Sqlite_Postgres, SelectTheSameRowsOnEveryEngine)
{
    ASSERT_TRUE(pg->ok());
    const ConditionCase &c = GetParam();
    EXPECT_EQ(rowsOf(*postgres, c.condition), QString::fromUtf8(c.rows)) << "PostgreSQL";
    EXPECT_EQ(rowsOf(*sqlite, c.condition), QString::fromUtf8(c.rows)) << "SQLite";
}

const ConditionCase conditionCases[] = {
    {"Between", "d between dtpbegin and dtpend", "2 3 4 5 6 7 8 9 10 11"},
    {"FromTheFirstDay", "d >= dtpbegin", "2 3 4 5 6 7 8 9 10 11 12 13 14 15 16"},
    {"UpToTheLastDay", "d <= dtpend", "1 2 3 4 5 6 7 8 9 10 11"},
    {"MarkerOnTheLeft", "DtpBegin <= d and dtpend >= d", "2 3 4 5 6 7 8 9 10 11"},
    {"AfterTheFirstMidnight", "d > dtpbegin", "6 7 8 9 10 11 12 13 14 15 16"},
    {"BeforeTheLastMidnight", "d < dtpend", "1 2 3 4 5 6 7"},
    {"OnTheFirstMidnight", "d = dtpbegin", "2 3 4 5"},
    {"NotBetween", "d not between dtpbegin and dtpend", "1 12 13 14 15 16"},
};

INSTANTIATE_TEST_SUITE_P(Conditions, PeriodMarkers_Sqlite_Postgres,
                         ::testing::ValuesIn(conditionCases),
                         [](const ::testing::TestParamInfo<ConditionCase> &c) {
                             return std::string(c.param.name);
                         });

} // namespace
