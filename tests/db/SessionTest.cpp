#include "db/EngineConnection.h"
#include "db/OracleError.h"
#include "db/OracleSession.h"
#include "db/OracleStatement.h"
#include "tests/db/DbFixture.h"
#include "tests/support/SqliteDb.h"

#include <QFile>
#include <QSqlDatabase>

#include <gmock/gmock.h>

#include <thread>

using ::testing::HasSubstr;

namespace {
std::string messageOf(const std::function<void()> &fn)
{
    try {
        fn();
    } catch (const EOracleError &e) {
        return e.Message().toStdString();
    }
    return "(no error)";
}

// SECOND of the first SRV row, read through the session.
QString srvSecond(TOracleSession &session)
{
    TOracleQuery q;
    q.SetSession(&session);
    q.SQL = QStringList{"SELECT MAIN, SECOND, RO FROM SRV"};
    q.Execute();
    return q.Eof() ? QStringLiteral("(no row)") : q.FieldAsString("SECOND");
}

// The numbers 1 to Count (I) with their names (NAME), "R1" to "R<Count>", opened on q.
void openNumbers(TOracleQuery &q, TOracleSession &session, int Count)
{
    q.SetSession(&session);
    q.SQL.append(QStringLiteral("WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N "
                                "WHERE I < %1)")
                     .arg(Count));
    q.SQL.append("SELECT I, 'R' || I AS NAME FROM N");
    q.Execute();
}

} // namespace

TEST(Session, OracleConnectStringWithoutOracleClientRaisesAtOnce)
{
    for (const QString &cs : {QStringLiteral("SERVER_ZUD"), QStringLiteral("//db1:1521/ORCL")}) {
        TOracleSession s;
        s.SetLogonDatabase(cs);
        s.SetLogonUsername(QStringLiteral("USER_ZUD"));
        EXPECT_EQ(s.Engine(), TEngine::Oracle);
        EXPECT_THAT(messageOf([&] { s.LogOn(); }), HasSubstr("Oracle client is not available"));
        EXPECT_FALSE(s.Connected());
    }
}

TEST(Session, TheMissingOracleDriverMessageNamesTheInstalledDriversAndTheSteps)
{
    TOracleSession s;
    s.SetLogonDatabase(QStringLiteral("//db1:1521/ORCL"));
    const std::string message = messageOf([&] { s.LogOn(); });
    ASSERT_FALSE(QSqlDatabase::drivers().contains("QOCI"));
    EXPECT_THAT(message, HasSubstr("Installed SQL drivers: " +
                                   QSqlDatabase::drivers().join(", ").toStdString() + "."));
    EXPECT_THAT(message, HasSubstr("QSQLITE"));
    EXPECT_THAT(message, HasSubstr("QPSQL"));
    EXPECT_THAT(message, HasSubstr("README.md, section \"Oracle at a site\""));
}

TEST(Session, OracleDialectSpeaksTheSystemsOwnStatements)
{
    const TSqlDialect &d = DialectOf(TEngine::Oracle);
    EXPECT_EQ(d.DualProbe(), "select 'x' from dual");
    EXPECT_EQ(d.VersionQuery(), "select * from v$version");
    EXPECT_EQ(d.SessionParameter("NLS_SORT", "'BINARY_CI'"),
              "ALTER SESSION SET NLS_SORT = 'BINARY_CI'");
    EXPECT_EQ(d.CatalogQuery(),
              "SELECT M.ID_REPORT, mLEVEL, NAME_REPORT, PARENT_NAME, parent_id, folder, \n"
              "AR.SQL_TEXT, AR.NAME_TITLE, AR.LENGTH_COLUMS, AR.FORMAT_STR, AR.PRN_TITLE_TOP, "
              "AR.PRN_TITLE_BOT\n"
              "FROM (SELECT ID_REPORT, NAME_REPORT,\n"
              "(SELECT NAME_REPORT FROM QUORVEL_CAT B\n"
              "WHERE B.ID_REPORT = A.PARENT_ID) AS PARENT_NAME, LEVEL as mLEVEL, parent_id, "
              "folder\n"
              "FROM QUORVEL_CAT A\n"
              "CONNECT BY PRIOR ID_REPORT = PARENT_ID\n"
              "START WITH PARENT_ID IS NULL\n"
              "ORDER SIBLINGS BY NAME_REPORT) M, QUORVEL AR\n"
              "WHERE M.ID_REPORT=AR.ID_REPORT(+)\n"
              "ORDER BY FOLDER DESC, mLEVEL, NAME_REPORT ");
    EXPECT_EQ(d.PeriodDate(QDate(2016, 4, 5)), "TO_DATE('05.04.2016', 'DD.MM.YYYY')");
    EXPECT_EQ(DialectOf(TEngine::PostgreSQL).PeriodDate(QDate(2015, 12, 31)),
              "TO_DATE('31.12.2015', 'DD.MM.YYYY')");
    EXPECT_TRUE(d.ProbeErrorMeansAlive(1000, {}));
    EXPECT_TRUE(d.ProbeErrorMeansAlive(942, {}));
    EXPECT_FALSE(d.ProbeErrorMeansAlive(3113, {}));
}

