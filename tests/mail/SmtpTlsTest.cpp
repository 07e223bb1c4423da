// Submission over STARTTLS and implicit TLS to a real server whose certificates are made for
// the test, the received message read back with Python's email package; the certificate and
// the server's offer are checked before anything is sent; credentials in the system's code
// page, checked by the server's authenticator.

#include "mail/ReportMailing.h"
#include "mail/SmtpClient.h"
#include "mail/SmtpError.h"
#include "mail/SmtpServerAddress.h"
#include "tests/mail/SmtpServer.h"
#include "tests/mail/TlsFiles.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {
const QString User = QStringLiteral("mailer");
// Cyrillic letters are one byte each in windows-1251 and not in Latin-1 at all.
const QString Password = QStringLiteral("Пароль-ё1");

class SmtpTls_Smtp : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tls_.ok());
        attachment_ = dir_.file(QStringLiteral("temp.xls"));
        QFile file(attachment_);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("workbook\r\n.\r\nbytes ") + QByteArray(5000, '\xd0'));
    }

    // The server's options for a certificate and a TLS mode ("starttls" or "implicit").
    static QStringList serverTls(const QString &cert, const QString &key, const QString &mode)
    {
        return {QStringLiteral("--cert"), cert, QStringLiteral("--key"), key,
                QStringLiteral("--tls"),  mode};
    }

    TSmtpSettings settings(const SmtpServer &server, TSmtpSecurity security) const
    {
        const TSmtpServerAddress address = ParseServerAddress(server.address());
        TSmtpSettings s;
        s.Host = address.Host;
        s.Port = address.Port;
        s.ReadTimeout = 30000;
        s.Security = security;
        s.CaFile = tls_.caFile();
        return s;
    }

    TMailMessage message() const
    {
        TMailMessage m;
        m.From = {QStringLiteral("Reports"), QStringLiteral("reports@example.com")};
        m.Recipients = ParseAddressList(QStringLiteral("to@example.com"));
        m.Subject = QStringLiteral("ZUD Reports");
        m.Body = {QStringLiteral("Zud reports")};
        m.Attachments = {attachment_};
        return m;
    }

    // The submission's error text; empty when it was accepted.
    static QString failure(const TSmtpSettings &s, const TMailMessage &m)
    {
        try {
            DeliverMessage(s, m);
        } catch (const ESmtpError &e) {
            return e.Message();
        }
        return {};
    }

    // The one message received, read back whole: no defects, the attachment's bytes intact.
    void expectDelivered(const SmtpServer &server, const QString &mechanism) const
    {
        const QList<SmtpServer::Received> received = server.messages();
        ASSERT_EQ(received.size(), 1);
        const QJsonObject envelope = received[0].envelope;
        EXPECT_TRUE(envelope[QStringLiteral("encrypted")].toBool());
        EXPECT_EQ(envelope[QStringLiteral("login")].toString(), User);
        EXPECT_EQ(envelope[QStringLiteral("mechanism")].toString(), mechanism);
        QString out;
        QString err;
        ASSERT_EQ(runProgram(QStringLiteral("/usr/bin/python3"),
                             {mailTestScript(QStringLiteral("read_message.py")), received[0].file,
                              dir_.file(QStringLiteral("part"))},
                             &out, &err),
                  0)
            << err.toStdString();
        const QJsonObject m = QJsonDocument::fromJson(out.toUtf8()).object();
        EXPECT_EQ(m[QStringLiteral("defects")].toArray(), QJsonArray());
        EXPECT_EQ(m[QStringLiteral("subject")].toString(), QStringLiteral("ZUD Reports"));
        EXPECT_EQ(m[QStringLiteral("attachments")].toArray(),
                  QJsonArray({QStringLiteral("temp.xls")}));
        QFile sent(attachment_);
        QFile part(dir_.file(QStringLiteral("part.0")));
        ASSERT_TRUE(sent.open(QIODevice::ReadOnly) && part.open(QIODevice::ReadOnly));
        EXPECT_TRUE(part.readAll() == sent.readAll()) << "the attachment differs from the file";
    }

    TlsFiles tls_;
    TempDir dir_;
    QString attachment_;
};

struct TlsMode {
    const char *name;
    TSmtpSecurity security;
    QString serverMode;
};

class SmtpTlsModes_Smtp : public SmtpTls_Smtp, public ::testing::WithParamInterface<TlsMode> {};

