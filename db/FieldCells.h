#pragma once

#include "db/FieldValue.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QStringView>
#include <QVariant>

#include <cstdint>
#include <vector>

// One value of a fetched row without a QVariant or a string object of its own: its kind and
// its number, or where its text lies in the UTF-16 buffer of its batch. A date-time is its
// wall-clock reading as Julian day * 86,400,000 + milliseconds of the day.
struct TFieldCell {
    enum Kind : std::uint8_t { Null, Integer, Float, DateTime, Text };
    Kind kind = Null;
    std::uint32_t length = 0; // Text: characters from offset
    union {
        qint64 integer = 0;
        double real;
        qint64 stamp;
        std::uint64_t offset;
    };
};

// Rows as the session's worker thread reads them, row-major (cells[row * columns + column]),
// their texts side by side in one buffer. Each value is appended as the engine gives it and
// then brought into the form its column's kind reads (Normalize).
struct TRowBatch {
    std::vector<TFieldCell> cells;
    std::vector<char16_t> text;
    bool exhausted = false;

    void AppendNull() { cells.emplace_back(); }
    void AppendInteger(qint64 Value);
    void AppendFloat(double Value);
    void AppendDateTime(const QDate &Date, const QTime &Time);
    void AppendText(const char16_t *Chars, std::size_t Length);
    void AppendUtf8(QByteArrayView Utf8);
    // The general path: a value of Qt's driver (an unknown type by its text).
    void AppendVariant(const QVariant &Value);

    // The last cell in the form Type reads: qlonglong in integer columns, double in double
    // columns, a date-time in date columns when it is one, text in text columns; a value that
    // does not fit its kind (text in a numeric SQLite column) stays as it is.
    void Normalize(TFieldType Type);

    QStringView TextOf(const TFieldCell &Cell) const
    {
        return QStringView(text.data() + Cell.offset, qsizetype(Cell.length));
    }
    QVariant VariantOf(const TFieldCell &Cell) const;
    // Appends the cell's text as the grid shows it, by the rules of FieldValueText.
    void AppendCellText(TFieldType Type, const TFieldCell &Cell, std::vector<char16_t> &Out) const;

private:
    void dropLastText();
};

// The text of a double by the rules of FloatText, and of an integer, appended to Out.
void AppendFloatText(double Value, std::vector<char16_t> &Out);
void AppendIntegerText(qint64 Value, std::vector<char16_t> &Out);
