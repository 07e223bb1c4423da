#include "login/PasswordForm.h"

#include "db/OracleBase.h"

#include <QCryptographicHash>
#include <QStringDecoder>

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
