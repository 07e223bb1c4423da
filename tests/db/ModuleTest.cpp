#include "db/NoteQuery.h"
#include "db/OracleBase.h"
#include "db/OracleSession.h"
#include "db/Password.h"
#include "db/UiThread.h"
#include "tests/db/DbFixture.h"
#include "tests/support/DialogScript.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <gmock/gmock.h>

#include <thread>

using ::testing::HasSubstr;

namespace {
void writeFile(const QString &path, const QString &text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}

// Lets queued calls from other threads reach the user-interface thread, for a bounded time.
void processUntil(const std::function<bool()> &done)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}
} // namespace

TEST(Module, NoViriIniGivesOneServerWithTheDefaultLogon)
{
    ResetProcessState();
    TempDir dir;
    TFOracleBase base(nullptr, dir.path() + "/");
    EXPECT_EQ(FOracleBase, &base);
    EXPECT_EQ(CurrDir, dir.path());
    EXPECT_EQ(TmpFile, dir.path() + QDir::separator() + "Temp.tmp");
    EXPECT_EQ(N_SRV, 0);
    EXPECT_EQ(base.ADatabase->LogonUsername(), "USER_ZUD");
    EXPECT_EQ(base.ADatabase->LogonDatabase(), "SERVER_ZUD");
    EXPECT_EQ(base.ADatabase->LogonPassword(), FixedPasswordWord);
    EXPECT_EQ(base.BDatabase->LogonPassword(), " ");
    EXPECT_FALSE(base.AutoConnect);
    EXPECT_FALSE(base.ADatabase->Connected()) << "no Oracle client here";
    EXPECT_FALSE(base.Is_Connect_);
    EXPECT_EQ(base.AllStateSRV, QStringList({"Основной", "Резерв", "Автономный"}));
    EXPECT_FALSE(base.ResetPowerDB);
}

TEST(Module, SecondServersTimerSectionReplacesAutoConnect)
{
    ResetProcessState();
    TempDir dir;
    writeFile(dir.file("viri.ini"),
              "[Mode]\nN_Server=0x2\nN_ServerPPD=2\nSHOW_SMENA_PASSWORD=5\n"
              "[Alias]\nSERVER_NAME=sqlite:none.db\nPASSWORD_=" +
                  EncodePassword("пароль", 0x1234) +
                  "\n[Timer]\nAutoConnect=1\n[Alias_1]\nUSER_NAME=B\nSERVER_NAME=sqlite:b.db\n");
    TFOracleBase base(nullptr, dir.path());
    EXPECT_EQ(N_SRV, 1);
    EXPECT_EQ(N_SRV_PPD, 1);
    EXPECT_TRUE(SHOW_SMENA_PASSWORD);
    EXPECT_EQ(base.ADatabase->LogonPassword(), "пароль");
    EXPECT_EQ(base.BDatabase->LogonUsername(), "B");
    EXPECT_EQ(base.BDatabase->LogonDatabase(), "sqlite:b.db");
    EXPECT_FALSE(base.AutoConnect);
    EXPECT_EQ(base.IsCountServer, 1);
}

TEST(Module, CanBeMadeAndDestroyedAgain)
{
    for (int i = 0; i < 3; ++i) {
        TempDir dir;
        auto base = std::make_unique<TFOracleBase>(nullptr, dir.path());
        EXPECT_EQ(FOracleBase, base.get());
        base.reset();
        EXPECT_EQ(FOracleBase, nullptr);
    }
}

TEST(Module, PasswordsDecodeOrFailClearly)
{
    EXPECT_EQ(_Pwd(DefaultEncodedPassword), FixedPasswordWord);
    EXPECT_EQ(DefaultEncodedPassword.size(), 22);
    EXPECT_EQ(_Pwd(""), FixedPasswordWord);
    EXPECT_EQ(_Pwd("zudSecret"), FixedPasswordWord);
    for (const QString &p : {QString("a"), QString("Secret 1;'\""), QString("Пароль")})
        EXPECT_EQ(_Pwd(EncodePassword(p, 0xBEEF)), p);
    EXPECT_EQ(_Pwd("12"), "12") << "too short to be encoded: taken as it is";
    EXPECT_EQ(_Pwd("12XZ45"), "12XZ45") << "not hexadecimal: taken as it is";
    const QString odd = EncodePassword("abc", 7) + "F";
    EXPECT_EQ(_Pwd(odd), "abc") << "a trailing odd digit is ignored";
    QString wrongKey = EncodePassword("abc", 7);
    wrongKey.replace(0, 4, "0008");
    EXPECT_EQ(_Pwd(wrongKey).size(), 3) << "a wrong key decodes to something of the same length";
}

