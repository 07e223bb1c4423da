// Submission to a real SMTP server, the received message read back with Python's email package.

#include "mail/SmtpClient.h"
#include "mail/SmtpError.h"
#include "mail/SmtpServerAddress.h"
#include "tests/mail/SmtpServer.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {
const QString User = QStringLiteral("mailer");
const QString Password = QStringLiteral("s3cret");

class SmtpEndToEnd_Smtp : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        // Bytes of every value, with line ends and dots that must survive unchanged.
        QRandomGenerator random(20261209);
        for (int i = 0; i < 300000; ++i)
            workbook_ += char(random.bounded(256));
        workbook_ += "\r\n.\r\n..\n.";
        attachment_ = dir_.file(QStringLiteral("temp.xls"));
        QFile file(attachment_);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(workbook_);
    }

    TSmtpSettings settings(const SmtpServer &server) const
    {
        const TSmtpServerAddress address = ParseServerAddress(server.address());
        TSmtpSettings s;
        s.Host = address.Host;
        s.Port = address.Port;
        s.ReadTimeout = 30000;
        return s;
    }

    TMailMessage message() const
    {
        TMailMessage m;
        m.From = {QStringLiteral("Иванов Иван"), QStringLiteral("reports@example.com")};
        m.Recipients = ParseAddressList(QStringLiteral("a@example.com, b@example.com"));
        m.Subject = QStringLiteral("ZUD Reports");
        m.Body = {QStringLiteral("Zud reports"), QStringLiteral(".starts with a dot")};
        m.Attachments = {attachment_};
        m.CharSet = HeaderCharset(QLocale(QLocale::Russian, QLocale::Russia));
        return m;
    }

    static void submit(const TSmtpSettings &s, const TMailMessage &m)
    {
        TSmtpClient client(s);
        client.Connect();
        try {
            client.Send(m);
        } catch (const ESmtpError &) {
            client.Disconnect();
            throw;
        }
        client.Disconnect();
    }

    // The message as Python's email package reads it; attachments go to files beside it.
    QJsonObject readBack(const QString &file) const
    {
        QString out;
        QString err;
        const int rc = runProgram(QStringLiteral("/usr/bin/python3"),
                                  {mailTestScript(QStringLiteral("read_message.py")), file,
                                   dir_.file(QStringLiteral("part"))},
                                  &out, &err);
        EXPECT_EQ(rc, 0) << err.toStdString();
        return QJsonDocument::fromJson(out.toUtf8()).object();
    }

    TempDir dir_;
    QString attachment_;
    QByteArray workbook_;
};

TEST_P(SmtpEndToEnd_Smtp, MessageArrivesAndReadsBack)
{
    const bool auth = GetParam();
    SmtpServer server(auth ? User : QString(), Password);
    ASSERT_TRUE(server.isRunning());
    TSmtpSettings s = settings(server);
    // Without AUTH on offer the user name is set all the same: the message goes unauthenticated.
    s.Username = User;
    s.Password = Password;
    ASSERT_NO_THROW(submit(s, message()));

    const QList<SmtpServer::Received> received = server.messages();
    ASSERT_EQ(received.size(), 1);
    const QJsonObject envelope = received[0].envelope;
    EXPECT_EQ(envelope[QStringLiteral("mail_from")].toString(),
              QStringLiteral("reports@example.com"));
    EXPECT_EQ(envelope[QStringLiteral("rcpt_tos")].toArray(),
              QJsonArray({QStringLiteral("a@example.com"), QStringLiteral("b@example.com")}));
    EXPECT_EQ(envelope[QStringLiteral("login")].toString(), auth ? User : QString());

    const QJsonObject m = readBack(received[0].file);
    EXPECT_EQ(m[QStringLiteral("defects")].toArray(), QJsonArray());
    EXPECT_EQ(m[QStringLiteral("from_name")].toString(), QStringLiteral("Иванов Иван"));
    EXPECT_EQ(m[QStringLiteral("from_address")].toString(), QStringLiteral("reports@example.com"));
    EXPECT_EQ(m[QStringLiteral("to")].toString(), QStringLiteral("a@example.com, b@example.com"));
    EXPECT_EQ(m[QStringLiteral("subject")].toString(), QStringLiteral("ZUD Reports"));
    EXPECT_EQ(m[QStringLiteral("content_type")].toString(), QStringLiteral("multipart/mixed"));
    EXPECT_EQ(m[QStringLiteral("body")].toString().split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              QStringList({QStringLiteral("Zud reports"), QStringLiteral(".starts with a dot")}));
    EXPECT_EQ(m[QStringLiteral("attachments")].toArray(), QJsonArray({QStringLiteral("temp.xls")}));
    QFile part(dir_.file(QStringLiteral("part.0")));
    ASSERT_TRUE(part.open(QIODevice::ReadOnly));
    EXPECT_TRUE(part.readAll() == workbook_) << "the attachment differs from the file sent";
}

INSTANTIATE_TEST_SUITE_P(AuthLogin, SmtpEndToEnd_Smtp, ::testing::Values(false, true),
                         [](const auto &p) { return p.param ? "On" : "Off"; });

class SmtpAuthRefused_Smtp : public SmtpEndToEnd_Smtp {};

TEST_F(SmtpAuthRefused_Smtp, WrongPasswordOrNoUserIsTheServersRefusal)
{
    SmtpServer server(User, Password);
    ASSERT_TRUE(server.isRunning());
    TSmtpSettings s = settings(server);
    s.Username = User;
    s.Password = QStringLiteral("wrong");
    try {
        submit(s, message());
        ADD_FAILURE() << "sent with a wrong password";
    } catch (const ESmtpError &e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("535 "))) << e.what();
    }
    s.Username.clear();
    try {
        submit(s, message());
        ADD_FAILURE() << "sent without authentication";
    } catch (const ESmtpError &e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("530 "))) << e.what();
    }
    EXPECT_TRUE(server.messages().isEmpty());
}
} // namespace
