#include "export/QExport4XLS.h"
#include "tests/export/BiffStream.h"
#include "tests/export/ExportFixtures.h"
#include "tests/support/Readers.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

QList<BiffRecord> workbookRecords(const QString &path)
{
    const OleView ole = readWithOlefile(path);
    EXPECT_EQ(ole.error, "");
    EXPECT_EQ(ole.streams, QStringList{"Workbook"});
    return splitRecords(ole.firstStream);
}

QList<quint16> typesOf(const QList<BiffRecord> &records, qsizetype from, qsizetype count)
{
    QList<quint16> types;
    for (qsizetype i = from; i < from + count && i < records.size(); ++i)
        types.append(records[i].type);
    return types;
}

// The whole stream: globals, the inset at its place, sheets whose offsets the directory names.
TEST(XlsWorkbook_Readers, StreamLayoutOffsetsAndDimensions)
{
    TempDir dir;
    TExportModel m = gridModel(dir.file("w.xls"), 3);
    m.Rows = rowsFromList(sampleRows(4, 3));
    TQExport4XLS().Execute(m);
    const QList<BiffRecord> r = workbookRecords(m.FileName);
    ASSERT_GT(r.size(), 60);
    QList<quint16> expected = {0x0809, 0x005C, 0x0042, 0x0161, 0x009C, 0x0019,
                               0x0012, 0x0013, 0x01AF, 0x01BC, 0x003D, 0x0040,
                               0x008D, 0x0022, 0x000E, 0x01B7, 0x00DA};
    for (int i = 0; i < 6; ++i)
        expected.append(0x0031);
    for (int i = 0; i < 5; ++i)
        expected.append(0x041E);
    for (int i = 0; i < 16 + 7; ++i)
        expected.append(0x00E0);
    for (int i = 0; i < 6; ++i)
        expected.append(0x0293);
    expected += {0x0092, 0x0085, 0x008C, 0x00FC, 0x000A, 0x0809};
    EXPECT_EQ(typesOf(r, 0, expected.size()), expected);
    const BiffRecord &palette = r[17 + 6 + 5 + 23 + 6];
    EXPECT_EQ(palette.payload.size(), 2 + 56 * 4);
    EXPECT_EQ(palette.payload.mid(2, 8), hex("00 00 00 00 ff ff ff 00"));
    const BiffRecord &boundSheet = r[17 + 6 + 5 + 23 + 6 + 1];
    const qint64 bof = u32At(boundSheet.payload, 0);
    const BiffRecord &sheetBof = r[expected.size() - 1];
    EXPECT_EQ(bof, sheetBof.offset);
    EXPECT_EQ(boundSheet.payload.mid(4),
              hex("00 00 07 01 53 00 68 00 65 00 65 00 74 00 20 00 31 00"));
    // FORMAT strings in registration order
    EXPECT_EQ(u16At(r[23].payload, 0), 50);
    for (const BiffRecord &rec : r)
        if (rec.type == 0x0200) { // rows 1 (row 0 is empty) to 8, columns 0 to 2
            EXPECT_EQ(rec.payload.toHex(' '),
                      hex("01 00 00 00 09 00 00 00 00 00 03 00 00 00").toHex(' '));
        }
}

struct NumberingCase {
    const char *name;
    QString top;
    int captionXf, dataXf, captionFont;
};

void PrintTo(const NumberingCase &c, std::ostream *os)
{
    *os << c.name;
}

class XlsNumbering_Readers : public ::testing::TestWithParam<NumberingCase> {};

