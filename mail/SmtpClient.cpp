#include "mail/SmtpClient.h"

#include "common/TextHelpers.h"
#include "mail/SmtpError.h"
#include "mail/SmtpServerAddress.h"

#include <QHostInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSysInfo>

#include <algorithm>

namespace {
QString LocalHostName()
{
    const QString name = QHostInfo::localHostName();
    return name.isEmpty() ? QSysInfo::machineHostName() : name;
}
} // namespace

TSmtpClient::TSmtpClient(TSmtpSettings settings)
    : FSettings(std::move(settings)),
      FBoundarySource([] { return NewBoundary(*QRandomGenerator::global()); })
{
}

TSmtpClient::~TSmtpClient() = default;

void TSmtpClient::SetBoundarySource(std::function<QString()> source)
{
    FBoundarySource = std::move(source);
}

bool TSmtpClient::Connected() const
{
    return FConnection && FConnection->IsOpen();
}

TSmtpReply TSmtpClient::Command(const QByteArray &line)
{
    FConnection->WriteLine(line);
    return FConnection->ReadReply();
}

TSmtpReply TSmtpClient::Expect(const TSmtpReply &reply, std::initializer_list<int> accepted)
{
    if (std::find(accepted.begin(), accepted.end(), reply.Code) == accepted.end())
        throw ESmtpError(reply.Text());
    return reply;
}

void TSmtpClient::ExpectInTransaction(const TSmtpReply &reply, std::initializer_list<int> accepted)
{
    if (std::find(accepted.begin(), accepted.end(), reply.Code) != accepted.end())
        return;
    try {
        Command("RSET");
    } catch (const ESmtpError &) {
        // The refusal is what the user must see; a connection lost on RSET is closed already.
    }
    throw ESmtpError(reply.Text());
}

void TSmtpClient::Connect()
{
    FCapabilities.clear();
    FConnection = std::make_unique<TSmtpConnection>(
        FSettings.Host, FSettings.Port, FSettings.ConnectTimeout, FSettings.ReadTimeout);
    FConnection->SetSecurity(FSettings.Security, FSettings.CaFile);
    FConnection->SetStop(FSettings.Stop);
    FConnection->Open();
    try {
        Expect(FConnection->ReadReply(), {220});
        Hello();
        if (FSettings.Security == TSmtpSecurity::StartTls)
            StartTls();
    } catch (const ESmtpError &) {
        FConnection->Close();
        throw;
    }
}

void TSmtpClient::Hello()
{
    FCapabilities.clear();
    const QByteArray name =
        (FSettings.HeloName.isEmpty() ? LocalHostName() : FSettings.HeloName).toUtf8();
    if (FSettings.UseEhlo) {
        const TSmtpReply reply = Command("EHLO " + name);
        if (reply.Code == 250) {
            for (qsizetype i = 1; i < reply.Lines.size(); ++i)
                FCapabilities << reply.Lines[i].mid(4);
            return;
        }
    }
    Expect(Command("HELO " + name), {250});
}

void TSmtpClient::StartTls()
{
    if (!Offers(QStringLiteral("STARTTLS")))
        throw ESmtpError(QStringLiteral("Сервер %1 не предлагает STARTTLS; без шифрования "
                                        "письмо не отправляется")
                             .arg(ServerAddressText(FSettings.Host, FSettings.Port)));
    Expect(Command("STARTTLS"), {220});
    FConnection->StartTls();
    // What the server offered before the handshake no longer counts (RFC 3207).
    Hello();
}

bool TSmtpClient::Offers(const QString &extension, const QString &parameter) const
{
    for (const QString &capability : FCapabilities) {
        // "AUTH=LOGIN" is the form of servers older than the AUTH extension's final text.
        const QStringList words = capability.toUpper().split(
            QRegularExpression(QStringLiteral("[ =]")), Qt::SkipEmptyParts);
        if (!words.isEmpty() && words[0] == extension &&
            (parameter.isEmpty() || words.contains(parameter)))
            return true;
    }
    return false;
}

QByteArray TSmtpClient::AuthMechanism() const
{
    const QString auth = QStringLiteral("AUTH");
    if (FSettings.Username.isEmpty())
        return {};
    // The plain dialogue keeps LOGIN alone, as it always spoke.
    if (FSettings.Security != TSmtpSecurity::None && Offers(auth, QStringLiteral("PLAIN")))
        return "PLAIN";
    if (Offers(auth, QStringLiteral("LOGIN")))
        return "LOGIN";
    return {};
}

void TSmtpClient::Authenticate(const QByteArray &mechanism)
{
    // Each character of the name and password goes as one byte of the system's code page.
    const QByteArray user = ToSystemCodePage(FSettings.Username);
    const QByteArray password = ToSystemCodePage(FSettings.Password);
    if (mechanism == "PLAIN") {
        Expect(Command("AUTH PLAIN " + ('\0' + user + '\0' + password).toBase64()), {235});
        return;
    }
    Expect(Command("AUTH LOGIN"), {334});
    const TSmtpReply reply = Expect(Command(user.toBase64()), {235, 334});
    if (reply.Code == 334)
        Expect(Command(password.toBase64()), {235});
}

TSmtpSent TSmtpClient::Send(const TMailMessage &message)
{
    if (!Connected())
        throw ESmtpError(QStringLiteral("Нет соединения с сервером %1")
                             .arg(ServerAddressText(FSettings.Host, FSettings.Port)));
    // Composed first: a message that cannot be sent (an unreadable file, an address with a
    // line break) must fail before the server sees any part of it.
    const QByteArray text = ComposeMessage(message, FBoundarySource());
    if (const QByteArray mechanism = AuthMechanism(); !mechanism.isEmpty())
        Authenticate(mechanism);
    Command("RSET");
    ExpectInTransaction(Command("MAIL FROM: <" + message.From.Address.trimmed().toUtf8() + '>'),
                        {250});
    for (const TMailAddressItem &recipient : message.Recipients)
        ExpectInTransaction(Command("RCPT TO:<" + recipient.Address.trimmed().toUtf8() + '>'),
                            {250, 251});
    ExpectInTransaction(Command("DATA"), {354});
    FConnection->WriteData(text);
    const TSmtpReply accepted = FConnection->ReadReply();
    ExpectInTransaction(accepted, {250});
    return {accepted.Text(), text.size()};
}

void TSmtpClient::Disconnect()
{
    if (!Connected())
        return;
    try {
        Command("QUIT");
    } catch (const ESmtpError &) {
        // Closed already; nothing the caller could do about it.
    }
    FConnection->Close();
}
