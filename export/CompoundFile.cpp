#include "export/CompoundFile.h"

#include "export/ExportErrors.h"

#include <QtEndian>

#include <array>
#include <cstring>

namespace {

constexpr quint32 SectorSize = 512;
constexpr quint32 MiniSectorSize = 64;
constexpr quint32 MiniStreamCutoff = 4096;
constexpr quint32 EntriesPerSector = SectorSize / 4;
constexpr quint32 HeaderDifatEntries = 109;
constexpr quint32 DifatEntriesPerSector = EntriesPerSector - 1; // the last one chains

constexpr quint32 FreeSect = 0xFFFFFFFF;
constexpr quint32 EndOfChain = 0xFFFFFFFE;
constexpr quint32 FatSect = 0xFFFFFFFD;
constexpr quint32 DifSect = 0xFFFFFFFC;
constexpr quint32 NoStream = 0xFFFFFFFF;

using Sector = std::array<char, SectorSize>;

void put16(char *at, quint16 v)
{
    qToLittleEndian(v, at);
}
void put32(char *at, quint32 v)
{
    qToLittleEndian(v, at);
}

quint32 divUp(quint64 a, quint64 b)
{
    return quint32((a + b - 1) / b);
}

void fillEntries(Sector &s, quint32 value)
{
    for (quint32 i = 0; i < EntriesPerSector; ++i)
        put32(s.data() + 4 * i, value);
}

// One 128-byte directory entry; every entry is black and has no siblings, which makes a
// valid red-black tree of a single child.
void putEntry(char *at, const QString &name, quint8 type, quint32 child, quint32 start,
              quint64 size)
{
    std::memset(at, 0, 128);
    const QString n = name.left(31);
    for (qsizetype i = 0; i < n.size(); ++i)
        put16(at + 2 * i, n[i].unicode());
    put16(at + 64, type == 0 ? 0 : quint16(2 * (n.size() + 1)));
    at[66] = char(type);
    at[67] = 1; // black
    put32(at + 68, NoStream);
    put32(at + 72, NoStream);
    put32(at + 76, child);
    put32(at + 116, start);
    put32(at + 120, quint32(size));
}

} // namespace

TCompoundFileWriter::TCompoundFileWriter(Sink sink, QString streamName)
    : sink_(std::move(sink)), streamName_(std::move(streamName))
{
}

void TCompoundFileWriter::begin(quint64 streamSize)
{
    if (streamSize > MaxStreamSize)
        raiseExportError(EQExportError::CompoundTooLarge);
    size_ = streamSize;
    written_ = 0;
    mini_ = streamSize < MiniStreamCutoff;
    // A short stream's mini sectors fill the same number of regular sectors as the stream
    // itself would, so its bytes can be written in place either way.
    dataSectors_ = divUp(streamSize, SectorSize);
    miniFatCount_ = mini_ && streamSize > 0 ? 1 : 0;
    miniFatSector_ = dataSectors_;
    dirSector_ = dataSectors_ + miniFatCount_;
    fatStart_ = dirSector_ + 1;
    // The FAT covers itself and the DIFAT sectors that list it: grow both until they fit.
    fatCount_ = 1;
    difatCount_ = 0;
    for (;;) {
        const quint32 total = fatStart_ + fatCount_ + difatCount_;
        const quint32 fat = divUp(total, EntriesPerSector);
        const quint32 difat =
            fat > HeaderDifatEntries ? divUp(fat - HeaderDifatEntries, DifatEntriesPerSector) : 0;
        if (fat == fatCount_ && difat == difatCount_)
            break;
        fatCount_ = fat;
        difatCount_ = difat;
    }
    difatStart_ = fatStart_ + fatCount_;

    Sector h{};
    static const unsigned char signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::memcpy(h.data(), signature, 8);
    put16(h.data() + 0x18, 0x003E);
    put16(h.data() + 0x1A, 0x0003);
    put16(h.data() + 0x1C, 0xFFFE);
    put16(h.data() + 0x1E, 9);
    put16(h.data() + 0x20, 6);
    put32(h.data() + 0x2C, fatCount_);
    put32(h.data() + 0x30, dirSector_);
    put32(h.data() + 0x38, MiniStreamCutoff);
    put32(h.data() + 0x3C, miniFatCount_ ? miniFatSector_ : EndOfChain);
    put32(h.data() + 0x40, miniFatCount_);
    put32(h.data() + 0x44, difatCount_ ? difatStart_ : EndOfChain);
    put32(h.data() + 0x48, difatCount_);
    for (quint32 i = 0; i < HeaderDifatEntries; ++i)
        put32(h.data() + 0x4C + 4 * i, i < fatCount_ ? fatStart_ + i : FreeSect);
    writeSector(h.data());
}

