#include "common/TextHelpers.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <ostream>

#include <stdexcept>

namespace {

struct ParseCase {
    const char *name;
    const char *source;
    int start;
    QStringList tokens; // read until Index becomes 0
};

void PrintTo(const ParseCase &c, std::ostream *os)
{
    *os << c.name;
}

class ParseTokens : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTokens, ReadsUntilIndexIsZero)
{
    const ParseCase &c = GetParam();
    const QString source = QString::fromUtf8(c.source);
    int index = c.start;
    QStringList tokens;
    do {
        tokens.append(Parse(source, u'/', index));
    } while (index != 0 && tokens.size() < 20);
    EXPECT_EQ(tokens, c.tokens);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseTokens,
    ::testing::Values(ParseCase{"TwoTokens", "name/pass@alias", 1, {"name", "pass@alias"}},
                      ParseCase{"NoSeparator", "name", 1, {"name"}},
                      ParseCase{"ThreeTokens", "a/b/c", 1, {"a", "b", "c"}},
                      // A separator at the very end: one more empty token.
                      ParseCase{"SeparatorAtEnd", "a/", 1, {"a", ""}},
                      ParseCase{"OnlySeparator", "/", 1, {"", ""}},
                      ParseCase{"EmptyBetween", "a//b", 1, {"a", "", "b"}},
                      ParseCase{"EmptySource", "", 1, {""}}, ParseCase{"IndexZero", "abc", 0, {""}},
                      ParseCase{"IndexBeyondEnd", "abc", 4, {""}},
                      ParseCase{"StartInside", "ab/cd", 2, {"b", "cd"}}),
    [](const ::testing::TestParamInfo<ParseCase> &p) { return std::string(p.param.name); });

struct TrimCase {
    const char *name;
    QString source;
    QString trimmed;
};

void PrintTo(const TrimCase &c, std::ostream *os)
{
    *os << c.name;
}

class TrimControlsCases : public ::testing::TestWithParam<TrimCase> {};

TEST_P(TrimControlsCases, RemovesEverythingUpToBlankAtBothEnds)
{
    EXPECT_EQ(TrimControls(GetParam().source), GetParam().trimmed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrimControlsCases,
    ::testing::Values(TrimCase{"Empty", "", ""},
                      TrimCase{"OnlyControls", QString::fromLatin1(" \t\r\n\x01 "), ""},
                      TrimCase{"BothEnds", "\t\r\n select 1 \x1f", "select 1"},
                      TrimCase{"InsideKept", " a \t\n b ", "a \t\n b"},
                      TrimCase{"NulAtEnds", QString(QChar(0)) + "x" + QChar(0), "x"},
                      // Only characters up to U+0020: DEL, no-break space and other spaces stay.
                      TrimCase{"AboveBlankStays", QString::fromUtf8("\x7f\u00a0x\u2003"),
                               QString::fromUtf8("\x7f\u00a0x\u2003")},
                      TrimCase{"Cyrillic", "\r\nВыборка\r\n", "Выборка"}),
    [](const ::testing::TestParamInfo<TrimCase> &p) { return std::string(p.param.name); });

TEST(Parse, IndexPastTheSeparatorAtTheEnd)
{
    int index = 1;
    EXPECT_EQ(Parse(QStringLiteral("ab/"), u'/', index), QStringLiteral("ab"));
    EXPECT_EQ(index, 4);
    EXPECT_EQ(Parse(QStringLiteral("ab/"), u'/', index), QString());
    EXPECT_EQ(index, 0);
}

TEST(ExtrMajorVer, ReadsTheLastWord)
{
    EXPECT_EQ(
        ExtrMajorVer(QStringLiteral("Oracle Database 11g Enterprise Edition Release 11.2.0.1.0 ")),
        11);
    EXPECT_EQ(ExtrMajorVer(QStringLiteral("Release 9.2.0.1.0")), 9);
    EXPECT_EQ(ExtrMajorVer(QStringLiteral("10.2.0.1.0")), 10);
    EXPECT_EQ(ExtrMajorVer(QStringLiteral("PostgreSQL 15")), 15);
}

TEST(ExtrMajorVer, TextThatIsNotANumberRaises)
{
    EXPECT_THROW(ExtrMajorVer(QStringLiteral("Release abc.1")), std::invalid_argument);
    EXPECT_THROW(ExtrMajorVer(QString()), std::invalid_argument);
    EXPECT_THROW(ExtrMajorVer(QStringLiteral("Release 11g")), std::invalid_argument);
}

TEST(SmallFunctions, ExchangeAndIIf)
{
    int a = 1, b = 2;
    Exchange(a, b);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(IIf(true, QStringLiteral("x"), QStringLiteral("y")), QStringLiteral("x"));
    EXPECT_EQ(IIf(false, QStringLiteral("x"), QStringLiteral("y")), QStringLiteral("y"));
}

} // namespace
