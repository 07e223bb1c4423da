#pragma once

#include "export/ExportModel.h"
#include "export/PdfLayout.h"

#include <QString>

#include <vector>

class TReportResult;
struct TPropTVItem;

// Whoever follows a long export: told of every row written.
class TExportObserver {
public:
    virtual ~TExportObserver() = default;
    virtual void Written(int Rows) = 0;
};

// The formats a result is written in.
enum class TExportKind { Xls, Rtf, Xlsx, Csv, Pdf };

// The file name's extension of a format, with its dot: ".xls", ".rtf", ".xlsx", ".csv", ".pdf".
QString ExportExtension(TExportKind Kind);

// The rows an export of Rows data rows reads, as its progress counts them: PDF reads them
// twice (the first pass counts the pages).
int ExportRowsRead(TExportKind Kind, int Rows);

// The title lines of a record above (Top) or below the table: an empty line, then the title
// one line each (the editor stores line breaks in it as CR LF, CR or LF); none without a record.
QStringList ExportTitleLines(const TPropTVItem *Prop, bool Top);

// What an export of a result writes: every column with its title from the result's title row
// ("№" over the row numbers), its width in characters of the font the result is shown in, its
// pixel width and the alignment of the report's codes; the title lines of the record and the
// data rows (from row 1), read from the result as the writer asks for them. The pixel widths of
// "0" and "X" are measured in the writers' fonts. Progress, when given, is told of every row
// handed out. RowOrder, when not empty, lists every data row in the order to write them (a
// sorted view's order); the result itself keeps the query's order.
TExportModel ResultExportModel(const TReportResult &SG, const TPropTVItem *Prop,
                               const QString &FileName, TExportObserver *Progress,
                               std::vector<int> RowOrder = {});

// Writes the result in the format with the record's title lines (Prop may be null); CSV takes
// its separator and encoding from viri.ini (ExportSettings). Raises EQExportError, of the kind
// NoSource when there is no result. Needs no window: the mailing and the unattended program
// write with it. PDF needs a QGuiApplication and draws its pages by Pdf.
void ExportResultAs(TExportKind Kind, const TReportResult *SG, const TPropTVItem *Prop,
                    const QString &FileName, TExportObserver *Progress = nullptr,
                    std::vector<int> RowOrder = {}, const TPdfOptions &Pdf = {});
