#include "db/EngineConnection.h"
#include "db/FieldCells.h"
#include "db/FieldValue.h"
#include "db/OracleSession.h"
#include "db/OracleStatement.h"
#include "tests/db/DbFixture.h"

#include <QSqlQuery>

#include <gmock/gmock.h>

// Value texts built straight from the engine's own data (the datasets) against the general path:
// the value as Qt's driver gives it, as a variant, through FieldValueText.

namespace {
struct PathCase {
    const char *name;
    const char *sqliteType;
    const char *sqliteValue;
    const char *pgType;
    const char *pgValue;
    const char *text; // under the default conventions; null: the engines differ
};

const PathCase pathCases[] = {
    {"int_max", "INTEGER", "9223372036854775807", "INTEGER", "2147483647", nullptr},
    {"int_min", "INTEGER", "-9223372036854775808", "INTEGER", "-2147483648", nullptr},
    {"big_max", "BIGINT", "9223372036854775807", "BIGINT", "9223372036854775807",
     "9,22337203685478E18"},
    {"small", "NUMBER(4)", "-9999", "NUMERIC(4)", "-9999", "-9999"},
    {"nine_digits", "NUMBER(9)", "999999999", "NUMERIC(9)", "999999999", "999999999"},
    {"zero", "FLOAT", "0", "DOUBLE PRECISION", "0", "0"},
    {"minus_zero", "FLOAT", "-0.0", "DOUBLE PRECISION", "'-0'", "0"},
    {"e15", "FLOAT", "1E15", "DOUBLE PRECISION", "1E15", "1E15"},
    {"below_e15", "NUMBER", "999999999999999", "NUMERIC", "999999999999999", "999999999999999"},
    {"five_places", "NUMBER", "0.00001", "NUMERIC", "0.00001", "0,00001"},
    {"tiny", "FLOAT", "1.5E-6", "DOUBLE PRECISION", "1.5E-6", "1,5E-6"},
    {"third", "FLOAT", "1.0 / 3", "DOUBLE PRECISION", "1.0::float8 / 3", "0,333333333333333"},
    {"fraction", "NUMBER(12,2)", "-1234.5", "NUMERIC(12,2)", "-1234.5", "-1234,5"},
    {"infinity", "FLOAT", "9e999", "DOUBLE PRECISION", "'Infinity'", "INF"},
    {"minus_infinity", "FLOAT", "-9e999", "DOUBLE PRECISION", "'-Infinity'", "-INF"},
    {"nan", "FLOAT", "NULL", "DOUBLE PRECISION", "'NaN'", nullptr},
    {"date", "DATE", "'2015-03-05'", "DATE", "'2015-03-05'", "05.03.2015"},
    {"date_time", "DATE", "'2015-03-05 08:30:15'", "TIMESTAMP(0)", "'2015-03-05 08:30:15'",
     "05.03.2015 8:30:15"},
    {"midnight", "DATE", "'2015-03-05 00:00:00'", "TIMESTAMP(0)", "'2015-03-05 00:00:00'",
     "05.03.2015"},
    // Skipped by the clocks of many zones when summer time starts.
    {"dst_gap", "DATE", "'2015-03-29 02:30:00'", "TIMESTAMP(0)", "'2015-03-29 02:30:00'",
     "29.03.2015 2:30:00"},
    {"no_date", "DATE", "'2015-02-30'", "VARCHAR(20)", "'2015-02-30'", "2015-02-30"},
    {"null_text", "VARCHAR2(20)", "NULL", "VARCHAR(20)", "NULL", ""},
    {"null_number", "NUMBER(9)", "NULL", "NUMERIC(9)", "NULL", ""},
    {"empty_text", "VARCHAR2(20)", "''", "VARCHAR(20)", "''", ""},
    {"cyrillic", "VARCHAR2(40)", "'Подстанция №1, ТП-2'", "VARCHAR(40)", "'Подстанция №1, ТП-2'",
     "Подстанция №1, ТП-2"},
    {"long_text", "VARCHAR2(4000)", "substr(replace(hex(zeroblob(2000)), '0', 'ж'), 1, 4000)",
     "VARCHAR(4000)", "repeat('ж', 4000)", nullptr},
    {"number_text", "VARCHAR2(20)", "'1.50'", "VARCHAR(20)", "'1.50'", "1.50"},
};

// Every kind of column and value under the defaults, under a locale whose formats the fast
// formatting handles (en_GB) and under one it leaves to Qt (en_US: a 12-hour clock).
const char *const locales[] = {"ru_RU", "en_GB", "en_US"};

class FieldTextPaths : public ::testing::TestWithParam<TestEngine> {
protected:
    void TearDown() override { FormatSettings = TFormatSettings(); }
};

// The general path's variant: the driver's value in the form the column's kind reads.
QVariant normalized(const QVariant &driverValue, TFieldType kind)
{
    TRowBatch batch;
    batch.AppendVariant(driverValue);
    batch.Normalize(kind);
    return batch.VariantOf(batch.cells.back());
}
} // namespace

