#pragma once

#include "common/TextChunks.h"

#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The cells of a string grid, stored compactly: the texts of each row lie side by side in UTF-16
// buffers shared by all rows, and each cell costs one 32-bit end offset within its row (plus
// one 64-bit start per row). There is no object per cell, so a result of hundreds of thousands
// of rows costs little more than its text.
//
// Texts and offsets are kept in chunks (the texts in TTextChunks, each row whole in one chunk;
// the offsets in blocks of a few thousand rows): a growing result is never copied into a buffer
// twice its size.
//
// Rows are stored as they are written, also past the grid's visible row count (a run writes its
// rows before it sets the count). A row rewritten in the middle of the buffers moves to their
// end; the space it leaves is reclaimed once it exceeds the live text.
class TGridStore {
public:
    int ColCount() const { return cols_; }
    // Keeps the cells of the columns that remain; new columns are empty.
    void SetColCount(int Count);

    int StoredRows() const
    {
        return blocks_.empty()
                   ? 0
                   : int(blocks_.size() - 1) * blockRows + int(blocks_.back().starts.size());
    }
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
        std::vector<char16_t> &buffer = beginRow(Row);
        const std::size_t start = TTextChunks::OffsetOf(rowStart(Row));
        std::uint32_t *ends = rowEnds(Row);
        for (int c = 0; c < cols_; ++c) {
            Write(c, buffer);
            ends[c] = std::uint32_t(buffer.size() - start);
        }
        lastRowChars_ = ends[cols_ - 1];
        compactIfWasteful();
    }

    // Gives back spare capacity (after a bulk fill).
    void Squeeze();
    // Bytes held by the store, capacities included.
    std::size_t MemoryBytes() const;

private:
    // The offsets of blockRows consecutive rows.
    struct TRowBlock {
        // A row's start: its place in the chunks of text.
        std::vector<std::uint64_t> starts;
        // ends[Row * cols_ + Col], Row within the block: end of the cell's text, counted from
        // the row's start.
        std::vector<std::uint32_t> ends;
    };
    static constexpr int blockShift = 12;
    static constexpr int blockRows = 1 << blockShift;

    std::uint64_t &rowStart(int Row)
    {
        return blocks_[Row >> blockShift].starts[Row & (blockRows - 1)];
    }
    std::uint64_t rowStart(int Row) const
    {
        return blocks_[Row >> blockShift].starts[Row & (blockRows - 1)];
    }
    std::uint32_t *rowEnds(int Row)
    {
        return blocks_[Row >> blockShift].ends.data() + std::size_t(Row & (blockRows - 1)) * cols_;
    }
    const std::uint32_t *rowEnds(int Row) const
    {
        return blocks_[Row >> blockShift].ends.data() + std::size_t(Row & (blockRows - 1)) * cols_;
    }
    std::uint32_t rowLength(int Row) const;
    bool atBufferEnd(int Row) const;
    void ensureRow(int Row);
    // Makes Row an empty row at the end of the last chunk, which it returns.
    std::vector<char16_t> &beginRow(int Row);
    void dropRowText(int Row);
    void compactIfWasteful();

    int cols_ = 0;
    TTextChunks text_;
    std::vector<TRowBlock> blocks_;
    // Characters of the chunks no longer referenced by any row.
    std::size_t garbage_ = 0;
    // The length of the row written last: the room a chunk must have left for the next.
    std::size_t lastRowChars_ = 0;
};
