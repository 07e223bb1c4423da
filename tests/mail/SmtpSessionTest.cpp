// The client's dialogue and message text, byte for byte, against a scripted server.

#include "mail/SmtpClient.h"
#include "mail/SmtpError.h"
#include "mail/SmtpServerAddress.h"
#include "tests/mail/ScriptedSmtpServer.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QTcpServer>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {
const QString Boundary = QStringLiteral("abcdefghijklmnop=_qrstuvwxyz012345");

// 60 bytes: one full base64 line of 57 bytes and a short one of 3.
QByteArray AttachmentBytes()
{
    QByteArray data;
    for (int i = 0; i < 60; ++i)
        data += char(i * 7 + 1);
    return data;
}

QByteArray ExpectedText()
{
    const QByteArray data = AttachmentBytes();
    return "From: \"Ivanov\" <reports@example.com>\r\n"
           "Subject: ZUD Reports\r\n"
           "To: to@example.com\r\n"
           "Content-Type: multipart/mixed; boundary=\"abcdefghijklmnop=_qrstuvwxyz012345\"\r\n"
           "MIME-Version: 1.0\r\n"
           "Date: Wed, 9 Dec 2026 14:05:09 +0300\r\n"
           "\r\n"
           "This is a multi-part message in MIME format\r\n"
           "\r\n"
           "--abcdefghijklmnop=_qrstuvwxyz012345\r\n"
           "Content-Type: text/plain\r\n"
           "Content-Transfer-Encoding: quoted-printable\r\n"
           "Content-Disposition: inline\r\n"
           "\r\n"
           "Zud reports\r\n"
           "\r\n"
           "--abcdefghijklmnop=_qrstuvwxyz012345\r\n"
           "Content-Type: application/octet-stream;\r\n"
           "\tname=\"temp.xls\"\r\n"
           "Content-Transfer-Encoding: base64\r\n"
           "Content-Disposition: attachment;\r\n"
           "\tfilename=\"temp.xls\"\r\n"
           "\r\n" +
           data.left(57).toBase64() + "\r\n" + data.mid(57).toBase64() +
           "\r\n"
           "\r\n"
           "--abcdefghijklmnop=_qrstuvwxyz012345--\r\n"
           "\r\n";
}

// What the client sends from RSET to QUIT when every step is accepted.
QByteArray AcceptedTransaction()
{
    return "RSET\r\n"
           "MAIL FROM: <reports@example.com>\r\n"
           "RCPT TO:<to@example.com>\r\n"
           "DATA\r\n" +
           ExpectedText() + ".\r\nQUIT\r\n";
}

const QString Greeting = QStringLiteral("220 mail.example.com ESMTP");
const QString EhloAuth =
    QStringLiteral("250-mail.example.com\n250-AUTH PLAIN LOGIN\n250 SIZE 10240000");
const QString EhloPlain = QStringLiteral("250-mail.example.com\n250 SIZE 10240000");
const QString Ok = QStringLiteral("250 2.0.0 Ok");
const QString GoAhead = QStringLiteral("354 End data with <CR><LF>.<CR><LF>");
const QString Bye = QStringLiteral("221 2.0.0 Bye");
// The server's replies from RSET to QUIT when it accepts the message.
const QStringList Accepting = {Ok, Ok, Ok, GoAhead, Ok, Bye};
const QStringList PlainSession = QStringList{Greeting, EhloPlain} + Accepting;

TSmtpSettings WithUser()
{
    TSmtpSettings settings;
    settings.Username = QStringLiteral("user");
    settings.Password = QStringLiteral("secret");
    return settings;
}

struct SessionResult {
    QString error;
    QString failedIn;
    bool connectedAfterFailure = false;
    QStringList capabilities;
    QByteArray received;
};

class SmtpSession_Smtp : public ::testing::Test {
protected:
    void SetUp() override
    {
        attachment_ = dir_.file(QStringLiteral("temp.xls"));
        QFile file(attachment_);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(AttachmentBytes());
    }