TEST_P(FieldTextPaths, EngineTextsEqualTheVariantTexts)
{
    const bool sqlite = GetParam() == TestEngine::SQLite;
    TestDb db(GetParam(), "paths");
    QStringList columns;
    QStringList values;
    for (const PathCase &c : pathCases) {
        columns.append(QStringLiteral("%1 %2").arg(c.name, sqlite ? c.sqliteType : c.pgType));
        values.append(QString::fromUtf8(sqlite ? c.sqliteValue : c.pgValue));
    }
    createOneRowTable(db, "PATHS", columns, values);
    TOracleSession s;
    logOnTo(s, db);
    TOracleDataSet ds;
    ds.SetSession(&s);
    ds.SQL.append("SELECT * FROM PATHS");
    ds.Open();
    ASSERT_FALSE(ds.Eof());

    QSqlDatabase general = AddEngineDatabase({db.user(), {}, db.connectString(), {}}, "general");
    ASSERT_TRUE(general.open());
    {
        QSqlQuery q(general);
        ASSERT_TRUE(q.exec("SELECT * FROM PATHS"));
        ASSERT_TRUE(q.next());
        for (const char *locale : locales) {
            FormatSettings = FormatSettingsOf(QLocale(QString::fromLatin1(locale)));
            for (int i = 0; i < ds.FieldCount(); ++i) {
                const PathCase &c = pathCases[i];
                TField &f = ds.Fields(i);
                const QString fast = f.AsString();
                EXPECT_EQ(fast, FieldValueText(f.DataType(), normalized(q.value(i), f.DataType())))
                    << c.name << " " << locale;
                if (c.text && QLatin1String(locale) == QLatin1String("ru_RU")) {
                    EXPECT_EQ(fast, QString::fromUtf8(c.text)) << c.name;
                }
            }
        }
    }
    general = QSqlDatabase();
    QSqlDatabase::removeDatabase("general");

    FormatSettings = TFormatSettings();
    EXPECT_EQ(ds.FieldByName("long_text").AsString(), QString(4000, u'ж'));
    EXPECT_EQ(ds.FieldByName("int_max").AsString(),
              sqlite ? QStringLiteral("9223372036854775807") : QStringLiteral("2147483647"));
    if (!sqlite) {
        EXPECT_EQ(ds.FieldByName("nan").AsString(), QStringLiteral("NAN"));
    }
}

INSTANTIATE_TEST_SUITE_P(On_Sqlite, FieldTextPaths, ::testing::Values(TestEngine::SQLite),
                         EngineParamName());
INSTANTIATE_TEST_SUITE_P(On_Postgres, FieldTextPaths, ::testing::Values(TestEngine::PostgreSQL),
                         EngineParamName());

namespace {
struct LocaleCase {
    const char *name;
    const char *locale;
    char16_t decimal;
    const char *shortDate;
    const char *longTime;
};

const LocaleCase localeCases[] = {
    {"russian", "ru_RU", u',', "dd.MM.yyyy", "H:mm:ss"},
    {"c", "C", u',', "dd.MM.yyyy", "H:mm:ss"},
    {"british", "en_GB", u'.', "dd/MM/yyyy", "HH:mm:ss"},
    {"american", "en_US", u'.', "M/d/yy", "h:mm:ss AP"},
    {"german", "de_DE", u',', "dd.MM.yy", "HH:mm:ss"},
};

class FormatSettingsOfLocale : public ::testing::TestWithParam<LocaleCase> {};
} // namespace

// The conventions come from the locale, without the time zone; Russian keeps today's texts.
TEST_P(FormatSettingsOfLocale, TakesSeparatorDateAndTimeFormats)
{
    const LocaleCase &c = GetParam();
    const TFormatSettings s = FormatSettingsOf(QLocale(QString::fromLatin1(c.locale)));
    EXPECT_EQ(s.DecimalSeparator, QChar(c.decimal));
    EXPECT_EQ(s.ShortDateFormat, QString::fromLatin1(c.shortDate));
    EXPECT_EQ(s.LongTimeFormat, QString::fromLatin1(c.longTime));
}

INSTANTIATE_TEST_SUITE_P(Locales, FormatSettingsOfLocale, ::testing::ValuesIn(localeCases),
                         CaseName());
