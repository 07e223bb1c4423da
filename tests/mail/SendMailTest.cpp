// The mailing window end to end: the grid written to temp.xls in the module's folder and
// mailed to a real aiosmtpd server, the received messages read back with Python's email
// package and the workbook with xlrd.

#include "mail/SendMail.h"
#include "catalog/PropTVItem.h"
#include "catalog/StringGrid.h"
#include "common/IniFile.h"
#include "mail/MailSettingsStore.h"
#include "mail/ReportMailing.h"
#include "mail/SmtpError.h"
#include "tests/catalog/CatalogDb.h"
#include "tests/mail/ScriptedSmtpServer.h"
#include "tests/mail/SmtpServer.h"
#include "tests/support/DialogScript.h"
#include "tests/support/ExportReaders.h"
#include "tests/support/Readers.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

namespace {
const QString User = QStringLiteral("mailer");
const QString Password = QStringLiteral("s3cret");
const QString Sender = QStringLiteral("zud@grid.example");

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A loopback port on which nothing listens.
quint16 closedPort()
{
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::LocalHost));
    return probe.serverPort();
}

class SendMailBase : public ::testing::Test {
protected:
    SendMailBase()
    {
        IniFile(db.folder() + "/viri.ini").writeString("Mail", "FROM_ADDRESS", Sender);
        db.exec("INSERT INTO QUORVEL_MAIL (ADR_MAIL, ADR_NAME, ID_REPORT) VALUES "
                "('first@example.com', 'Первый Получатель', '12'), "
                "('a@example.com, b@example.com', 'Both', ''), "
                "('third@example.com', 'Third', '')");
        grid.SetColCount(3);
        grid.SetRowCount(3);
        const QString rows[3][3] = {
            {"", "Name", "Value"}, {"1", "alpha", "10"}, {"2", "бета", "20"}};
        for (int r = 0; r < 3; ++r)
            grid.SetRowCells(r, rows[r]);
        prop.id = 12;
        prop.name = "Report";
        prop.PRN_TITLE_TOP = "Top title";
        prop.PRN_TITLE_BOT = "Bottom title";
    }
    void server(const QString &address, const QString &user = QString()) const
    {
        db.exec(QStringLiteral("INSERT INTO QUORVEL_POP VALUES ('%1', '%2', '%3')")
                    .arg(address, user, user.isEmpty() ? QString() : Password));
    }
    QString attachment() const { return db.folder() + "/temp.xls"; }
    // A fresh window with the items ticked, after "Отправить" and the sending it started.
    void send(std::initializer_list<int> ticked) const
    {
        TFSendMail form;
        form.vSG = &grid.Result();
        form.Prop = &prop;
        for (int i : ticked)
            form.lvSendMail->topLevelItem(i)->setCheckState(0, Qt::Checked);
        form.bbSendMail->click();
        waitUntilSent(form);
        EXPECT_EQ(form.result(), QDialog::Accepted);
    }
    // Runs the event loop until the window's sending is over (bounded, so a fault fails the
    // test instead of hanging it).
    static void waitUntilSent(TFSendMail &form)
    {
        if (!form.Sending())
            return;
        QEventLoop loop;
        QObject::connect(&form, &TFSendMail::SendingFinished, &loop, &QEventLoop::quit);
        QTimer::singleShot(120000, &loop, &QEventLoop::quit);
        loop.exec();
        EXPECT_FALSE(form.Sending()) << "the sending did not end";
    }
    // The workbook holds the title lines around the grid's data rows.
    void expectWorkbook(const QString &path) const
    {
        const XlsBookView book = readXlsWithXlrd(path);
        ASSERT_EQ(book.error, QString());
        ASSERT_EQ(book.sheets.size(), 1);
        QStringList texts;
        for (const QStringList &row : book.sheets[0].rows)
            texts.append(row.join(u',').remove(QRegularExpression(",+$")));
        texts.removeAll(QString());
        EXPECT_EQ(texts, QStringList({"Top title", "№,Name,Value", "1,alpha,10", "2,бета,20",
                                      "Bottom title"}));
    }
    // The received message as Python's email package reads it; attachments go to files.
    QJsonObject readBack(const QString &file, const QString &partPrefix) const
    {
        QString out;
        QString err;
        const int rc = runProgram(
            "/usr/bin/python3", {mailTestScript("read_message.py"), file, partPrefix}, &out, &err);
        EXPECT_EQ(rc, 0) << err.toStdString();
        return QJsonDocument::fromJson(out.toUtf8()).object();
    }