TEST(Session, ConnectStringsChooseTheEngine)
{
    EXPECT_EQ(EngineOf("sqlite:demo.db"), TEngine::SQLite);
    EXPECT_EQ(EngineOf("postgresql://127.0.0.1:5432/q"), TEngine::PostgreSQL);
    EXPECT_EQ(EngineOf("SERVER_ZUD"), TEngine::Oracle);
}

class Session_Sqlite : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.file("t.db");
        session.SetLogonDatabase(createSqliteDatabase(path));
    }
    TempDir dir;
    QString path;
    TOracleSession session;
};

TEST_F(Session_Sqlite, LogOnRunsAfterLogOnOnTheCallingThreadBeforeReturning)
{
    std::thread::id ranOn;
    bool connectedInHandler = false;
    session.AfterLogOn = [&](TOracleSession *Sender) {
        ranOn = std::this_thread::get_id();
        connectedInHandler = Sender->Connected();
    };
    session.LogOn();
    EXPECT_TRUE(session.Connected());
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    EXPECT_TRUE(connectedInHandler);
    session.LogOff();
    EXPECT_FALSE(session.Connected());
    session.SetConnected(true);
    EXPECT_TRUE(session.Connected());
}

TEST_F(Session_Sqlite, LogOnToAMissingFileFailsAndCreatesNothing)
{
    const QString missing = dir.file("missing.db");
    session.SetLogonDatabase(QStringLiteral("sqlite:") + missing);
    EXPECT_THAT(messageOf([&] { session.LogOn(); }), HasSubstr("unable to open"));
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_FALSE(session.Connected());
}

TEST_F(Session_Sqlite, RelativePathIsTakenFromTheLogonFolder)
{
    sqliteExec(path, "INSERT INTO SRV VALUES (0, 1, 0)");
    session.SetLogonDatabase(QStringLiteral("sqlite:t.db"));
    EXPECT_THAT(messageOf([&] { session.LogOn(); }), HasSubstr("unable to open"))
        << "without a folder the program's folder is meant, which has no t.db";
    session.SetLogonFolder(dir.path());
    session.LogOn();
    EXPECT_EQ(srvSecond(session), "1");
}

TEST(SqliteFilePath, RelativeToTheFolderOrElseTheProgramsFolder)
{
    EXPECT_EQ(SqliteFilePath("sqlite:/data/q.db", "/work"), "/data/q.db");
    EXPECT_EQ(SqliteFilePath("sqlite:q.db", "/work"), "/work/q.db");
    EXPECT_EQ(SqliteFilePath("sqlite:sub/q.db", "/work/"), "/work/sub/q.db");
    EXPECT_EQ(SqliteFilePath("sqlite:q.db", QString()), ProgramFolder() + "/q.db");
}

TEST_F(Session_Sqlite, QueryStandsOnTheFirstRowAndEofFollowsTheLastAcrossBatches)
{
    session.LogOn();
    TOracleQuery q;
    openNumbers(q, session, 20000);
    qlonglong sum = 0;
    int rows = 0;
    while (!q.Eof()) {
        ++rows;
        sum += q.Field("I").toLongLong();
        ASSERT_EQ(q.FieldAsString("name"), QStringLiteral("R%1").arg(rows));
        q.Next();
    }
    EXPECT_EQ(rows, 20000);
    EXPECT_EQ(sum, 20000LL * 20001 / 2);
    q.Next();
    EXPECT_TRUE(q.Eof());

    q.SQL = QStringList{"SELECT 1 FROM SRV"};
    q.Execute();
    EXPECT_TRUE(q.Eof());
    EXPECT_EQ(q.FieldCount(), 1);
}

// Rows a logoff closed must not read as the end of the result.
TEST_F(Session_Sqlite, FetchAfterTheSessionClosedTheCursorFailsAndSaysWhy)
{
    session.LogOn();
    TOracleQuery q;
    openNumbers(q, session, 5000);
    int rows = 0;
    std::string error = "(no error)";
    session.LogOff();
    try {
        for (; !q.Eof(); q.Next())
            ++rows;
    } catch (const EOracleError &e) {
        error = e.Message().toStdString();
    }
    EXPECT_LT(rows, 5000);
    EXPECT_THAT(error, HasSubstr("session was closed while its query was being read"));
    EXPECT_TRUE(q.Eof());
}

