#include "export/XlsSheet.h"

#include "export/ExportErrors.h"

#include <cmath>

void TxlsBoundSheet::widen(int row, int col)
{
    if (FFirstRow < 0 || row < FFirstRow)
        FFirstRow = row;
    if (row > FLastRow)
        FLastRow = row;
    if (FFirstCol < 0 || col < FFirstCol)
        FFirstCol = col;
    if (col > FLastCol)
        FLastCol = col;
}

void encodeDimensions(const TxlsBoundSheet &s, TxlsPayload &p)
{
    if (s.FFirstRow < 0) {
        p.zeros(14);
        return;
    }
    p.u32(quint32(s.FFirstRow))
        .u32(quint32(s.FLastRow + 1))
        .u16(quint16(s.FFirstCol))
        .u16(quint16(s.FLastCol + 1))
        .u16(0);
}

quint16 colInfoWidth(int widthChars, int zeroWidth)
{
    const double w = (std::max(widthChars, 0) + 1 + 1.0 / zeroWidth) * 256;
    // A zero or negative "0" width gives no sensible width: the widest column stands in.
    if (!(w >= 0 && w <= 65535))
        return 65535;
    return quint16(std::nearbyint(w));
}

TxlsSheetWriter::TxlsSheetWriter(TxlsRecordWriter &out, TxlsFormatLists &lists,
                                 TsstStrings &strings, const TxlsRowFormats &formats,
                                 const TxlsSheet &sheet, TxlsBoundSheet &bound)
    : out_(out), lists_(lists), strings_(strings), formats_(formats), sheet_(sheet), bound_(bound)
{
}

void TxlsSheetWriter::writeProlog(const QStringList &numberFormats,
                                  const QList<TExportColumn> &columns, int zeroWidth)
{
    for (const QString &format : numberFormats)
        lists_.AddXF(format, nullptr);
    bound_.FBofOffset = out_.offset();
    p_.clear();
    p_.u16(0x0600).u16(0x0010).u16(3515).u16(1996).u32(0).u32(0x0206);
    out_.write(xlsRecord::Bof, p_);
    out_.writeWord(xlsRecord::CalcMode, 1);
    out_.writeWord(xlsRecord::CalcCount, 100);
    out_.writeWord(xlsRecord::RefMode, 1);
    out_.writeWord(xlsRecord::Iteration, 0);
    p_.clear();
    p_.f64(0.001);
    out_.write(xlsRecord::Delta, p_);
    out_.writeWord(xlsRecord::SaveRecalc, 1);
    out_.writeWord(xlsRecord::PrintHeaders, 0);
    out_.writeWord(xlsRecord::PrintGridlines, 0);
    out_.writeWord(xlsRecord::GridSet, 1);
    p_.clear();
    p_.zeros(8);
    out_.write(xlsRecord::Guts, p_);
    out_.writeWord(xlsRecord::DefColWidth, quint16(sheet_.FDefColWidth));
    p_.clear();
    p_.u16(1).u16(quint16(std::lround(sheet_.FDefRowHeight * 20)));
    out_.write(xlsRecord::DefaultRowHeight, p_);
    out_.writeWord(xlsRecord::WsBool, 0x04C1);
    writePageText(xlsRecord::Header, sheet_.FPageHeader);
    writePageText(xlsRecord::Footer, sheet_.FPageFooter);
    out_.writeWord(xlsRecord::HCenter, 0);
    out_.writeWord(xlsRecord::VCenter, 0);
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const quint16 col = quint16(sheet_.FStartDataCol + i);
        p_.clear();
        p_.u16(col)
            .u16(col)
            .u16(colInfoWidth(columns[i].FWidth, zeroWidth))
            .u16(TxlsFormatLists::DefaultXF)
            .u16(0)
            .u8(0);
        out_.write(xlsRecord::ColInfo, p_);
    }
    p_.clear();
    p_.zeros(14);
    bound_.FDimensionsOffset = out_.offset() + 4;
    out_.write(xlsRecord::Dimensions, p_);
}

void TxlsSheetWriter::writePageText(quint16 type, const QString &text)
{
    p_.clear();
    if (!text.isEmpty()) {
        if (text.size() > 255)
            raiseExportError(EQExportError::StringTooLarge);
        p_.u8(quint8(text.size())).u8(0).u8(1).utf16(text);
    }
    out_.write(type, p_);
}

void TxlsSheetWriter::writeText(int col, const QString &text, quint16 xf)
{
    p_.clear();
    p_.u16(quint16(row_)).u16(quint16(col)).u16(xf);
    if (text.isEmpty()) {
        out_.write(xlsRecord::Blank, p_);
    } else {
        p_.u32(strings_.add(text));
        out_.write(xlsRecord::LabelSst, p_);
    }
    bound_.widen(row_, col);
}

void TxlsSheetWriter::writeLine(const QString &line, const TxlsFormat *format)
{
    const QStringList pieces = line.split(u'\t');
    for (qsizetype col = 0; col < pieces.size() && col < MaxColumns; ++col)
        if (!pieces[col].isEmpty())
            writeText(int(col), pieces[col], lists_.AddXF(xlsGeneral, format));
    ++row_;
}

void TxlsSheetWriter::writeHeader(const QString &line)
{
    writeLine(line, formats_.Header);
}
void TxlsSheetWriter::writeFooter(const QString &line)
{
    writeLine(line, formats_.Footer);
}

void TxlsSheetWriter::writeCaptions(const QList<TExportColumn> &columns)
{
    const TxlsFormat *format = formats_.Captions;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const quint16 xf =
            format->isDefault() ? TxlsFormatLists::DefaultXF : lists_.AddXF(xlsGeneral, format);
        // A caption is never empty in a grid export; an empty one still marks its cell.
        writeText(sheet_.FStartDataCol + int(i), columns[i].FCaption, xf);
    }
    ++row_;
}

void TxlsSheetWriter::writeData(const QStringList &texts, qsizetype columns)
{
    if (columns > 0 && !dataXF_)
        dataXF_ = lists_.AddXF(xlsGeneral, formats_.Data);
    for (qsizetype i = 0; i < columns; ++i)
        writeText(sheet_.FStartDataCol + int(i), i < texts.size() ? texts[i] : QString(), *dataXF_);
    ++row_;
}

void TxlsSheetWriter::writeEpilog(bool firstSheet)
{
    p_.clear();
    p_.u16(firstSheet ? 0x06B6 : 0x04B6).zeros(16);
    out_.write(xlsRecord::Window2, p_);
    p_.clear();
    p_.u8(3).u16(0).u16(0).u16(0).u16(1).u16(0).u16(0).u8(0).u8(0).u8(0);
    out_.write(xlsRecord::Selection, p_);
    out_.write(xlsRecord::Eof);
}
