#pragma once

#include "common/TextChunks.h"
#include "export/XlsRecords.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

// The shared-string table: every text cell refers to one entry by index. Equal texts share
// an entry; the table counts every reference.
//
// A report of a few hundred thousand rows has about as many distinct texts, so the table keeps
// no object per entry: the texts lie in chunks (TTextChunks), found through an open-addressed
// table of entry numbers.
class TsstStrings {
public:
    static constexpr int MaxLength = 32767;

    // The index of the text's entry (in order of first use), counting one reference. CR LF
    // and a lone CR are stored as LF. Raises "String too large" above MaxLength characters.
    quint32 add(QStringView text);

    quint32 count() const { return quint32(starts_.size()); }
    quint32 references() const { return references_; }
    // The text of entry i.
    QStringView text(quint32 i) const;

    // The SST record and as many CONTINUE records as the texts need.
    void write(TxlsRecordWriter &w) const;

private:
    void store(QStringView text);
    void growSlots();

    TTextChunks texts_;
    // Entry i: its place in the texts and its length.
    std::vector<std::uint64_t> starts_;
    std::vector<std::uint16_t> lengths_;
    // Entry number + 1 in each used slot, 0 in a free one; a power of two, at most half used.
    std::vector<quint32> slots_;
    quint32 references_ = 0;
};
