#include "export/XlsFormatLists.h"

#include <QtEndian>

#include <cstring>

namespace {

// The sixteen cell formats every workbook starts with: the normal style, fourteen style
// formats and the default cell format 15.
const unsigned char DefaultXFs[4][20] = {
    {0x00, 0x00, 0x00, 0x00, 0xf5, 0xff, 0x20, 0x00, 0x00, 0x00,
     0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xc0, 0x20},
    {0x01, 0x00, 0x00, 0x00, 0xf5, 0xff, 0x20, 0x00, 0x00, 0xf4,
     0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xc0, 0x20},
    {0x02, 0x00, 0x00, 0x00, 0xf5, 0xff, 0x20, 0x00, 0x00, 0xf4,
     0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xc0, 0x20},
    {0x00, 0x00, 0x00, 0x00, 0xf5, 0xff, 0x20, 0x00, 0x00, 0xf4,
     0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xc0, 0x20},
};
const unsigned char CellXF15[20] = {0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x20, 0x00, 0x00, 0x00,
                                    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xc0, 0x20};
// Which row of DefaultXFs each of XF 0-14 is.
const int DefaultXFRow[15] = {0, 1, 1, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3};

// The built-in styles 3, 6, 4, 7, 0 and 5 on the cell formats of the five number formats
// and the normal style.
const unsigned char Styles[6][4] = {{0x10, 0x80, 0x03, 0xff}, {0x11, 0x80, 0x06, 0xff},
                                    {0x12, 0x80, 0x04, 0xff}, {0x13, 0x80, 0x07, 0xff},
                                    {0x00, 0x80, 0x00, 0xff}, {0x14, 0x80, 0x05, 0xff}};

quint32 colorIndex(TxlsColor c)
{
    return quint32(c);
}
quint32 styleOf(const TxlsBorder &b)
{
    return quint32(b.FStyle);
}

template <class T> int findOrAppend(QList<T> &list, const T &item, int firstIndex)
{
    qsizetype i = list.indexOf(item);
    if (i < 0) {
        i = list.size();
        list.append(item);
    }
    return firstIndex + int(i);
}

} // namespace

void encodeXF(const TxlsXFormat &f, TxlsPayload &payload)
{
    unsigned char xf[20];
    std::memcpy(xf, CellXF15, 20);
    quint16 attributes = 0x4000 | 0x1000; // pattern and alignment always
    if (f.FFont >= 0) {
        attributes |= 0x0800;
        qToLittleEndian(quint16(f.FFont), xf);
    }
    if (f.FNumberFormat >= 0)
        qToLittleEndian(quint16(f.FNumberFormat), xf + 2);
    const quint16 alignment = quint16(quint16(f.FHorizontal) & 7) | (f.FWrap ? 8 : 0) |
                              quint16((quint16(f.FVertical) & 7) << 4) | quint16(f.FRotation << 8);
    qToLittleEndian(alignment, xf + 6);
    if (f.FHorizontal == TxlsHorizontal::Left)
        attributes |= f.FIndent & 0x0F;
    quint32 lines = 0;
    quint32 colours = quint32(f.FFill.FPattern) << 26;
    bool anyBorder = false;
    for (const TxlsBorder &b : f.FBorders)
        anyBorder = anyBorder || b.FStyle != TxlsBorderStyle::None;
    if (anyBorder) {
        attributes |= 0x2000;
        const TxlsBorder &left = f.FBorders[bsLeft], &right = f.FBorders[bsRight];
        const TxlsBorder &top = f.FBorders[bsTop], &bottom = f.FBorders[bsBottom];
        const TxlsBorder &down = f.FBorders[bsDiagonalDown], &up = f.FBorders[bsDiagonalUp];
        const TxlsBorder &diagonal = down.FStyle != TxlsBorderStyle::None ? down : up;
        lines = styleOf(left) | styleOf(right) << 4 | styleOf(top) << 8 | styleOf(bottom) << 12 |
                colorIndex(left.FColor) << 16 | colorIndex(right.FColor) << 23 |
                (down.FStyle != TxlsBorderStyle::None ? 1u << 30 : 0) |
                (up.FStyle != TxlsBorderStyle::None ? 1u << 31 : 0);
        colours |= colorIndex(top.FColor) | colorIndex(bottom.FColor) << 7 |
                   colorIndex(diagonal.FColor) << 14 | styleOf(diagonal) << 21;
    }
    qToLittleEndian(attributes, xf + 8);
    qToLittleEndian(lines, xf + 10);
    qToLittleEndian(colours, xf + 14);
    qToLittleEndian(quint16(colorIndex(f.FFill.FBackground) | colorIndex(f.FFill.FForeground) << 7),
                    xf + 18);
    payload.bytes(reinterpret_cast<const char *>(xf), 20);
}

