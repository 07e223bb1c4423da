#include "catalog/ExportGrid.h"

#include "catalog/PropTVItem.h"
#include "catalog/ReportResult.h"
#include "export/ExportErrors.h"
#include "export/QExport4RTF.h"
#include "export/QExport4XLS.h"
#include "export/TextMeasure.h"

namespace {

const TReportResult &resultOrRaise(const TReportResult *SG)
{
    if (!SG)
        raiseExportError(EQExportError::NoSource);
    return *SG;
}

} // namespace

QStringList ExportTitleLines(const TPropTVItem *Prop, bool Top)
{
    if (!Prop)
        return {};
    return {QString(), Top ? Prop->PRN_TITLE_TOP : Prop->PRN_TITLE_BOT};
}

TExportModel ResultExportModel(const TReportResult &SG, const TPropTVItem *Prop,
                               const QString &FileName, TExportObserver *Progress,
                               std::vector<int> RowOrder)
{
    TExportModel model;
    model.FileName = FileName;
    model.Header = ExportTitleLines(Prop, true);
    model.Footer = ExportTitleLines(Prop, false);

    for (int k = 0; k < SG.ColCount(); ++k)
        model.Columns.append({QStringLiteral("ColNo_") + QString::number(k), SG.ColChars(k)});

    const TxlsFont &xlsData = TXLSOptions().FDataFormat.FFont;
    model.ZeroWidth = CharPixelWidth(xlsData.FName, xlsData.FSize, false, u'0');
    const TrtfFont &rtfCaption = TRTFOptions().FCaptionStyle.FFont;
    model.XWidth =
        CharPixelWidth(rtfCaption.FName, rtfCaption.FSize, rtfCaption.FStyle & rfsBold, u'X');

    // Row 0 holds the titles; the data rows follow it, in the query's order unless one is given.
    model.Rows = [&SG, Progress, order = std::move(RowOrder), next = 1,
                  written = 0](QStringList &Row) mutable {
        if (next >= SG.RowCount())
            return false;
        const int row = order.empty() ? next : order[std::size_t(next - 1)];
        Row.resize(SG.ColCount());
        for (int c = 0; c < SG.ColCount(); ++c)
            Row[c] = SG.Cells(c, row);
        ++next;
        if (Progress)
            Progress->Written(++written);
        return true;
    };
    return model;
}

void ExportResultToXls(const TReportResult *SG, const TPropTVItem *Prop, const QString &FileName,
                       TExportObserver *Progress, std::vector<int> RowOrder)
{
    const TReportResult &result = resultOrRaise(SG);
    TQExport4XLS().Execute(
        ResultExportModel(result, Prop, FileName, Progress, std::move(RowOrder)));
}

void ExportResultToRtf(const TReportResult *SG, const TPropTVItem *Prop, const QString &FileName,
                       TExportObserver *Progress, std::vector<int> RowOrder)
{
    const TReportResult &result = resultOrRaise(SG);
    TQExport4RTF().Execute(
        ResultExportModel(result, Prop, FileName, Progress, std::move(RowOrder)));
}
