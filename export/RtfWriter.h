#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

class QFileDevice;

// The RTF writer's building blocks: the output with its font and colour tables, the control
// words of fonts and colours, and the escaping of text. All of the document is ASCII except
// font names, which are written as UTF-8.

// A colour as 0x00BBGGRR: red in the low byte, blue in the high one.
using TrtfColor = quint32;
constexpr TrtfColor rtfBlack = 0x000000;
constexpr TrtfColor rtfWhite = 0xFFFFFF;

enum TrtfFontStyle : quint8 { rfsBold = 1, rfsItalic = 2, rfsUnderline = 4, rfsStrikeOut = 8 };

struct TrtfFont {
    QString FName = QStringLiteral("Arial");
    int FSize = 10;    // points
    quint8 FStyle = 0; // TrtfFontStyle flags
    TrtfColor FColor = rtfBlack;
};

enum TrtfColorType { ctText, ctBackground, ctHighlight };
enum TrtfCellAlign { ecaLeft, ecaCenter, ecaRight };

struct TRTFHeader {
    int FVersion = 1;
    QString FCode = QStringLiteral("ansi");
    int FDefaultFont = 0;
    int FDefaultTab = 720;
};

struct TRTFFontTableItem {
    int FFontNumber = 0;
    QString FFontFamily = QStringLiteral("nil");
    QString FFontName;
};

struct TRTFColorTableItem {
    int FRed = 0;
    int FGreen = 0;
    int FBlue = 0;
};

// Writes to a file and raises "Stream write error" when a write does not complete.
class TQExportWriter {
public:
    explicit TQExportWriter(QFileDevice &stream) : FStream(stream) {}

    void Write(const QByteArray &text);
    void WriteLn(const QByteArray &text); // with CR LF

protected:
    QFileDevice &FStream;
};

class TQRTFWriter : public TQExportWriter {
public:
    using TQExportWriter::TQExportWriter;

    TRTFHeader FHeader;
    QList<TRTFFontTableItem> FFontTable;
    QList<TRTFColorTableItem> FColorTable;

    void WriteBOF();
    void WriteHeader();
    void WriteFontTable();
    void WriteColorTable();
    // "\f" + number + "\fs" + twice the size; a name not in the table yet is added to it.
    QByteArray SetFont(const TrtfFont &Font, bool NeedWrite);
    // "\cf", "\cbpat" or "\highlight" + the colour's index; a new colour is added to the table.
    QByteArray GetColorText(TrtfColor Color, TrtfColorType ColorType);
    void WritePara();
    void WriteEOF();
    static QByteArray AlignToStr(TrtfCellAlign Align);

    void AddFont(const QString &Name); // an item numbered one above the highest
    void AddColor(TrtfColor Color);

private:
    // Puts text into the output already written, at the given position, moving the rest back.
    void insertAt(qint64 at, const QByteArray &text);
    static QByteArray fontItemText(const TRTFFontTableItem &item);
    static QByteArray colorItemText(const TRTFColorTableItem &item);

    // Positions of the "}" that closes each table once it is written, -1 before.
    qint64 fontTableEnd_ = -1;
    qint64 colorTableEnd_ = -1;
};

// Every character as "\u" + its UTF-16 code unit + "?", except CR, LF and backslashes, which
// are doubled first. In a data cell a line break (CR LF, a lone CR or a lone LF) becomes
// "\par ", so it shows as a new paragraph in the cell.
QByteArray rtfEscape(QStringView text, bool dataCell);
