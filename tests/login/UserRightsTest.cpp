#include "login/UserRights.h"
#include "db/OracleBase.h"
#include "db/OracleStatement.h"
#include "db/ServerStatus.h"
#include "login/LoginCheck.h"
#include "login/SessionVariables.h"
#include "tests/login/LoginFixture.h"
#include "tests/support/DialogScript.h"

#include <gtest/gtest.h>

#include <set>

namespace {
// The property codes whose flags are true, read back through the code table.
std::set<int> grantedCodes()
{
    std::set<int> codes;
    for (int code = 0; code < PropertyCodeCount; ++code)
        if (bool *flag = RightFlagOfCode(code); flag && *flag)
            codes.insert(code);
    return codes;
}

class UserRights_Sqlite : public ::testing::Test {
protected:
    // Group 4 with the codes given; ivanov is in the group named by groupId (a SQL literal).
    void grant(const std::vector<int> &codes)
    {
        QString grants = "INSERT INTO USER_GROUP (ID, ACTIONID, QUALITY_MASK) VALUES (4, 77, 255);";
        for (int code : codes)
            grants +=
                QString("INSERT INTO USER_G_P (USER_GROUP, USER_PROP) VALUES (4, %1);").arg(code);
        world.db().exec(grants);
    }
    void logIn(const QString &groupId = "4")
    {
        world.addUser(5, "'ivanov'", "'secret'", "NULL", "'T'", groupId);
        DialogScript script;
        ASSERT_EQ(attemptLogin("ivanov", "secret", "10.0.0.1").Result, 1);
        EXPECT_TRUE(script.shown().isEmpty()) << "group failures are silent";
    }

    LoginWorld world{TestEngine::SQLite};
};
} // namespace

TEST_F(UserRights_Sqlite, TheUsersOwnValuesComeFromTheRow)
{
    world.db().exec(
        "INSERT INTO USER_PSW (TABNUM, NAME, PWD, WENABLED, ALLNAME, GROUPID, SHEMA, BMMESSAGE, "
        "BMGOTOMESSAGE, BMREGL, BMSOUND, BMCHWIND, BMZKLTOP) VALUES (12, 'ivanov', 'secret', 'T', "
        "'Иванов Иван Иванович', 4, 3, 'T', 't', NULL, 'F', 'T', 'TT')");
    DialogScript script;
    ASSERT_EQ(attemptLogin("ivanov", "secret", "10.0.0.1").Result, 1);
    EXPECT_EQ(Tab_Num, 12);
    EXPECT_EQ(User_Name, "ivanov");
    EXPECT_EQ(User_Psw, "secret");
    EXPECT_EQ(User_All_Name.Value(), "Иванов Иван Иванович");
    EXPECT_EQ(User_GroupID, "4");
    EXPECT_EQ(Shema, 3);
    EXPECT_EQ(std::vector<bool>({BMMessage, BMGoToMessage, BMRegl, BMSound, BMChWind, BMZklTop}),
              std::vector<bool>({true, false, false, false, true, false}));
}

TEST_F(UserRights_Sqlite, AGroupWithoutCodesHasNoRightsButItsRow)
{
    grant({});
    logIn();
    EXPECT_TRUE(grantedCodes().empty());
    EXPECT_EQ(QualityMask, 255);
    EXPECT_EQ(ActionID, 77);
}

TEST_F(UserRights_Sqlite, CodesGrantTheirFlagsAndDuplicatesCountOnce)
{
    // The site's table may hold a code twice.
    world.db().exec("DROP TABLE USER_G_P; CREATE TABLE USER_G_P (USER_GROUP INTEGER, USER_PROP "
                    "INTEGER)");
    grant({0, 14, 14, 56, 30});
    logIn();
    EXPECT_EQ(grantedCodes(), (std::set<int>{0, 14, 30, 56}));
    EXPECT_TRUE(Prop_Vis && Admin && EditDayRep && CanSelServer);
}

TEST_F(UserRights_Sqlite, CodesWithoutAFlagChangeNothing)
{
    grant({27, 28, 57, -1, 1000, 3});
    logIn();
    EXPECT_EQ(grantedCodes(), (std::set<int>{3}));
}

TEST_F(UserRights_Sqlite, EarlierRightsDoNotSurviveTheNextLogin)
{
    Admin = true;
    TU_ALL = true;
    grant({5});
    logIn();
    EXPECT_EQ(grantedCodes(), (std::set<int>{5}));
}

TEST_F(UserRights_Sqlite, FarUserGetsTheFixedProfile)
{
    grant({24, 0, 1, 14, 16, 25, 42, 48, 55, 56});
    ActionID = 3;
    logIn();
    EXPECT_EQ(grantedCodes(), (std::set<int>{12, 13, 14, 16, 24, 42, 47, 56}));
    EXPECT_EQ(QualityMask, 255);
    EXPECT_EQ(ActionID, 3) << "not read for a remote user";
}

TEST_F(UserRights_Sqlite, FarUserAloneGetsOnlyTheViewingPart)
{
    grant({24});
    logIn();
    EXPECT_EQ(grantedCodes(), (std::set<int>{12, 13, 24, 47}));
}

TEST_F(UserRights_Sqlite, CodeFortyEightGrantsViewingOneRow)
{
    grant({48});
    logIn();
    EXPECT_TRUE(TU_ViewOneRow);
}

