#pragma once

#include "export/QExport4.h"

#include <QString>

// How the workbook looks beyond what the model says.
struct TXLSXOptions {
    QString FSheetTitle = QStringLiteral("Sheet 1"); // continuation sheets are "Sheet %d"
    QString FPageFooter = QStringLiteral("&CСтраница &P из &N");
};

// Writes an export model as an XLSX workbook through libxlsxwriter in its constant-memory
// mode, so rows go to disk as they come: the header lines, the caption row (bold, frozen, with
// an auto-filter over the table), the data rows with numbers and date-times as typed values,
// the footer lines; a sheet that reaches 1,048,576 rows continues on a new one. Columns take
// the grid's pixel widths and the report's alignment. Nothing is left under the file's name
// when the export fails.
class TQExport4XLSX : public TQExport4 {
public:
    static constexpr int MaxRows = 1048576;
    static constexpr int MaxColumns = 16384;

    TXLSXOptions FOptions;

    // Raises EQExportError.
    void Execute(const TExportModel &model);
};
