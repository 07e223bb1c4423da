#include "login/CommandLine.h"

#include <gtest/gtest.h>

namespace {
struct ArgumentCase {
    const char *argument;
    const char *name;
    const char *password;
};

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
        ArgumentCase{"иванов/пароль@БАЗА", "иванов", "пароль"}, ArgumentCase{"", "", ""}));