TEST_F(UserRights_Sqlite, WithoutAGroupRowTheCodesStayAndTheGroupValuesKeep)
{
    world.db().exec("INSERT INTO USER_G_P (USER_GROUP, USER_PROP) VALUES (4, 9)");
    QualityMask = 1;
    ActionID = 2;
    logIn();
    EXPECT_EQ(grantedCodes(), (std::set<int>{9}));
    EXPECT_EQ(QualityMask, 1);
    EXPECT_EQ(ActionID, 2);
}

namespace {
struct GroupIdCase {
    const char *what;
    const char *literal;
};

void PrintTo(const GroupIdCase &c, std::ostream *os)
{
    *os << c.what;
}

class GroupIdentifier_Sqlite : public UserRights_Sqlite,
                               public ::testing::WithParamInterface<GroupIdCase> {};
} // namespace

TEST_P(GroupIdentifier_Sqlite, ThatNamesNoGroupLeavesEveryFlagFalse)
{
    // Group 0 and group 1 exist and grant everything: a value read as a number by mistake, or
    // pasted into the statement, would find them.
    QString grants;
    for (int group : {0, 1}) {
        grants += QString("INSERT INTO USER_GROUP (ID, ACTIONID, QUALITY_MASK) VALUES (%1, 9, 9);")
                      .arg(group);
        for (int code = 0; code < PropertyCodeCount; ++code)
            grants += QString("INSERT INTO USER_G_P (USER_GROUP, USER_PROP) VALUES (%1, %2);")
                          .arg(group)
                          .arg(code);
    }
    world.db().exec("BEGIN;" + grants + "COMMIT;");
    Admin = true;
    QualityMask = 0x3FFFFFFF;
    ActionID = 5;
    logIn(GetParam().literal);
    EXPECT_TRUE(grantedCodes().empty());
    EXPECT_EQ(QualityMask, 0x3FFFFFFF);
    EXPECT_EQ(ActionID, 5);
}

INSTANTIATE_TEST_SUITE_P(
    Values, GroupIdentifier_Sqlite,
    ::testing::Values(GroupIdCase{"Null", "NULL"}, GroupIdCase{"Empty", "''"},
                      GroupIdCase{"Letters", "'abc'"}, GroupIdCase{"OneOrTrue", "'1 OR 1=1'"},
                      GroupIdCase{"ZeroOrTrue", "'0 OR 1=1'"},
                      GroupIdCase{"SecondStatement", "'1; DELETE FROM USER_G_P'"},
                      GroupIdCase{"Dash", "'-'"}),
    [](const auto &p) { return std::string(p.param.what); });

namespace {
// A group whose codes hold a NULL: the NULL is a failed conversion, which ends the group
// statements silently; what was set before it stays.
struct NullCodeCase {
    const char *name;
    const char *props;    // USER_G_P rows of group 4, in the order they are returned
    const char *groupRow; // ACTIONID, QUALITY_MASK of group 4
    std::set<int> granted;
    int qualityMask, actionId;
};

const NullCodeCase nullCodeCases[] = {
    {"PropertyNullEndsTheCodes", "(4, 3), (4, NULL), (4, 5)", "77, 255", {3}, 1, 2},
    {"QualityMaskNullLeavesTheRemoteProfileUnapplied",
     "(4, 24), (4, 1)",
     "77, NULL",
     {1, 24},
     1,
     2},
    {"ActionIdNullKeepsTheAction", "(4, 5)", "NULL, 255", {5}, 255, 2},
};

class NullGroupCodes : public ::testing::TestWithParam<TestEngine> {};
} // namespace

TEST_P(NullGroupCodes, EndTheGroupStatementsSilently)
{
    for (const NullCodeCase &c : nullCodeCases) {
        SCOPED_TRACE(c.name);
        LoginWorld world(GetParam());
        // A site's tables without the constraints of ours.
        world.db().exec(QStringLiteral("DROP TABLE USER_G_P; DROP TABLE USER_GROUP;"
                                       "CREATE TABLE USER_G_P (USER_GROUP INTEGER, USER_PROP "
                                       "INTEGER); CREATE TABLE USER_GROUP (ID INTEGER, ACTIONID "
                                       "INTEGER, QUALITY_MASK INTEGER);"
                                       "INSERT INTO USER_G_P (USER_GROUP, USER_PROP) VALUES %1;"
                                       "INSERT INTO USER_GROUP (ID, ACTIONID, QUALITY_MASK) "
                                       "VALUES (4, %2)")
                            .arg(QLatin1String(c.props), QLatin1String(c.groupRow)));
        world.addUser(5, "'ivanov'", "'secret'", "NULL", "'T'", "4");
        QualityMask = 1;
        ActionID = 2;
        DialogScript script;
        ASSERT_EQ(attemptLogin("ivanov", "secret", "10.0.0.1").Result, 1);
        EXPECT_TRUE(script.shown().isEmpty());
        EXPECT_EQ(grantedCodes(), c.granted);
        EXPECT_EQ(QualityMask, c.qualityMask);
        EXPECT_EQ(ActionID, c.actionId);
    }
}

INSTANTIATE_TEST_SUITE_P(On_Sqlite, NullGroupCodes, ::testing::Values(TestEngine::SQLite),
                         EngineParamName());
INSTANTIATE_TEST_SUITE_P(On_Postgres, NullGroupCodes, ::testing::Values(TestEngine::PostgreSQL),
                         EngineParamName());