    TMailMessage message() const
    {
        TMailMessage m;
        m.Date = QDateTime(QDate(2026, 12, 9), QTime(14, 5, 9), QTimeZone(3 * 3600));
        m.From = {QStringLiteral("Ivanov"), QStringLiteral("reports@example.com")};
        m.Recipients = {{QString(), QStringLiteral("to@example.com")}};
        m.Subject = QStringLiteral("ZUD Reports");
        m.Body = {QStringLiteral("Zud reports")};
        m.Attachments = {attachment_};
        m.CharSet = QStringLiteral("UTF-8");
        return m;
    }

    // Connect, Send and Disconnect as the mailing does, against a server playing the script.
    static SessionResult run(const QStringList &script, const TMailMessage &message,
                             TSmtpSettings settings = {},
                             const QHostAddress &address = QHostAddress::LocalHost)
    {
        ScriptedSmtpServer server(script, address);
        if (settings.Host.isEmpty())
            settings.Host = address.toString();
        settings.Port = server.port();
        settings.HeloName = QStringLiteral("testhost");
        TSmtpClient client(settings);
        client.SetBoundarySource([] { return Boundary; });
        SessionResult result;
        try {
            result.failedIn = QStringLiteral("Connect");
            client.Connect();
            result.capabilities = client.Capabilities();
            result.failedIn = QStringLiteral("Send");
            client.Send(message);
            result.failedIn.clear();
        } catch (const ESmtpError &e) {
            result.error = e.Message();
            result.connectedAfterFailure = client.Connected();
        }
        client.Disconnect();
        EXPECT_FALSE(client.Connected());
        result.received = server.received();
        return result;
    }

    TempDir dir_;
    QString attachment_;
};

TEST_F(SmtpSession_Smtp, PlainSessionWithoutUserSendsNoAuth)
{
    const SessionResult r = run(QStringList{Greeting, EhloAuth} + Accepting, message());
    EXPECT_EQ(r.error, QString());
    EXPECT_EQ(r.capabilities,
              QStringList({QStringLiteral("AUTH PLAIN LOGIN"), QStringLiteral("SIZE 10240000")}));
    EXPECT_EQ(r.received, "EHLO testhost\r\n" + AcceptedTransaction());
}

TEST_F(SmtpSession_Smtp, EhloRefusedFallsBackToHeloAndNeverAuthenticates)
{
    TSmtpSettings settings = WithUser();
    const SessionResult r =
        run(QStringList{Greeting, QStringLiteral("502 5.5.1 Command not implemented"),
                        QStringLiteral("250 mail.example.com")} +
                Accepting,
            message(), settings);
    EXPECT_EQ(r.error, QString());
    EXPECT_EQ(r.capabilities, QStringList());
    EXPECT_EQ(r.received, "EHLO testhost\r\n"
                          "HELO testhost\r\n" +
                              AcceptedTransaction());
}

TEST_F(SmtpSession_Smtp, WithoutEhloGreetsWithHeloAlone)
{
    TSmtpSettings settings = WithUser();
    settings.UseEhlo = false;
    const SessionResult r =
        run(QStringList{Greeting, QStringLiteral("250 mail.example.com")} + Accepting, message(),
            settings);
    EXPECT_EQ(r.error, QString());
    EXPECT_EQ(r.received, "HELO testhost\r\n" + AcceptedTransaction());
}

// How a server's capabilities and answers decide the authentication.
struct AuthCase {
    const char *name;
    QString ehlo;
    QStringList authReplies;
    QByteArray authCommands;
};

void PrintTo(const AuthCase &c, std::ostream *os)
{
    *os << c.name;
}

class SmtpAuth_Smtp : public SmtpSession_Smtp, public ::testing::WithParamInterface<AuthCase> {};

