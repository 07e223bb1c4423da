// The parts of the message text beyond the recorded sessions: the boundary, hostile names,
// a body that is not ASCII, an attachment that cannot be read.

#include "mail/MailMessage.h"
#include "mail/SmtpError.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {
const QString Boundary = QStringLiteral("abcdefghijklmnop=_qrstuvwxyz012345");

TMailMessage Message()
{
    TMailMessage m;
    m.From = {QStringLiteral("Ivanov"), QStringLiteral("reports@example.com")};
    m.Recipients = {{QString(), QStringLiteral("to@example.com")}};
    m.Subject = QStringLiteral("ZUD Reports");
    m.Body = {QStringLiteral("Zud reports")};
    m.CharSet = QStringLiteral("KOI8-R");
    return m;
}

QByteArray Headers(const QByteArray &text)
{
    return text.left(text.indexOf("\r\n\r\n") + 2);
}

TEST(NewBoundaryTest, HoldsEqualsUnderscoreOnceAmongLettersAndDigits)
{
    const QRegularExpression form(QStringLiteral("^[0-9A-Za-z]*=_[0-9A-Za-z]*$"));
    QSet<QString> seen;
    for (quint32 seed = 1; seed <= 200; ++seed) {
        QRandomGenerator random(seed);
        const QString b = NewBoundary(random);
        EXPECT_EQ(b.size(), 34);
        EXPECT_TRUE(form.match(b).hasMatch()) << b.toStdString();
        seen << b;
    }
    EXPECT_EQ(seen.size(), 200);
}

TEST(ComposeMessageTest, LineBreaksInNameOrSubjectAddNoHeaderLine)
{
    TMailMessage m = Message();
    m.From.Name = QStringLiteral("Ivanov\r\nBcc: spy@example.com");
    m.Subject = QStringLiteral("Report\nX-Injected: yes");
    const QByteArray headers = Headers(ComposeMessage(m, Boundary));
    QList<QByteArray> fields;
    for (const QByteArray &line : headers.split('\n')) {
        if (!line.isEmpty() && !line.startsWith(' '))
            fields << line.left(line.indexOf(':'));
    }
    EXPECT_EQ(fields,
              QList<QByteArray>({"From", "Subject", "To", "Content-Type", "MIME-Version", "Date"}))
        << headers.toStdString();
    EXPECT_FALSE(headers.contains("Bcc:"));
    EXPECT_FALSE(headers.contains("X-Injected"));
    EXPECT_TRUE(headers.startsWith("From: =?KOI8-R?B?")) << headers.toStdString();
}

TEST(ComposeMessageTest, AddressWithLineBreakIsRefused)
{
    TMailMessage m = Message();
    m.From.Address = QStringLiteral("reports@example.com\nBcc: spy@example.com");
    EXPECT_THROW(ComposeMessage(m, Boundary), ESmtpError);
}

TEST(ComposeMessageTest, LongRecipientListIsFolded)
{
    TMailMessage m = Message();
    for (int i = 0; i < 10; ++i)
        m.Recipients << TMailAddressItem{QString(),
                                         QStringLiteral("operator%1@grid.example.com").arg(i)};
    const QByteArray headers = Headers(ComposeMessage(m, Boundary));
    for (const QByteArray &line : headers.split('\n'))
        EXPECT_LE(line.size(), 79) << line.toStdString();
    EXPECT_TRUE(headers.contains("To: to@example.com, operator0@grid.example.com,"));
    EXPECT_TRUE(headers.contains(",\r\n operator"));
}

TEST(ComposeMessageTest, BodyThatIsNotAsciiNamesItsCharset)
{
    TMailMessage m = Message();
    m.Body = {QStringLiteral("Отчёт"), QStringLiteral("ok")};
    const QByteArray text = ComposeMessage(m, Boundary);
    // KOI8-R has "ё"; the bytes are quoted-printable, the charset is named.
    EXPECT_TRUE(text.contains("Content-Type: text/plain; charset=KOI8-R\r\n"
                              "Content-Transfer-Encoding: quoted-printable\r\n"
                              "Content-Disposition: inline\r\n\r\n"
                              "=EF=D4=DE=A3=D4\r\nok\r\n\r\n"))
        << text.toStdString();
}

TEST(ComposeMessageTest, UnreadableAttachmentNamesTheFile)
{
    TempDir dir;
    TMailMessage m = Message();
    m.Attachments = {dir.file(QStringLiteral("missing.xls"))};
    try {
        ComposeMessage(m, Boundary);
        FAIL() << "composed without the file";
    } catch (const ESmtpError &e) {
        EXPECT_TRUE(e.Message().contains(dir.file(QStringLiteral("missing.xls")))) << e.what();
    }
}

TEST(ComposeMessageTest, AttachmentNameWithoutFolderAndQuoted)
{
    TempDir dir;
    const QString path = dir.file(QStringLiteral("отчёт \"1\".xls"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.close();
    TMailMessage m = Message();
    m.Attachments = {path};
    const QByteArray text = ComposeMessage(m, Boundary);
    EXPECT_FALSE(text.contains(dir.path().toUtf8()));
    EXPECT_TRUE(text.contains("\tname=\"=?KOI8-R?B?")) << text.toStdString();
    EXPECT_TRUE(text.contains("\tfilename=\"=?KOI8-R?B?"));
}
} // namespace
