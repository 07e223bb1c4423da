#pragma once

#include "export/CsvWriter.h"

// The export settings of viri.ini (section Export), read at every export so that an edit
// takes effect at the next one.

// Keys CSV_SEPARATOR (one character, or "tab"; ";" by default) and CSV_ENCODING ("utf-8" by
// default, or "windows-1251"). A value that cannot serve (a quote, a line break, an unknown
// encoding) raises EQExportError of the kind BadSetting: a file another system then misreads
// is worse than no file.
TCSVOptions CsvExportOptions();
