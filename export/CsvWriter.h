#pragma once

#include "export/QExport4.h"

#include <QChar>

// The separator and the encoding, which the caller reads from viri.ini's [Export] section.
struct TCSVOptions {
    enum TEncoding { Utf8WithBom, Windows1251 };
    QChar FSeparator = u';'; // the decimal separator is a comma
    TEncoding FEncoding = Utf8WithBom;
};

// Writes an export model as CSV text after RFC 4180: the caption row with the column titles,
// then the data rows, no title lines; a field holding the separator, a quote or a line break
// is quoted, with its quotes doubled; lines end with CR LF. UTF-8 starts with a byte order mark
// so spreadsheet programs know it; windows-1251 writes '?' for a character it lacks. Nothing is
// left under the file's name when the export fails.
class TQExport4CSV : public TQExport4 {
public:
    TCSVOptions FOptions;

    // Raises EQExportError.
    void Execute(const TExportModel &model);
};

// One CSV line (without its line end) of the fields, quoted as above.
QString csvLine(const QStringList &fields, qsizetype count, QChar separator);