TEST(Module, HostNamesThatDoNotResolveGiveTheFixedWord)
{
    EXPECT_EQ(TFOracleBase::GetIPAddrOf("no-such-host.invalid"), "Неизвестный");
    EXPECT_EQ(TFOracleBase::GetIPAddrOf(""), "Неизвестный");
    EXPECT_EQ(TFOracleBase::GetIPAddrOf("localhost"), "127.0.0.1");
    EXPECT_FALSE(TFOracleBase::GetIPAddr().isEmpty());
}

class Module_Sqlite : public ::testing::Test {
protected:
    void SetUp() override { ResetProcessState(); }
    std::unique_ptr<TFOracleBase> start(const QString &extra = QString())
    {
        writeViriIni(dir.path(), db, nullptr, extra);
        return std::make_unique<TFOracleBase>(nullptr, dir.path());
    }
    TempDir dir;
    TestDb db{TestEngine::SQLite, "main"};
};

TEST_F(Module_Sqlite, FirstProbeLogsOnAndRunsTheAfterLogonSteps)
{
    db.exec("INSERT INTO SRV VALUES (0, 1, 1);"
            "INSERT INTO SCRIPT_HISTORY (SCRIPT_VERSION) VALUES ('SHIFRPSWMD5');"
            "INSERT INTO COL VALUES ('NAME_CP', 'CP', 'NUMBER')");
    auto base = start();
    EXPECT_TRUE(base->ADatabase->Connected());
    EXPECT_TRUE(base->Is_Connect_);
    EXPECT_TRUE(PassCoded);
    EXPECT_TRUE(F_NEW_CP);
    EXPECT_EQ(Hard_CP_Off.Value(), "0");
    EXPECT_TRUE(WriteToSRV) << "RO 1 allows writing";
    EXPECT_FALSE(WriteToHour);
    EXPECT_EQ(UserIP.Value(), TFOracleBase::GetIPAddr());
    EXPECT_EQ(base->CheckConnection(false), 0);
    base.reset();
    EXPECT_FALSE(WriteToSRV);
}

TEST_F(Module_Sqlite, MissingRowsKeepTheFlagsAndNoSrvRowMeansViewMode)
{
    F_NEW_CP = true;
    Hard_CP_Off = QStringLiteral("0");
    PassCoded = true;
    auto base = start();
    EXPECT_TRUE(base->ADatabase->Connected());
    EXPECT_FALSE(PassCoded);
    EXPECT_TRUE(F_NEW_CP) << "no COL row: kept";
    EXPECT_EQ(Hard_CP_Off.Value(), "0");
    EXPECT_FALSE(WriteToSRV);
}

TEST_F(Module_Sqlite, BarredUserGetsTheMessageAndTheApplicationEnds)
{
    db.exec("INSERT INTO SRV VALUES (0, 1, 0);"
            "INSERT INTO USER_PSW (TABNUM, NAME, WENABLED) VALUES (17, 'ivanov', 'F')");
    auto base = start();
    EXPECT_FALSE(TerminateRequested());
    DialogScript script;
    script.answer(mrOk);
    base->UserTabNum = 17;
    base->CheckUserAccess();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].text, "Вам запрещена работа с сервером. Сеанс прекращен.");
    EXPECT_EQ(script.shown()[0].detail, "Обратитесь к администратору ОИК за допуском к работе.");
    EXPECT_TRUE(TerminateRequested());
}

namespace {
// Records whether the end was already requested while each box was up.
class EndWhileShown : public DialogScript {
public:
    using DialogScript::answer;
    int answer(const ShownDialog &shown) override
    {
        endedWhileShown.push_back(TerminateRequested());
        return DialogScript::answer(shown);
    }
    std::vector<bool> endedWhileShown;
};
} // namespace

// A probe thread's reconnection finds the user barred: the message stays until its button,
// and only then does the program end.
TEST_F(Module_Sqlite, BarredUserFoundOnAProbeThreadSeesTheMessageBeforeTheEnd)
{
    db.exec("INSERT INTO SRV VALUES (0, 1, 0);"
            "INSERT INTO USER_PSW (TABNUM, NAME, WENABLED) VALUES (17, 'ivanov', 'F')");
    auto base = start();
    EndWhileShown script;
    script.answer(mrOk);
    base->UserTabNum = 17;
    std::thread probe([&] { base->CheckUserAccess(); });
    probe.join();
    processUntil([&] { return !script.shown().isEmpty(); });
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].text, "Вам запрещена работа с сервером. Сеанс прекращен.");
    EXPECT_EQ(script.endedWhileShown, std::vector<bool>{false});
    EXPECT_TRUE(TerminateRequested());
    ClearTerminateRequest();
}

