#include "tests/export/BiffStream.h"

#include <QtEndian>

QList<BiffRecord> splitRecords(const QByteArray &stream)
{
    QList<BiffRecord> records;
    qsizetype at = 0;
    while (at + 4 <= stream.size()) {
        BiffRecord r;
        r.offset = at;
        r.type = u16At(stream, at);
        const quint16 size = u16At(stream, at + 2);
        r.payload = stream.mid(at + 4, size);
        records.append(r);
        at += 4 + size;
    }
    return records;
}

TxlsRecordWriter captureWriter(QByteArray &into)
{
    return TxlsRecordWriter([&into](const char *data, qint64 size) { into.append(data, size); });
}

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

quint16 u16At(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

quint32 u32At(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}
