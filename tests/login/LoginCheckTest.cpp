#include "login/LoginCheck.h"
#include "db/OracleBase.h"
#include "db/OracleStatement.h"
#include "db/ServerStatus.h"
#include "login/SessionVariables.h"
#include "login/UserRights.h"
#include "tests/login/LoginFixture.h"
#include "tests/support/DialogScript.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {
const QString here = QStringLiteral("10.0.0.1");
const QString unknown = QStringLiteral("Неизвестный");

TLoginAttempt attempt(const QString &name, const QString &password, const QString &address = here)
{
    return attemptLogin(name, password, address);
}

// One USER_PSW row (TABNUM 5) and one attempt against it.
struct AttemptCase {
    const char *what;
    const char *name;     // SQL literal
    const char *pwd;      // SQL literal
    const char *ipadr;    // SQL literal
    const char *wenabled; // SQL literal
    bool coded;
    const char *typedName;
    const char *typedPassword;
    QString address;
    bool admitted;
};

// "right name and password" gives RightNameAndPassword.
std::string caseName(const char *what)
{
    std::string out;
    bool upper = true;
    for (const char *p = what; *p; ++p) {
        const unsigned char ch = static_cast<unsigned char>(*p);
        if (std::isalnum(ch)) {
            out += upper ? char(std::toupper(ch)) : char(ch);
            upper = false;
        } else {
            upper = true;
        }
    }
    return out;
}

void PrintTo(const AttemptCase &c, std::ostream *os)
{
    *os << caseName(c.what);
}

class UserTable_Sqlite : public ::testing::TestWithParam<AttemptCase> {};
} // namespace

