#pragma once

#include "export/XlsRecords.h"

#include <QByteArray>
#include <QList>

// Test helpers over BIFF8 bytes: records captured from a writer, or split out of a
// workbook stream that an independent reader handed back.

struct BiffRecord {
    quint16 type = 0;
    QByteArray payload;
    qint64 offset = 0; // of the record's header in the stream
};

QList<BiffRecord> splitRecords(const QByteArray &stream);

// A record writer whose bytes land in the array.
TxlsRecordWriter captureWriter(QByteArray &into);

// Bytes from a hex text such as "09 08 10 00".
QByteArray hex(const char *text);

quint16 u16At(const QByteArray &b, qsizetype at);
quint32 u32At(const QByteArray &b, qsizetype at);
