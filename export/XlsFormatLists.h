#pragma once

#include "export/XlsFormat.h"
#include "export/XlsRecords.h"

#include <QList>
#include <QString>
#include <QStringList>

// The workbook-global lists of fonts, number formats and cell formats (XF) that the cells
// refer to, built while the sheets are written and put in front of them at the end.

// The number format string that stands for none.
inline const QString xlsGeneral = QStringLiteral("General");

// A cell format as the workbook stores it; -1 means none.
struct TxlsXFormat : TxlsCellStyle {
    int FFont = -1;
    int FNumberFormat = -1;

    bool operator==(const TxlsXFormat &) const = default;
};

// The 20-byte XF payload of a cell-format entry.
void encodeXF(const TxlsXFormat &format, TxlsPayload &payload);
// The FONT payload of a font.
void encodeFont(const TxlsFont &font, TxlsPayload &payload);

class TxlsFontList {
public:
    static constexpr int FirstIndex = 5;   // 0-3 are the default fonts, 4 is never used
    int add(const TxlsFont &font);         // the index of an equal font, or of a new one
    void write(TxlsRecordWriter &w) const; // the four default fonts, then the list

private:
    QList<TxlsFont> fonts_;
};

class TxlsTextFormatList {
public:
    static constexpr int FirstIndex = 50;
    int add(const QString &format);
    void write(TxlsRecordWriter &w) const;

private:
    QStringList formats_;
};

class TxlsXFormatList {
public:
    static constexpr int FirstIndex = 16; // 0-15 are the default cell formats
    int add(const TxlsXFormat &format);
    void write(TxlsRecordWriter &w) const; // the sixteen default XF, then the list

private:
    QList<TxlsXFormat> formats_;
};

// The three lists together and the lookup every cell's format goes through.
class TxlsFormatLists {
public:
    static constexpr quint16 DefaultXF = 15;

    explicit TxlsFormatLists(const TxlsFormat &dataFormat) : FDataFormat(dataFormat) {}

    // The cell format for a number format string ("General" or empty for none) and a row
    // kind's format (or none).
    quint16 AddXF(const QString &formatString, const TxlsFormat *format);

    // FONT, FORMAT, XF and STYLE records, in the workbook's order.
    void write(TxlsRecordWriter &w) const;

private:
    TxlsFormat FDataFormat;
    TxlsFontList FFonts;
    TxlsTextFormatList FTextFormats;
    TxlsXFormatList FXFormats;
};
