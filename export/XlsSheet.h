#pragma once

#include "export/ExportModel.h"
#include "export/XlsFormatLists.h"
#include "export/XlsRecords.h"
#include "export/XlsSharedStrings.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One worksheet of the workbook: its records from BOF to EOF, written as the rows come.

struct TxlsSheet {
    QString FTitle;
    QStringList FHeader;
    QStringList FFooter;
    QString FPageHeader;
    QString FPageFooter = QStringLiteral("Page &P of &N");
    int FDefColWidth = 8;         // characters
    double FDefRowHeight = 12.75; // points
    int FStartDataCol = 0;
};

// A sheet's entry in the sheet directory. Offsets count from the start of the sheets' part of
// the stream; rows and columns are -1 until a cell is written.
struct TxlsBoundSheet {
    int FIndex = 0;
    QString FTitle;
    quint64 FBofOffset = 0;
    quint64 FDimensionsOffset = 0; // of the DIMENSIONS payload
    int FFirstRow = -1;
    int FLastRow = -1;
    int FFirstCol = -1;
    int FLastCol = -1;

    void widen(int row, int col);
};
using TxlsBoundSheetList = QList<TxlsBoundSheet>;

// The DIMENSIONS payload for the used range (zeros while nothing is used).
void encodeDimensions(const TxlsBoundSheet &sheet, TxlsPayload &payload);

// COLINFO width in 1/256 of a character: (w + 1 + 1/z) × 256 to the nearest integer, halves
// to even, at most 65535; w the width in characters, z the pixels of "0".
quint16 colInfoWidth(int widthChars, int zeroWidth);

// The formats of the row kinds that the cells of a sheet are written with.
struct TxlsRowFormats {
    const TxlsFormat *Header = nullptr;
    const TxlsFormat *Captions = nullptr;
    const TxlsFormat *Data = nullptr;
    const TxlsFormat *Footer = nullptr;
};

class TxlsSheetWriter {
public:
    static constexpr int MaxRows = 65536;
    static constexpr int MaxColumns = 256;

    TxlsSheetWriter(TxlsRecordWriter &out, TxlsFormatLists &lists, TsstStrings &strings,
                    const TxlsRowFormats &formats, const TxlsSheet &sheet, TxlsBoundSheet &bound);

    // BOF to DIMENSIONS; registers the five number formats first.
    void writeProlog(const QStringList &numberFormats, const QList<TExportColumn> &columns,
                     int zeroWidth);
    void writeHeader(const QString &line);
    void writeCaptions(const QList<TExportColumn> &columns);
    void writeData(const QStringList &texts, qsizetype columns);
    void writeFooter(const QString &line);
    void writeEpilog(bool firstSheet);

    int row() const { return row_; }

private:
    void writeLine(const QString &line, const TxlsFormat *format);
    void writeText(int col, const QString &text, quint16 xf);
    void writePageText(quint16 type, const QString &text);

    TxlsRecordWriter &out_;
    TxlsFormatLists &lists_;
    TsstStrings &strings_;
    TxlsRowFormats formats_;
    const TxlsSheet &sheet_;
    TxlsBoundSheet &bound_;
    TxlsPayload p_;
    std::optional<quint16> dataXF_;
    int row_ = 0;
};