TEST_P(UserTable_Sqlite, AdmitsExactlyTheMatchingEnabledUser)
{
    const AttemptCase &c = GetParam();
    LoginWorld world(TestEngine::SQLite, nullptr, c.coded);
    ASSERT_EQ(bool(PassCoded), c.coded);
    world.addUser(5, c.name, c.pwd, c.ipadr, c.wenabled);
    world.addUser(9, "'petrov'", "'other'");
    const QString typedName = QString::fromUtf8(c.typedName);

    DialogScript script;
    if (!c.admitted)
        script.answer(mrCancel);
    const TLoginAttempt a = attempt(typedName, QString::fromUtf8(c.typedPassword), c.address);

    if (c.admitted) {
        EXPECT_EQ(a.Result, 1);
        EXPECT_FALSE(a.Refused);
        EXPECT_EQ(FOracleBase->UserTabNum, 5);
        EXPECT_EQ(Tab_Num, 5);
        EXPECT_EQ(User_All_Name.Value(), "Full 5");
        EXPECT_EQ(world.users(), "5|" + typedName + "|" + c.address + "\n9|petrov|NULL")
            << "the address is recorded for the user alone";
        EXPECT_TRUE(script.shown().isEmpty());
    } else {
        EXPECT_EQ(a.Result, 0);
        EXPECT_TRUE(a.Refused);
        EXPECT_EQ(FOracleBase->UserTabNum, 0);
        ASSERT_EQ(script.shown().size(), 1);
        const ShownDialog &box = script.shown().first();
        EXPECT_EQ(box.kind, "dialog");
        EXPECT_EQ(box.type, TMsgDlgType::mtError);
        EXPECT_EQ(box.text, "Пользователь \"" + typedName +
                                "\" не существует, Вы ввели неправильный пароль или Ваш доступ "
                                "в систему запрещен!");
        EXPECT_EQ(box.buttons.size(), 1);
        EXPECT_FALSE(world.users().contains(c.address));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Attempts, UserTable_Sqlite,
    ::testing::Values(AttemptCase{"right name and password", "'ivanov'", "'secret'", "NULL", "'T'",
                                  false, "ivanov", "secret", here, true},
                      AttemptCase{"wrong password", "'ivanov'", "'secret'", "NULL", "'T'", false,
                                  "ivanov", "secreT", here, false},
                      AttemptCase{"wrong name", "'ivanov'", "'secret'", "NULL", "'T'", false,
                                  "ivanova", "secret", here, false},
                      AttemptCase{"name in other case", "'ivanov'", "'secret'", "NULL", "'T'",
                                  false, "Ivanov", "secret", here, false},
                      AttemptCase{"empty password against a real one", "'ivanov'", "'secret'",
                                  "NULL", "'T'", false, "ivanov", "", here, false},
                      AttemptCase{"another user's password", "'ivanov'", "'secret'", "NULL", "'T'",
                                  false, "ivanov", "other", here, false},
                      AttemptCase{"address inside a longer one", "'ivanov'", "'secret'",
                                  "'10.0.0.12'", "'T'", false, "ivanov", "secret", here, true},
                      AttemptCase{"address in a list", "'ivanov'", "'secret'",
                                  "'10.0.0.7;10.0.0.1'", "'T'", false, "ivanov", "secret", here,
                                  true},
                      AttemptCase{"address not in IPADR", "'ivanov'", "'secret'", "'10.0.0.7'",
                                  "'T'", false, "ivanov", "secret", here, false},
                      AttemptCase{"empty IPADR", "'ivanov'", "'secret'", "''", "'T'", false,
                                  "ivanov", "secret", here, true},
                      AttemptCase{"disabled", "'ivanov'", "'secret'", "NULL", "'F'", false,
                                  "ivanov", "secret", here, false},
                      AttemptCase{"WENABLED NULL", "'ivanov'", "'secret'", "NULL", "NULL", false,
                                  "ivanov", "secret", here, false},
                      AttemptCase{"WENABLED lower case", "'ivanov'", "'secret'", "NULL", "'t'",
                                  false, "ivanov", "secret", here, false},
                      AttemptCase{"digest", "'ivanov'", "'5ebe2294ecd0e0f08eab7690d2a6ee69'",
                                  "NULL", "'T'", true, "ivanov", "secret", here, true},
                      AttemptCase{"digest typed as it is stored", "'ivanov'",
                                  "'5ebe2294ecd0e0f08eab7690d2a6ee69'", "NULL", "'T'", true,
                                  "ivanov", "5ebe2294ecd0e0f08eab7690d2a6ee69", here, false},
                      AttemptCase{"plain password in a coded database", "'ivanov'", "'secret'",
                                  "NULL", "'T'", true, "ivanov", "secret", here, false},
                      AttemptCase{"empty password against the digest of the empty text", "'ivanov'",
                                  "'d41d8cd98f00b204e9800998ecf8427e'", "NULL", "'T'", true,
                                  "ivanov", "", here, true},
                      AttemptCase{"Cyrillic password, digest of its 8-bit form", "'иванов'",
                                  "'749789e4982b0c563f6729aac100a614'", "NULL", "'T'", true,
                                  "иванов", "пароль", here, true},
                      AttemptCase{"PWD NULL and an empty password", "'ivanov'", "NULL", "NULL",
                                  "'T'", false, "ivanov", "", here, true},
                      AttemptCase{"PWD NULL and a password", "'ivanov'", "NULL", "NULL", "'T'",
                                  false, "ivanov", "x", here, false},
                      AttemptCase{"empty name and password", "''", "''", "NULL", "'T'", false, "",
                                  "", here, true},
                      AttemptCase{"address unknown, IPADR set", "'ivanov'", "'secret'",
                                  "'10.0.0.1'", "'T'", false, "ivanov", "secret", unknown, false},
                      AttemptCase{"address unknown, IPADR empty", "'ivanov'", "'secret'", "NULL",
                                  "'T'", false, "ivanov", "secret", unknown, true},
                      AttemptCase{"address unknown, IPADR holds the word", "'ivanov'", "'secret'",
                                  "'10.0.0.1 Неизвестный'", "'T'", false, "ivanov", "secret",
                                  unknown, true}),
    [](const auto &p) { return caseName(p.param.what); });

namespace {
class Login_Sqlite : public ::testing::Test {
protected:
    LoginWorld world{TestEngine::SQLite};
};
} // namespace

TEST_F(Login_Sqlite, TwoMatchingRowsLogInTheFirstOneReturned)
{
    world.addUser(7, "'ivanov'", "'secret'");
    world.addUser(3, "'ivanov'", "'secret'");
    const QString first =
        world.db().query("SELECT TABNUM FROM USER_PSW WHERE NAME = 'ivanov'").section('\n', 0, 0);
    EXPECT_EQ(attempt("ivanov", "secret").Result, 1);
    EXPECT_EQ(QString::number(FOracleBase->UserTabNum), first);
    EXPECT_EQ(world.users(), first == "3" ? "3|ivanov|10.0.0.1\n7|ivanov|NULL"
                                          : "3|ivanov|NULL\n7|ivanov|10.0.0.1");
}

TEST_F(Login_Sqlite, RefusalsAreNotLimited)
{
    world.addUser(5, "'ivanov'", "'secret'");
    DialogScript script;
    for (int i = 0; i < 6; ++i) {
        script.answer(mrCancel);
        EXPECT_EQ(attempt("ivanov", "wrong" + QString::number(i)).Result, 0);
    }
    EXPECT_EQ(attempt("ivanov", "secret").Result, 1);
    EXPECT_EQ(script.shown().size(), 6);
}

TEST_F(Login_Sqlite, AFailingAddressUpdateIsRolledBackAndTheLoginStands)
{
    world.addUser(5, "'ivanov'", "'secret'");
    world.db().exec("CREATE TRIGGER NO_IP BEFORE UPDATE OF IP ON USER_PSW "
                    "BEGIN SELECT RAISE(ABORT, 'IP is read only'); END");
    DialogScript script;
    EXPECT_EQ(attempt("ivanov", "secret").Result, 1);
    EXPECT_EQ(FOracleBase->UserTabNum, 5);
    EXPECT_EQ(world.users(), "5|ivanov|NULL");
    EXPECT_TRUE(script.shown().isEmpty());
    EXPECT_FALSE(FOracleBase->ADatabase->InTransaction());
}

TEST_F(Login_Sqlite, ADatabaseErrorIsShownWithTheStatementAndRefuses)
{
    world.db().exec("DROP TABLE USER_PSW");
    DialogScript script;
    script.answer(mrOk);
    const TLoginAttempt a = attempt("ivanov", "secret");
    EXPECT_EQ(a.Result, 0);
    EXPECT_FALSE(a.Refused);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown().first().kind, "message");
    EXPECT_TRUE(script.shown().first().text.contains("USER_PSW"))
        << script.shown().first().text.toStdString();
    EXPECT_TRUE(script.shown().first().detail.startsWith("SELECT * FROM USER_PSW WHERE"));
    EXPECT_FALSE(script.shown().first().detail.contains("secret"));
}

TEST_F(Login_Sqlite, ARowThatCannotBeReadRefusesWithTheError)
{
    world.db().exec("INSERT INTO USER_PSW (TABNUM, NAME, PWD, WENABLED, SHEMA) "
                    "VALUES (5, 'ivanov', 'secret', 'T', 'scheme one')");
    DialogScript script;
    script.answer(mrOk);
    EXPECT_EQ(attempt("ivanov", "secret").Result, 0);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown().first().kind, "message");
    EXPECT_EQ(FOracleBase->UserTabNum, 0);
    EXPECT_EQ(world.users(), "5|ivanov|NULL");
}

TEST_F(Login_Sqlite, NullTextsAndNumbersOfTheRowReadAsEmptyAndZero)
{
    world.db().exec("INSERT INTO USER_PSW (TABNUM, NAME, WENABLED) VALUES (5, 'ivanov', 'T')");
    EXPECT_EQ(attempt("ivanov", "").Result, 1);
    EXPECT_EQ(User_Psw, "");
    EXPECT_EQ(User_All_Name.Value(), "");
    EXPECT_EQ(User_GroupID, "");
    EXPECT_EQ(Shema, 0);
}
