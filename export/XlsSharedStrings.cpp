#include "export/XlsSharedStrings.h"

#include "export/ExportErrors.h"

#include <algorithm>

quint32 TsstStrings::add(const QString &text)
{
    QString stored = text;
    if (stored.contains(u'\r'))
        stored.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    if (stored.size() > MaxLength)
        raiseExportError(EQExportError::StringTooLarge);
    ++references_;
    const auto found = index_.constFind(stored);
    if (found != index_.constEnd())
        return found.value();
    const quint32 i = quint32(strings_.size());
    strings_.append(stored);
    index_.insert(strings_.back(), i);
    return i;
}

void TsstStrings::write(TxlsRecordWriter &w) const
{
    TxlsPayload p;
    quint16 type = xlsRecord::Sst;
    const auto next = [&] {
        w.write(type, p);
        p.clear();
        type = xlsRecord::Continue;
    };
    p.u32(references_).u32(count());
    for (const QString &s : strings_) {
        const int length = int(s.size());
        // A string's header is never split; a string that does not fit starts a new record.
        if (3 + 2 * length > p.room())
            next();
        p.u16(quint16(length)).u8(1);
        int done = 0;
        for (;;) {
            const int fit = std::min(length - done, p.room() / 2);
            p.utf16(s.constData() + done, fit);
            done += fit;
            if (done == length)
                break;
            next();
            p.u8(1); // a continued string repeats its flags
        }
    }
    w.write(type, p);
}
