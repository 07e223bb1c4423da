#pragma once

#include "export/XlsRecords.h"

#include <QHash>
#include <QList>
#include <QString>

// The shared-string table: every text cell refers to one entry by index. Equal texts share
// an entry; the table counts every reference.
class TsstStrings {
public:
    static constexpr int MaxLength = 32767;

    // The index of the text's entry (in order of first use), counting one reference. CR LF
    // and a lone CR are stored as LF. Raises "String too large" above MaxLength characters.
    quint32 add(const QString &text);

    quint32 count() const { return quint32(strings_.size()); }
    quint32 references() const { return references_; }

    // The SST record and as many CONTINUE records as the texts need.
    void write(TxlsRecordWriter &w) const;

private:
    QHash<QString, quint32> index_;
    QList<QString> strings_; // shares its texts with the keys of index_
    quint32 references_ = 0;
};