    CatalogDb db;
    TempDir parts;
    DialogScript dialogs;
    TStringGrid grid;
    TPropTVItem prop;
};

class SendMail_Gui_Sqlite_Smtp_Readers : public SendMailBase,
                                         public ::testing::WithParamInterface<bool> {};

TEST_P(SendMail_Gui_Sqlite_Smtp_Readers, TwoTickedRecipientsGetTwoMessagesInListOrder)
{
    const bool auth = GetParam();
    SmtpServer smtp(auth ? User : QString(), Password);
    ASSERT_TRUE(smtp.isRunning());
    server(smtp.address(), auth ? User : QString());
    send({0, 2});
    EXPECT_TRUE(dialogs.shown().isEmpty());
    expectWorkbook(attachment());

    const QList<SmtpServer::Received> received = smtp.messages();
    ASSERT_EQ(received.size(), 2);
    const QStringList to = {"first@example.com", "third@example.com"};
    const QStringList names = {"Первый Получатель", "Third"};
    for (int i = 0; i < 2; ++i) {
        const QJsonObject envelope = received[i].envelope;
        EXPECT_EQ(envelope["connection"].toInt(), i + 1);
        EXPECT_EQ(envelope["mail_from"].toString(), Sender);
        EXPECT_EQ(envelope["rcpt_tos"].toArray(), QJsonArray({to[i]}));
        EXPECT_EQ(envelope["login"].toString(), auth ? User : QString());
        const QString prefix = parts.file(QString::number(i));
        const QJsonObject m = readBack(received[i].file, prefix);
        EXPECT_EQ(m["defects"].toArray(), QJsonArray());
        // The sender's name is the recipient's own.
        EXPECT_EQ(m["from_name"].toString(), names[i]);
        EXPECT_EQ(m["from_address"].toString(), Sender);
        EXPECT_EQ(m["subject"].toString(), QStringLiteral("ZUD Reports"));
        EXPECT_EQ(m["body"].toString().trimmed(), QStringLiteral("Zud reports"));
        EXPECT_EQ(m["attachments"].toArray(), QJsonArray({"temp.xls"}));
        EXPECT_TRUE(fileBytes(prefix + ".0") == fileBytes(attachment()))
            << "the attachment differs from temp.xls";
        expectWorkbook(prefix + ".0");
    }
}

TEST_P(SendMail_Gui_Sqlite_Smtp_Readers, CommaSeparatedAddressesGiveOneMessageToBoth)
{
    const bool auth = GetParam();
    SmtpServer smtp(auth ? User : QString(), Password);
    ASSERT_TRUE(smtp.isRunning());
    server(smtp.address(), auth ? User : QString());
    send({1});
    EXPECT_TRUE(dialogs.shown().isEmpty());
    const QList<SmtpServer::Received> received = smtp.messages();
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0].envelope["rcpt_tos"].toArray(),
              QJsonArray({"a@example.com", "b@example.com"}));
    const QJsonObject m = readBack(received[0].file, parts.file("both"));
    EXPECT_EQ(m["to"].toString(), QStringLiteral("a@example.com, b@example.com"));
    EXPECT_EQ(m["from_name"].toString(), QStringLiteral("Both"));
}

