#include "login/CommandLine.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {
struct ArgumentCase {
    const char *argument;
    const char *name;
    const char *password;
};

void PrintTo(const ArgumentCase &c, std::ostream *os)
{
    *os << '"' << c.argument << '"';
}

// "ivanov/secret@ORCL" gives ivanov_Slash_secret_At_ORCL; letters other than ASCII ones by code.
std::string caseName(const char *argument)
{
    std::string out;
    for (const QChar c : QString::fromUtf8(argument)) {
        if (c.unicode() < 128 && c.isLetterOrNumber())
            out += char(c.unicode());
        else if (c == u'/')
            out += "_Slash_";
        else if (c == u'@')
            out += "_At_";
        else
            out += "U" + QString::number(c.unicode(), 16).toStdString();
    }
    return out.empty() ? "Empty" : out;
}

class CommandLine : public ::testing::TestWithParam<ArgumentCase> {};
} // namespace

TEST_P(CommandLine, SplitsNameAndPassword)
{
    const ArgumentCase &c = GetParam();
    EXPECT_EQ(ParseLoginArgument(QString::fromUtf8(c.argument)),
              (TCommandLineLogin{QString::fromUtf8(c.name), QString::fromUtf8(c.password)}))
        << c.argument;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, CommandLine,
    ::testing::Values(
        ArgumentCase{"ivanov/secret@ORCL", "ivanov", "secret"},
        ArgumentCase{"ivanov/secret", "ivanov", "secret"}, ArgumentCase{"ivanov", "ivanov", ""},
        ArgumentCase{"ivanov@ORCL", "ivanov@ORCL", ""},
        ArgumentCase{"ivanov/secret/more@ORCL", "ivanov", "secret"},
        ArgumentCase{"ivanov/", "ivanov", ""}, ArgumentCase{"ivanov/@ORCL", "ivanov", ""},
        ArgumentCase{"/secret@ORCL", "", "secret"}, ArgumentCase{"ivanov/p@ss@ORCL", "ivanov", "p"},
        ArgumentCase{"иванов/пароль@БАЗА", "иванов", "пароль"}, ArgumentCase{"", "", ""}),
    [](const auto &p) { return caseName(p.param.argument); });