void TCompoundFileWriter::write(const char *data, qint64 size)
{
    if (written_ + quint64(size) > size_)
        raiseExportError(EQExportError::CompoundTooLong);
    sink_(data, size);
    written_ += quint64(size);
}

void TCompoundFileWriter::finish()
{
    if (written_ != size_)
        raiseExportError(EQExportError::CompoundTooShort);
    const quint32 tail = quint32(size_ % SectorSize);
    if (tail) {
        const Sector zeros{};
        sink_(zeros.data(), SectorSize - tail);
    }
    if (miniFatCount_) {
        Sector s;
        fillEntries(s, FreeSect);
        const quint32 miniSectors = divUp(size_, MiniSectorSize);
        for (quint32 i = 0; i < miniSectors; ++i)
            put32(s.data() + 4 * i, i + 1 < miniSectors ? i + 1 : EndOfChain);
        writeSector(s.data());
    }
    writeDirectory();
    writeFatSectors();
    writeDifatSectors();
}

void TCompoundFileWriter::writeSector(const char *data)
{
    sink_(data, SectorSize);
}

quint32 TCompoundFileWriter::fatEntry(quint32 sector) const
{
    if (sector < dataSectors_)
        return sector + 1 < dataSectors_ ? sector + 1 : EndOfChain;
    if (sector < fatStart_) // the mini FAT and the directory, one sector each
        return EndOfChain;
    if (sector < difatStart_)
        return FatSect;
    if (sector < difatStart_ + difatCount_)
        return DifSect;
    return FreeSect;
}

void TCompoundFileWriter::writeFatSectors()
{
    Sector s;
    for (quint32 f = 0; f < fatCount_; ++f) {
        for (quint32 i = 0; i < EntriesPerSector; ++i)
            put32(s.data() + 4 * i, fatEntry(f * EntriesPerSector + i));
        writeSector(s.data());
    }
}

void TCompoundFileWriter::writeDifatSectors()
{
    Sector s;
    for (quint32 d = 0; d < difatCount_; ++d) {
        fillEntries(s, FreeSect);
        for (quint32 i = 0; i < DifatEntriesPerSector; ++i) {
            const quint32 fat = HeaderDifatEntries + d * DifatEntriesPerSector + i;
            if (fat < fatCount_)
                put32(s.data() + 4 * i, fatStart_ + fat);
        }
        put32(s.data() + 4 * DifatEntriesPerSector,
              d + 1 < difatCount_ ? difatStart_ + d + 1 : EndOfChain);
        writeSector(s.data());
    }
}

void TCompoundFileWriter::writeDirectory()
{
    Sector s{};
    const bool hasData = size_ > 0;
    const quint64 miniStreamSize = mini_ ? quint64(divUp(size_, MiniSectorSize)) * 64 : 0;
    putEntry(s.data(), QStringLiteral("Root Entry"), 5, 1, mini_ && hasData ? 0 : EndOfChain,
             miniStreamSize);
    putEntry(s.data() + 128, streamName_, 2, NoStream, hasData ? 0 : EndOfChain, size_);
    putEntry(s.data() + 256, {}, 0, NoStream, 0, 0);
    putEntry(s.data() + 384, {}, 0, NoStream, 0, 0);
    writeSector(s.data());
}
