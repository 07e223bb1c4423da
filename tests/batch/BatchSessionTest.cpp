#include "common/IniFile.h"
#include "login/LoginCheck.h"
#include "tests/batch/BatchDb.h"
#include "tests/catalog/ExportTestKit.h"
#include "tests/mail/SmtpServer.h"
#include "tests/support/PgServer.h"
#include "tests/support/Readers.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QHash>

#include <gtest/gtest.h>

namespace {

struct RefusedLogin {
    const char *name;
    const char *login;
    const char *user; // as the refusal names it
};

// The real program, refused at the login: nothing is run or sent, exit code 2.
class BatchLogin_Sqlite_Smtp : public ::testing::TestWithParam<RefusedLogin> {};

TEST_P(BatchLogin_Sqlite_Smtp, RefusedLoginExitsTwoAndSendsNothing)
{
    SmtpServer smtp;
    BatchDb db;
    db.exec("INSERT INTO USER_PSW (TABNUM, NAME, PWD, WENABLED, SHEMA) "
            "VALUES (8, 'barred', 'secret', 'F', 0);"
            "INSERT INTO QUORVEL_POP VALUES ('" +
            smtp.address() +
            "', '', '');"
            "INSERT INTO QUORVEL_MAIL (ADR_MAIL, ADR_NAME, ID_REPORT) "
            "VALUES ('first@example.com', 'Первый', '2')");
    QString out;
    QString err;
    EXPECT_EQ(runProgram(QUORVEL_BATCH_PROGRAM,
                         {"send", GetParam().login, "--workspace", db.folder()}, &out, &err),
              2);
    EXPECT_TRUE(out.isEmpty()) << out.toStdString();
    EXPECT_TRUE(err.contains(RefusedLoginText(GetParam().user))) << err.toStdString();
    EXPECT_TRUE(smtp.messages().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Logins, BatchLogin_Sqlite_Smtp,
    ::testing::Values(RefusedLogin{"WrongPassword", "dispatcher/wrong@ZUD", "dispatcher"},
                      RefusedLogin{"UnknownUser", "nobody/secret@ZUD", "nobody"},
                      RefusedLogin{"DisabledUser", "barred/secret@ZUD", "barred"}),
    [](const auto &c) { return std::string(c.param.name); });

// A PostgreSQL server that has gone away: exit code 2 and a message naming the database.
TEST(BatchConnection_Postgres, UnreachableDatabaseExitsTwoWithAClearMessage)
{
    PgServer pg;
    ASSERT_TRUE(pg.ok());
    const TempDir workspace;
    IniFile ini(workspace.file("viri.ini"));
    ini.writeString("Alias", "SERVER_NAME", pg.connectString());
    ini.writeString("Alias", "USER_NAME", pg.user());
    pg.stop();
    QString out;
    QString err;
    EXPECT_EQ(runProgram(QUORVEL_BATCH_PROGRAM,
                         {"run", BatchDb::login(), "--report", "2", "--xls",
                          workspace.file("a.xls"), "--workspace", workspace.path()},
                         &out, &err),
              2);
    EXPECT_TRUE(out.isEmpty()) << out.toStdString();
    EXPECT_TRUE(err.contains("cannot connect to the database \"" + pg.connectString() +
                             "\" (viri.ini in " + workspace.path() + "): "))
        << err.toStdString();
    EXPECT_FALSE(QFile::exists(workspace.file("a.xls")));
}

// The demo workspace names its database relatively ("sqlite:demo.db"): the program finds it
// in the workspace, whatever the current folder and wherever the program lies.
TEST(BatchConnection_Sqlite_Readers, RelativeDatabaseIsTakenFromTheWorkspace)
{
    const TempDir workspace;
    const TempDir elsewhere;
    ASSERT_EQ(runProgram(sourceDir() + "/scripts/make-demo-workspace", {workspace.path()}), 0);
    ASSERT_EQ(IniFile(workspace.file("viri.ini")).readString("Alias", "SERVER_NAME", ""),
              "sqlite:demo.db");
    const WorkingDirectory cwd(elsewhere.path());
    QString err;
    ASSERT_EQ(runProgram(QUORVEL_BATCH_PROGRAM,
                         {"run", "demo/demo@ZUD", "--report", "301", "--xls", "a.xls",
                          "--workspace", workspace.path()},
                         nullptr, &err),
              0)
        << err.toStdString();
    const XlsBookView book = readXlsWithXlrd(elsewhere.file("a.xls"));
    ASSERT_TRUE(book.error.isEmpty()) << book.error.toStdString();
    ASSERT_FALSE(book.sheets.isEmpty());
    bool found = false;
    for (const QStringList &row : book.sheets.first().rows)
        found = found || row.contains("ПС 110 кВ Луговая");
    EXPECT_TRUE(found) << "the demo database's substations are in the workbook";
    EXPECT_FALSE(QFile::exists(elsewhere.file("demo.db")));
}

TEST(BatchConnection_Sqlite, AReportNotInTheCatalogIsAUsageError)
{
    BatchDb db;
    QString err;
    EXPECT_EQ(runBatch(QStringList{"run"} + db.loginArgs() +
                           QStringList{"--report", "Нет такого", "--xls", "a.xls", "--workspace",
                                       db.folder()},
                       nullptr, &err),
              2);
    EXPECT_EQ(err, "no report \"Нет такого\" in the catalog\n");
}

// Run from cron there is no display: the program makes no window and loads no platform plugin.
// An unknown platform name would end any program that did.
TEST(BatchHeadless_Sqlite_Smtp, RunsAndSendsWithoutDisplayOrPlatformPlugin)
{
    SmtpServer smtp;
    BatchDb db;
    db.exec("INSERT INTO QUORVEL_POP VALUES ('" + smtp.address() +
            "', '', '');"
            "INSERT INTO QUORVEL_MAIL (ADR_MAIL, ADR_NAME, ID_REPORT) "
            "VALUES ('first@example.com', 'Первый', '2')");
    const QHash<QString, QString> headless{{"QT_QPA_PLATFORM", "no-such-platform"},
                                           {"DISPLAY", QString()},
                                           {"WAYLAND_DISPLAY", QString()}};
    const TempDir out;
    QString err;
    EXPECT_EQ(runProgramIn(headless, QUORVEL_BATCH_PROGRAM,
                           {"run", BatchDb::login(), "--report", "2", "--from", "01.03.2015",
                            "--to", "02.03.2015", "--xls", out.file("a.xls"), "--rtf",
                            out.file("a.rtf"), "--workspace", db.folder()},
                           nullptr, &err),
              0)
        << err.toStdString();
    EXPECT_TRUE(QFile::exists(out.file("a.xls")));
    EXPECT_TRUE(QFile::exists(out.file("a.rtf")));
    EXPECT_EQ(runProgramIn(headless, QUORVEL_BATCH_PROGRAM,
                           {"send", BatchDb::login(), "--from", "01.03.2015", "--to", "02.03.2015",
                            "--workspace", db.folder()},
                           nullptr, &err),
              0)
        << err.toStdString();
    EXPECT_EQ(smtp.messages().size(), 1);
}

} // namespace
