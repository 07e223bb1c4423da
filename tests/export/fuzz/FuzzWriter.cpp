// One libFuzzer target per writer: the build names the writer's header and engine class
// (QUORVEL_FUZZ_HEADER, QUORVEL_FUZZ_ENGINE).
#include QUORVEL_FUZZ_HEADER
#include "tests/export/fuzz/FuzzInput.h"

#include <QDir>

#include <unistd.h>

// Writes the fuzzed model as a file; QUORVEL_FUZZ_OUTPUT names the file to keep (for reading a
// sample back with the independent readers), else a scratch file of this process is used.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path =
        qEnvironmentVariableIsSet("QUORVEL_FUZZ_OUTPUT")
            ? qEnvironmentVariable("QUORVEL_FUZZ_OUTPUT")
            : QDir::tempPath() + QStringLiteral("/quorvel-fuzz-%1").arg(getpid());
    static QUORVEL_FUZZ_ENGINE engine;
    try {
        engine.Execute(fuzzModel(data, size, path));
    } catch (const EQExportError &) {
        // refused input (too long a text, too many columns) is a correct outcome
    }
    return 0;
}
