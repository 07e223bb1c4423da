#include "catalog/GridStore.h"

#include <algorithm>
#include <utility>

namespace {
// Below this much waste a compaction is not worth a pass over the buffer.
constexpr std::size_t minCompactWaste = 1 << 16;
} // namespace

std::uint32_t TGridStore::rowLength(int Row) const
{
    return cols_ == 0 ? 0 : rowEnds(Row)[cols_ - 1];
}

bool TGridStore::atBufferEnd(int Row) const
{
    return !text_.Empty() && rowStart(Row) + rowLength(Row) == text_.End();
}

void TGridStore::SetColCount(int Count)
{
    Count = std::max(Count, 0);
    if (Count == cols_)
        return;
    const int stored = StoredRows();
    for (int b = 0; b < int(blocks_.size()); ++b) {
        const int rows = std::min(blockRows, stored - b * blockRows);
        std::vector<std::uint32_t> ends(std::size_t(rows) * Count);
        for (int r = 0; r < rows; ++r) {
            const std::uint32_t *old = rowEnds(b * blockRows + r);
            const std::uint32_t oldLength = cols_ == 0 ? 0 : old[cols_ - 1];
            std::uint32_t last = 0;
            for (int c = 0; c < Count; ++c) {
                if (c < cols_)
                    last = old[c];
                ends[std::size_t(r) * Count + c] = last;
            }
            garbage_ += oldLength - (Count == 0 ? 0 : last);
        }
        blocks_[std::size_t(b)].ends = std::move(ends);
    }
    cols_ = Count;
    compactIfWasteful();
}

void TGridStore::Truncate(int Count)
{
    Count = std::max(Count, 0);
    if (Count >= StoredRows())
        return;
    for (int r = Count; r < StoredRows(); ++r)
        garbage_ += rowLength(r);
    blocks_.resize(std::size_t((Count + blockRows - 1) >> blockShift));
    if (!blocks_.empty()) {
        const int rows = Count - int(blocks_.size() - 1) * blockRows;
        blocks_.back().starts.resize(std::size_t(rows));
        blocks_.back().ends.resize(std::size_t(rows) * cols_);
    }
    compactIfWasteful();
}

QStringView TGridStore::CellView(int Col, int Row) const
{
    if (Col < 0 || Col >= cols_ || Row < 0 || Row >= StoredRows())
        return {};
    const std::uint32_t *ends = rowEnds(Row);
    const std::uint32_t begin = Col == 0 ? 0 : ends[Col - 1];
    if (ends[Col] == begin)
        return {};
    return QStringView(text_.At(rowStart(Row)) + begin, qsizetype(ends[Col] - begin));
}

void TGridStore::ensureRow(int Row)
{
    for (int rows = StoredRows(); rows <= Row; ++rows) {
        if (std::size_t(rows >> blockShift) == blocks_.size()) {
            TRowBlock &block = blocks_.emplace_back();
            // The first block grows with the rows, so a small grid stays small; later ones
            // take their whole size at once.
            if (blocks_.size() > 1) {
                block.starts.reserve(blockRows);
                block.ends.reserve(std::size_t(blockRows) * cols_);
            }
        }
        TRowBlock &block = blocks_.back();
        block.starts.push_back(text_.End());
        block.ends.resize(block.ends.size() + std::size_t(cols_), 0);
    }
}

// Makes Row's text unreferenced: cut off when it ends the buffers, else counted as waste.
void TGridStore::dropRowText(int Row)
{
    if (atBufferEnd(Row))
        text_.Last().resize(TTextChunks::OffsetOf(rowStart(Row)));
    else
        garbage_ += rowLength(Row);
}

void TGridStore::SetCell(int Col, int Row, QStringView Text)
{
    if (Col < 0 || Col >= cols_ || Row < 0)
        return;
    ensureRow(Row);
    const std::uint32_t begin = Col == 0 ? 0 : rowEnds(Row)[Col - 1];
    const std::uint32_t end = rowEnds(Row)[Col];
    const std::uint32_t length = rowLength(Row);
    if (!atBufferEnd(Row)) {
        // Move the row to the end of the buffers, then edit it there.
        std::vector<char16_t> row;
        if (length > 0) {
            const char16_t *from = text_.At(rowStart(Row));
            row.assign(from, from + length);
        }
        std::vector<char16_t> &chunk = text_.WithRoom(lastRowChars_);
        rowStart(Row) = text_.End();
        chunk.insert(chunk.end(), row.begin(), row.end());
        garbage_ += length;
    }
    std::vector<char16_t> &chunk = text_.Last();
    const auto cellBegin = chunk.begin() + qsizetype(TTextChunks::OffsetOf(rowStart(Row)) + begin);
    const auto *chars = reinterpret_cast<const char16_t *>(Text.utf16());
    chunk.insert(chunk.erase(cellBegin, cellBegin + (end - begin)), chars, chars + Text.size());
    const std::int64_t delta = std::int64_t(Text.size()) - std::int64_t(end - begin);
    std::uint32_t *ends = rowEnds(Row);
    for (int c = Col; c < cols_; ++c)
        ends[c] = std::uint32_t(std::int64_t(ends[c]) + delta);
    lastRowChars_ = rowLength(Row);
    compactIfWasteful();
}

std::vector<char16_t> &TGridStore::beginRow(int Row)
{
    ensureRow(Row);
    dropRowText(Row);
    std::vector<char16_t> &chunk = text_.WithRoom(lastRowChars_);
    rowStart(Row) = text_.End();
    return chunk;
}

void TGridStore::SetRow(int Row, std::span<const QString> Texts)
{
    WriteRow(Row, [&Texts](int c, std::vector<char16_t> &buffer) {
        if (std::size_t(c) < Texts.size())
            AppendUtf16(Texts[c], buffer);
    });
}

void TGridStore::compactIfWasteful()
{
    if (garbage_ < minCompactWaste || garbage_ * 2 < text_.Size())
        return;
    const TTextChunks old = std::exchange(text_, {});
    garbage_ = 0;
    for (int r = 0; r < StoredRows(); ++r) {
        const std::uint64_t from = rowStart(r);
        std::vector<char16_t> &chunk = text_.WithRoom(lastRowChars_);
        rowStart(r) = text_.End();
        lastRowChars_ = rowLength(r);
        if (lastRowChars_ > 0)
            chunk.insert(chunk.end(), old.At(from), old.At(from) + lastRowChars_);
    }
}

void TGridStore::Squeeze()
{
    // Only the last chunk and the last block have room to spare; neither is large.
    text_.ShrinkLast();
    if (!blocks_.empty()) {
        blocks_.back().starts.shrink_to_fit();
        blocks_.back().ends.shrink_to_fit();
    }
}

std::size_t TGridStore::MemoryBytes() const
{
    std::size_t bytes = text_.MemoryBytes() + blocks_.capacity() * sizeof(TRowBlock);
    for (const TRowBlock &block : blocks_)
        bytes += block.starts.capacity() * sizeof(std::uint64_t) +
                 block.ends.capacity() * sizeof(std::uint32_t);
    return bytes;
}
