#pragma once

#include <QString>
#include <QStringList>

#include <stdexcept>

// A write the file system refused; the message is "Unable to write to <file name>".
class EIniFileException : public std::runtime_error {
public:
    explicit EIniFileException(const QString &fileName);
};

// A plain INI file read and written directly, with no cache: every read looks at the file as
// it is now, every write reaches the file at once. Section and key names compare without
// regard to case; blanks around keys and values do not count. Lines that are neither a section
// header nor key=value are ignored; for a duplicate section or key the first one counts. The
// file is UTF-8 (a leading byte order mark is skipped); bytes that are not UTF-8 read as
// replacement characters, and a write keeps every line it does not replace byte for byte.
class IniFile {
public:
    explicit IniFile(QString fileName);

    const QString &fileName() const { return fileName_; }

    QString readString(const QString &section, const QString &key, const QString &def) const;
    // Decimal, or hexadecimal after a leading 0x; anything else gives def.
    int readInteger(const QString &section, const QString &key, int def) const;
    // An integer: 0 is false, any other number true; anything else gives def.
    bool readBool(const QString &section, const QString &key, bool def) const;
    bool valueExists(const QString &section, const QString &key) const;

    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);

    // Key names of a section, in file order; its lines as key=value.
    QStringList readSection(const QString &section) const;
    QStringList readSectionValues(const QString &section) const;
    QStringList readSections() const;

    void eraseSection(const QString &section);
    void deleteKey(const QString &section, const QString &key);

private:
    QString fileName_;
};
