#pragma once

#include "export/ExportModel.h"

#include <QString>

class TExportProgress;
class TStringGrid;
struct TPropTVItem;

// The title lines of a record above (Top) or below the table: an empty line, then the title;
// none without a record.
QStringList ExportTitleLines(const TPropTVItem *Prop, bool Top);

// What an export of the grid writes: every column ("ColNo_" + k, width in characters of the
// grid's font), the title lines of the record and the non-fixed rows, read from the grid as
// the writer asks for them. The pixel widths of "0" and "X" are measured in the engines' fonts.
// Progress, when given, is told of every row handed out.
TExportModel GridExportModel(const TStringGrid &SG, const TPropTVItem *Prop,
                             const QString &FileName, TExportProgress *Progress);

// Writes the grid as a workbook with the record's title lines (Prop may be null). Raises
// EQExportError, or std::invalid_argument with "Export source (StringGrid) is not assigned"
// when there is no grid. Needs no window: the mailing writes its attachment with it.
void ExportGridToXls(const TStringGrid *SG, const TPropTVItem *Prop, const QString &FileName,
                     TExportProgress *Progress = nullptr);

// Writes the grid as an RTF document, then, with ShowFile, opens it in the desktop's
// application for it. Raises as ExportGridToXls.
void ExportGridToRtf(const TStringGrid *SG, const TPropTVItem *Prop, const QString &FileName,
                     bool ShowFile, TExportProgress *Progress = nullptr);
