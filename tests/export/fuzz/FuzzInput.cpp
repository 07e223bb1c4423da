#include "tests/export/fuzz/FuzzInput.h"

#include <memory>

TExportModel fuzzModel(const uint8_t *data, size_t size, const QString &fileName)
{
    QList<char16_t> units;
    for (size_t i = 0; i + 1 < size; i += 2)
        units.append(char16_t(data[i] | data[i + 1] << 8));
    auto unit = [&units, at = qsizetype(0)]() mutable -> int {
        return at < units.size() ? units[at++] : -1;
    };
    const int columns = std::max(unit(), 0) % 260;
    const int headers = std::max(unit(), 0) % 4;
    const int footers = std::max(unit(), 0) % 4;
    QStringList texts;
    QString text;
    for (int u = unit(); u >= 0; u = unit()) {
        if (u == 0xFFFF) {
            texts.append(text);
            text.clear();
        } else if (u == 0xFFFE) {
            const int n = std::max(unit(), 0), c = std::max(unit(), 0);
            text += QString(8 * n, QChar(char16_t(c)));
        } else {
            text += QChar(char16_t(u));
        }
    }
    texts.append(text);

    TExportModel m;
    m.FileName = fileName;
    qsizetype next = 0;
    auto take = [&] { return next < texts.size() ? texts[next++] : QString(); };
    for (int i = 0; i < headers; ++i)
        m.Header.append(take());
    for (int i = 0; i < footers; ++i)
        m.Footer.append(take());
    for (int k = 0; k < columns; ++k)
        m.Columns.append({take(), k % 40});
    auto rest = std::make_shared<QStringList>(texts.mid(next));
    m.Rows = [rest, columns, at = qsizetype(0)](QStringList &row) mutable {
        if (at >= rest->size() || columns == 0)
            return false;
        row = rest->mid(at, columns);
        at += columns;
        return true;
    };
    return m;
}
