#include "db/OracleBase.h"
#include "db/OracleStatement.h"
#include "login/LoginCheck.h"
#include "login/UserRights.h"
#include "tests/login/LoginFixture.h"
#include "tests/support/DialogScript.h"

#include <gtest/gtest.h>

// Typed names and passwords that would rewrite a statement built by pasting them in.

namespace {
const QString here = QStringLiteral("10.0.0.1");
const QString usersBefore = QStringLiteral("5|ivanov|NULL\n6|petrov|NULL\n7|O'Brien|NULL\n"
                                           "8|sidorov|NULL");

struct InjectionCase {
    const char *what;
    const char *name;
    const char *password;
    const char *address;
};

// The case's name stands for its value in test names; the value shows in failures.
void PrintTo(const InjectionCase &c, std::ostream *os)
{
    *os << c.what;
}

TLoginAttempt attempt(const QString &name, const QString &password, const QString &address)
{
    return attemptLogin(name, password, address);
}

QString statementFor(const QString &name, const QString &password, const QString &address)
{
    TOracleQuery q;
    PrepareLoginStatement(q, name, password, address);
    return q.SQLText();
}

void addUsers(LoginWorld &world)
{
    world.addUser(5, "'ivanov'", "'secret'");
    world.addUser(6, "'petrov'", "''");
    world.addUser(7, "'O''Brien'", "'pa''ss;--'");
    world.addUser(8, "'sidorov'", "'secret'", "'10.0.0.9'");
}

void neverLogsIn(LoginWorld &world, const InjectionCase &c)
{
    addUsers(world);
    const QString name = QString::fromUtf8(c.name);
    const QString password = QString::fromUtf8(c.password);
    const QString address = QString::fromUtf8(c.address);
    EXPECT_EQ(statementFor(name, password, address), statementFor("x", "y", here))
        << "the typed values are not part of the text";

    DialogScript script;
    script.answer(mrCancel);
    const TLoginAttempt a = attempt(name, password, address);
    EXPECT_EQ(a.Result, 0);
    EXPECT_TRUE(a.Refused);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown().first().kind, "dialog") << script.shown().first().text.toStdString();
    EXPECT_EQ(FOracleBase->UserTabNum, 0);
    EXPECT_EQ(world.users(), usersBefore);
}

void quotesInRealCredentialsWork(LoginWorld &world)
{
    addUsers(world);
    DialogScript script;
    EXPECT_EQ(attempt("O'Brien", "pa'ss;--", here).Result, 1);
    EXPECT_EQ(FOracleBase->UserTabNum, 7);
    EXPECT_EQ(world.users(), "5|ivanov|NULL\n6|petrov|NULL\n7|O'Brien|10.0.0.1\n8|sidorov|NULL");
    EXPECT_TRUE(script.shown().isEmpty());
}

const std::vector<InjectionCase> injections = {
    InjectionCase{"OrTrueInBoth", "' OR '1'='1", "' OR '1'='1", "10.0.0.1"},
    InjectionCase{"NameCommentsOutTheRest", "ivanov' --", "x", "10.0.0.1"},
    InjectionCase{"NameClosesTheBrackets", "ivanov')) --", "x", "10.0.0.1"},
    InjectionCase{"NameOpensAComment", "ivanov'/*", "*/ OR '1'='1", "10.0.0.1"},
    InjectionCase{"PasswordOrEmpty", "ivanov", "' OR ''='", "10.0.0.1"},
    InjectionCase{"PasswordOrTrue", "ivanov", "x') OR ('a'='a", "10.0.0.1"},
    InjectionCase{"PasswordAddsTheNullAlternative", "petrov", "') or (PWD IS NULL) or ('",
                  "10.0.0.1"},
    InjectionCase{"NameDeletesTheUsers", "'; DELETE FROM USER_PSW; --", "x", "10.0.0.1"},
    InjectionCase{"PasswordUpdatesEveryone", "ivanov", "x'); UPDATE USER_PSW SET IP='hacked'; --",
                  "10.0.0.1"},
    InjectionCase{"NameInDoubleQuotes", "\"ivanov\"", "secret", "10.0.0.1"},
    InjectionCase{"Semicolons", "ivanov;", "secret;", "10.0.0.1"},
    InjectionCase{"QuotesDoubledByHand", "O'Brien", "pa''ss;--", "10.0.0.1"},
    InjectionCase{"AddressOrTrue", "sidorov", "secret", "10.0.0.1') OR ('1'='1"},
    InjectionCase{"AddressLikeAnything", "sidorov", "secret", "x' OR IPADR LIKE '%"}};

class Injection_Sqlite : public ::testing::TestWithParam<InjectionCase> {};

} // namespace

TEST_P(Injection_Sqlite, NeverLogsAnyoneInNorChangesTheStatement)
{
    LoginWorld world(TestEngine::SQLite);
    neverLogsIn(world, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Typed, Injection_Sqlite, ::testing::ValuesIn(injections),
                         [](const auto &p) { return std::string(p.param.what); });

TEST(Quotes_Sqlite, InRealCredentialsTheyAreJustCharacters)
{
    LoginWorld world(TestEngine::SQLite);
    quotesInRealCredentialsWork(world);
}

// One server for all cases: starting one is what takes the time.
TEST(Injection_Postgres, NoTypedTextLogsAnyoneInNorChangesTheStatement)
{
    TestDb server(TestEngine::PostgreSQL, "users");
    for (const InjectionCase &c : injections) {
        SCOPED_TRACE(c.what);
        LoginWorld world(TestEngine::PostgreSQL, &server);
        neverLogsIn(world, c);
    }
    LoginWorld world(TestEngine::PostgreSQL, &server);
    quotesInRealCredentialsWork(world);
}