TEST_P(SendMail_Gui_Sqlite_Smtp_Readers, ARefusedRecipientEndsThePassAndLaterOnesAreNotTried)
{
    const bool auth = GetParam();
    SmtpServer smtp(auth ? User : QString(), Password);
    ASSERT_TRUE(smtp.isRunning());
    server(smtp.address(), auth ? User : QString());
    // No address at all: the server refuses the message that has no recipient.
    db.exec("UPDATE QUORVEL_MAIL SET ADR_MAIL = '' WHERE ADR_NAME = 'Both'");
    dialogs.answer(mrOk);
    send({0, 1, 2});
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].type, TMsgDlgType::mtError);
    EXPECT_TRUE(dialogs.shown()[0].text.startsWith("503 "))
        << dialogs.shown()[0].text.toStdString();
    const QList<SmtpServer::Received> received = smtp.messages();
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0].envelope["rcpt_tos"].toArray(), QJsonArray({"first@example.com"}));
}

INSTANTIATE_TEST_SUITE_P(AuthLogin, SendMail_Gui_Sqlite_Smtp_Readers, ::testing::Bool(),
                         [](const auto &p) { return p.param ? "On" : "Off"; });

// Without a server to reach: any attempt to connect would end in an error box.
class SendMailOffline_Gui_Sqlite_Readers : public SendMailBase {};

TEST_F(SendMailOffline_Gui_Sqlite_Readers, NothingTickedWritesTheWorkbookAndConnectsNowhere)
{
    server(QStringLiteral("127.0.0.1:%1").arg(closedPort()));
    {
        QFile old(attachment());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an old attachment");
    }
    send({});
    EXPECT_TRUE(dialogs.shown().isEmpty());
    expectWorkbook(attachment());
}

TEST_F(SendMailOffline_Gui_Sqlite_Readers, TheAttachmentTakesTheFormatOfViriIni)
{
    server(QStringLiteral("127.0.0.1:%1").arg(closedPort()));
    IniFile ini(db.folder() + "/viri.ini");
    ini.writeString("Mail", "ATTACH_FORMAT", "xlsx");
    send({});
    EXPECT_TRUE(dialogs.shown().isEmpty());
    const QJsonObject book = readXlsxWithOpenpyxl(db.folder() + "/temp.xlsx");
    ASSERT_EQ(book["error"].toString(), "");
    const QJsonArray rows = book["sheets"].toArray().at(0).toObject()["rows"].toArray();
    ASSERT_GE(rows.size(), 3);
    EXPECT_EQ(rows[2].toArray().at(1)["v"].toString(), "Name");
    EXPECT_FALSE(QFile::exists(attachment()));

    // A format the recipients were not promised: an error, no workbook and no connection.
    QFile::remove(db.folder() + "/temp.xlsx");
    ini.writeString("Mail", "ATTACH_FORMAT", "ods");
    dialogs.answer(mrOk);
    send({0});
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_TRUE(dialogs.shown()[0].text.contains("ATTACH_FORMAT"))
        << dialogs.shown()[0].text.toStdString();
    EXPECT_FALSE(QFile::exists(db.folder() + "/temp.xlsx"));
    EXPECT_FALSE(QFile::exists(attachment()));
}

TEST_F(SendMailOffline_Gui_Sqlite_Readers, AnUnreachableServerStopsThePassWithOneErrorBox)
{
    server(QStringLiteral("127.0.0.1:%1").arg(closedPort()));
    dialogs.answer(mrOk);
    send({0, 2});
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].type, TMsgDlgType::mtError);
    EXPECT_FALSE(dialogs.shown()[0].text.isEmpty());
    EXPECT_EQ(dialogs.shown()[0].buttons, QStringList{"OK"});
    expectWorkbook(attachment());
}

class SendMailExportFails_Gui_Sqlite : public SendMailBase {};

TEST_F(SendMailExportFails_Gui_Sqlite, TheErrorIsShownAndNothingIsSent)
{
    server(QStringLiteral("127.0.0.1:%1").arg(closedPort()));
    // A folder where the workbook should be: it can be neither deleted nor written.
    ASSERT_TRUE(QDir(db.folder()).mkdir("temp.xls"));
    dialogs.answer(mrOk);
    send({0});
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_TRUE(dialogs.shown()[0].text.contains("temp.xls"))
        << dialogs.shown()[0].text.toStdString();
}

