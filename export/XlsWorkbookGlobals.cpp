#include "export/XlsWorkbookGlobals.h"

#include <cstring>

namespace {

// The default BIFF8 palette, colour indices 8 to 63, as 0xRRGGBB.
const quint32 DefaultPalette[56] = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,
};

const char WriterName[] = "Quorvel report generator";

} // namespace

void writeGlobalsHead(TxlsRecordWriter &w)
{
    TxlsPayload p;
    p.u16(0x0600).u16(0x0005).u16(3515).u16(1996).u32(0).u32(0x0206);
    w.write(xlsRecord::Bof, p);
    char access[112];
    std::memset(access, ' ', sizeof access);
    access[0] = 1;
    access[1] = 0;
    access[2] = 0;
    std::memcpy(access + 3, WriterName, sizeof WriterName - 1);
    p.clear();
    p.bytes(access, sizeof access);
    w.write(xlsRecord::WriteAccess, p);
    w.writeWord(xlsRecord::CodePage, 1251);
    w.writeWord(xlsRecord::Dsf, 0);
    w.writeWord(xlsRecord::FnGroupCount, 14);
    w.writeWord(xlsRecord::WindowProtect, 0);
    w.writeWord(xlsRecord::Protect, 0);
    w.writeWord(xlsRecord::Password, 0);
    w.writeWord(xlsRecord::Prot4Rev, 0);
    w.writeWord(xlsRecord::Prot4RevPass, 0);
    p.clear();
    p.u16(120).u16(120).u16(23820).u16(15720).u16(0x0038).u16(0).u16(0).u16(1).u16(600);
    w.write(xlsRecord::Window1, p);
    w.writeWord(xlsRecord::Backup, 0);
    w.writeWord(xlsRecord::HideObj, 0);
    w.writeWord(xlsRecord::DateMode, 0);
    w.writeWord(xlsRecord::Precision, 1);
    w.writeWord(xlsRecord::RefreshAll, 0);
    w.writeWord(xlsRecord::BookBool, 0);
}

void writeGlobalInset(TxlsRecordWriter &w, const TxlsFormatLists &lists,
                      const TxlsBoundSheetList &sheets, const TsstStrings &strings,
                      quint64 sheetsOffset)
{
    lists.write(w);
    TxlsPayload p;
    p.u16(56);
    for (const quint32 rgb : DefaultPalette)
        p.u8(quint8(rgb >> 16)).u8(quint8(rgb >> 8)).u8(quint8(rgb)).u8(0);
    w.write(xlsRecord::Palette, p);
    for (const TxlsBoundSheet &sheet : sheets) {
        const QString title = sheet.FTitle.left(255);
        p.clear();
        p.u32(quint32(sheetsOffset + sheet.FBofOffset))
            .u8(0)
            .u8(0)
            .u8(quint8(title.size()))
            .u8(1)
            .utf16(title);
        w.write(xlsRecord::BoundSheet, p);
    }
    p.clear();
    p.u16(1).u16(1);
    w.write(xlsRecord::Country, p);
    strings.write(w);
}
