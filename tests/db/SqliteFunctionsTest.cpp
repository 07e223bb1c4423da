#include "db/SqliteFunctions.h"
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
    {"DateOnlyEqualsMidnight", "'2016-04-05' = TO_DATE('05.04.2016') COLLATE DATE_ORDER", "1",
     nullptr},
    {"SeparatorTEqualsBlank", "'2016-04-06T00:00:00' COLLATE DATE_ORDER = '2016-04-06 00:00'", "1",
     nullptr},
    {"TimeAfterTComparesByTheTime",
     "'2016-04-05T10:00:00' > TO_DATE('05.04.2016 23:00', 'DD.MM.YYYY HH24:MI') COLLATE "
     "DATE_ORDER",
     "0", nullptr},
    {"BetweenTakesBothBoundsByInstant",
     "'2016-04-06 00:00:00.000' BETWEEN TO_DATE('05.04.2016') COLLATE DATE_ORDER AND "
     "TO_DATE('06.04.2016') COLLATE DATE_ORDER",
     "1", nullptr},
    {"WithoutTheCollationTextOrderStands", "'2016-04-05' >= TO_DATE('05.04.2016')", "0", nullptr},
};

INSTANTIATE_TEST_SUITE_P(Cases, SqliteFunctions_Sqlite, ::testing::ValuesIn(functionCases),
                         CaseName());

struct KeyCase {
    const char *name;
    const char *text;
    const char *key;
};

void PrintTo(const KeyCase &c, std::ostream *os)
{
    *os << c.name << ": \"" << c.text << "\"";
}

class DateOrder : public ::testing::TestWithParam<KeyCase> {};

TEST_P(DateOrder, KeyIsTheInstantOfTheStoredForm)
{
    EXPECT_EQ(DateOrderKey(GetParam().text), GetParam().key);
}

const KeyCase keyCases[] = {
    {"DateOnly", "2016-04-05", "2016-04-05 00:00:00.000000000"},
    {"DateAndTime", "2016-04-05 10:20:30", "2016-04-05 10:20:30.000000000"},
    {"SeparatorT", "2016-04-05T10:20:30", "2016-04-05 10:20:30.000000000"},
    {"Minutes", "2016-04-05 10:20", "2016-04-05 10:20:00.000000000"},
    {"Milliseconds", "2016-04-05T00:00:00.250", "2016-04-05 00:00:00.250000000"},
    {"TrailingZerosPastNine", "2016-04-05 00:00:00.0000000000", "2016-04-05 00:00:00.000000000"},
    {"PastNanoseconds", "2016-04-05 00:00:00.0000000001", "2016-04-05 00:00:00.0000000001"},
    {"OtherText", "05.04.2016", "05.04.2016"},
    {"Empty", "", ""},
    {"DateWithSomethingAfter", "2016-04-05 noon", "2016-04-05 noon"},
    {"HourOnly", "2016-04-05 10", "2016-04-05 10"},
    {"DotWithoutDigits", "2016-04-05 10:20:30.", "2016-04-05 10:20:30."},
    {"TimeZone", "2016-04-05 10:20:30+03:00", "2016-04-05 10:20:30+03:00"},
    {"ShortYear", "16-04-05", "16-04-05"},
};

INSTANTIATE_TEST_SUITE_P(Cases, DateOrder, ::testing::ValuesIn(keyCases), CaseName());

} // namespace
