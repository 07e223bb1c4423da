// The date-time reader on arbitrary texts: a value read ends inside the text.
#include "db/FieldValue.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    qsizetype end = -1;
    const QDateTime value = ReadDateTime(text, &end);
    if (value.isValid() && (end <= 0 || end > text.size()))
        std::abort();
    return 0;
}