// AUTH PLAIN when the server offers it, LOGIN when not; the password's bytes are windows-1251.
TEST_P(SmtpTlsModes_Smtp, DeliversWithTheBestAuthInWindows1251)
{
    const TlsMode mode = GetParam();
    for (const bool plainOffered : {true, false}) {
        QStringList options =
            serverTls(tls_.certFor127(), tls_.keyFor127(), mode.serverMode) +
            QStringList{QStringLiteral("--password-encoding"), QStringLiteral("cp1251")};
        if (plainOffered)
            options << QStringLiteral("--plain");
        SmtpServer server(User + u':' + Password, options);
        ASSERT_TRUE(server.isRunning());
        TSmtpSettings s = settings(server, mode.security);
        s.Username = User;
        s.Password = Password;
        EXPECT_EQ(failure(s, message()), QString());
        expectDelivered(server, plainOffered ? QStringLiteral("PLAIN") : QStringLiteral("LOGIN"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Security, SmtpTlsModes_Smtp,
    ::testing::Values(TlsMode{"StartTls", TSmtpSecurity::StartTls, QStringLiteral("starttls")},
                      TlsMode{"ImplicitTls", TSmtpSecurity::Tls, QStringLiteral("implicit")}),
    [](const auto &p) { return p.param.name; });

TEST_F(SmtpTls_Smtp, PlainDialogueSendsTheLoginInWindows1251)
{
    SmtpServer server(User + u':' + Password,
                      QStringList{QStringLiteral("--password-encoding"), QStringLiteral("cp1251")});
    ASSERT_TRUE(server.isRunning());
    TSmtpSettings s = settings(server, TSmtpSecurity::None);
    s.Username = User;
    s.Password = Password;
    EXPECT_EQ(failure(s, message()), QString());
    ASSERT_EQ(server.messages().size(), 1);
    EXPECT_EQ(server.messages()[0].envelope[QStringLiteral("login")].toString(), User);
}

struct Refusal {
    const char *name;
    TSmtpSecurity security;
    QString serverMode; // empty: a server without TLS
    bool otherHost;
    bool trustCa;
    QString error;
};

class SmtpTlsRefusals_Smtp : public SmtpTls_Smtp, public ::testing::WithParamInterface<Refusal> {};

TEST_P(SmtpTlsRefusals_Smtp, EndsWithTheReasonAndDeliversNothing)
{
    const Refusal r = GetParam();
    const QStringList options =
        r.serverMode.isEmpty()
            ? QStringList()
            : serverTls(r.otherHost ? tls_.certForOtherHost() : tls_.certFor127(),
                        r.otherHost ? tls_.keyForOtherHost() : tls_.keyFor127(), r.serverMode);
    SmtpServer server(QString(), options);
    ASSERT_TRUE(server.isRunning());
    TSmtpSettings s = settings(server, r.security);
    if (!r.trustCa)
        s.CaFile.clear();
    const QString error = failure(s, message());
    EXPECT_TRUE(error.contains(r.error)) << error.toStdString();
    EXPECT_TRUE(server.messages().isEmpty());
}

const QString CertificateError = QStringLiteral("Ошибка проверки сертификата сервера: ");

INSTANTIATE_TEST_SUITE_P(
    Cases, SmtpTlsRefusals_Smtp,
    ::testing::Values(Refusal{"UntrustedStartTls", TSmtpSecurity::StartTls,
                              QStringLiteral("starttls"), false, false, CertificateError},
                      Refusal{"UntrustedImplicit", TSmtpSecurity::Tls, QStringLiteral("implicit"),
                              false, false, CertificateError},
                      Refusal{"WrongHostStartTls", TSmtpSecurity::StartTls,
                              QStringLiteral("starttls"), true, true,
                              CertificateError + QStringLiteral("The host name did not match")},
                      Refusal{"WrongHostImplicit", TSmtpSecurity::Tls, QStringLiteral("implicit"),
                              true, true,
                              CertificateError + QStringLiteral("The host name did not match")},
                      Refusal{"NoStartTlsOffered", TSmtpSecurity::StartTls, QString(), false, true,
                              QStringLiteral("не предлагает STARTTLS")}),
    [](const auto &p) { return p.param.name; });

TEST_F(SmtpTls_Smtp, AnUnreadableCaFileIsNamedAndNothingIsSent)
{
    SmtpServer server(QString(),
                      serverTls(tls_.certFor127(), tls_.keyFor127(), QStringLiteral("implicit")));
    ASSERT_TRUE(server.isRunning());
    TSmtpSettings s = settings(server, TSmtpSecurity::Tls);
    s.CaFile = dir_.file(QStringLiteral("missing.pem"));
    EXPECT_EQ(failure(s, message()),
              QStringLiteral("Нет сертификатов центра сертификации в файле ") + s.CaFile);
    EXPECT_TRUE(server.messages().isEmpty());
}
} // namespace
