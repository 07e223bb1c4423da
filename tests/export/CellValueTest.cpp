#include "export/CellValue.h"

#include <QTimeZone>

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct ValueCase {
    const char *name;
    QString text;
    TCellValue::Kind kind;
    double number;      // for numbers
    QDateTime dateTime; // for date-times
};

void PrintTo(const ValueCase &c, std::ostream *os)
{
    *os << '"' << c.text.toStdString() << '"';
}

class CellValue : public ::testing::TestWithParam<ValueCase> {};

TEST_P(CellValue, ReadsTheGridsTextsOnly)
{
    const ValueCase &c = GetParam();
    const TCellValue v = ReadCellValue(c.text);
    ASSERT_EQ(v.kind, c.kind);
    if (c.kind == TCellValue::Number) {
        EXPECT_EQ(v.number, c.number);
    }
    if (c.kind == TCellValue::DateTime) {
        EXPECT_EQ(v.dateTime, c.dateTime);
    }
}

QDateTime at(int y, int m, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, mi, s), QTimeZone::utc());
}

constexpr auto Text = TCellValue::Text;
constexpr auto Number = TCellValue::Number;
constexpr auto DateTime = TCellValue::DateTime;

INSTANTIATE_TEST_SUITE_P(
    Texts, CellValue,
    ::testing::Values(
        ValueCase{"Integer", "42", Number, 42, {}}, ValueCase{"Zero", "0", Number, 0, {}},
        ValueCase{"Negative", "-17", Number, -17, {}},
        ValueCase{"DecimalComma", "12,5", Number, 12.5, {}},
        ValueCase{"NegativeFraction", "-0,25", Number, -0.25, {}},
        ValueCase{"ExponentBelow", "1,5E-7", Number, 1.5e-7, {}},
        ValueCase{"ExponentAbove", "1E15", Number, 1e15, {}},
        ValueCase{"FifteenDigits", "123456789012345", Number, 123456789012345.0, {}},
        ValueCase{"FifteenDigitsWithFraction", "1234567890,12345", Number, 1234567890.12345, {}},
        ValueCase{"LeadingZerosOfFractionDoNotCount",
                  "0,000012345678901234",
                  Number,
                  0.000012345678901234,
                  {}},
        ValueCase{"SixteenDigits", "1234567890123456", Text, 0, {}},
        ValueCase{"LeadingZero", "007", Text, 0, {}},
        ValueCase{"DecimalPoint", "12.5", Text, 0, {}},
        ValueCase{"ThousandsBlank", "1 234", Text, 0, {}}, ValueCase{"PlusSign", "+5", Text, 0, {}},
        ValueCase{"CommaOnly", ",5", Text, 0, {}}, ValueCase{"TrailingComma", "5,", Text, 0, {}},
        ValueCase{"ExponentWithoutDigits", "1E", Text, 0, {}},
        ValueCase{"ExponentPlus", "1E+5", Text, 0, {}},
        ValueCase{"LowerCaseExponent", "1e5", Text, 0, {}}, ValueCase{"Blank", " 5", Text, 0, {}},
        ValueCase{"NotANumber", "NAN", Text, 0, {}}, ValueCase{"Empty", "", Text, 0, {}},
        ValueCase{"Date", "05.03.2015", DateTime, 0, at(2015, 3, 5)},
        ValueCase{"DateTime", "05.03.2015 8:30:00", DateTime, 0, at(2015, 3, 5, 8, 30)},
        ValueCase{"TwoDigitHour", "31.12.1999 23:59:59", DateTime, 0, at(1999, 12, 31, 23, 59, 59)},
        ValueCase{"NoSuchDay", "31.02.2015", Text, 0, {}},
        ValueCase{"HourTwentyFour", "05.03.2015 24:00:00", Text, 0, {}},
        ValueCase{"OneDigitDay", "5.03.2015", Text, 0, {}},
        ValueCase{"TwoDigitYear", "05.03.15", Text, 0, {}},
        ValueCase{"NoSeconds", "05.03.2015 8:30", Text, 0, {}},
        ValueCase{"TrailingText", "05.03.2015 8:30:00 MSK", Text, 0, {}},
        ValueCase{"Cyrillic", "Подстанция", Text, 0, {}}),
    [](const auto &p) { return std::string(p.param.name); });

} // namespace
