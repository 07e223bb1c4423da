#pragma once

#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <vector>

// UTF-16 texts kept in chunks that grow with the text from about a thousand to about a million
// characters, each text whole in one chunk: a growing store is never copied into a buffer twice
// its size, which would double the memory a large result peaks at and touch far more fresh
// memory than it keeps. A place in the chunks is the chunk in the high 32 bits and the offset
// within it in the low.
class TTextChunks {
public:
    static std::size_t ChunkOf(std::uint64_t Place) { return std::size_t(Place >> 32); }
    static std::size_t OffsetOf(std::uint64_t Place) { return std::size_t(Place & 0xffffffffU); }

    bool Empty() const { return chunks_.empty(); }
    // The place after the last character.
    std::uint64_t End() const;
    // The characters from a place on.
    const char16_t *At(std::uint64_t Place) const
    {
        return chunks_[ChunkOf(Place)].data() + OffsetOf(Place);
    }
    // The last chunk, where texts are appended and edited; a new one when less than Room
    // characters are left in it (a longer text then grows the chunk it starts in).
    std::vector<char16_t> &WithRoom(std::size_t Room);
    std::vector<char16_t> &Last() { return chunks_.back(); }

    // Characters held, and bytes with the chunks' spare room.
    std::size_t Size() const;
    std::size_t MemoryBytes() const;
    // Gives back the spare room of the last chunk, the only one with much to spare.
    void ShrinkLast();

private:
    std::vector<std::vector<char16_t>> chunks_;
};

// Appends a text's UTF-16 to a buffer of such texts.
inline void AppendUtf16(QStringView Text, std::vector<char16_t> &Out)
{
    const auto *chars = reinterpret_cast<const char16_t *>(Text.utf16());
    Out.insert(Out.end(), chars, chars + Text.size());
}
