// Fault drills on the unattended program as a process: its database server killed in the
// middle of a run, and a stop signal in the middle of a message.
#include "common/IniFile.h"
#include "tests/batch/BatchDb.h"
#include "tests/mail/ScriptedSmtpServer.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

QStringList filesBelow(const QString &folder)
{
    QStringList files;
    for (const QFileInfo &f :
         QDir(folder).entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        files << (f.isDir() ? f.fileName() + u'/' : f.fileName());
    return files;
}

// Waits (bounded) until the condition holds.
bool waitFor(const std::function<bool()> &Condition, int Ms = 20000)
{
    QElapsedTimer clock;
    clock.start();
    while (!Condition()) {
        if (clock.elapsed() > Ms)
            return false;
        QThread::msleep(20);
    }
    return true;
}

TEST(BatchDrill_Postgres, AServerKilledMidRunEndsWithItsErrorAndLeavesNoFile)
{
    BatchPgDb db;
    ASSERT_TRUE(db.ok());
    // A report the server takes seconds over.
    db.exec("INSERT INTO QUORVEL_CAT VALUES (5, 'Долгий', 1, 0);"
            "INSERT INTO QUORVEL VALUES (5, 'select g, pg_sleep(0.01) from "
            "generate_series(1, 3000) g', 'G,S', '60,60', 'R,L', 'Верх', 'Низ')");
    const TempDir out;
    ChildProcess batch;
    ChildProcess::Options capture;
    capture.Capture = true;
    ASSERT_TRUE(
        batch.Start(QUORVEL_BATCH_PROGRAM,
                    {"run", BatchDb::login(), "--report", "5", "--xls", out.file("long.xls"),
                     "--xlsx", out.file("long.xlsx"), "--workspace", db.folder()},
                    capture));
    // The statement is running on the server once its backend shows it.
    ASSERT_TRUE(waitFor([&] {
        return db.rows("SELECT count(*) FROM pg_stat_activity WHERE query ILIKE "
                       "'%pg_sleep(0.01)%' AND pid <> pg_backend_pid()") == "1";
    }));
    db.kill();
    ASSERT_TRUE(batch.WaitForFinished(60000));
    const QString text = QString::fromUtf8(batch.Output());
    EXPECT_TRUE(batch.NormalExit());
    EXPECT_EQ(batch.ExitCode(), 1) << text.toStdString();
    EXPECT_TRUE(text.contains("error: ")) << text.toStdString();
    EXPECT_TRUE(text.contains("summary: report failed, no file written")) << text.toStdString();
    EXPECT_EQ(filesBelow(out.path()), QStringList());
}

TEST(BatchDrill_Sqlite_Smtp, AStopSignalMidMessageEndsThePassCleanlyAndTheNextRunWorks)
{
    const BatchDb db;
    // Were the connection not closed on the signal, this time-out would end the wait.
    IniFile(db.folder() + "/viri.ini").writeString("Mail", "READ_TIMEOUT", "60");
    ScriptedSmtpServer stalled({"220 mail.example.com ESMTP", "<silent>"});
    db.exec(QStringLiteral("INSERT INTO QUORVEL_POP VALUES ('127.0.0.1:%1', '', '');"
                           "INSERT INTO QUORVEL_MAIL (ADR_MAIL, ADR_NAME, ID_REPORT) VALUES "
                           "('first@example.com', 'Первый', '2'), "
                           "('second@example.com', 'Второй', '3')")
                .arg(stalled.port()));
    const TempDir tmp;
    ChildProcess batch;
    ChildProcess::Options options;
    options.Environment.insert("TMPDIR", tmp.path());
    options.Capture = true;
    ASSERT_TRUE(batch.Start(QUORVEL_BATCH_PROGRAM,
                            {"send", BatchDb::login(), "--workspace", db.folder()}, options));
    // The first recipient's workbook is written just before its message goes out.
    ASSERT_TRUE(waitFor([&] {
        for (const QString &dir : QDir(tmp.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            if (!QDir(tmp.path() + u'/' + dir + "/recipient-1").isEmpty())
                return true;
        return false;
    }));
    QThread::msleep(300);
    batch.Signal(SIGTERM);
    ASSERT_TRUE(batch.WaitForFinished(20000)) << "the signal did not end the wait";
    const QString text = QString::fromUtf8(batch.Output());
    EXPECT_TRUE(batch.NormalExit()) << text.toStdString();
    EXPECT_EQ(batch.ExitCode(), 1) << text.toStdString();
    EXPECT_TRUE(text.contains("first@example.com: report 2 \"Сутки\"")) << text.toStdString();
    EXPECT_TRUE(text.contains("second@example.com: stopped by a signal, not sent"))
        << text.toStdString();
    // Its working folder went with it, and no message was submitted.
    EXPECT_EQ(filesBelow(tmp.path()), QStringList());
    EXPECT_FALSE(stalled.received().contains("DATA"));
    EXPECT_EQ(db.rows("SELECT count(*) FROM QUORVEL_MAIL_LOG WHERE OUTCOME = 'sent'"), "0");

    const TempDir dry;
    QString out;
    EXPECT_EQ(
        runBatch({"send", BatchDb::login(), "--dry-run", dry.path(), "--workspace", db.folder()},
                 &out),
        0)
        << out.toStdString();
    EXPECT_EQ(filesBelow(dry.path()).size(), 2) << out.toStdString();
}

} // namespace
