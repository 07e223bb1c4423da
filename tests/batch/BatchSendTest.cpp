#include "common/IniFile.h"
#include "tests/batch/BatchDb.h"
#include "tests/mail/SmtpServer.h"
#include "tests/support/ExportReaders.h"
#include "tests/support/Readers.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

// One received message as Python's email package reads it, with each attachment's first
// sheet as xlrd reads it.
struct MailView {
    QStringList rcpt;
    QString fromName;
    QStringList attachments;
    QList<QList<QStringList>> sheets;
};

MailView readMail(const SmtpServer::Received &received, const TempDir &scratch, int n)
{
    MailView view;
    for (const QJsonValue &v : received.envelope["rcpt_tos"].toArray())
        view.rcpt << v.toString();
    const QString prefix = scratch.file(QStringLiteral("part%1").arg(n));
    QString json;
    EXPECT_EQ(runProgram("/usr/bin/python3",
                         {mailTestScript("read_message.py"), received.file, prefix}, &json),
              0);
    const QJsonObject parsed = QJsonDocument::fromJson(json.toUtf8()).object();
    view.fromName = parsed["from_name"].toString();
    const QJsonArray names = parsed["attachments"].toArray();
    for (int i = 0; i < names.size(); ++i) {
        view.attachments << names[i].toString();
        const XlsBookView book = readXlsWithXlrd(prefix + QStringLiteral(".%1").arg(i));
        EXPECT_TRUE(book.error.isEmpty()) << book.error.toStdString();
        view.sheets << (book.sheets.isEmpty() ? QList<QStringList>() : book.sheets[0].rows);
    }
    return view;
}

// The workspace of BatchDb with the mail server of the test in QUORVEL_POP.
class BatchSend_Sqlite_Smtp_Readers : public ::testing::Test {
protected:
    BatchSend_Sqlite_Smtp_Readers()
    {
        db.exec("INSERT INTO QUORVEL_POP VALUES ('" + smtp.address() + "', '', '')");
    }
    void recipients(const QString &values) const
    {
        db.exec("INSERT INTO QUORVEL_MAIL (ADR_MAIL, ADR_NAME, ID_REPORT) VALUES " + values);
    }
    // send for 01.03.2015-02.03.2015.
    int sendTwoDays(QString &Out, QString &Err) const
    {
        return runBatch({"send", BatchDb::login(), "--from", "01.03.2015", "--to", "02.03.2015",
                         "--workspace", db.folder()},
                        &Out, &Err);
    }
    QList<MailView> mails() const
    {
        QList<MailView> views;
        const QList<SmtpServer::Received> received = smtp.messages();
        for (int i = 0; i < received.size(); ++i)
            views << readMail(received[i], scratch, i);
        return views;
    }

    SmtpServer smtp;
    BatchDb db;
    TempDir scratch;
};

TEST_F(BatchSend_Sqlite_Smtp_Readers, EachRecipientGetsOneMessageWithAWorkbookPerReport)
{
    recipients("('first@example.com', 'Первый', '2, 3'), ('second@example.com', 'Второй', "
               "'99,4,2')");
    QString out;
    QString err;
    ASSERT_EQ(sendTwoDays(out, err), 0) << err.toStdString();

    const QList<MailView> got = mails();
    ASSERT_EQ(got.size(), 2) << out.toStdString();
    EXPECT_EQ(got[0].rcpt, QStringList{"first@example.com"});
    EXPECT_EQ(got[0].fromName, "Первый");
    EXPECT_EQ(got[0].attachments, (QStringList{"Сутки.xls", "Итог_ месяц.xls"}));
    EXPECT_EQ(got[1].rcpt, QStringList{"second@example.com"});
    EXPECT_EQ(got[1].attachments, (QStringList{"Заметки.xls", "Сутки.xls"}));

    // Each workbook holds its own report, run for the period, with its record's titles.
    const QList<QStringList> daily = {{},
                                      {"Сутки сверху"},
                                      {"№", "Дата", "Значение"},
                                      {"1", "01.03.2015", "10"},
                                      {"2", "02.03.2015", "20"},
                                      {},
                                      {"Сутки снизу"}};
    EXPECT_EQ(got[0].sheets[0], daily);
    EXPECT_EQ(got[1].sheets[1], daily);
    EXPECT_EQ(got[0].sheets[1].mid(1, 3),
              (QList<QStringList>{{"Итог сверху"}, {"№", "Сумма"}, {"1", "60"}}));
    EXPECT_EQ(got[1].sheets[0].mid(3, 3), (QList<QStringList>{{"1", "один"}, {"2"}, {"3", "три"}}));

    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines,
              (QStringList{"first@example.com: report 2 \"Сутки\" 01.03.2015-02.03.2015: 2 rows, "
                           "Сутки.xls, sent",
                           "first@example.com: report 3 \"Итог: месяц\" 01.03.2015-02.03.2015: 1 "
                           "row, Итог_ месяц.xls, sent",
                           "second@example.com: report 99: not in the catalog, skipped",
                           "second@example.com: report 4 \"Заметки\" 01.03.2015-02.03.2015: 3 "
                           "rows, Заметки.xls, sent",
                           "second@example.com: report 2 \"Сутки\" 01.03.2015-02.03.2015: 2 rows, "
                           "Сутки.xls, sent",
                           "summary: 2 recipient(s), 2 message(s) sent, 0 recipient(s) failed; 4 "
                           "workbook(s), 0 report(s) failed, 1 skipped"}));
}

