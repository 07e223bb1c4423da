#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

// What a kind of row looks like in the workbook: font, borders, fill and alignment.

// Colours of the format model; the value is the colour's index in the workbook's palette.
enum class TxlsColor : quint8 {
    Black = 8,
    White,
    Red,
    BrightGreen,
    Blue,
    Yellow,
    Pink,
    Turquoise,
    DarkRed,
    Green,
    DarkBlue,
    DarkYellow,
    Violet,
    Teal,
    Gray25,
    Gray50,
};

enum TxlsFontStyle : quint8 { fsBold = 1, fsItalic = 2, fsStrikeOut = 4 };
enum class TxlsScript : quint8 { None = 0, Superscript = 1, Subscript = 2 };
enum class TxlsUnderline : quint8 {
    None = 0,
    Single = 1,
    Double = 2,
    SingleAccounting = 33,
    DoubleAccounting = 34,
};

struct TxlsFont {
    QString FName = QStringLiteral("arial");
    int FSize = 10;    // points
    quint8 FStyle = 0; // TxlsFontStyle flags
    TxlsColor FColor = TxlsColor::Black;
    TxlsScript FScript = TxlsScript::None;
    TxlsUnderline FUnderline = TxlsUnderline::None;
    quint8 FCharset = 1;

    bool operator==(const TxlsFont &) const = default;
};

enum class TxlsBorderStyle : quint8 {
    None = 0,
    Thin,
    Medium,
    Dashed,
    Dotted,
    Thick,
    Double,
    Hair,
};

struct TxlsBorder {
    TxlsBorderStyle FStyle = TxlsBorderStyle::None;
    TxlsColor FColor = TxlsColor::Black;

    bool operator==(const TxlsBorder &) const = default;
};

enum TxlsBorderSide { bsLeft, bsTop, bsRight, bsBottom, bsDiagonalDown, bsDiagonalUp };
using TxlsBorders = std::array<TxlsBorder, 6>; // by TxlsBorderSide

// Fill patterns as the record stores them (0 none, 1 solid, 2.. the hatchings).
enum class TxlsPattern : quint8 { None = 0, Solid = 1, Gray50 = 2, Gray75 = 3, Gray25 = 4 };

struct TxlsFill {
    TxlsColor FBackground = TxlsColor::White;
    TxlsPattern FPattern = TxlsPattern::None;
    TxlsColor FForeground = TxlsColor::Black;

    bool operator==(const TxlsFill &) const = default;
};

enum class TxlsHorizontal : quint8 {
    General = 0,
    Left,
    Center,
    Right,
    Fill,
    Justify,
    CenterAcross,
};
enum class TxlsVertical : quint8 { Top = 0, Center, Bottom, Justify };

// Borders, fill and alignment: what a row kind's format and a stored cell format share.
struct TxlsCellStyle {
    TxlsBorders FBorders{};
    TxlsFill FFill;
    TxlsHorizontal FHorizontal = TxlsHorizontal::General;
    TxlsVertical FVertical = TxlsVertical::Bottom;
    bool FWrap = false;
    quint8 FRotation = 0;
    quint8 FIndent = 0;

    bool operator==(const TxlsCellStyle &) const = default;
};

struct TxlsFormat : TxlsCellStyle {
    TxlsFont FFont;

    // Plain "arial" 10 pt black, no borders, white fill with a white foreground, general and
    // bottom aligned without wrap. A new format has a black foreground, so it is not.
    bool isDefault() const;
};
