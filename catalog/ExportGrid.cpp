#include "catalog/ExportGrid.h"

#include "catalog/ExportSettings.h"
#include "catalog/PropTVItem.h"
#include "catalog/QuorvelUtil.h"
#include "catalog/ReportResult.h"
#include "export/CsvWriter.h"
#include "export/ExportErrors.h"
#include "export/PdfPages.h"
#include "export/QExport4RTF.h"
#include "export/QExport4XLS.h"
#include "export/TextMeasure.h"
#include "export/XlsxWriter.h"

#include <QRegularExpression>

#include <memory>

namespace {

const TReportResult &resultOrRaise(const TReportResult *SG)
{
    if (!SG)
        raiseExportError(EQExportError::NoSource);
    return *SG;
}

TExportAlign exportAlign(const QString &FormatStr, int ACol)
{
    const std::optional<Qt::Alignment> align = CellAlignment(FormatStr, ACol);
    if (!align)
        return TExportAlign::Left;
    if (*align & Qt::AlignHCenter)
        return TExportAlign::Centre;
    if (*align & Qt::AlignRight)
        return TExportAlign::Right;
    return TExportAlign::Left;
}

} // namespace

QString ExportExtension(TExportKind Kind)
{
    switch (Kind) {
    case TExportKind::Rtf:
        return QStringLiteral(".rtf");
    case TExportKind::Xlsx:
        return QStringLiteral(".xlsx");
    case TExportKind::Csv:
        return QStringLiteral(".csv");
    case TExportKind::Pdf:
        return QStringLiteral(".pdf");
    case TExportKind::Xls:
        break;
    }
    return QStringLiteral(".xls");
}

int ExportRowsRead(TExportKind Kind, int Rows)
{
    return Kind == TExportKind::Pdf ? 2 * Rows : Rows;
}

QStringList ExportTitleLines(const TPropTVItem *Prop, bool Top)
{
    if (!Prop)
        return {};
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    return QStringList{QString()} + (Top ? Prop->PRN_TITLE_TOP : Prop->PRN_TITLE_BOT).split(breaks);
}

TExportModel ResultExportModel(const TReportResult &SG, const TPropTVItem *Prop,
                               const QString &FileName, TExportObserver *Progress,
                               std::vector<int> RowOrder)
{
    TExportModel model;
    model.FileName = FileName;
    model.Header = ExportTitleLines(Prop, true);
    model.Footer = ExportTitleLines(Prop, false);

    for (int k = 0; k < SG.ColCount(); ++k) {
        // The title row holds the columns' titles; the row numbers' corner is blank in it.
        const QString caption = k == 0 ? QStringLiteral("№") : SG.Title(k);
        model.Columns.append(
            {caption, SG.ColChars(k), SG.ColWidths(k), exportAlign(SG.FormatStr, k)});
    }

    const TxlsFont &xlsData = TXLSOptions().FDataFormat.FFont;
    model.ZeroWidth = CharPixelWidth(xlsData.FName, xlsData.FSize, false, u'0');
    const TrtfFont &rtfCaption = TRTFOptions().FCaptionStyle.FFont;
    model.XWidth =
        CharPixelWidth(rtfCaption.FName, rtfCaption.FSize, rtfCaption.FStyle & rfsBold, u'X');

    // Row 0 holds the titles; the data rows follow it, in the query's order unless one is given.
    // Every pass (PDF counts its pages first) reads the rows afresh; progress counts on.
    struct Shared {
        std::vector<int> order;
        int written = 0;
    };
    auto shared = std::make_shared<Shared>(Shared{std::move(RowOrder)});
    model.RowSources = [&SG, Progress, shared]() -> TExportRowSource {
        return [&SG, Progress, shared, next = 1](QStringList &Row) mutable {
            if (next >= SG.RowCount())
                return false;
            const int row = shared->order.empty() ? next : shared->order[std::size_t(next - 1)];
            Row.resize(SG.ColCount());
            for (int c = 0; c < SG.ColCount(); ++c) {
                // Into the row's own strings: their buffers serve from row to row.
                QString &cell = Row[c];
                cell.resize(0);
                cell.append(SG.CellView(c, row));
            }
            ++next;
            if (Progress)
                Progress->Written(++shared->written);
            return true;
        };
    };
    model.Rows = model.RowSources();
    return model;
}

void ExportResultAs(TExportKind Kind, const TReportResult *SG, const TPropTVItem *Prop,
                    const QString &FileName, TExportObserver *Progress, std::vector<int> RowOrder,
                    const TPdfOptions &Pdf)
{
    const TReportResult &result = resultOrRaise(SG);
    const TExportModel model =
        ResultExportModel(result, Prop, FileName, Progress, std::move(RowOrder));
    switch (Kind) {
    case TExportKind::Xls:
        TQExport4XLS().Execute(model);
        break;
    case TExportKind::Rtf:
        TQExport4RTF().Execute(model);
        break;
    case TExportKind::Xlsx:
        TQExport4XLSX().Execute(model);
        break;
    case TExportKind::Csv: {
        TQExport4CSV csv;
        csv.FOptions = CsvExportOptions();
        csv.Execute(model);
        break;
    }
    case TExportKind::Pdf: {
        TQExport4PDF pdf;
        pdf.FOptions = Pdf;
        pdf.Execute(model);
        break;
    }
    }
}