TEST_P(XlsNumbering_Readers, FontsAndCellFormatsByFirstUse)
{
    TempDir dir;
    TExportModel m = gridModel(dir.file("n.xls"), 2, GetParam().top);
    m.Rows = rowsFromList(sampleRows(2, 2));
    TQExport4XLS().Execute(m);
    int captionXf = -1, dataXf = -1;
    QList<BiffRecord> fonts;
    QList<int> headerXfs;
    for (const BiffRecord &rec : workbookRecords(m.FileName)) {
        if (rec.type == 0x0031)
            fonts.append(rec);
        if (rec.type != 0x00FD && rec.type != 0x0201)
            continue;
        const int row = u16At(rec.payload, 0), xf = u16At(rec.payload, 4);
        if (row == 2)
            captionXf = xf;
        else if (row == 3)
            dataXf = xf;
        else
            headerXfs.append(xf);
    }
    EXPECT_EQ(captionXf, GetParam().captionXf);
    EXPECT_EQ(dataXf, GetParam().dataXf);
    for (const int xf : headerXfs)
        EXPECT_EQ(xf, dataXf); // header and footer share the data's format
    ASSERT_EQ(fonts.size(), 6);
    EXPECT_EQ(u16At(fonts[GetParam().captionFont - 1].payload, 6), 700);
}

INSTANTIATE_TEST_SUITE_P(Cases, XlsNumbering_Readers,
                         ::testing::Values(NumberingCase{"topTitle", "Верх", 22, 21, 6},
                                           NumberingCase{"noTopTitle", "", 21, 22, 5}),
                         [](const auto &p) { return std::string(p.param.name); });

// What xlrd sees in the cells.
struct ContentCase {
    const char *name;
    QList<TExportColumn> columns;
    QStringList header;
    QList<QStringList> rows;
    QList<QStringList> expected; // every row as xlrd reads it, trailing empty cells left out
};

void PrintTo(const ContentCase &c, std::ostream *os)
{
    *os << c.name;
}

class XlsContent_Readers : public ::testing::TestWithParam<ContentCase> {};

TEST_P(XlsContent_Readers, XlrdFindsEveryText)
{
    const ContentCase &c = GetParam();
    TempDir dir;
    TExportModel m;
    m.FileName = dir.file("c.xls");
    m.Columns = c.columns;
    m.Header = c.header;
    m.Rows = rowsFromList(c.rows);
    TQExport4XLS().Execute(m);
    const XlsBookView book = readXlsWithXlrd(m.FileName);
    ASSERT_EQ(book.error, "");
    ASSERT_EQ(book.sheets.size(), 1);
    EXPECT_EQ(book.sheets[0].name, "Sheet 1");
    EXPECT_EQ(book.sheets[0].rows, c.expected);
}

QList<TExportColumn> columns(int n)
{
    QList<TExportColumn> list;
    for (int k = 0; k < n; ++k)
        list.append({QStringLiteral("ColNo_%1").arg(k), 5});
    return list;
}

QStringList captions(int n)
{
    QStringList list;
    for (const TExportColumn &c : columns(n))
        list.append(c.FCaption);
    return list;
}

QStringList wide(int n)
{
    QStringList row;
    for (int k = 0; k < n; ++k)
        row.append(QStringLiteral("ячейка %1").arg(k));
    return row;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XlsContent_Readers,
    ::testing::Values(
        ContentCase{"cyrillic",
                    columns(2),
                    {},
                    {{"Привет, мир", "Ёжик №5 «в тумане»"}},
                    {captions(2), {"Привет, мир", "Ёжик №5 «в тумане»"}}},
        ContentCase{"headerTabs",
                    columns(1),
                    {"", "первый\tвторой", "\t\tтретий\t"},
                    {},
                    {{}, {"первый", "второй"}, {"", "", "третий"}, captions(1)}},
        ContentCase{"lineEnds",
                    columns(3),
                    {},
                    {{"a\r\nb", "c\rd", "e\nf"}},
                    {captions(3), {"a\nb", "c\nd", "e\nf"}}},
        ContentCase{"emptyCells",
                    columns(3),
                    {},
                    {{"", "x", ""}, {}, {"y"}},
                    {captions(3), {"", "x"}, {}, {"y"}}},
        ContentCase{"columns255", columns(255), {}, {wide(255)}, {captions(255), wide(255)}},
        ContentCase{"columns256", columns(256), {}, {wide(256)}, {captions(256), wide(256)}}),
    [](const auto &p) { return std::string(p.param.name); });

