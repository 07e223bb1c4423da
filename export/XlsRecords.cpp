#include "export/XlsRecords.h"

#include <QtEndian>

#include <cstring>
#include <stdexcept>

void TxlsPayload::need(int count) const
{
    if (count > MaxSize - size_)
        throw std::length_error("BIFF record payload over 8224 bytes");
}

TxlsPayload &TxlsPayload::u8(quint8 v)
{
    need(1);
    *end() = char(v);
    ++size_;
    return *this;
}

TxlsPayload &TxlsPayload::u16(quint16 v)
{
    need(2);
    qToLittleEndian(v, end());
    size_ += 2;
    return *this;
}

TxlsPayload &TxlsPayload::u32(quint32 v)
{
    need(4);
    qToLittleEndian(v, end());
    size_ += 4;
    return *this;
}

TxlsPayload &TxlsPayload::f64(double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    need(8);
    qToLittleEndian(bits, end());
    size_ += 8;
    return *this;
}

TxlsPayload &TxlsPayload::zeros(int count)
{
    need(count);
    std::memset(end(), 0, size_t(count));
    size_ += count;
    return *this;
}

TxlsPayload &TxlsPayload::bytes(const char *data, int count)
{
    need(count);
    std::memcpy(end(), data, size_t(count));
    size_ += count;
    return *this;
}

TxlsPayload &TxlsPayload::utf16(const QChar *text, int count)
{
    need(2 * count);
    qToLittleEndian<quint16>(text, count, end());
    size_ += 2 * count;
    return *this;
}

TxlsRecordWriter::TxlsRecordWriter(Sink sink) : sink_(std::move(sink)) {}

const char *TxlsPayload::frame(quint16 type)
{
    qToLittleEndian(type, buffer_.data());
    qToLittleEndian(quint16(size_), buffer_.data() + 2);
    return buffer_.data();
}

void TxlsRecordWriter::write(quint16 type, TxlsPayload &payload)
{
    const char *record = payload.frame(type);
    if (sink_)
        sink_(record, payload.frameSize());
    offset_ += quint64(payload.frameSize());
}

void TxlsRecordWriter::write(quint16 type)
{
    TxlsPayload empty;
    write(type, empty);
}

void TxlsRecordWriter::writeWord(quint16 type, quint16 value)
{
    TxlsPayload p;
    p.u16(value);
    write(type, p);
}
