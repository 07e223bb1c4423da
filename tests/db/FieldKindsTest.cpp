#include "db/FieldCells.h"
#include "db/FieldValue.h"
#include "db/OracleSession.h"
#include "db/OracleStatement.h"
#include "tests/db/DbFixture.h"

#include <gmock/gmock.h>

namespace {
struct KindCase {
    const char *name;
    const char *sqliteType;
    const char *pgType;
    const char *value; // SQL literal, the same on both engines
    TFieldType kind;
    const char *text;
};

const KindCase kindCases[] = {
    {"null_text", "VARCHAR2(20)", "VARCHAR(20)", "NULL", ftString, ""},
    {"null_number", "NUMBER(9)", "NUMERIC(9)", "NULL", ftInteger, ""},
    {"text", "VARCHAR2(20)", "VARCHAR(20)", "'Текст, 1.5'", ftString, "Текст, 1.5"},
    {"small_integer", "NUMBER(4)", "NUMERIC(4)", "-1234", ftSmallint, "-1234"},
    {"integer_9", "NUMBER(9)", "NUMERIC(9)", "123456789", ftInteger, "123456789"},
    {"integer_column", "INTEGER", "INTEGER", "42", ftInteger, "42"},
    {"ten_digits", "NUMBER(10)", "NUMERIC(10)", "1234567890", ftFloat, "1234567890"},
    {"no_precision", "NUMBER", "NUMERIC", "7", ftFloat, "7"},
    {"fraction", "NUMBER(12,2)", "NUMERIC(12,2)", "1234.5", ftFloat, "1234,5"},
    {"float", "FLOAT", "FLOAT", "-0.25", ftFloat, "-0,25"},
    {"boundary", "NUMBER", "NUMERIC", "0.00001", ftFloat, "0,00001"},
    {"below_boundary", "NUMBER", "NUMERIC", "0.0000015", ftFloat, "1,5E-6"},
    {"large", "NUMBER", "NUMERIC", "1000000000000000", ftFloat, "1E15"},
    {"large_mantissa", "NUMBER", "NUMERIC", "123456789012345678", ftFloat, "1,23456789012346E17"},
    {"just_below_large", "NUMBER", "NUMERIC", "999999999999999", ftFloat, "999999999999999"},
    {"midnight", "DATE", "TIMESTAMP(0)", "'2015-03-05 00:00:00'", ftDateTime, "05.03.2015"},
    {"with_time", "DATE", "TIMESTAMP(0)", "'2015-03-05 08:30:00'", ftDateTime,
     "05.03.2015 8:30:00"},
};

class FieldKinds : public ::testing::TestWithParam<TestEngine> {};
} // namespace

// The same columns give the same kinds and texts on every engine.
TEST_P(FieldKinds, SameKindsAndTextsOnEveryEngine)
{
    TestDb db(GetParam(), "kinds");
    QStringList columns;
    QStringList values;
    for (const KindCase &c : kindCases) {
        columns.append(QStringLiteral("%1 %2").arg(
            c.name, GetParam() == TestEngine::SQLite ? c.sqliteType : c.pgType));
        values.append(QString::fromUtf8(c.value));
    }
    createOneRowTable(db, "KINDS", columns, values);
    TOracleSession s;
    logOnTo(s, db);
    TOracleDataSet ds;
    ds.SetSession(&s);
    ds.SQL.append("SELECT * FROM KINDS");
    ds.Open();
    ASSERT_FALSE(ds.Eof());
    ASSERT_EQ(ds.FieldCount(), int(std::size(kindCases)));
    for (const KindCase &c : kindCases) {
        TField &f = ds.FieldByName(c.name);
        EXPECT_EQ(f.FieldName(), QString::fromLatin1(c.name).toUpper());
        EXPECT_EQ(f.DataType(), c.kind) << c.name;
        EXPECT_EQ(f.AsString(), QString::fromUtf8(c.text)) << c.name;
    }
    EXPECT_EQ(ds.FieldByName("integer_9").AsInteger(), 123456789);
    EXPECT_TRUE(ds.FieldByName("null_number").IsNull());
    EXPECT_EQ(ds.FieldByName("with_time").AsDateTime(), QDateTime(QDate(2015, 3, 5), QTime(8, 30)));
}

