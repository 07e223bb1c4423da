#pragma once

#include "export/ExportModel.h"

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

// The title lines of a record above (Top) or below the table: an empty line, then the title;
// none without a record.
QStringList ExportTitleLines(const TPropTVItem *Prop, bool Top);

// What an export of a result writes: every column ("ColNo_" + k, width in characters of the
// font the result is shown in), the title lines of the record and the data rows (from row 1),
// read from the result as the writer asks for them. The pixel widths of "0" and "X" are
// measured in the writers' fonts. Progress, when given, is told of every row handed out.
// RowOrder, when not empty, lists every data row in the order to write them (a sorted view's
// order); the result itself keeps the query's order.
TExportModel ResultExportModel(const TReportResult &SG, const TPropTVItem *Prop,
                               const QString &FileName, TExportObserver *Progress,
                               std::vector<int> RowOrder = {});

// Writes the result as a workbook with the record's title lines (Prop may be null). Raises
// EQExportError, of the kind NoSource when there is no result. Needs no window: the mailing
// and the unattended program write with it.
void ExportResultToXls(const TReportResult *SG, const TPropTVItem *Prop, const QString &FileName,
                       TExportObserver *Progress = nullptr, std::vector<int> RowOrder = {});

// Writes the result as an RTF document. Raises as ExportResultToXls.
void ExportResultToRtf(const TReportResult *SG, const TPropTVItem *Prop, const QString &FileName,
                       TExportObserver *Progress = nullptr, std::vector<int> RowOrder = {});
