#include "common/TextChunks.h"

#include <algorithm>

namespace {
constexpr std::size_t firstChunkChars = 1 << 10;
constexpr std::size_t largestChunkChars = 1 << 20;
} // namespace

std::uint64_t TTextChunks::End() const
{
    return chunks_.empty() ? 0 : (std::uint64_t(chunks_.size() - 1) << 32) | chunks_.back().size();
}

std::vector<char16_t> &TTextChunks::WithRoom(std::size_t Room)
{
    if (chunks_.empty() || chunks_.back().capacity() - chunks_.back().size() < Room)
        chunks_.emplace_back().reserve(
            std::max(Room, std::clamp(Size(), firstChunkChars, largestChunkChars)));
    return chunks_.back();
}

std::size_t TTextChunks::Size() const
{
    std::size_t size = 0;
    for (const std::vector<char16_t> &chunk : chunks_)
        size += chunk.size();
    return size;
}

std::size_t TTextChunks::MemoryBytes() const
{
    std::size_t bytes = chunks_.capacity() * sizeof(std::vector<char16_t>);
    for (const std::vector<char16_t> &chunk : chunks_)
        bytes += chunk.capacity() * sizeof(char16_t);
    return bytes;
}

void TTextChunks::ShrinkLast()
{
    if (!chunks_.empty())
        chunks_.back().shrink_to_fit();
}
