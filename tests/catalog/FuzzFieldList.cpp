// The select-list cutter on arbitrary query texts and comma lists.
#include "catalog/QuorvelUtil.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    FieldList(text);
    QStringList names;
    NamesCreateList(text, names, data[0] & 1);
    // Every item comes from between the commas of the text.
    if (names.size() > text.count(u',') + 1)
        std::abort();
    return 0;
}
