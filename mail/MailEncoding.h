#pragma once

#include <QByteArray>
#include <QString>

// The transfer encodings and header-word forms of a message.

// Text in bytes of a charset, and the charset those bytes are really in.
struct TEncodedText {
    QByteArray Bytes;
    QString CharSet;
};

// The text in the charset; in UTF-8 when the charset is unknown or cannot hold every character,
// so that no character is lost to a replacement mark.
TEncodedText EncodeText(const QString &text, const QString &charSet);

// Only characters from blank to tilde.
bool IsPrintableAscii(const QString &text);

// The text in double quotes, with a backslash before each backslash and double quote.
QString QuotedString(const QString &text);

// The text as RFC 2047 encoded words with "B" encoding, separated by blanks, none longer than
// 75 characters and none splitting a character.
QString EncodedWords(const QString &text, const QString &charSet);

// The text itself when it is printable ASCII, otherwise its encoded words.
QString HeaderText(const QString &text, const QString &charSet);

// One line of text in quoted-printable, soft-broken so that no line exceeds 76 characters.
QByteArray QuotedPrintable(const QByteArray &line);

// Appends the data in base64, 57 bytes (76 characters) a line, each line ending in CR LF.
void AppendBase64Lines(const QByteArray &data, QByteArray &out);