INSTANTIATE_TEST_SUITE_P(On_Sqlite, FieldKinds, ::testing::Values(TestEngine::SQLite),
                         EngineParamName());
INSTANTIATE_TEST_SUITE_P(On_Postgres, FieldKinds, ::testing::Values(TestEngine::PostgreSQL),
                         EngineParamName());

TEST(FieldValue, FloatTextFollowsTheGeneralFormat)
{
    const std::pair<double, const char *> cases[] = {
        {0, "0"},
        {1, "1"},
        {-1.5, "-1,5"},
        {0.1, "0,1"},
        {1e-5, "0,00001"},
        {9.99e-6, "9,99E-6"},
        {1e15, "1E15"},
        {-2.5e20, "-2,5E20"},
        {123456.789, "123456,789"},
        {1.0 / 3, "0,333333333333333"},
        {2.0 / 3 * 1e5, "66666,6666666667"},
    };
    for (const auto &[value, text] : cases)
        EXPECT_EQ(FloatText(value), QString::fromLatin1(text)) << value;
}

TEST(FieldValue, DeclaredTypesFollowThePrecisionRule)
{
    EXPECT_EQ(FieldTypeOfDeclared("NUMBER(1)"), ftSmallint);
    EXPECT_EQ(FieldTypeOfDeclared("number(5, 0)"), ftInteger);
    EXPECT_EQ(FieldTypeOfDeclared("NUMBER(9,-2)"), ftInteger);
    EXPECT_EQ(FieldTypeOfDeclared("NUMBER(9,1)"), ftFloat);
    EXPECT_EQ(FieldTypeOfDeclared("NUMBER(10)"), ftFloat);
    EXPECT_EQ(FieldTypeOfDeclared("NUMERIC", 6, 0), ftInteger);
    EXPECT_EQ(FieldTypeOfDeclared("TIMESTAMP(6)"), ftDateTime);
    EXPECT_EQ(FieldTypeOfDeclared("DATETIME"), ftDateTime);
    EXPECT_EQ(FieldTypeOfDeclared("VARCHAR2(10)"), ftString);
    EXPECT_EQ(FieldTypeOfDeclared("DOUBLE PRECISION"), ftFloat);
    EXPECT_EQ(FieldTypeOfDeclared(""), ftUnknown);
}

// Stored date texts read as wall-clock values; anything else in a date column stays text.
TEST(FieldValue, StoredDateTextsReadAsWallClockValues)
{
    const struct {
        const char *stored;
        const char *text; // as the grid shows it; the stored text itself when it is no date
    } cases[] = {
        {"2015-03-05", "05.03.2015"},
        {"2015-03-05 08:30", "05.03.2015 8:30:00"},
        {" 2015-03-05 08:30:15 ", "05.03.2015 8:30:15"},
        {"2015-03-05T23:59:59.999", "05.03.2015 23:59:59"},
        // A time that a daylight-saving change skips in many zones is kept as stored.
        {"2015-03-29 02:30:00", "29.03.2015 2:30:00"},
        {"2015-02-30", "2015-02-30"},
        {"2015-03-05 8:30", "2015-03-05 8:30"},
        {"05.03.2015", "05.03.2015"},
        {"2015-03-05 08:30:00 tail", "2015-03-05 08:30:00 tail"},
    };
    const auto stored = [](const char *text) {
        TRowBatch batch;
        batch.AppendUtf8(text);
        batch.Normalize(ftDateTime);
        return batch;
    };
    for (const auto &c : cases) {
        const TRowBatch batch = stored(c.stored);
        std::vector<char16_t> text;
        batch.AppendCellText(ftDateTime, batch.cells.back(), text);
        EXPECT_EQ(QStringView(text.data(), qsizetype(text.size())), QString::fromLatin1(c.text))
            << c.stored;
    }
    const TRowBatch fraction = stored("2015-03-05 08:30:00.5");
    EXPECT_EQ(fraction.VariantOf(fraction.cells.back()).toDateTime().time(), QTime(8, 30, 0, 500));
}
