#include "mail/MailEncoding.h"

#include <QStringEncoder>
#include <QStringList>

namespace {
const QString Utf8 = QStringLiteral("UTF-8");

QByteArray Encoded(const QString &text, const QString &charSet)
{
    QStringEncoder encoder(charSet.toLatin1().constData());
    return encoder(text);
}
} // namespace

TEncodedText EncodeText(const QString &text, const QString &charSet)
{
    QStringEncoder encoder(charSet.toLatin1().constData());
    if (encoder.isValid()) {
        QByteArray bytes = encoder(text);
        if (!encoder.hasError())
            return {bytes, charSet};
    }
    return {text.toUtf8(), Utf8};
}

bool IsPrintableAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    }
    return true;
}

QString QuotedString(const QString &text)
{
    QString result = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"'))
            result += QLatin1Char('\\');
        result += c;
    }
    result += QLatin1Char('"');
    return result;
}

QString EncodedWords(const QString &text, const QString &charSet)
{
    const QString cs = EncodeText(text, charSet).CharSet;
    const QString prefix = QStringLiteral("=?") + cs + QStringLiteral("?B?");
    const QString suffix = QStringLiteral("?=");
    // Base64 comes in groups of four characters for three bytes.
    const qsizetype maxBytes = (75 - prefix.size() - suffix.size()) / 4 * 3;
    QStringList words;
    QString chunk;
    QByteArray chunkBytes;
    auto flush = [&] {
        words << prefix + QString::fromLatin1(chunkBytes.toBase64()) + suffix;
        chunk.clear();
        chunkBytes.clear();
    };
    for (qsizetype i = 0; i < text.size();) {
        // A surrogate pair is one character and stays in one word.
        const qsizetype len = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString longer = chunk + text.mid(i, len);
        const QByteArray longerBytes = Encoded(longer, cs);
        if (longerBytes.size() > maxBytes && !chunk.isEmpty()) {
            flush();
            continue;
        }
        chunk = longer;
        chunkBytes = longerBytes;
        i += len;
    }
    if (!chunk.isEmpty())
        flush();
    return words.join(QLatin1Char(' '));
}

QString HeaderText(const QString &text, const QString &charSet)
{
    return IsPrintableAscii(text) ? text : EncodedWords(text, charSet);
}

QByteArray QuotedPrintable(const QByteArray &line)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray result;
    QByteArray current;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const auto b = static_cast<unsigned char>(line[i]);
        const bool last = i + 1 == line.size();
        // A blank or tab at the end of a line would be taken for padding and dropped.
        const bool literal =
            (b >= 33 && b <= 126 && b != '=') || ((b == ' ' || b == '\t') && !last);
        const char escaped[] = {'=', hex[b >> 4], hex[b & 15]};
        const QByteArray token =
            literal ? QByteArray(1, static_cast<char>(b)) : QByteArray(escaped, 3);
        // The soft break "=" takes the 76th place; the last piece may use it itself.
        const qsizetype limit = last ? 76 : 75;
        if (current.size() + token.size() > limit) {
            result += current + "=\r\n";
            current.clear();
        }
        current += token;
    }
    result += current;
    return result;
}

void AppendBase64Lines(const QByteArray &data, QByteArray &out)
{
    static const char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const qsizetype lines = (data.size() + 56) / 57;
    const qsizetype start = out.size();
    out.resize(start + lines * 78);
    char *o = out.data() + start;
    const auto *in = reinterpret_cast<const unsigned char *>(data.constData());
    qsizetype left = data.size();
    while (left > 0) {
        const qsizetype lineBytes = left < 57 ? left : 57;
        qsizetype n = lineBytes;
        for (; n >= 3; n -= 3, in += 3) {
            const unsigned v = (unsigned(in[0]) << 16) | (unsigned(in[1]) << 8) | in[2];
            *o++ = alphabet[v >> 18];
            *o++ = alphabet[(v >> 12) & 63];
            *o++ = alphabet[(v >> 6) & 63];
            *o++ = alphabet[v & 63];
        }
        if (n > 0) {
            const unsigned v = (unsigned(in[0]) << 16) | (n == 2 ? unsigned(in[1]) << 8 : 0u);
            *o++ = alphabet[v >> 18];
            *o++ = alphabet[(v >> 12) & 63];
            *o++ = n == 2 ? alphabet[(v >> 6) & 63] : '=';
            *o++ = '=';
            in += n;
        }
        *o++ = '\r';
        *o++ = '\n';
        left -= lineBytes;
    }
    out.resize(o - out.constData());
}