void encodeFont(const TxlsFont &font, TxlsPayload &payload)
{
    const QString name = font.FName.left(255);
    payload.u16(quint16(qBound(0, font.FSize * 20, 0xFFFF)))
        .u16(quint16(((font.FStyle & fsItalic) ? 2 : 0) | ((font.FStyle & fsStrikeOut) ? 8 : 0)))
        .u16(quint16(colorIndex(font.FColor)))
        .u16((font.FStyle & fsBold) ? 700 : 400)
        .u16(quint16(font.FScript))
        .u8(quint8(font.FUnderline))
        .u8(0)
        .u8(font.FCharset)
        .u8(0)
        .u8(quint8(name.size()))
        .u8(1)
        .utf16(name);
}

int TxlsFontList::add(const TxlsFont &font)
{
    return findOrAppend(fonts_, font, FirstIndex);
}

void TxlsFontList::write(TxlsRecordWriter &w) const
{
    TxlsPayload p;
    for (int i = 0; i < 4; ++i) {
        p.clear();
        encodeFont(TxlsFont{}, p);
        w.write(xlsRecord::Font, p);
    }
    for (const TxlsFont &font : fonts_) {
        p.clear();
        encodeFont(font, p);
        w.write(xlsRecord::Font, p);
    }
}

int TxlsTextFormatList::add(const QString &format)
{
    return findOrAppend(formats_, format, FirstIndex);
}

void TxlsTextFormatList::write(TxlsRecordWriter &w) const
{
    TxlsPayload p;
    for (qsizetype i = 0; i < formats_.size(); ++i) {
        const QString format = formats_[i].left(255);
        p.clear();
        p.u16(quint16(FirstIndex + i)).u16(quint16(format.size())).u8(1).utf16(format);
        w.write(xlsRecord::Format, p);
    }
}

int TxlsXFormatList::add(const TxlsXFormat &format)
{
    return findOrAppend(formats_, format, FirstIndex);
}

void TxlsXFormatList::write(TxlsRecordWriter &w) const
{
    TxlsPayload p;
    for (int i = 0; i < 16; ++i) {
        p.clear();
        p.bytes(reinterpret_cast<const char *>(i < 15 ? DefaultXFs[DefaultXFRow[i]] : CellXF15),
                20);
        w.write(xlsRecord::Xf, p);
    }
    for (const TxlsXFormat &format : formats_) {
        p.clear();
        encodeXF(format, p);
        w.write(xlsRecord::Xf, p);
    }
}

quint16 TxlsFormatLists::AddXF(const QString &formatString, const TxlsFormat *format)
{
    const QString &numberFormat = formatString.isEmpty() ? xlsGeneral : formatString;
    if (!format && numberFormat == xlsGeneral)
        return DefaultXF;
    TxlsXFormat entry;
    if (numberFormat != xlsGeneral)
        entry.FNumberFormat = FTextFormats.add(numberFormat);
    if (format) {
        static_cast<TxlsCellStyle &>(entry) = *format;
        if (!(format->FFont == FDataFormat.FFont && FDataFormat.isDefault()))
            entry.FFont = FFonts.add(format->FFont);
    }
    return quint16(FXFormats.add(entry));
}

void TxlsFormatLists::write(TxlsRecordWriter &w) const
{
    FFonts.write(w);
    FTextFormats.write(w);
    FXFormats.write(w);
    TxlsPayload p;
    for (const auto &style : Styles) {
        p.clear();
        p.bytes(reinterpret_cast<const char *>(style), 4);
        w.write(xlsRecord::Style, p);
    }
}