// ShowSendMail hands the grid and the record to a fresh modal window; Cancel sends nothing.
class ShowSendMail_Gui_Sqlite_Smtp : public SendMailBase,
                                     public ::testing::WithParamInterface<bool> {};

TEST_P(ShowSendMail_Gui_Sqlite_Smtp, SendOrCancel)
{
    const bool sendIt = GetParam();
    SmtpServer smtp;
    ASSERT_TRUE(smtp.isRunning());
    server(smtp.address());
    QString listed;
    QTimer::singleShot(0, [&] {
        QWidget *form = QApplication::activeModalWidget();
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Отправить отчет"));
        auto *list = form->findChild<QTreeWidget *>("lvSendMail");
        auto *stop = form->findChild<QPushButton *>("bbStopSend");
        auto *button = form->findChild<QPushButton *>(sendIt ? "bbSendMail" : "BitBtn3");
        ASSERT_TRUE(list && stop && button);
        EXPECT_FALSE(stop->isEnabled());
        EXPECT_EQ(list->headerItem()->text(0), QStringLiteral("Получатель"));
        EXPECT_EQ(list->headerItem()->text(1), QStringLiteral("Адрес"));
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = list->topLevelItem(i);
            listed += item->text(0) + u'/' + item->text(1) + u'/' +
                      QString::number(item->checkState(0)) + u' ';
        }
        list->topLevelItem(2)->setCheckState(0, Qt::Checked);
        button->click();
    });
    ShowSendMail(&grid.Result(), &prop);
    EXPECT_EQ(listed,
              QStringLiteral("first@example.com/Первый Получатель/0 "
                             "a@example.com, b@example.com/Both/0 third@example.com/Third/0 "));
    EXPECT_EQ(smtp.messages().size(), sendIt ? 1 : 0);
    EXPECT_EQ(QFile::exists(attachment()), sendIt);
    if (sendIt)
        expectWorkbook(attachment());
}

INSTANTIATE_TEST_SUITE_P(Buttons, ShowSendMail_Gui_Sqlite_Smtp, ::testing::Bool(),
                         [](const auto &p) { return p.param ? "Send" : "Cancel"; });

// A server that takes the connection and never greets: the read time-out of viri.ini ends the
// wait, and its error is thrown to the caller.
class SendToMailSilentServer_Sqlite : public SendMailBase {};

TEST_F(SendToMailSilentServer_Sqlite, TheReadTimeOutOfViriIniEndsTheWait)
{
    IniFile(db.folder() + "/viri.ini").writeString("Mail", "READ_TIMEOUT", "1");
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    server(QStringLiteral("127.0.0.1:%1").arg(silent.serverPort()));
    TSend send;
    send.ADR_MAIL = "first@example.com";
    try {
        DeliverMessage(MailServerSettings(LoadPopServer()), ReportMessage(send, {attachment()}));
        ADD_FAILURE() << "a server that never greets took the message";
    } catch (const ESmtpError &e) {
        EXPECT_EQ(e.Message(),
                  QStringLiteral("Сервер 127.0.0.1:%1 не ответил за 1 с").arg(silent.serverPort()));
    }
}

// The delivery log: one row per recipient for each attempt; a database without the table
// still mails and says so in one line.
class SendMailLog_Gui_Sqlite_Smtp : public SendMailBase {};

TEST_F(SendMailLog_Gui_Sqlite_Smtp, EveryAttemptIsLogged)
{
    SmtpServer smtp;
    ASSERT_TRUE(smtp.isRunning());
    server(smtp.address());
    db.exec("UPDATE QUORVEL_MAIL SET ADR_MAIL = '' WHERE ADR_NAME = 'Both'");
    dialogs.answer(mrOk);
    send({0, 1, 2});
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(db.rows("SELECT ADR_MAIL, ID_REPORT, DATE_FROM, FORMAT, OUTCOME, "
                      "BYTES_SENT > 0, substr(REPLY, 1, 3) FROM QUORVEL_MAIL_LOG ORDER BY ID_LOG"),
              QStringLiteral("first@example.com 12  xls sent 1 250 |  12  xls failed 0 503"));
}

