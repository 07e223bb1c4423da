#pragma once

#include "export/QExport4.h"
#include "export/XlsFormat.h"
#include "export/XlsNumberFormats.h"

#include <QString>

// How the workbook looks: one format per kind of row, sheet and page texts.
struct TXLSOptions {
    TXLSOptions();

    QString FSheetTitle = QStringLiteral("Sheet 1"); // continuation sheets are "Sheet %d"
    QString FPageHeader;
    QString FPageFooter = QStringLiteral("Page &P of &N");
    TxlsFormat FHeaderFormat;
    TxlsFormat FCaptionsFormat; // bold
    TxlsFormat FDataFormat;
    TxlsFormat FAggregateFormat;
    TxlsFormat FFooterFormat;
    TxlsFormat FHyperlinkFormat; // blue, single underline
    TxlsFormat FNoteFormat;      // "Tahoma" 8 pt bold, left and top aligned
    TxlsRegional FRegional;
};

// Writes an export model as an XLS workbook: a compound file with one stream "Workbook" of
// BIFF8 records. The sheets' records are streamed to a temporary file as the rows come; only
// the global tables and the shared strings are held until the end, when they are put in
// front of the sheets. A sheet that reaches 65536 rows continues on a new one. One engine
// can run any number of exports; nothing is kept from one to the next.
class TQExport4XLS : public TQExport4 {
public:
    TXLSOptions FOptions;

    // Raises EQExportError; a partly written file stays on disk.
    void Execute(const TExportModel &model);
};
