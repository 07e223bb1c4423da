#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

// Writes a compound file (the published structured-storage format, version 3 with 512-byte
// sectors) that holds one stream below the root. The stream's size is given up front, so
// its bytes pass straight through to the output: the stream's sectors come first, its
// tables (mini FAT for a stream below 4096 bytes, directory, FAT, DIFAT) after them.
class TCompoundFileWriter {
public:
    // Receives the file's bytes in order; raises when they cannot be written. The writer's own
    // faults (a stream too large, or longer or shorter than announced) raise EQExportError.
    using Sink = std::function<void(const char *data, qint64 size)>;

    // A version 3 file must stay below 2 GB; this leaves room for the stream's tables.
    static constexpr quint64 MaxStreamSize = 0x7E000000;

    TCompoundFileWriter(Sink sink, QString streamName);

    // Writes the header; streamSize (at most MaxStreamSize) is the number of bytes that
    // write() will be given in total.
    void begin(quint64 streamSize);
    void write(const char *data, qint64 size);
    // Pads the last sector and writes the tables.
    void finish();

private:
    void writeSector(const char *data);
    void writeFatSectors();
    void writeDifatSectors();
    void writeDirectory();
    quint32 fatEntry(quint32 sector) const;

    Sink sink_;
    QString streamName_;
    quint64 size_ = 0;
    quint64 written_ = 0;
    bool mini_ = false;       // the stream lives in the mini stream
    quint32 dataSectors_ = 0; // the stream's (or the mini stream's) sectors, from 0
    quint32 miniFatSector_ = 0;
    quint32 miniFatCount_ = 0;
    quint32 dirSector_ = 0;
    quint32 fatStart_ = 0;
    quint32 fatCount_ = 0;
    quint32 difatStart_ = 0;
    quint32 difatCount_ = 0;
};
