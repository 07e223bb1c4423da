// The password of the unattended program outside its command line: a private file or the
// environment; the old form still works with a warning, and the process list shows no password.

#include "batch/BatchLogin.h"
#include "batch/BatchOptions.h"
#include "common/IniFile.h"
#include "tests/batch/BatchDb.h"
#include "tests/mail/ScriptedSmtpServer.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// A file holding Text with the given permissions.
QString fileWith(const TempDir &dir, const QByteArray &text, QFileDevice::Permissions permissions)
{
    const QString path = dir.file(QStringLiteral("password"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();
    EXPECT_TRUE(file.setPermissions(permissions));
    return path;
}

const QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

TBatchOptions loginOptions(const QString &login, const QString &passwordFile = QString())
{
    TBatchOptions o;
    o.Login = login;
    o.PasswordFile = passwordFile;
    return o;
}

// The refusal's text; empty when the login was made.
QString refusal(const TBatchOptions &options, const QString &env)
{
    try {
        BatchLogin(options, env, nullptr);
    } catch (const EBatchUsage &e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

TEST(BatchPasswordSource, PasswordFileGivesItsFirstLine)
{
    const TempDir dir;
    const QString file = fileWith(dir, "Секрет 1\r\nsecond line\n", OwnerOnly);
    QString warning;
    const TCommandLineLogin login =
        BatchLogin(loginOptions("dispatcher@ZUD", file), QStringLiteral("from env"), &warning);
    EXPECT_EQ(login, (TCommandLineLogin{"dispatcher", "Секрет 1"}));
    EXPECT_TRUE(warning.isEmpty());
}

TEST(BatchPasswordSource, PasswordFileReadableByOthersIsRefused)
{
    const TempDir dir;
    for (const QFileDevice::Permissions extra : {QFileDevice::ReadGroup, QFileDevice::ReadOther}) {
        const QString file = fileWith(dir, "secret\n", OwnerOnly | extra);
        EXPECT_EQ(refusal(loginOptions("dispatcher@ZUD", file), QString()),
                  "the password file " + file +
                      " is readable by group or others; make it private first (chmod 600 " + file +
                      ")");
    }
    EXPECT_EQ(refusal(loginOptions("dispatcher@ZUD", dir.file("none")), QString()),
              "the password file " + dir.file("none") + " does not exist");
}

TEST(BatchPasswordSource, EnvironmentOrNothing)
{
    EXPECT_EQ(BatchLogin(loginOptions("dispatcher@ZUD"), QStringLiteral("secret"), nullptr),
              (TCommandLineLogin{"dispatcher", "secret"}));
    EXPECT_EQ(BatchLogin(loginOptions("dispatcher@ZUD"), QStringLiteral(""), nullptr),
              (TCommandLineLogin{"dispatcher", ""}));
    EXPECT_EQ(refusal(loginOptions("dispatcher@ZUD"), QString()),
              "no password for dispatcher: give --password-file FILE or set QUORVEL_PASSWORD");
}

TEST(BatchPasswordSource, PasswordOnTheCommandLineStillWorksWithAWarning)
{
    QString warning;
    EXPECT_EQ(BatchLogin(loginOptions("dispatcher/secret@ZUD"), QStringLiteral("env"), &warning),
              (TCommandLineLogin{"dispatcher", "secret"}));
    EXPECT_TRUE(warning.startsWith("warning: a password on the command line is visible"))
        << warning.toStdString();
}

// The real program on the workspace of BatchDb.
class BatchPassword_Sqlite : public ::testing::Test {
protected:
    int run(const QHash<QString, QString> &env, const QStringList &login, QString *err)
    {
        QString out;
        return runProgramIn(
            env, QUORVEL_BATCH_PROGRAM,
            QStringList{"run"} + login +
                QStringList{"--report", "3", "--xls", xls, "--workspace", db.folder()},
            &out, err);
    }

    BatchDb db;
    TempDir dir;
    const QString xls = dir.file("out.xls");
    const QHash<QString, QString> noEnv{{"QUORVEL_PASSWORD", QString()}};
};

TEST_F(BatchPassword_Sqlite, PrivatePasswordFileLogsOn)
{
    QString err;
    const QString file = fileWith(dir, "secret\n", OwnerOnly);
    EXPECT_EQ(run(noEnv, {"dispatcher@ZUD", "--password-file", file}, &err), 0)
        << err.toStdString();
    EXPECT_TRUE(QFile::exists(xls));
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();
}

TEST_F(BatchPassword_Sqlite, GroupReadablePasswordFileExitsTwoAndRunsNothing)
{
    QString err;
    const QString file = fileWith(dir, "secret\n", OwnerOnly | QFileDevice::ReadGroup);
    EXPECT_EQ(run(noEnv, {"dispatcher@ZUD", "--password-file", file}, &err), 2);
    EXPECT_TRUE(err.contains("is readable by group or others")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(xls));
}

TEST_F(BatchPassword_Sqlite, EnvironmentVariableLogsOnAndAWrongOneIsRefused)
{
    QString err;
    EXPECT_EQ(run({{"QUORVEL_PASSWORD", "secret"}}, {"dispatcher@ZUD"}, &err), 0)
        << err.toStdString();
    EXPECT_TRUE(QFile::exists(xls));
    EXPECT_EQ(run({{"QUORVEL_PASSWORD", "wrong"}}, {"dispatcher@ZUD"}, &err), 2);
    EXPECT_TRUE(err.contains("login of \"dispatcher\" refused")) << err.toStdString();
}

TEST_F(BatchPassword_Sqlite, OldFormWarnsOnStandardError)
{
    QString err;
    EXPECT_EQ(run(noEnv, {"dispatcher/secret@ZUD"}, &err), 0) << err.toStdString();
    EXPECT_TRUE(err.startsWith("warning: a password on the command line is visible"))
        << err.toStdString();
}

// A send held by a server that greets and then stalls: its process list entry is read while
// it runs.
class BatchPasswordProcessList_Sqlite : public BatchPassword_Sqlite {};

TEST_F(BatchPasswordProcessList_Sqlite, RunningSendShowsNoPassword)
{
    ScriptedSmtpServer stalled(
        {QStringLiteral("220 mail.example.com ESMTP"), QStringLiteral("<silent>")});
    db.exec(QStringLiteral("INSERT INTO QUORVEL_POP VALUES ('127.0.0.1:%1', '', '');"
                           "INSERT INTO QUORVEL_MAIL (ADR_MAIL, ADR_NAME, ID_REPORT) VALUES "
                           "('first@example.com', 'Первый', '3')")
                .arg(stalled.port()));
    IniFile(db.folder() + "/viri.ini").writeString("Mail", "READ_TIMEOUT", "60");
    const QString file = fileWith(dir, "secret\n", OwnerOnly);
    ChildProcess send;
    ASSERT_TRUE(send.Start(QUORVEL_BATCH_PROGRAM, {"send", "dispatcher@ZUD", "--password-file",
                                                   file, "--workspace", db.folder()}));
    // Started may be told before the child has replaced itself with the program (a loaded
    // machine shows the forking test's arguments for a moment).
    QByteArray arguments;
    QElapsedTimer clock;
    clock.start();
    while (!arguments.contains("quorvel-batch") && clock.elapsed() < 10000) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(send.Pid()));
        ASSERT_TRUE(cmdline.open(QIODevice::ReadOnly));
        arguments = cmdline.readAll();
        if (!arguments.contains("quorvel-batch"))
            QThread::msleep(10);
    }
    EXPECT_TRUE(send.Running());
    EXPECT_TRUE(arguments.contains("dispatcher@ZUD"));
    EXPECT_FALSE(arguments.contains("secret"));
    send.Signal(SIGKILL);
    send.WaitForFinished();
}

} // namespace
