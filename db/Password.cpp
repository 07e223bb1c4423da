#include "db/Password.h"

#include "common/TextHelpers.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
// The key stream byte for the i-th character; state carries from one character to the next.
quint8 nextKeyByte(quint16 &state, int i)
{
    state = quint16(quint32(state) * 40503u + 12345u + quint32(i));
    return quint8((state >> 8) ^ (state & 0xFF));
}

bool isHexText(const QString &s)
{
    for (QChar c : s)
        if (!c.isDigit() && !(c.toUpper() >= u'A' && c.toUpper() <= u'F'))
            return false;
    return true;
}
} // namespace

const QString FixedPasswordWord = QStringLiteral("ZUDSECRET");
const QString DefaultEncodedPassword = QStringLiteral("5A17CDD542D10DA79C4195");

QString _Pwd(const QString &Stored)
{
    const QString s = Stored.trimmed();
    if (s.isEmpty() || s.toUpper() == FixedPasswordWord)
        return FixedPasswordWord;
    if (s.size() < 4 || !isHexText(s))
        return Stored;
    quint16 state = quint16(s.left(4).toUInt(nullptr, 16));
    QByteArray bytes;
    for (qsizetype i = 4; i + 1 < s.size(); i += 2) {
        const quint8 b = quint8(s.mid(i, 2).toUInt(nullptr, 16));
        bytes.append(char(b ^ nextKeyByte(state, int(bytes.size()))));
    }
    QStringDecoder decode(SystemCodePage);
    return decode(bytes);
}

QString EncodePassword(const QString &Password, quint16 Key)
{
    QStringEncoder encode(SystemCodePage);
    const QByteArray bytes = encode(Password);
    QString out = QStringLiteral("%1").arg(Key, 4, 16, QChar(u'0'));
    quint16 state = Key;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const quint8 b = quint8(bytes.at(i)) ^ nextKeyByte(state, int(i));
        out += QStringLiteral("%1").arg(b, 2, 16, QChar(u'0'));
    }
    return out.toUpper();
}
