#pragma once

#include "export/ExportModel.h"

#include <cstddef>
#include <cstdint>

// Turns fuzzer bytes into an export model: 16-bit units give the number of columns, header and
// footer lines, then texts split at 0xFFFF (0xFFFE n c stands for the unit c repeated 8 × n
// times, for very long texts). Texts go to the header, footer, captions and then the data
// cells row by row; any unit goes into them, control characters and lone surrogates included.
TExportModel fuzzModel(const uint8_t *data, size_t size, const QString &fileName);