TEST_F(Module_Sqlite, ErrorsOfALogonOnAProbeThreadAreShownOnTheUserInterfaceThread)
{
    db.exec("INSERT INTO SRV VALUES (0, 1, 0); DROP TABLE COL");
    DialogScript script;
    script.answer(mrOk).answer(mrOk);
    auto base = start();
    ASSERT_EQ(script.shown().size(), 1) << "the first logon shows it at once";
    base->Dis_Connect(base->ADatabase);
    std::thread probe([&] { EXPECT_TRUE(base->If_Connect(base->ADatabase)); });
    probe.join();
    EXPECT_EQ(script.shown().size(), 1) << "nothing shown on the probe thread";
    processUntil([&] { return script.shown().size() == 2; });
    ASSERT_EQ(script.shown().size(), 2);
    EXPECT_THAT(script.shown()[1].text.toStdString(), HasSubstr("no such table: COL"));
    EXPECT_EQ(script.shown()[1].detail,
              "SELECT COLTYPE FROM COL WHERE TNAME='NAME_CP' AND CNAME='CP'");
    EXPECT_TRUE(base->ADatabase->Connected()) << "the connection stays open";
}

class Module_Postgres : public ::testing::Test {
protected:
    void SetUp() override { ResetProcessState(); }
    TempDir dir;
    TestDb db{TestEngine::PostgreSQL, "main"};
};

TEST_F(Module_Postgres, AfterLogonSetsSortAndRegistersModuleAndClient)
{
    db.exec("INSERT INTO SRV VALUES (0, 1, 0)");
    writeViriIni(dir.path(), db);
    TFOracleBase base(nullptr, dir.path());
    ASSERT_TRUE(base.ADatabase->Connected());
    TOracleQuery q;
    q.SetSession(base.ADatabase);
    q.SQL = QStringList{"SELECT current_setting('application_name') AM,"
                        " current_setting('quorvel.client_info', true) CI,"
                        " current_setting('quorvel.nls_sort', true) NS"};
    q.Execute();
    EXPECT_EQ(q.FieldAsString("AM"), QCoreApplication::applicationName());
    EXPECT_EQ(q.FieldAsString("CI"), "0");
    EXPECT_EQ(q.FieldAsString("NS"), "") << "skipped while the first probe has not allowed writing";
    // A later logon, with writing allowed, sets the sort of a release 10 or later server.
    base.Dis_Connect(base.ADatabase);
    WriteToSRV = true;
    base.ADatabase->LogOn();
    q.Execute();
    EXPECT_EQ(q.FieldAsString("NS"), "BINARY_CI");
}

// A registration that fails on a logon made by a probe thread must not leave the thread; it
// is shown with the error window on the user-interface thread.
TEST_F(Module_Postgres, FailingModuleRegistrationOnAProbeThreadIsShownNotThrown)
{
    db.exec("INSERT INTO SRV VALUES (0, 1, 0);"
            "CREATE FUNCTION public.set_config(text, text, boolean) RETURNS text LANGUAGE plpgsql"
            " AS $$BEGIN RAISE EXCEPTION 'registration refused'; END$$;"
            "ALTER DATABASE quorvel SET search_path = public, pg_catalog");
    writeViriIni(dir.path(), db);
    DialogScript script;
    script.answer(mrOk).answer(mrOk);
    TFOracleBase base(nullptr, dir.path());
    // At start the registration runs twice (after the logon and by the start itself).
    ASSERT_EQ(script.shown().size(), 2);
    EXPECT_THAT(script.shown()[0].text.toStdString(), HasSubstr("registration refused"));
    base.Dis_Connect(base.ADatabase);
    script.answer(mrOk);
    std::thread probe([&] { base.If_Connect(base.ADatabase); });
    probe.join();
    processUntil([&] { return script.shown().size() == 3; });
    ASSERT_EQ(script.shown().size(), 3);
    EXPECT_THAT(script.shown()[2].text.toStdString(), HasSubstr("registration refused"));
    EXPECT_TRUE(base.ADatabase->Connected());
}

TEST_F(Module_Postgres, ServerThatIsDownGivesItsOwnConnectionError)
{
    db.vanish();
    TOracleSession s;
    s.SetLogonDatabase(db.connectString());
    s.SetLogonUsername(db.user());
    try {
        s.LogOn();
        FAIL() << "logged on to a stopped server";
    } catch (const std::exception &e) {
        EXPECT_THAT(std::string(e.what()), HasSubstr("Connection refused"));
    }
    EXPECT_FALSE(s.Connected());
}