TEST_F(BatchSend_Sqlite_Smtp_Readers, ARefusedRecipientDoesNotStopTheNext)
{
    recipients("('bad@@example', 'Плохой', '3'), ('second@example.com', 'Второй', '3')");
    QString out;
    EXPECT_EQ(runBatch({"send", BatchDb::login(), "--workspace", db.folder()}, &out), 1);

    const QList<MailView> got = mails();
    ASSERT_EQ(got.size(), 1) << out.toStdString();
    EXPECT_EQ(got[0].rcpt, QStringList{"second@example.com"});
    EXPECT_EQ(got[0].attachments, QStringList{"Итог_ месяц.xls"});
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << out.toStdString();
    EXPECT_TRUE(lines[0].startsWith("bad@@example: report 3 \"Итог: месяц\" 02.03.2015-03.03.2015: "
                                    "1 row, Итог_ месяц.xls, not sent: 553"))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith(", sent")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("summary: 2 recipient(s), 1 message(s) sent, 1 recipient(s) "
                                    "failed"))
        << lines[2].toStdString();
}

TEST_F(BatchSend_Sqlite_Smtp_Readers, AFailingReportIsReportedAndTheOthersStillGo)
{
    db.exec("UPDATE QUORVEL SET SQL_TEXT = 'select v from no_such_table' WHERE ID_REPORT = 4");
    recipients("('first@example.com', 'Первый', '4,3')");
    QString out;
    QString err;
    EXPECT_EQ(runBatch({"send", BatchDb::login(), "--workspace", db.folder()}, &out, &err), 1);

    const QList<MailView> got = mails();
    ASSERT_EQ(got.size(), 1) << out.toStdString();
    EXPECT_EQ(got[0].attachments, QStringList{"Итог_ месяц.xls"});
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << out.toStdString();
    EXPECT_TRUE(
        lines[0].startsWith("first@example.com: report 4 \"Заметки\" 02.03.2015-03.03.2015: "
                            "error: the query failed: "))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains("no such table")) << lines[0].toStdString();
}

TEST_F(BatchSend_Sqlite_Smtp_Readers, DryRunWritesTheWorkbooksOfTheChosenRecipientAndSendsNothing)
{
    recipients("('first@example.com', 'Первый', '2'), ('Второй <second@example.com>', 'Второй', "
               "'3,4')");
    const TempDir dry;
    QString out;
    ASSERT_EQ(runBatch({"send", BatchDb::login(), "--only", "SECOND@example.com", "--dry-run",
                        dry.path(), "--workspace", db.folder()},
                       &out),
              0);
    EXPECT_TRUE(smtp.messages().isEmpty());
    const QString folder = dry.file("Второй _second@example.com_");
    EXPECT_EQ(QDir(dry.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList{"Второй _second@example.com_"});
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name),
              (QStringList{"Заметки.xls", "Итог_ месяц.xls"}));
    const XlsBookView book = readXlsWithXlrd(folder + "/Заметки.xls");
    ASSERT_EQ(book.sheets.size(), 1) << book.error.toStdString();
    EXPECT_EQ(book.sheets[0].rows.last(), QStringList{"Заметки снизу"});
    EXPECT_TRUE(out.contains(", not sent (dry run), in " + folder + "\n")) << out.toStdString();
}

TEST_F(BatchSend_Sqlite_Smtp_Readers, AttachFormatXlsxSendsWorkbooksOfThatFormatAnUnknownOneNone)
{
    recipients("('first@example.com', 'Первый', '2')");
    IniFile ini(db.folder() + "/viri.ini");
    ini.writeString("Mail", "ATTACH_FORMAT", "XLSX");
    QString out;
    QString err;
    ASSERT_EQ(sendTwoDays(out, err), 0) << err.toStdString();
    const QList<SmtpServer::Received> received = smtp.messages();
    ASSERT_EQ(received.size(), 1);
    const QString prefix = scratch.file("xlsx");
    QString json;
    ASSERT_EQ(runProgram("/usr/bin/python3",
                         {mailTestScript("read_message.py"), received[0].file, prefix}, &json),
              0);
    EXPECT_EQ(QJsonDocument::fromJson(json.toUtf8()).object()["attachments"].toArray(),
              QJsonArray{"Сутки.xlsx"});
    // openpyxl goes by the file's extension.
    ASSERT_TRUE(QFile::rename(prefix + ".0", prefix + ".xlsx"));
    const QJsonObject book = readXlsxWithOpenpyxl(prefix + ".xlsx");
    ASSERT_EQ(book["error"].toString(), "");
    const QJsonArray rows = book["sheets"].toArray().at(0).toObject()["rows"].toArray();
    ASSERT_GE(rows.size(), 4);
    EXPECT_EQ(rows[1].toArray().at(0)["v"].toString(), "Сутки сверху");
    EXPECT_EQ(rows[2].toArray().at(2)["v"].toString(), "Значение");
    EXPECT_EQ(rows[3].toArray().at(2)["v"].toDouble(), 10);
    EXPECT_TRUE(out.contains("Сутки.xlsx, sent")) << out.toStdString();

    ini.writeString("Mail", "ATTACH_FORMAT", "ods");
    EXPECT_EQ(runBatch({"send", BatchDb::login(), "--workspace", db.folder()}, &out, &err), 2);
    EXPECT_TRUE(err.contains("ATTACH_FORMAT")) << err.toStdString();
    EXPECT_EQ(smtp.messages().size(), 1);
}

} // namespace
