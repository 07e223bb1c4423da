#include "catalog/ExportGrid.h"

#include "catalog/ExportProgress.h"
#include "catalog/PropTVItem.h"
#include "catalog/ShowFile.h"
#include "catalog/StringGrid.h"
#include "export/QExport4RTF.h"
#include "export/QExport4XLS.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>

#include <algorithm>
#include <stdexcept>

namespace {

int pixelWidth(const QFont &font, QChar letter)
{
    // A font without the glyph must not make every width a division by zero.
    return std::max(1, QFontMetrics(font).horizontalAdvance(letter));
}

QFont fontOf(const QString &name, int points, bool bold)
{
    QFont font(name, points);
    font.setBold(bold);
    return font;
}

const TStringGrid &gridOrRaise(const TStringGrid *SG)
{
    if (!SG)
        throw std::invalid_argument("Export source (StringGrid) is not assigned");
    return *SG;
}

} // namespace

QStringList ExportTitleLines(const TPropTVItem *Prop, bool Top)
{
    if (!Prop)
        return {};
    return {QString(), Top ? Prop->PRN_TITLE_TOP : Prop->PRN_TITLE_BOT};
}

TExportModel GridExportModel(const TStringGrid &SG, const TPropTVItem *Prop,
                             const QString &FileName, TExportProgress *Progress)
{
    TExportModel model;
    model.FileName = FileName;
    model.Header = ExportTitleLines(Prop, true);
    model.Footer = ExportTitleLines(Prop, false);

    const int gridX = pixelWidth(SG.font(), u'X');
    for (int k = 0; k < SG.ColCount(); ++k)
        model.Columns.append(
            {QStringLiteral("ColNo_") + QString::number(k), std::max(0, SG.ColWidths(k)) / gridX});

    const TxlsFont &xlsData = TXLSOptions().FDataFormat.FFont;
    model.ZeroWidth = pixelWidth(fontOf(xlsData.FName, xlsData.FSize, false), u'0');
    const TrtfFont &rtfCaption = TRTFOptions().FCaptionStyle.FFont;
    model.XWidth =
        pixelWidth(fontOf(rtfCaption.FName, rtfCaption.FSize, rtfCaption.FStyle & rfsBold), u'X');

    model.Rows = [&SG, Progress, next = SG.FixedRows(), written = 0](QStringList &Row) mutable {
        if (next >= SG.RowCount())
            return false;
        Row.resize(SG.ColCount());
        for (int c = 0; c < SG.ColCount(); ++c)
            Row[c] = SG.Cells(c, next);
        ++next;
        if (Progress)
            Progress->Written(++written);
        return true;
    };
    return model;
}

void ExportGridToXls(const TStringGrid *SG, const TPropTVItem *Prop, const QString &FileName,
                     TExportProgress *Progress)
{
    const TStringGrid &grid = gridOrRaise(SG);
    TQExport4XLS().Execute(GridExportModel(grid, Prop, FileName, Progress));
}

void ExportGridToRtf(const TStringGrid *SG, const TPropTVItem *Prop, const QString &FileName,
                     bool ShowFile, TExportProgress *Progress)
{
    const TStringGrid &grid = gridOrRaise(SG);
    TQExport4RTF().Execute(GridExportModel(grid, Prop, FileName, Progress));
    if (ShowFile)
        OpenInAssociatedApplication(QFileInfo(FileName).absoluteFilePath());
}
