#pragma once

#include <QString>
#include <QtGlobal>

#include <array>
#include <functional>

// The BIFF8 record layer: a record is its 16-bit type, the 16-bit length of its payload and
// the payload, little-endian, the payload at most 8224 bytes.

namespace xlsRecord {
enum Type : quint16 {
    Dimensions = 0x0200,
    Blank = 0x0201,
    Number = 0x0203,
    BoolErr = 0x0205,
    DefaultRowHeight = 0x0225,
    Window2 = 0x023E,
    Style = 0x0293,
    Bof = 0x0809,
    Format = 0x041E,
    Eof = 0x000A,
    CalcCount = 0x000C,
    CalcMode = 0x000D,
    Precision = 0x000E,
    RefMode = 0x000F,
    Delta = 0x0010,
    Iteration = 0x0011,
    Protect = 0x0012,
    Password = 0x0013,
    Header = 0x0014,
    Footer = 0x0015,
    WindowProtect = 0x0019,
    Selection = 0x001D,
    DateMode = 0x0022,
    PrintHeaders = 0x002A,
    PrintGridlines = 0x002B,
    Font = 0x0031,
    Continue = 0x003C,
    Window1 = 0x003D,
    Backup = 0x0040,
    CodePage = 0x0042,
    DefColWidth = 0x0055,
    WriteAccess = 0x005C,
    SaveRecalc = 0x005F,
    ColInfo = 0x007D,
    Guts = 0x0080,
    WsBool = 0x0081,
    GridSet = 0x0082,
    HCenter = 0x0083,
    VCenter = 0x0084,
    BoundSheet = 0x0085,
    Country = 0x008C,
    HideObj = 0x008D,
    Palette = 0x0092,
    FnGroupCount = 0x009C,
    BookBool = 0x00DA,
    Xf = 0x00E0,
    Sst = 0x00FC,
    LabelSst = 0x00FD,
    Dsf = 0x0161,
    Prot4Rev = 0x01AF,
    RefreshAll = 0x01B7,
    Prot4RevPass = 0x01BC,
};
}

// The payload of one record, built in place behind room for the record's own header.
class TxlsPayload {
public:
    static constexpr int MaxSize = 8224;

    TxlsPayload &u8(quint8 v);
    TxlsPayload &u16(quint16 v);
    TxlsPayload &u32(quint32 v);
    TxlsPayload &f64(double v);
    TxlsPayload &zeros(int count);
    TxlsPayload &bytes(const char *data, int count);
    // The characters as 16-bit code units.
    TxlsPayload &utf16(const QChar *text, int count);
    TxlsPayload &utf16(const QString &text) { return utf16(text.constData(), int(text.size())); }

    int size() const { return size_; }
    int room() const { return MaxSize - size_; }
    const char *data() const { return buffer_.data() + HeadSize; }
    void clear() { size_ = 0; }

    // The whole record, its header filled in for the type: frameSize() bytes.
    const char *frame(quint16 type);
    qint64 frameSize() const { return HeadSize + size_; }

private:
    static constexpr int HeadSize = 4;
    char *end() { return buffer_.data() + HeadSize + size_; }
    void need(int count) const;

    std::array<char, HeadSize + MaxSize> buffer_; // only the first frameSize() bytes are set
    int size_ = 0;
};

// Writes records to a byte sink (or only counts them, without one) and knows the stream
// offset it has reached.
class TxlsRecordWriter {
public:
    // Receives the bytes; raises when they cannot be written.
    using Sink = std::function<void(const char *data, qint64 size)>;

    explicit TxlsRecordWriter(Sink sink = {});

    void write(quint16 type, TxlsPayload &payload);
    void write(quint16 type);                    // an empty payload
    void writeWord(quint16 type, quint16 value); // a payload of one 16-bit value
    quint64 offset() const { return offset_; }

private:
    Sink sink_;
    quint64 offset_ = 0;
};