TEST_P(SmtpAuth_Smtp, AuthenticatesWithLoginOnlyWhenOffered)
{
    const AuthCase &c = GetParam();
    TSmtpSettings settings = WithUser();
    QStringList script = {Greeting, c.ehlo};
    script << c.authReplies << Accepting;
    const SessionResult r = run(script, message(), settings);
    EXPECT_EQ(r.error, QString());
    EXPECT_EQ(r.received, "EHLO testhost\r\n" + c.authCommands + AcceptedTransaction());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SmtpAuth_Smtp,
    ::testing::Values(AuthCase{"PlainAndLoginOffered",
                               EhloAuth,
                               {QStringLiteral("334 VXNlcm5hbWU6"),
                                QStringLiteral("334 UGFzc3dvcmQ6"),
                                QStringLiteral("235 2.7.0 Authentication successful")},
                               "AUTH LOGIN\r\ndXNlcg==\r\nc2VjcmV0\r\n"},
                      AuthCase{"OldEqualsForm",
                               QStringLiteral("250-mail.example.com\n250 AUTH=LOGIN"),
                               {QStringLiteral("334 VXNlcm5hbWU6"),
                                QStringLiteral("334 UGFzc3dvcmQ6"), QStringLiteral("235 ok")},
                               "AUTH LOGIN\r\ndXNlcg==\r\nc2VjcmV0\r\n"},
                      AuthCase{"AcceptedAfterUserName",
                               EhloAuth,
                               {QStringLiteral("334 VXNlcm5hbWU6"), QStringLiteral("235 ok")},
                               "AUTH LOGIN\r\ndXNlcg==\r\n"},
                      AuthCase{"LoginNotOffered",
                               QStringLiteral("250-mail.example.com\n250 AUTH PLAIN CRAM-MD5"),
                               {},
                               ""},
                      AuthCase{"NoAuthLine", EhloPlain, {}, ""}),
    [](const auto &p) { return std::string(p.param.name); });

// A server refusing a step: the refusal's own text, RSET after a refused transaction step,
// nothing more of the message, and QUIT from Disconnect while the connection stands.
struct RefusalCase {
    const char *name;
    QStringList script;
    int recipients;
    QString failedIn;
    QString error;
    QByteArray received;
};

void PrintTo(const RefusalCase &c, std::ostream *os)
{
    *os << c.name;
}

class SmtpRefusal_Smtp : public SmtpSession_Smtp,
                         public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(SmtpRefusal_Smtp, RaisesTheServersReply)
{
    const RefusalCase &c = GetParam();
    TMailMessage m = message();
    if (c.recipients == 2)
        m.Recipients << TMailAddressItem{QString(), QStringLiteral("second@example.com")};
    TSmtpSettings settings = WithUser();
    const SessionResult r = run(c.script, m, settings);
    EXPECT_EQ(r.failedIn, c.failedIn);
    EXPECT_EQ(r.error, c.error);
    EXPECT_EQ(r.connectedAfterFailure, c.failedIn == QLatin1String("Send"));
    EXPECT_EQ(r.received, c.received);
}

const QString Refused =
    QStringLiteral("550 5.1.1 <second@example.com>: Recipient address rejected");

INSTANTIATE_TEST_SUITE_P(
    Cases, SmtpRefusal_Smtp,
    ::testing::Values(
        RefusalCase{"Greeting",
                    {QStringLiteral("554 5.3.2 Service unavailable")},
                    1,
                    QStringLiteral("Connect"),
                    QStringLiteral("554 5.3.2 Service unavailable"),
                    ""},
        RefusalCase{"Helo",
                    {Greeting, QStringLiteral("500 unknown"),
                     QStringLiteral("501-5.5.4 Syntax\n501 5.5.4 bad name")},
                    1,
                    QStringLiteral("Connect"),
                    QStringLiteral("501-5.5.4 Syntax\n501 5.5.4 bad name"),
                    "EHLO testhost\r\nHELO testhost\r\n"},
        RefusalCase{"Password",
                    {Greeting, EhloAuth, QStringLiteral("334 VXNlcm5hbWU6"),
                     QStringLiteral("334 UGFzc3dvcmQ6"),
                     QStringLiteral("535 5.7.8 Authentication credentials invalid"), Bye},
                    1,
                    QStringLiteral("Send"),
                    QStringLiteral("535 5.7.8 Authentication credentials invalid"),
                    "EHLO testhost\r\nAUTH LOGIN\r\ndXNlcg==\r\nc2VjcmV0\r\nQUIT\r\n"},
        RefusalCase{"MailFrom",
                    {Greeting, EhloPlain, Ok, QStringLiteral("553 5.7.1 Sender rejected"), Ok, Bye},
                    1,
                    QStringLiteral("Send"),
                    QStringLiteral("553 5.7.1 Sender rejected"),
                    "EHLO testhost\r\nRSET\r\nMAIL FROM: <reports@example.com>\r\nRSET\r\n"
                    "QUIT\r\n"},
        RefusalCase{"SecondRecipient",
                    {Greeting, EhloPlain, Ok, Ok, QStringLiteral("251 2.1.5 will forward"), Refused,
                     Ok, Bye},
                    2,
                    QStringLiteral("Send"),
                    Refused,
                    "EHLO testhost\r\nRSET\r\nMAIL FROM: <reports@example.com>\r\n"
                    "RCPT TO:<to@example.com>\r\nRCPT TO:<second@example.com>\r\nRSET\r\n"
                    "QUIT\r\n"},
        RefusalCase{"Data",
                    {Greeting, EhloPlain, Ok, Ok, Ok,
                     QStringLiteral("554 5.5.1 No valid recipients"), Ok, Bye},
                    1,
                    QStringLiteral("Send"),
                    QStringLiteral("554 5.5.1 No valid recipients"),
                    "EHLO testhost\r\nRSET\r\nMAIL FROM: <reports@example.com>\r\n"
                    "RCPT TO:<to@example.com>\r\nDATA\r\nRSET\r\nQUIT\r\n"},
        RefusalCase{"MessageText",
                    {Greeting, EhloPlain, Ok, Ok, Ok, GoAhead,
                     QStringLiteral("552 5.3.4 Message size exceeds fixed limit"), Ok, Bye},
                    1,
                    QStringLiteral("Send"),
                    QStringLiteral("552 5.3.4 Message size exceeds fixed limit"),
                    "EHLO testhost\r\nRSET\r\nMAIL FROM: <reports@example.com>\r\n"
                    "RCPT TO:<to@example.com>\r\nDATA\r\n" +
                        ExpectedText() + ".\r\nRSET\r\nQUIT\r\n"}),
    [](const auto &p) { return std::string(p.param.name); });

