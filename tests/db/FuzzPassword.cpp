// The decoder of stored passwords on arbitrary texts; and any password of the system's code
// page, encoded under any key, decodes back to itself.
#include "common/TextHelpers.h"
#include "db/Password.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    _Pwd(QString::fromLatin1(bytes));
    if (size < 2)
        return 0;
    const quint16 key = quint16(data[0] << 8 | data[1]);
    QStringDecoder decode(SystemCodePage);
    const QString password = decode(bytes.mid(2));
    QStringEncoder encode(SystemCodePage);
    // Bytes the code page leaves undefined do not come back; such a password cannot be stored.
    if (QByteArray(encode(password)) != bytes.mid(2))
        return 0;
    if (_Pwd(EncodePassword(password, key)) != password)
        std::abort();
    return 0;
}
