#include "db/NoteQuery.h"
#include "db/OracleBase.h"
#include "db/OracleSession.h"
#include "db/QueryHelpers.h"
#include "tests/db/DbFixture.h"
#include "tests/support/DialogScript.h"

#include <gmock/gmock.h>

using ::testing::HasSubstr;

TEST(NoteQuery, SelectRuleOfTheCheckedStatements)
{
    EXPECT_TRUE(SELECT_("  \t\r\n select * from X"));
    EXPECT_TRUE(SELECT_("UPDATE RMT_QUERY SET A = 1"));
    EXPECT_TRUE(SELECT_("insert into t_auto_hour_x values (1)"));
    EXPECT_FALSE(SELECT_("WITH A AS (SELECT 1 FROM DUAL) SELECT * FROM A"));
    EXPECT_FALSE(SELECT_("ALTER SESSION SET NLS_SORT = 'BINARY'"));
    EXPECT_FALSE(SELECT_(""));
}

// A working and a reserve server on one engine, with the module over them.
class Checked : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override
    {
        ResetProcessState();
        writeViriIni(dir.path(), a, &b);
        base = std::make_unique<TFOracleBase>(nullptr, dir.path());
        ASSERT_TRUE(base->ADatabase->Connected());
        WriteToSRV = true;
    }
    bool insert(int id, const QString &name = QStringLiteral("x"))
    {
        TNoteQuery q;
        q.SQL.append(QStringLiteral("INSERT INTO QUORVEL_CAT (ID_REPORT, NAME_REPORT, FOLDER) "
                                    "VALUES (%1, '%2', 0)")
                         .arg(id)
                         .arg(name));
        return q.NoteExecSQL(true);
    }
    TempDir dir;
    TestDb a{GetParam(), "a"};
    TestDb b{GetParam(), "b"};
    std::unique_ptr<TFOracleBase> base;
};

TEST_P(Checked, ViewModeSkipsChangesAndStillSucceeds)
{
    WriteToSRV = false;
    EXPECT_TRUE(insert(1));
    EXPECT_EQ(a.query("SELECT COUNT(*) FROM QUORVEL_CAT"), "0");
    EXPECT_EQ(CreMaxID("SELECT max(ID_REPORT) ID FROM QUORVEL_CAT"), 1) << "reading still runs";
}

TEST_P(Checked, MirroredChangesReachBothServersAndAFailingReserveIsDroppedSilently)
{
    ASSERT_TRUE(base->If_Connect(base->BDatabase));
    WriteToRezerv = true;
    EXPECT_TRUE(insert(1));
    EXPECT_EQ(a.query("SELECT ID_REPORT FROM QUORVEL_CAT"), "1");
    EXPECT_EQ(b.query("SELECT ID_REPORT FROM QUORVEL_CAT"), "1");
    EXPECT_TRUE(WriteToRezerv);

    DialogScript script; // no box may appear
    base->Dis_Connect(base->BDatabase);
    b.vanish();
    EXPECT_TRUE(insert(2));
    EXPECT_FALSE(WriteToRezerv);
    EXPECT_EQ(a.query("SELECT ID_REPORT FROM QUORVEL_CAT ORDER BY 1"), "1\n2");
    EXPECT_TRUE(script.shown().isEmpty());
}

TEST_P(Checked, FailedChangeRollsBackAndDebugShowsTheErrorForm)
{
    TNoteQuery q;
    q.SQL.append("INSERT INTO QUORVEL_CAT (ID_REPORT, NAME_REPORT, FOLDER) VALUES (5, 'a', 0)");
    EXPECT_TRUE(q.NoteExecSQL(false));
    EXPECT_TRUE(base->ADatabase->InTransaction());
    EXPECT_FALSE(insert(5)) << "duplicate key";
    EXPECT_FALSE(base->ADatabase->InTransaction()) << "rolled back";
    EXPECT_EQ(a.query("SELECT COUNT(*) FROM QUORVEL_CAT"), "0");

    Debug_ = true;
    DialogScript script;
    script.answer(mrOk);
    TNoteDataSet ds;
    ds.SQL.append("SELECT NOSUCH FROM QUORVEL_CAT");
    EXPECT_FALSE(ds.NoteOpen());
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown()[0].text.startsWith("NoteDataSet.NoteOpen\r\n"));
    EXPECT_THAT(script.shown()[0].text.toUpper().toStdString(), HasSubstr("NOSUCH"));
    EXPECT_EQ(script.shown()[0].detail, "SELECT NOSUCH FROM QUORVEL_CAT");
}