TEST_F(SmtpSession_Smtp, BodyLinesStartingWithADotAreDoubled)
{
    TMailMessage m = message();
    m.Body = {QStringLiteral("."), QStringLiteral(".hidden"), QStringLiteral("a.b")};
    const SessionResult r = run(PlainSession, m);
    EXPECT_EQ(r.error, QString());
    EXPECT_TRUE(r.received.contains("Content-Disposition: inline\r\n\r\n..\r\n..hidden\r\na.b\r\n"
                                    "\r\n--abcdefghijklmnop"))
        << r.received.toStdString();
    EXPECT_TRUE(r.received.endsWith("--\r\n\r\n.\r\nQUIT\r\n"));
}

TEST_F(SmtpSession_Smtp, CyrillicNameUnderRussianLocaleIsAKoi8rWord)
{
    TMailMessage m = message();
    m.CharSet = HeaderCharset(QLocale(QLocale::Russian, QLocale::Russia));
    m.From.Name = QStringLiteral("Иванов Иван");
    const SessionResult r = run(PlainSession, m);
    EXPECT_EQ(r.error, QString());
    const QByteArray koi8 = QByteArray::fromHex("E9D7C1CECFD720E9D7C1CE");
    EXPECT_TRUE(r.received.contains("DATA\r\nFrom: =?KOI8-R?B?" + koi8.toBase64() +
                                    "?= <reports@example.com>\r\nSubject: ZUD Reports\r\n"))
        << r.received.toStdString();
}

TEST_F(SmtpSession_Smtp, AddressWithLineBreakIsRefusedBeforeTheTransaction)
{
    TMailMessage m = message();
    m.Recipients = {{QString(), QStringLiteral("to@example.com>\r\nRCPT TO:<evil@example.com")}};
    const SessionResult r = run({Greeting, EhloPlain, Bye}, m);
    EXPECT_EQ(r.failedIn, QStringLiteral("Send"));
    EXPECT_TRUE(r.error.contains(QStringLiteral("управляющие символы"))) << r.error.toStdString();
    EXPECT_EQ(r.received, "EHLO testhost\r\nQUIT\r\n");
}

TEST_F(SmtpSession_Smtp, ReachesAnIpv6ServerGivenInBrackets)
{
    {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHostIPv6, 0))
            GTEST_SKIP() << "no IPv6 loopback on this machine";
    }
    TSmtpSettings settings;
    const TSmtpServerAddress parsed = ParseServerAddress(QStringLiteral("[::1]:2525"));
    settings.Host = parsed.Host;
    const SessionResult r = run(PlainSession, message(), settings, QHostAddress::LocalHostIPv6);
    EXPECT_EQ(r.error, QString());
    EXPECT_TRUE(r.received.endsWith(".\r\nQUIT\r\n"));
}

