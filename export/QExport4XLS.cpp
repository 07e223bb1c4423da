#include "export/QExport4XLS.h"

#include "export/CompoundFile.h"
#include "export/ExportFile.h"
#include "export/XlsFormatLists.h"
#include "export/XlsSharedStrings.h"
#include "export/XlsSheet.h"
#include "export/XlsWorkbookGlobals.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <array>
#include <thread>

TXLSOptions::TXLSOptions()
{
    FCaptionsFormat.FFont.FStyle = fsBold;
    FHyperlinkFormat.FFont.FColor = TxlsColor::Blue;
    FHyperlinkFormat.FFont.FUnderline = TxlsUnderline::Single;
    FNoteFormat.FFont.FName = QStringLiteral("Tahoma");
    FNoteFormat.FFont.FSize = 8;
    FNoteFormat.FFont.FStyle = fsBold;
    FNoteFormat.FHorizontal = TxlsHorizontal::Left;
    FNoteFormat.FVertical = TxlsVertical::Top;
}

namespace {

constexpr auto WriteFailed = EQExportError::XlsWriteFailed;

// The sheets' records, in the temporary file, with every DIMENSIONS record patched.
void patchDimensions(QFile &sheets, const TxlsBoundSheetList &bounds)
{
    TxlsPayload p;
    for (const TxlsBoundSheet &b : bounds) {
        p.clear();
        encodeDimensions(b, p);
        if (!sheets.seek(qint64(b.FDimensionsOffset)))
            raiseExportError(WriteFailed);
        deviceSink(sheets, WriteFailed)(p.data(), p.size());
    }
    if (!sheets.flush() || !sheets.seek(0))
        raiseExportError(WriteFailed);
}

void copyInto(TCompoundFileWriter &cfb, QFile &from)
{
    std::array<char, 65536> chunk;
    for (;;) {
        const qint64 n = from.read(chunk.data(), qint64(chunk.size()));
        if (n < 0)
            raiseExportError(WriteFailed);
        if (n == 0)
            return;
        cfb.write(chunk.data(), n);
    }
}

} // namespace

void TQExport4XLS::Execute(const TExportModel &model)
{
    const QString path = PrepareOutputPath(model.FileName);
    const QList<TExportColumn> &columns = model.Columns;
    if (columns.size() > TxlsSheetWriter::MaxColumns)
        raiseExportError(EQExportError::TooManyColumns, QString::number(columns.size()));
    const qsizetype fixedRows = model.Header.size() + 1 + model.Footer.size();
    if (fixedRows >= TxlsSheetWriter::MaxRows)
        raiseExportError(EQExportError::NoRoomForData);

    // Beside the target until complete: a refused row (a text too long) leaves no file.
    TExportFile file(path, {EQExportError::XlsCannotCreate, WriteFailed});
    QTemporaryFile sheets(QDir::tempPath() + QStringLiteral("/quorvel-xls-XXXXXX"));
    if (!sheets.open())
        raiseExportError(WriteFailed);

    TxlsFormatLists lists(FOptions.FDataFormat);
    TsstStrings strings;
    TxlsBoundSheetList bounds;
    const TxlsRowFormats formats{&FOptions.FHeaderFormat, &FOptions.FCaptionsFormat,
                                 &FOptions.FDataFormat, &FOptions.FFooterFormat};
    const QStringList numberFormats = xlsNumberFormats(FOptions.FRegional);
    TxlsRecordWriter sheetsOut(deviceSink(sheets, WriteFailed));

    QStringList row;
    bool more = model.Rows && model.Rows(row);
    do {
        TxlsSheet sheet;
        const int index = int(bounds.size());
        sheet.FTitle =
            index == 0 ? FOptions.FSheetTitle : QStringLiteral("Sheet %1").arg(index + 1);
        sheet.FPageHeader = FOptions.FPageHeader;
        sheet.FPageFooter = FOptions.FPageFooter;
        bounds.append(TxlsBoundSheet{index, sheet.FTitle});
        TxlsSheetWriter writer(sheetsOut, lists, strings, formats, sheet, bounds.back());
        writer.writeProlog(numberFormats, columns, model.ZeroWidth);
        for (const QString &line : model.Header)
            writer.writeHeader(line);
        writer.writeCaptions(columns);
        // Stop where the next data row would leave no room for the footer rows.
        for (qsizetype room = TxlsSheetWriter::MaxRows - fixedRows; more && room > 0; --room) {
            writer.writeData(row, columns.size());
            std::this_thread::yield();
            more = model.Rows(row);
        }
        for (const QString &line : model.Footer)
            writer.writeFooter(line);
        writer.writeEpilog(index == 0);
    } while (more);
    patchDimensions(sheets, bounds);

    TxlsRecordWriter counter;
    writeGlobalsHead(counter);
    writeGlobalInset(counter, lists, bounds, strings, 0);
    const quint64 sheetsOffset = counter.offset() + 4; // the globals' EOF
    const quint64 total = sheetsOffset + quint64(sheets.size());
    if (total > TCompoundFileWriter::MaxStreamSize)
        raiseExportError(WriteFailed);

    TCompoundFileWriter cfb(deviceSink(file.device(), WriteFailed), QStringLiteral("Workbook"));
    cfb.begin(total);
    TxlsRecordWriter out([&cfb](const char *data, qint64 size) { cfb.write(data, size); });
    writeGlobalsHead(out);
    writeGlobalInset(out, lists, bounds, strings, sheetsOffset);
    out.write(xlsRecord::Eof);
    copyInto(cfb, sheets);
    cfb.finish();
    file.commit();
}
