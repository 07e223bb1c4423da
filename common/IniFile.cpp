#include "common/IniFile.h"

#include <QFile>
#include <QSaveFile>

#include <optional>

EIniFileException::EIniFileException(const QString &fileName)
    : std::runtime_error(QStringLiteral("Unable to write to %1").arg(fileName).toStdString())
{
}

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

struct Line {
    QByteArray raw; // the bytes as read, written back unchanged unless the line is replaced
    QString text;
    QString section; // for a header line: the section's name
    QString key;     // for a key line: the key
    QString value;
    enum Kind { Other, Header, Entry } kind = Other;
};

QList<Line> load(const QString &fileName)
{
    QList<Line> lines;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    const QList<QByteArray> rawLines = file.readAll().split('\n');
    for (QByteArray raw : rawLines) {
        if (raw.endsWith('\r'))
            raw.chop(1);
        Line line;
        line.raw = raw;
        // A byte order mark, as editors on the desktop write it, is not part of the first line.
        line.text = QString::fromUtf8(lines.isEmpty() && raw.startsWith(kBom) ? raw.mid(3) : raw);
        const QString &text = line.text;
        const QString trimmed = text.trimmed();
        if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
            line.kind = Line::Header;
            line.section = trimmed.mid(1, trimmed.size() - 2).trimmed();
        } else if (const qsizetype eq = text.indexOf(u'='); eq > 0 && !trimmed.startsWith(u';')) {
            line.kind = Line::Entry;
            line.key = text.left(eq).trimmed();
            line.value = text.mid(eq + 1).trimmed();
        }
        lines.append(line);
    }
    if (!lines.isEmpty() && lines.last().text.isEmpty())
        lines.removeLast();
    return lines;
}

void save(const QString &fileName, const QList<Line> &lines)
{
    QByteArray bytes;
    for (const Line &line : lines) {
        bytes += line.raw;
        bytes += "\r\n";
    }
    QSaveFile file(fileName);
    // Without direct write fallback a read-only folder would refuse even a writable file.
    file.setDirectWriteFallback(true);
    // Unbuffered, a short write (a full disk, a file size limit) shows in write()'s count; a
    // buffered flush loses the rest silently and the commit would replace the file with a
    // truncated one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(bytes) != bytes.size() || !file.commit())
        throw EIniFileException(fileName);
}

bool same(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Index range [begin, end) of the first section named so: begin is its header line.
std::optional<std::pair<qsizetype, qsizetype>> findSection(const QList<Line> &lines,
                                                           const QString &section)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == Line::Header && same(lines[i].section, section)) {
            qsizetype end = i + 1;
            while (end < lines.size() && lines[end].kind != Line::Header)
                ++end;
            return std::make_pair(i, end);
        }
    }
    return std::nullopt;
}

qsizetype findKey(const QList<Line> &lines, std::pair<qsizetype, qsizetype> range,
                  const QString &key)
{
    for (qsizetype i = range.first + 1; i < range.second; ++i)
        if (lines[i].kind == Line::Entry && same(lines[i].key, key))
            return i;
    return -1;
}

std::optional<QString> lookup(const QString &fileName, const QString &section, const QString &key)
{
    const QList<Line> lines = load(fileName);
    const auto range = findSection(lines, section);
    if (!range)
        return std::nullopt;
    const qsizetype i = findKey(lines, *range, key);
    if (i < 0)
        return std::nullopt;
    return lines[i].value;
}

std::optional<int> toInteger(const QString &text)
{
    const QString t = text.trimmed();
    bool ok = false;
    int value = 0;
    if (t.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive))
        value = int(t.mid(2).toUInt(&ok, 16));
    else
        value = t.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

} // namespace

IniFile::IniFile(QString fileName) : fileName_(std::move(fileName)) {}

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const
{
    return lookup(fileName_, section, key).value_or(def);
}

int IniFile::readInteger(const QString &section, const QString &key, int def) const
{
    const auto text = lookup(fileName_, section, key);
    if (!text)
        return def;
    return toInteger(*text).value_or(def);
}

bool IniFile::readBool(const QString &section, const QString &key, bool def) const
{
    const auto text = lookup(fileName_, section, key);
    if (!text)
        return def;
    const auto value = toInteger(*text);
    return value ? *value != 0 : def;
}

bool IniFile::valueExists(const QString &section, const QString &key) const
{
    return lookup(fileName_, section, key).has_value();
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    QList<Line> lines = load(fileName_);
    // A value with a line break would become a second line; keep it on one.
    QString flat = value;
    flat.replace(u'\r', u' ').replace(u'\n', u' ');
    Line entry;
    entry.kind = Line::Entry;
    entry.key = key;
    entry.value = flat;
    entry.text = key + u'=' + flat;
    entry.raw = entry.text.toUtf8();
    const auto range = findSection(lines, section);
    if (!range) {
        Line header;
        header.kind = Line::Header;
        header.section = section;
        header.text = u'[' + section + u']';
        header.raw = header.text.toUtf8();
        lines.append(header);
        lines.append(entry);
    } else if (const qsizetype i = findKey(lines, *range, key); i >= 0) {
        lines[i] = entry;
    } else {
        // After the section's last entry, so blank lines between sections stay between them.
        qsizetype at = range->second;
        while (at > range->first + 1 && lines[at - 1].kind == Line::Other &&
               lines[at - 1].text.trimmed().isEmpty())
            --at;
        lines.insert(at, entry);
    }
    save(fileName_, lines);
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QStringList IniFile::readSection(const QString &section) const
{
    QStringList keys;
    const QList<Line> lines = load(fileName_);
    if (const auto range = findSection(lines, section))
        for (qsizetype i = range->first + 1; i < range->second; ++i)
            if (lines[i].kind == Line::Entry)
                keys.append(lines[i].key);
    return keys;
}

QStringList IniFile::readSectionValues(const QString &section) const
{
    QStringList values;
    const QList<Line> lines = load(fileName_);
    if (const auto range = findSection(lines, section))
        for (qsizetype i = range->first + 1; i < range->second; ++i)
            if (lines[i].kind == Line::Entry)
                values.append(lines[i].key + u'=' + lines[i].value);
    return values;
}

QStringList IniFile::readSections() const
{
    QStringList sections;
    for (const Line &line : load(fileName_))
        if (line.kind == Line::Header)
            sections.append(line.section);
    return sections;
}

void IniFile::eraseSection(const QString &section)
{
    QList<Line> lines = load(fileName_);
    bool changed = false;
    while (const auto range = findSection(lines, section)) {
        lines.remove(range->first, range->second - range->first);
        changed = true;
    }
    if (changed)
        save(fileName_, lines);
}

void IniFile::deleteKey(const QString &section, const QString &key)
{
    QList<Line> lines = load(fileName_);
    const auto range = findSection(lines, section);
    if (!range)
        return;
    const qsizetype i = findKey(lines, *range, key);
    if (i < 0)
        return;
    lines.removeAt(i);
    save(fileName_, lines);
}
