#include "export/RtfWriter.h"

#include "export/ExportErrors.h"
#include "export/QExport4.h"

#include <QFileDevice>

#include <algorithm>
#include <array>

namespace {

constexpr auto WriteFailed = EQExportError::RtfWriteFailed;
const QByteArray LineEnd = QByteArrayLiteral("\r\n");
const QByteArray TableClose = QByteArrayLiteral("}\r\n");

void appendNumber(QByteArray &out, unsigned value)
{
    char digits[12];
    int n = 0;
    do {
        digits[n++] = char('0' + value % 10);
        value /= 10;
    } while (value);
    while (n)
        out.append(digits[--n]);
}

TRTFColorTableItem colorItem(TrtfColor c)
{
    return {int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)};
}

} // namespace

void TQExportWriter::Write(const QByteArray &text)
{
    deviceSink(FStream, WriteFailed)(text.constData(), text.size());
}

void TQExportWriter::WriteLn(const QByteArray &text)
{
    Write(text + LineEnd);
}

void TQRTFWriter::WriteBOF()
{
    Write("{");
}

void TQRTFWriter::WriteHeader()
{
    WriteLn("\\rtf" + QByteArray::number(FHeader.FVersion) + '\\' + FHeader.FCode.toUtf8() +
            "\\deff" + QByteArray::number(FHeader.FDefaultFont) + "\\deftab" +
            QByteArray::number(FHeader.FDefaultTab));
}

QByteArray TQRTFWriter::fontItemText(const TRTFFontTableItem &item)
{
    return "{\\f" + QByteArray::number(item.FFontNumber) + "\\f" + item.FFontFamily.toUtf8() + ' ' +
           item.FFontName.toUtf8() + ";}";
}

QByteArray TQRTFWriter::colorItemText(const TRTFColorTableItem &item)
{
    return "\\red" + QByteArray::number(item.FRed) + "\\green" + QByteArray::number(item.FGreen) +
           "\\blue" + QByteArray::number(item.FBlue) + ';';
}

void TQRTFWriter::WriteFontTable()
{
    QByteArray line = "{\\fonttbl";
    for (const TRTFFontTableItem &item : FFontTable)
        line += fontItemText(item);
    Write(line);
    fontTableEnd_ = FStream.pos();
    Write(TableClose);
}

void TQRTFWriter::WriteColorTable()
{
    QByteArray line = "{\\colortbl";
    for (const TRTFColorTableItem &item : FColorTable)
        line += colorItemText(item);
    Write(line);
    colorTableEnd_ = FStream.pos();
    Write(TableClose);
}

void TQRTFWriter::AddFont(const QString &Name)
{
    int number = -1;
    for (const TRTFFontTableItem &item : FFontTable)
        number = std::max(number, item.FFontNumber);
    const TRTFFontTableItem item{number + 1, QStringLiteral("nil"), Name};
    FFontTable.append(item);
    if (fontTableEnd_ < 0)
        return;
    const QByteArray text = fontItemText(item);
    insertAt(fontTableEnd_, text);
    fontTableEnd_ += text.size();
    if (colorTableEnd_ >= 0)
        colorTableEnd_ += text.size();
}

void TQRTFWriter::AddColor(TrtfColor Color)
{
    const TRTFColorTableItem item = colorItem(Color);
    FColorTable.append(item);
    if (colorTableEnd_ < 0)
        return;
    const QByteArray text = colorItemText(item);
    insertAt(colorTableEnd_, text);
    colorTableEnd_ += text.size();
}

void TQRTFWriter::insertAt(qint64 at, const QByteArray &text)
{
    if (!FStream.flush())
        raiseExportError(WriteFailed);
    const qint64 size = FStream.size();
    const qint64 shift = text.size();
    // The tail moves back piece by piece from its end, so no buffer of its size is needed.
    std::array<char, 65536> chunk;
    for (qint64 end = size; end > at;) {
        const qint64 n = std::min<qint64>(qint64(chunk.size()), end - at);
        end -= n;
        if (!FStream.seek(end) || FStream.read(chunk.data(), n) != n || !FStream.seek(end + shift))
            raiseExportError(WriteFailed);
        deviceSink(FStream, WriteFailed)(chunk.data(), n);
    }
    if (!FStream.seek(at))
        raiseExportError(WriteFailed);
    Write(text);
    if (!FStream.seek(size + shift))
        raiseExportError(WriteFailed);
}

QByteArray TQRTFWriter::SetFont(const TrtfFont &Font, bool NeedWrite)
{
    const auto found = std::find_if(FFontTable.cbegin(), FFontTable.cend(), [&](const auto &item) {
        return item.FFontName.compare(Font.FName, Qt::CaseInsensitive) == 0;
    });
    int number;
    if (found == FFontTable.cend()) {
        AddFont(Font.FName);
        number = FFontTable.back().FFontNumber;
    } else {
        number = found->FFontNumber;
    }
    const QByteArray text =
        "\\f" + QByteArray::number(number) + "\\fs" + QByteArray::number(2 * Font.FSize);
    if (NeedWrite)
        WriteLn(text);
    return text;
}

QByteArray TQRTFWriter::GetColorText(TrtfColor Color, TrtfColorType ColorType)
{
    const TRTFColorTableItem wanted = colorItem(Color);
    qsizetype index = -1;
    for (qsizetype i = 0; i < FColorTable.size() && index < 0; ++i) {
        const TRTFColorTableItem &item = FColorTable[i];
        if (item.FRed == wanted.FRed && item.FGreen == wanted.FGreen && item.FBlue == wanted.FBlue)
            index = i;
    }
    if (index < 0) {
        AddColor(Color);
        index = FColorTable.size() - 1;
    }
    const char *word = ColorType == ctText         ? "\\cf"
                       : ColorType == ctBackground ? "\\cbpat"
                                                   : "\\highlight";
    return word + QByteArray::number(index);
}

void TQRTFWriter::WritePara()
{
    WriteLn("\\par");
}

void TQRTFWriter::WriteEOF()
{
    Write("}");
}

QByteArray TQRTFWriter::AlignToStr(TrtfCellAlign Align)
{
    switch (Align) {
    case ecaCenter:
        return "\\qc";
    case ecaRight:
        return "\\qr";
    case ecaLeft:
        break;
    }
    return "\\ql";
}

QByteArray rtfEscape(QStringView text, bool dataCell)
{
    QByteArray out;
    out.reserve(text.size() * 7);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (dataCell && (c == u'\r' || c == u'\n')) {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += "\\par ";
        } else if (c == u'\\') {
            out += "\\\\";
        } else if (c == u'\r' || c == u'\n') {
            out += char(c);
        } else {
            out += "\\u";
            appendNumber(out, c);
            out += '?';
        }
    }
    return out;
}
