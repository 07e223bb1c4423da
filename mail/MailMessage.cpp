#include "mail/MailMessage.h"

#include "mail/MailEncoding.h"
#include "mail/SmtpError.h"

#include <QFile>
#include <QFileInfo>

QString NewBoundary(QRandomGenerator &random)
{
    static const char chars[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    QString boundary;
    for (int i = 0; i < 34; ++i)
        boundary += QLatin1Char(chars[random.bounded(62)]);
    const int at = random.bounded(33);
    boundary[at] = QLatin1Char('=');
    boundary[at + 1] = QLatin1Char('_');
    return boundary;
}

namespace {
void AppendLine(QByteArray &out, const QString &line)
{
    out += line.toUtf8();
    out += "\r\n";
}

void AppendHeader(QByteArray &out, const QString &name, const QString &value)
{
    if (!value.isEmpty())
        AppendLine(out, FoldHeader(name + QStringLiteral(": ") + value));
}

bool IsAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0x7F)
            return false;
    }
    return true;
}

void AppendTextPart(QByteArray &out, const TMailMessage &message, const QString &boundary)
{
    const QString text = message.Body.join(QLatin1Char('\n'));
    // An ASCII body needs no charset; any other must name the one its bytes are in.
    const QString charSet = IsAscii(text) ? QString() : EncodeText(text, message.CharSet).CharSet;
    AppendLine(out, QStringLiteral("--") + boundary);
    AppendLine(out, QStringLiteral("Content-Type: text/plain") +
                        (charSet.isEmpty() ? QString() : QStringLiteral("; charset=") + charSet));
    AppendLine(out, QStringLiteral("Content-Transfer-Encoding: quoted-printable"));
    AppendLine(out, QStringLiteral("Content-Disposition: inline"));
    AppendLine(out, QString());
    for (const QString &line : message.Body) {
        out +=
            QuotedPrintable(charSet.isEmpty() ? line.toLatin1() : EncodeText(line, charSet).Bytes);
        out += "\r\n";
    }
    AppendLine(out, QString());
}

void AppendAttachment(QByteArray &out, const QString &path, const QString &charSet,
                      const QString &boundary)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    const QByteArray data = opened ? file.readAll() : QByteArray();
    if (!opened || file.error() != QFileDevice::NoError)
        throw ESmtpError(
            QStringLiteral("Не удалось прочитать файл %1: %2").arg(path, file.errorString()));
    const QString name = QFileInfo(path).fileName();
    const QString quotedName =
        IsPrintableAscii(name) ? QuotedString(name)
                               : QLatin1Char('"') + EncodedWords(name, charSet) + QLatin1Char('"');
    AppendLine(out, QStringLiteral("--") + boundary);
    AppendLine(out, QStringLiteral("Content-Type: application/octet-stream;"));
    AppendLine(out, QStringLiteral("\tname=") + quotedName);
    AppendLine(out, QStringLiteral("Content-Transfer-Encoding: base64"));
    AppendLine(out, QStringLiteral("Content-Disposition: attachment;"));
    AppendLine(out, QStringLiteral("\tfilename=") + quotedName);
    AppendLine(out, QString());
    out.reserve(out.size() + data.size() / 57 * 78 + 1024);
    AppendBase64Lines(data, out);
    AppendLine(out, QString());
}
} // namespace

QByteArray ComposeMessage(const TMailMessage &message, const QString &boundary)
{
    CheckAddress(message.From.Address);
    QStringList addresses;
    for (const TMailAddressItem &recipient : message.Recipients) {
        CheckAddress(recipient.Address);
        addresses << recipient.Address;
    }
    const bool hasFrom = !message.From.Address.isEmpty() || !message.From.Name.isEmpty();

    QByteArray out;
    AppendHeader(out, QStringLiteral("From"),
                 hasFrom ? MailboxText(message.From, message.CharSet) : QString());
    AppendHeader(out, QStringLiteral("Subject"), HeaderText(message.Subject, message.CharSet));
    AppendHeader(out, QStringLiteral("To"), addresses.join(QStringLiteral(", ")));
    AppendHeader(out, QStringLiteral("Content-Type"),
                 QStringLiteral("multipart/mixed; boundary=\"") + boundary + QLatin1Char('"'));
    AppendHeader(out, QStringLiteral("MIME-Version"), QStringLiteral("1.0"));
    AppendHeader(out, QStringLiteral("Date"), FormatDate(message.Date));
    AppendLine(out, QString());
    AppendLine(out, QStringLiteral("This is a multi-part message in MIME format"));
    AppendLine(out, QString());
    AppendTextPart(out, message, boundary);
    for (const QString &path : message.Attachments)
        AppendAttachment(out, path, message.CharSet, boundary);
    AppendLine(out, QStringLiteral("--") + boundary + QStringLiteral("--"));
    AppendLine(out, QString());
    return out;
}
