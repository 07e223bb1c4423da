#pragma once

#include "export/XlsFormatLists.h"
#include "export/XlsRecords.h"
#include "export/XlsSharedStrings.h"
#include "export/XlsSheet.h"

// The workbook-global records in front of the sheets.

// BOF to BOOKBOOL: everything before the point where the global tables go.
void writeGlobalsHead(TxlsRecordWriter &w);

// The global tables, written at the inset point once the sheets are done: fonts, number
// formats, cell formats, styles, palette, the sheet directory, country and shared strings.
// sheetsOffset is where the sheets' part begins in the final stream.
void writeGlobalInset(TxlsRecordWriter &w, const TxlsFormatLists &lists,
                      const TxlsBoundSheetList &sheets, const TsstStrings &strings,
                      quint64 sheetsOffset);
