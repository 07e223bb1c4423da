#include "catalog/GridStore.h"

#include <algorithm>

namespace {
// Below this much waste a compaction is not worth a pass over the buffer.
constexpr std::size_t minCompactWaste = 1 << 16;
} // namespace

std::uint32_t TGridStore::cellStart(int Col, int Row) const
{
    return Col == 0 ? 0 : ends_[std::size_t(Row) * cols_ + Col - 1];
}

std::uint32_t TGridStore::rowLength(int Row) const
{
    return cols_ == 0 ? 0 : ends_[std::size_t(Row) * cols_ + cols_ - 1];
}

bool TGridStore::atBufferEnd(int Row) const
{
    return rowStart_[Row] + rowLength(Row) == text_.size();
}

void TGridStore::SetColCount(int Count)
{
    Count = std::max(Count, 0);
    if (Count == cols_)
        return;
    std::vector<std::uint32_t> ends(std::size_t(StoredRows()) * Count);
    for (int r = 0; r < StoredRows(); ++r) {
        const std::uint32_t oldLength = rowLength(r);
        std::uint32_t last = 0;
        for (int c = 0; c < Count; ++c) {
            if (c < cols_)
                last = ends_[std::size_t(r) * cols_ + c];
            ends[std::size_t(r) * Count + c] = last;
        }
        garbage_ += oldLength - (Count == 0 ? 0 : last);
    }
    ends_ = std::move(ends);
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
    rowStart_.resize(Count);
    ends_.resize(std::size_t(Count) * cols_);
    compactIfWasteful();
}

QStringView TGridStore::CellView(int Col, int Row) const
{
    if (Col < 0 || Col >= cols_ || Row < 0 || Row >= StoredRows())
        return {};
    const std::uint32_t begin = cellStart(Col, Row);
    const std::uint32_t end = ends_[std::size_t(Row) * cols_ + Col];
    return QStringView(text_.data() + rowStart_[Row] + begin, qsizetype(end - begin));
}

void TGridStore::ensureRow(int Row)
{
    if (Row < StoredRows())
        return;
    rowStart_.resize(std::size_t(Row) + 1, text_.size());
    ends_.resize(rowStart_.size() * cols_, 0);
}

// Makes Row's text unreferenced: cut off when it ends the buffer, else counted as waste.
void TGridStore::dropRowText(int Row)
{
    const std::uint32_t length = rowLength(Row);
    if (atBufferEnd(Row))
        text_.resize(rowStart_[Row]);
    else
        garbage_ += length;
    rowStart_[Row] = text_.size();
}

void TGridStore::SetCell(int Col, int Row, QStringView Text)
{
    if (Col < 0 || Col >= cols_ || Row < 0)
        return;
    ensureRow(Row);
    const std::size_t base = std::size_t(Row) * cols_;
    const std::uint32_t begin = cellStart(Col, Row);
    const std::uint32_t end = ends_[base + Col];
    const std::uint32_t length = rowLength(Row);
    if (!atBufferEnd(Row)) {
        // Move the row to the end of the buffer, then edit it there.
        const auto from = text_.begin() + rowStart_[Row];
        const std::vector<char16_t> row(from, from + length);
        rowStart_[Row] = text_.size();
        text_.insert(text_.end(), row.begin(), row.end());
        garbage_ += length;
    }
    const auto cellBegin = text_.begin() + rowStart_[Row] + begin;
    const auto *chars = reinterpret_cast<const char16_t *>(Text.utf16());
    text_.erase(cellBegin, cellBegin + (end - begin));
    text_.insert(text_.begin() + rowStart_[Row] + begin, chars, chars + Text.size());
    const std::int64_t delta = std::int64_t(Text.size()) - std::int64_t(end - begin);
    for (int c = Col; c < cols_; ++c)
        ends_[base + c] = std::uint32_t(std::int64_t(ends_[base + c]) + delta);
    compactIfWasteful();
}

void TGridStore::beginRow(int Row)
{
    ensureRow(Row);
    dropRowText(Row);
}

void TGridStore::SetRow(int Row, std::span<const QString> Texts)
{
    WriteRow(Row, [&Texts](int c, std::vector<char16_t> &buffer) {
        if (std::size_t(c) >= Texts.size())
            return;
        const auto *chars = reinterpret_cast<const char16_t *>(Texts[c].utf16());
        buffer.insert(buffer.end(), chars, chars + Texts[c].size());
    });
}

void TGridStore::compactIfWasteful()
{
    if (garbage_ < minCompactWaste || garbage_ * 2 < text_.size())
        return;
    std::vector<char16_t> text;
    text.reserve(text_.size() - garbage_);
    for (int r = 0; r < StoredRows(); ++r) {
        const std::uint64_t from = rowStart_[r];
        rowStart_[r] = text.size();
        text.insert(text.end(), text_.begin() + from, text_.begin() + from + rowLength(r));
    }
    text_ = std::move(text);
    garbage_ = 0;
}

void TGridStore::Squeeze()
{
    text_.shrink_to_fit();
    rowStart_.shrink_to_fit();
    ends_.shrink_to_fit();
}

std::size_t TGridStore::MemoryBytes() const
{
    return text_.capacity() * sizeof(char16_t) + rowStart_.capacity() * sizeof(std::uint64_t) +
           ends_.capacity() * sizeof(std::uint32_t);
}