TEST_F(SmtpSession_Smtp, RefusedConnectionLeavesNothingOpen)
{
    quint16 port = 0;
    {
        QTcpServer unused;
        ASSERT_TRUE(unused.listen(QHostAddress::LocalHost, 0));
        port = unused.serverPort();
    }
    TSmtpSettings settings;
    settings.Host = QStringLiteral("127.0.0.1");
    settings.Port = port;
    TSmtpClient client(settings);
    try {
        client.Connect();
        FAIL() << "connected to a closed port";
    } catch (const ESmtpError &e) {
        EXPECT_TRUE(e.Message().startsWith(
            QStringLiteral("Нет соединения с сервером 127.0.0.1:%1: ").arg(port)))
            << e.Message().toStdString();
    }
    EXPECT_FALSE(client.Connected());
    EXPECT_THROW(client.Send(message()), ESmtpError);
}

// A server that drops the connection, or goes silent, at each step of a full session: the
// operation under way fails with a clear text, nothing more is sent, nothing stays open.
struct LostCase {
    int step;
    bool silent;
};

void PrintTo(const LostCase &c, std::ostream *os)
{
    *os << "step " << c.step << (c.silent ? " silent" : " dropped");
}

class SmtpLostServer_Smtp : public SmtpSession_Smtp,
                            public ::testing::WithParamInterface<LostCase> {};

TEST_P(SmtpLostServer_Smtp, FailsAtThatStep)
{
    const LostCase &c = GetParam();
    const QStringList script = {Greeting,
                                EhloAuth,
                                QStringLiteral("334 VXNlcm5hbWU6"),
                                QStringLiteral("334 UGFzc3dvcmQ6"),
                                QStringLiteral("235 ok"),
                                Ok,
                                Ok,
                                Ok,
                                GoAhead,
                                Ok,
                                Bye};
    const QList<QByteArray> commands = {"",
                                        "EHLO testhost\r\n",
                                        "AUTH LOGIN\r\n",
                                        "dXNlcg==\r\n",
                                        "c2VjcmV0\r\n",
                                        "RSET\r\n",
                                        "MAIL FROM: <reports@example.com>\r\n",
                                        "RCPT TO:<to@example.com>\r\n",
                                        "DATA\r\n",
                                        ExpectedText() + ".\r\n",
                                        "QUIT\r\n"};
    QStringList broken = script.mid(0, c.step);
    broken << (c.silent ? QStringLiteral("<silent>") : QStringLiteral("<drop>"));
    TSmtpSettings settings = WithUser();
    settings.ReadTimeout = 300;
    const SessionResult r = run(broken, message(), settings);

    const bool lastStep = c.step == script.size() - 1;
    EXPECT_EQ(r.failedIn, lastStep      ? QString()
                          : c.step <= 1 ? QStringLiteral("Connect")
                                        : QStringLiteral("Send"));
    if (!lastStep) {
        EXPECT_TRUE(r.error.contains(c.silent ? QStringLiteral("не ответил за 0.3 с")
                                              : QStringLiteral("разорвал соединение")))
            << r.error.toStdString();
    }
    EXPECT_FALSE(r.connectedAfterFailure);
    QByteArray expected;
    for (int i = 0; i <= c.step; ++i)
        expected += commands[i];
    EXPECT_EQ(r.received, expected);
}

std::vector<LostCase> LostCases()
{
    std::vector<LostCase> cases;
    for (int step = 0; step <= 10; ++step) {
        cases.push_back({step, false});
        cases.push_back({step, true});
    }
    return cases;
}

const char *const StepNames[] = {"Greeting", "Ehlo",        "AuthLogin", "User",
                                 "Password", "Rset",        "MailFrom",  "RcptTo",
                                 "Data",     "MessageText", "Quit"};

INSTANTIATE_TEST_SUITE_P(Steps, SmtpLostServer_Smtp, ::testing::ValuesIn(LostCases()),
                         [](const auto &p) {
                             return std::string(StepNames[p.param.step]) +
                                    (p.param.silent ? "Silent" : "Dropped");
                         });
} // namespace