TEST_F(SendMailLog_Gui_Sqlite_Smtp, WithoutTheTableTheMessagesStillGoOut)
{
    SmtpServer smtp;
    ASSERT_TRUE(smtp.isRunning());
    server(smtp.address());
    db.exec("DROP TABLE QUORVEL_MAIL_LOG");
    TFSendMail form;
    form.vSG = &grid.Result();
    form.Prop = &prop;
    form.lvSendMail->topLevelItem(0)->setCheckState(0, Qt::Checked);
    form.bbSendMail->click();
    EXPECT_TRUE(form.lStatus->text().startsWith(
        QStringLiteral("Журнал отправки QUORVEL_MAIL_LOG недоступен")))
        << form.lStatus->text().toStdString();
    EXPECT_FALSE(form.lStatus->text().contains(u'\n'));
    waitUntilSent(form);
    EXPECT_TRUE(dialogs.shown().isEmpty());
    EXPECT_EQ(smtp.messages().size(), 1);
}

// A server that greets and then says nothing more: "Прервать" ends the wait at once, long
// before the read time-out, while the window goes on processing events.
class SendMailStop_Gui_Sqlite : public SendMailBase {};

TEST_F(SendMailStop_Gui_Sqlite, StopClosesTheStalledConnectionAndLeavesNoWorkbook)
{
    // Were the connection not closed on the stop, this time-out's error would end the pass.
    IniFile(db.folder() + "/viri.ini").writeString("Mail", "READ_TIMEOUT", "30");
    ScriptedSmtpServer stalled(
        {QStringLiteral("220 mail.example.com ESMTP"), QStringLiteral("<silent>")});
    server(QStringLiteral("127.0.0.1:%1").arg(stalled.port()));
    TFSendMail form;
    form.vSG = &grid.Result();
    form.Prop = &prop;
    form.lvSendMail->topLevelItem(0)->setCheckState(0, Qt::Checked);
    form.lvSendMail->topLevelItem(2)->setCheckState(0, Qt::Checked);
    dialogs.answer(mrOk);

    // The longest time the window's event loop went without running a timer.
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    QString serving;
    QObject::connect(&form, &TFSendMail::SendingFinished, &ticks, &QTimer::stop);
    form.bbSendMail->click();
    ASSERT_TRUE(form.Sending());
    EXPECT_TRUE(form.bbStopSend->isEnabled());
    EXPECT_FALSE(form.bbSendMail->isEnabled());
    sinceTick.start();
    ticks.start(10);
    // Once the stalled server holds the first message for a few ticks, the user stops.
    int seen = 0;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        if (form.lStatus->text().startsWith(QStringLiteral("Отправка: ")) && ++seen == 20) {
            serving = form.lStatus->text();
            form.bbStopSend->click();
        }
    });
    waitUntilSent(form);
    std::cout << "longest pause of the window's event loop while sending: " << longestGap
              << " ms\n";
    RecordProperty("longest_event_gap_ms", int(longestGap));

    EXPECT_EQ(serving, QStringLiteral("Отправка: first@example.com"));
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text,
              QStringLiteral("Отправка прервана\nНи одному получателю не отправлено"));
    EXPECT_FALSE(QFile::exists(attachment()));
    const QByteArray received = stalled.received();
    EXPECT_TRUE(received.startsWith("EHLO ")) << received.toStdString();
    EXPECT_FALSE(received.contains("MAIL FROM")) << received.toStdString();
    EXPECT_EQ(db.rows("SELECT ADR_MAIL, OUTCOME, REPLY FROM QUORVEL_MAIL_LOG"),
              QStringLiteral("first@example.com failed Отправка прервана"));
}
} // namespace
