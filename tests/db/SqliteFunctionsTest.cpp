#include "db/OracleError.h"
#include "db/OracleSession.h"
#include "db/OracleStatement.h"
#include "tests/db/DbFixture.h"
#include "tests/support/SqliteDb.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

// One call of an engine function made on the SQLite connection, and what it gives: the value
// as text ("NULL" for NULL), or a part of the error's message.
struct FunctionCase {
    const char *name;
    const char *expression;
    const char *value;
    const char *error;
};

void PrintTo(const FunctionCase &c, std::ostream *os)
{
    *os << c.name << ": " << c.expression;
}

class SqliteFunctions_Sqlite : public ::testing::TestWithParam<FunctionCase> {
protected:
    void SetUp() override
    {
        session.SetLogonDatabase(createSqliteDatabase(dir.file("f.db")));
        session.LogOn();
    }
    TempDir dir;
    TOracleSession session;
};

TEST_P(SqliteFunctions_Sqlite, GiveTheOracleResultInTheStoredForm)
{
    const FunctionCase &c = GetParam();
    TOracleQuery q;
    q.SetSession(&session);
    q.SQL = QStringList{QStringLiteral("SELECT %1 AS R").arg(QString::fromUtf8(c.expression))};
    try {
        q.Execute();
        ASSERT_FALSE(q.Eof());
        const QString value = q.Fields(0).IsNull() ? QStringLiteral("NULL") : q.FieldAsString("R");
        ASSERT_EQ(c.error, nullptr) << "gave " << value.toStdString();
        EXPECT_EQ(value, QString::fromUtf8(c.value));
    } catch (const EOracleError &e) {
        ASSERT_NE(c.error, nullptr) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().contains(QString::fromUtf8(c.error))) << e.Message().toStdString();
    }
}

const FunctionCase functionCases[] = {
    {"ToDateDefaultMask", "TO_DATE('05.04.2016')", "2016-04-05 00:00:00", nullptr},
    {"ToDateReportMask", "TO_DATE('05.04.2016', 'DD.MM.YYYY')", "2016-04-05 00:00:00", nullptr},
    {"ToDateLowerCaseMaskAndBlanks", "TO_DATE(' 31.12.2015 ', 'dd.mm.yyyy')", "2015-12-31 00:00:00",
     nullptr},
    {"ToDateWithTime", "TO_DATE('2016/04/05 23:59:07', 'YYYY/MM/DD HH24:MI:SS')",
     "2016-04-05 23:59:07", nullptr},
    {"ToDateOfNull", "TO_DATE(NULL, 'DD.MM.YYYY')", "NULL", nullptr},
    {"ToDateNotMatchingTheMask", "TO_DATE('2016-04-05', 'DD.MM.YYYY')", nullptr,
     "TO_DATE: '2016-04-05' does not match the format 'DD.MM.YYYY'"},
    {"ToDateNoSuchDay", "TO_DATE('30.02.2016', 'DD.MM.YYYY')", nullptr, "does not match"},
};

INSTANTIATE_TEST_SUITE_P(Cases, SqliteFunctions_Sqlite, ::testing::ValuesIn(functionCases),
                         CaseName());

} // namespace