TEST_P(Checked, CreMaxIdAndLoadStrings)
{
    EXPECT_EQ(CreMaxID("SELECT max(ID_REPORT) ID FROM QUORVEL_CAT"), 1);
    EXPECT_EQ(CreMaxID("SELECT max(ID_REPORT) ID FROM NO_SUCH_TABLE"), -1);
    EXPECT_EQ(CreMaxID("SELECT ID_REPORT ID FROM QUORVEL_CAT"), 0);
    ASSERT_TRUE(insert(3, "B"));
    ASSERT_TRUE(insert(7, "A"));
    EXPECT_EQ(CreMaxID("SELECT max(ID_REPORT) ID FROM QUORVEL_CAT"), 8);

    TCodedStrings items;
    TNoteDataSet nds;
    EXPECT_TRUE(LoadStrings(items, &nds, "QUORVEL_CAT", "NAME_REPORT", "ID_REPORT", "",
                            "NAME_REPORT", "(все)", true));
    EXPECT_EQ(items, TCodedStrings({{"(все)", 0}, {"A", 7}, {"B", 3}}));
    EXPECT_EQ(nds.SQL, QStringList({"SELECT DISTINCT NAME_REPORT, ID_REPORT FROM QUORVEL_CAT",
                                    "ORDER BY NAME_REPORT"}));
    EXPECT_TRUE(LoadStrings(items, &nds, "QUORVEL_CAT", "NAME_REPORT", "ID_REPORT", "ID_REPORT > 0",
                            "FOLDER", "", true));
    EXPECT_EQ(nds.SQL.first(), "SELECT DISTINCT NAME_REPORT, ID_REPORT, FOLDER FROM QUORVEL_CAT");
    EXPECT_EQ(items.size(), 2);
    EXPECT_FALSE(LoadStrings(items, nullptr, "NO_SUCH_TABLE", "A", "B", "", "", "(все)", false));
    EXPECT_TRUE(items.isEmpty());
}

// Statement texts are sent as given and fail with the server's message; bind values come back
// exactly.
TEST_P(Checked, BadInputReachesTheServerAsGiven)
{
    const QString junk[] = {"SELECT 'unterminated FROM QUORVEL_CAT", "SELECT 1; DROP TABLE SRV",
                            "SELECT * FROM ТАБЛИЦА",
                            "SELECT '" + QString(100000, u'x') + "' FROM NOPE",
                            QString::fromLatin1("\x01\x02\x7f\xff junk")};
    for (const QString &text : junk) {
        TOracleQuery q;
        q.SetSession(base->ADatabase);
        q.SQL.append(text);
        try {
            q.Execute();
            ADD_FAILURE() << "accepted: " << text.left(60).toStdString();
        } catch (const std::exception &e) {
            EXPECT_FALSE(QString::fromUtf8(e.what()).isEmpty());
        }
    }
    EXPECT_EQ(a.query("SELECT COUNT(*) FROM SRV"), "0") << "the table is still there";
    TNoteDataSet ds;
    ds.SQL = QStringList{"INSERT INTO QUORVEL_POP (IP_POP_SERVER, POP_USER, POP_PASSWORD)",
                         "VALUES (:AM, :AN, :IR)"};
    for (const char *v : {"AM", "AN", "IR"})
        ds.DeclareVariable(v, otString);
    const QString tricky = "a'b\"c;\r\nd -- e /* f */ :AM ?Пароль";
    ds.SetVariable("AM", tricky);
    const QString wide(255, u'я'); // the column's full width
    ds.SetVariable("AN", wide);
    ds.SetVariable("IR", "");
    EXPECT_TRUE(ds.NoteExecSQL(true));
    ds.SQL = QStringList{"SELECT IP_POP_SERVER, POP_USER FROM QUORVEL_POP"};
    ASSERT_TRUE(ds.NoteOpen());
    EXPECT_EQ(ds.FieldByName("IP_POP_SERVER").AsString(), tricky);
    EXPECT_EQ(ds.FieldByName("POP_USER").AsString(), wide);

    // Names and marks inside literals and comments are not variables; the session that
    // refused the texts above still works.
    TNoteDataSet marks;
    marks.SQL =
        QStringList{"SELECT :ID + 1 AS N, ':ID ?' AS T /* :ID ? */", "FROM QUORVEL_POP -- :ID ?"};
    marks.DeclareVariable("ID", otInteger);
    marks.SetVariable("ID", 41);
    ASSERT_TRUE(marks.NoteOpen());
    ASSERT_FALSE(marks.Eof());
    EXPECT_EQ(marks.FieldByName("N").AsString(), "42");
    EXPECT_EQ(marks.FieldByName("T").AsString(), ":ID ?");
}

INSTANTIATE_TEST_SUITE_P(On_Sqlite, Checked, ::testing::Values(TestEngine::SQLite),
                         EngineParamName());
INSTANTIATE_TEST_SUITE_P(On_Postgres, Checked, ::testing::Values(TestEngine::PostgreSQL),
                         EngineParamName());
