#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The cells of a string grid, stored compactly: the texts of each row lie side by side in one
// UTF-16 buffer shared by all rows, and each cell costs one 32-bit end offset within its row
// (plus one 64-bit start per row). There is no object per cell, so a result of hundreds of
// thousands of rows costs little more than its text.
//
// Rows are stored as they are written, also past the grid's visible row count (a run writes its
// rows before it sets the count). A row rewritten in the middle of the buffer moves to its end;
// the space it leaves is reclaimed once it exceeds the live text.
class TGridStore {
public:
    int ColCount() const { return cols_; }
    // Keeps the cells of the columns that remain; new columns are empty.
    void SetColCount(int Count);

    int StoredRows() const { return int(rowStart_.size()); }
    // Drops every stored row from Count on.
    void Truncate(int Count);

    // The text of a cell; empty for a cell never written. The view is valid until the store
    // next changes.
    QStringView CellView(int Col, int Row) const;
    QString Cell(int Col, int Row) const { return CellView(Col, Row).toString(); }

    void SetCell(int Col, int Row, QStringView Text);
    // Writes a whole row at once: cell c gets Texts[c]; columns past Texts become empty.
    void SetRow(int Row, std::span<const QString> Texts);
    // Writes a whole row straight into the buffer: Write(c, buffer) appends the text of cell c
    // to the buffer (std::vector<char16_t>&), for each column in turn.
    template <class TWrite> void WriteRow(int Row, TWrite &&Write)
    {
        if (Row < 0 || cols_ == 0)
            return;
        beginRow(Row);
        const std::size_t start = rowStart_[Row];
        const std::size_t base = std::size_t(Row) * cols_;
        for (int c = 0; c < cols_; ++c) {
            Write(c, text_);
            ends_[base + c] = std::uint32_t(text_.size() - start);
        }
        compactIfWasteful();
    }

    // Gives back spare capacity (after a bulk fill).
    void Squeeze();
    // Bytes held by the store, capacities included.
    std::size_t MemoryBytes() const;

private:
    std::uint32_t cellStart(int Col, int Row) const;
    std::uint32_t rowLength(int Row) const;
    bool atBufferEnd(int Row) const;
    void ensureRow(int Row);
    // Makes Row an empty row at the end of the buffer.
    void beginRow(int Row);
    void dropRowText(int Row);
    void compactIfWasteful();

    int cols_ = 0;
    std::vector<char16_t> text_;
    std::vector<std::uint64_t> rowStart_;
    // ends_[Row * cols_ + Col]: end of the cell's text, counted from the row's start.
    std::vector<std::uint32_t> ends_;
    // Characters of text_ no longer referenced by any row.
    std::size_t garbage_ = 0;
};