TEST(XlsContent_Readers, EmptyCellsAreBlankAndWidthsAreKept)
{
    TempDir dir;
    TExportModel m = gridModel(dir.file("b.xls"), 3);
    m.Columns[0].FWidth = 0;
    m.Columns[1].FWidth = 10;
    m.Columns[2].FWidth = 300;
    m.ZeroWidth = 7;
    m.Rows = rowsFromList({{"", "x", ""}});
    TQExport4XLS().Execute(m);
    const XlsBookView book = readXlsWithXlrd(m.FileName);
    ASSERT_EQ(book.error, "");
    const XlsSheetView &s = book.sheets.value(0);
    EXPECT_EQ(s.columnWidths, (QList<int>{293, 2853, 65535}));
    EXPECT_EQ(s.blankCells, (QList<int>{3 * 256 + 0, 3 * 256 + 2}));
}

// A sheet holds 65536 rows: 2 header, 1 caption and 2 footer rows leave 65531 for data.
TEST(XlsContinuation_Readers, EveryDataRowOnceEverySheetFramed)
{
    constexpr int perSheet = 65531;
    constexpr int total = 2 * perSheet + 7;
    TempDir dir;
    TExportModel m = gridModel(dir.file("big.xls"), 2);
    int next = 0;
    m.Rows = [&next](QStringList &row) {
        if (next == total)
            return false;
        row = {QString::number(next), QStringLiteral("строка %1").arg(next)};
        ++next;
        return true;
    };
    TQExport4XLS().Execute(m);
    const XlsBookView book = readXlsWithXlrd(m.FileName);
    ASSERT_EQ(book.error, "");
    ASSERT_EQ(book.sheets.size(), 3);
    int expectedRow = 0;
    for (int s = 0; s < 3; ++s) {
        const XlsSheetView &sheet = book.sheets[s];
        EXPECT_EQ(sheet.name, QStringLiteral("Sheet %1").arg(s + 1));
        const int data = s < 2 ? perSheet : 7;
        ASSERT_EQ(sheet.rows.size(), 2 + 1 + data + 2) << s;
        EXPECT_EQ(sheet.rows[0], QStringList{});
        EXPECT_EQ(sheet.rows[1], QStringList{"Верх"});
        EXPECT_EQ(sheet.rows[2], (QStringList{"ColNo_0", "ColNo_1"}));
        for (int i = 0; i < data; ++i, ++expectedRow)
            ASSERT_EQ(sheet.rows[3 + i],
                      (QStringList{QString::number(expectedRow),
                                   QStringLiteral("строка %1").arg(expectedRow)}));
        EXPECT_EQ(sheet.rows[3 + data], QStringList{});
        EXPECT_EQ(sheet.rows[4 + data], QStringList{"Низ"});
    }
    EXPECT_EQ(expectedRow, total);
}

struct BoundaryCase {
    int rows;
    int sheets;
};

void PrintTo(const BoundaryCase &c, std::ostream *os)
{
    *os << c.rows << " rows";
}

class XlsContinuationBoundary_Readers : public ::testing::TestWithParam<BoundaryCase> {};

TEST_P(XlsContinuationBoundary_Readers, NewSheetOnlyWhenARowDoesNotFit)
{
    TempDir dir;
    TExportModel m = gridModel(dir.file("edge.xls"), 1);
    m.Rows = rowsFromList(sampleRows(GetParam().rows, 1));
    TQExport4XLS().Execute(m);
    int sheets = 0;
    QList<int> windowOptions;
    for (const BiffRecord &rec : workbookRecords(m.FileName)) {
        sheets += rec.type == 0x0085;
        if (rec.type == 0x023E)
            windowOptions.append(u16At(rec.payload, 0));
    }
    EXPECT_EQ(sheets, GetParam().sheets);
    ASSERT_EQ(windowOptions.size(), GetParam().sheets);
    EXPECT_EQ(windowOptions[0], 0x06B6);
    for (int i = 1; i < windowOptions.size(); ++i)
        EXPECT_EQ(windowOptions[i], 0x04B6);
}

INSTANTIATE_TEST_SUITE_P(Cases, XlsContinuationBoundary_Readers,
                         ::testing::Values(BoundaryCase{0, 1}, BoundaryCase{65531, 1},
                                           BoundaryCase{65532, 2}),
                         [](const auto &p) { return "Rows" + std::to_string(p.param.rows); });

} // namespace