TEST_F(Session_Sqlite, ChangesStayInTheSessionsTransactionUntilCommit)
{
    session.LogOn();
    TOracleQuery q;
    q.SetSession(&session);
    EXPECT_FALSE(session.InTransaction());
    q.SQL = QStringList{"SELECT COUNT(*) FROM SRV"};
    q.Execute();
    EXPECT_FALSE(session.InTransaction()) << "a query opens no transaction";
    q.SQL = QStringList{"INSERT INTO SRV (MAIN, SECOND, RO) VALUES (0, 1, 0)"};
    q.Execute();
    EXPECT_EQ(q.RowsProcessed(), 1);
    EXPECT_TRUE(session.InTransaction());
    EXPECT_EQ(sqliteQuery(path, "SELECT COUNT(*) FROM SRV"), "0");
    session.Rollback();
    EXPECT_FALSE(session.InTransaction());
    q.Execute();
    session.Commit();
    EXPECT_EQ(sqliteQuery(path, "SELECT MAIN, SECOND, RO FROM SRV"), "0|1|0");
}

TEST_F(Session_Sqlite, ServerVersionEndsInTheDottedRelease)
{
    EXPECT_EQ(session.ServerVersion(), QString()) << "not connected";
    session.LogOn();
    const QString v = session.ServerVersion();
    EXPECT_TRUE(v.startsWith("SQLite Release 3.")) << v.toStdString();
}

TEST_F(Session_Sqlite, CheckConnectionReconnectsALostSession)
{
    EXPECT_EQ(session.CheckConnection(false), ccError);
    EXPECT_EQ(session.CheckConnection(true), ccReconnected);
    EXPECT_TRUE(session.Connected());
    EXPECT_EQ(session.CheckConnection(true), ccOK);
    session.SetLogonDatabase(QStringLiteral("sqlite:") + dir.file("gone.db"));
    session.LogOff();
    EXPECT_EQ(session.CheckConnection(true), ccError);
}

TEST_F(Session_Sqlite, BindVariablesOfBothTypes)
{
    session.LogOn();
    TOracleDataSet ds;
    ds.SetSession(&session);
    ds.SQL = QStringList{"INSERT INTO QUORVEL_CAT (ID_REPORT, NAME_REPORT, PARENT_ID, FOLDER)",
                         "VALUES (:ID, :name, :Parent, 1)"};
    ds.DeclareVariable("ID", otInteger);
    ds.DeclareVariable("NAME", otString);
    ds.DeclareVariable("PARENT", otInteger);
    ds.DeclareVariable("UNUSED", otString);
    ds.SetVariable("id", 7);
    ds.SetVariable("Name", QStringLiteral("a ':b' -- \"c\"\r\nd;"));
    ds.ExecSQL();
    ds.ClearVariables();
    ds.SetVariable("ID", "8");
    ds.ExecSQL();
    session.Commit();
    EXPECT_EQ(sqliteQuery(path, "SELECT ID_REPORT, NAME_REPORT, PARENT_ID FROM QUORVEL_CAT"),
              "7|a ':b' -- \"c\"\r\nd;|NULL\n8|NULL|NULL");
    ds.DeleteVariables();
    EXPECT_EQ(ds.VariableCount(), 0);
    EXPECT_THAT(messageOf([&] { ds.SetVariable("ID", 1); }), HasSubstr("not declared"));
}

// Several threads use one session at once: the user-interface thread queries while another
// thread logs the session off and on and probes it, as the supervision does.
TEST_F(Session_Sqlite, TwoThreadsShareOneSessionForManyRounds)
{
    sqliteExec(path, "INSERT INTO SRV VALUES (0, 1, 0)");
    session.LogOn();
    std::atomic<bool> stop{false};
    std::atomic<int> probes{0};
    std::thread prober([&] {
        while (!stop) {
            if (session.CheckConnection(true) != ccError)
                ++probes;
            if (probes % 5 == 0) {
                session.LogOff();
                session.LogOn();
            }
        }
    });
    int ok = 0;
    for (int round = 0; round < 300; ++round) {
        try {
            EXPECT_EQ(srvSecond(session), "1");
            ++ok;
        } catch (const EOracleError &e) {
            // The other thread may log the session off between our calls.
            EXPECT_THAT(e.Message().toStdString(), HasSubstr("Not logged on"));
        }
    }
    stop = true;
    prober.join();
    EXPECT_GT(ok, 0);
    EXPECT_GT(probes.load(), 0);
}
