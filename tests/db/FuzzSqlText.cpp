// The statement-text scanner on arbitrary texts: the statement kinds, the reading test and the
// placeholders (every name found is a declared one, and each leaves one placeholder).
#include "db/NoteQuery.h"
#include "db/SqlText.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const bool numbered = data[0] & 1;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    StatementKindOf(text);
    SELECT_(text);
    // Names of an even length count as declared.
    const auto declared = [](const QString &name) { return name.size() % 2 == 0; };
    const TBoundText bound = BindPositional(text, declared, numbered);
    for (const QString &name : bound.names)
        if (!declared(name))
            std::abort();
    if (numbered && !bound.names.isEmpty() &&
        !bound.text.contains(QStringLiteral("$%1").arg(bound.names.size())))
        std::abort();
    return 0;
}
