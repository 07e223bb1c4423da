#include "export/XlsSharedStrings.h"

#include "export/ExportErrors.h"

#include <QHashFunctions>

#include <algorithm>

namespace {
constexpr std::size_t firstSlots = 1 << 10;
} // namespace

QStringView TsstStrings::text(quint32 i) const
{
    return QStringView(texts_.At(starts_[i]), qsizetype(lengths_[i]));
}

void TsstStrings::store(QStringView text)
{
    std::vector<char16_t> &chunk = texts_.WithRoom(std::size_t(text.size()));
    starts_.push_back(texts_.End());
    lengths_.push_back(std::uint16_t(text.size()));
    AppendUtf16(text, chunk);
}

void TsstStrings::growSlots()
{
    slots_.assign(std::max(firstSlots, slots_.size() * 2), 0);
    const std::size_t mask = slots_.size() - 1;
    for (quint32 i = 0; i < count(); ++i) {
        std::size_t s = qHash(text(i)) & mask;
        while (slots_[s] != 0)
            s = (s + 1) & mask;
        slots_[s] = i + 1;
    }
}

quint32 TsstStrings::add(QStringView text)
{
    QString normalized;
    if (text.contains(u'\r')) {
        normalized = text.toString();
        normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        text = normalized;
    }
    if (text.size() > MaxLength)
        raiseExportError(EQExportError::StringTooLarge);
    ++references_;
    if ((std::size_t(count()) + 1) * 2 > slots_.size())
        growSlots();
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t s = qHash(text) & mask;; s = (s + 1) & mask) {
        const quint32 slot = slots_[s];
        if (slot == 0) {
            store(text);
            slots_[s] = count();
            return count() - 1;
        }
        if (this->text(slot - 1) == text)
            return slot - 1;
    }
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
    for (quint32 i = 0; i < count(); ++i) {
        const QStringView s = text(i);
        const int length = int(s.size());
        // A string's header is never split; a string that does not fit starts a new record.
        if (3 + 2 * length > p.room())
            next();
        p.u16(quint16(length)).u8(1);
        int done = 0;
        for (;;) {
            const int fit = std::min(length - done, p.room() / 2);
            p.utf16(reinterpret_cast<const QChar *>(s.utf16()) + done, fit);
            done += fit;
            if (done == length)
                break;
            next();
            p.u8(1); // a continued string repeats its flags
        }
    }
    w.write(type, p);
}
