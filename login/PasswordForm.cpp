#include "login/PasswordForm.h"

#include "db/OracleBase.h"

#include <QCryptographicHash>
#include <QStringDecoder>
#include <QStringEncoder>

QByteArray ToSystemCodePage(const QString &Text)
{
    QStringEncoder encode(SystemCodePage, QStringConverter::Flag::Stateless);
    QStringDecoder decode(SystemCodePage, QStringConverter::Flag::Stateless);
    QByteArray out;
    out.reserve(Text.size());
    // Character by character with a round trip: what the converter substitutes for a missing
    // character differs between code pages and converters, "?" is what the table expects.
    for (const char32_t c : Text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        const QByteArray b = encode(one);
        const QString back = decode(b);
        out.append(b.size() == 1 && back == one ? b : QByteArrayLiteral("?"));
    }
    return out;
}

QString FromSystemCodePage(const QByteArray &Bytes)
{
    QStringDecoder decode(SystemCodePage);
    return decode(Bytes);
}

QByteArray md5(const QByteArray &data, bool Encoding)
{
    if (!Encoding && !PassCoded)
        return data;
    return QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex();
}

QString StoredPasswordForm(const QString &Typed)
{
    return FromSystemCodePage(md5(ToSystemCodePage(Typed), false));
}
