// The settings-file reader (viri.ini, Temp.tmp) on arbitrary bytes: every section and key it
// finds is read in each form, and a value written into the file reads back as written.
#include "common/IniFile.h"

#include <QDir>
#include <QFile>

#include <cstdlib>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path =
        QDir::tempPath() + QStringLiteral("/quorvel-fuzz-ini-%1").arg(getpid());
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    IniFile ini(path);
    for (const QString &section : ini.readSections()) {
        for (const QString &key : ini.readSection(section)) {
            ini.readString(section, key, QString());
            ini.readInteger(section, key, 0);
            ini.readBool(section, key, false);
        }
        ini.readSectionValues(section);
    }
    const QString value = QStringLiteral("written value");
    ini.writeString(QStringLiteral("Fuzz"), QStringLiteral("Key"), value);
    if (ini.readString(QStringLiteral("Fuzz"), QStringLiteral("Key"), QString()) != value)
        std::abort();
    return 0;
}
