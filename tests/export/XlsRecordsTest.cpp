#include "export/ExportErrors.h"
#include "export/XlsFormatLists.h"
#include "export/XlsNumberFormats.h"
#include "export/XlsSharedStrings.h"
#include "export/XlsSheet.h"
#include "export/XlsWorkbookGlobals.h"
#include "tests/export/BiffStream.h"

#include <gtest/gtest.h>

namespace {

struct RecordCase {
    quint16 type;
    const char *payload; // hex
};

void expectRecords(const QList<BiffRecord> &records, const QList<RecordCase> &expected)
{
    ASSERT_EQ(records.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(records[i].type, expected[i].type) << "record " << i;
        if (expected[i].payload) {
            EXPECT_EQ(records[i].payload.toHex(' '), hex(expected[i].payload).toHex(' '))
                << "record " << i << " type " << std::hex << expected[i].type;
        }
    }
}

TEST(XlsGlobals, HeadRecordsInOrderWithTheirPayloads)
{
    QByteArray bytes;
    TxlsRecordWriter w = captureWriter(bytes);
    writeGlobalsHead(w);
    const QList<BiffRecord> records = splitRecords(bytes);
    expectRecords(records, {
                               {0x0809, "00 06 05 00 bb 0d cc 07 00 00 00 00 06 02 00 00"},
                               {0x005C, nullptr},
                               {0x0042, "e3 04"},
                               {0x0161, "00 00"},
                               {0x009C, "0e 00"},
                               {0x0019, "00 00"},
                               {0x0012, "00 00"},
                               {0x0013, "00 00"},
                               {0x01AF, "00 00"},
                               {0x01BC, "00 00"},
                               {0x003D, "78 00 78 00 0c 5d 68 3d 38 00 00 00 00 00 01 00 58 02"},
                               {0x0040, "00 00"},
                               {0x008D, "00 00"},
                               {0x0022, "00 00"},
                               {0x000E, "01 00"},
                               {0x01B7, "00 00"},
                               {0x00DA, "00 00"},
                           });
    const QByteArray access = records[1].payload;
    ASSERT_EQ(access.size(), 112);
    EXPECT_EQ(access.left(3), hex("01 00 00"));
    EXPECT_TRUE(access.endsWith("    ")); // padded with blanks
}

TEST(XlsFormatLists, DefaultFontsXfsAndStyles)
{
    TxlsFormatLists lists{TxlsFormat{}};
    QByteArray bytes;
    TxlsRecordWriter w = captureWriter(bytes);
    lists.write(w);
    const char *font =
        "c8 00 00 00 08 00 90 01 00 00 00 00 01 00 05 01 61 00 72 00 69 00 61 00 6c 00";
    const char *styleXf = "00 00 00 00 f5 ff 20 00 00 f4 00 00 00 00 00 00 00 00 c0 20";
    QList<RecordCase> expected = {{0x0031, font}, {0x0031, font}, {0x0031, font}, {0x0031, font}};
    expected.append({0x00E0, "00 00 00 00 f5 ff 20 00 00 00 00 00 00 00 00 00 00 00 c0 20"});
    for (int i = 0; i < 2; ++i)
        expected.append({0x00E0, "01 00 00 00 f5 ff 20 00 00 f4 00 00 00 00 00 00 00 00 c0 20"});
    for (int i = 0; i < 2; ++i)
        expected.append({0x00E0, "02 00 00 00 f5 ff 20 00 00 f4 00 00 00 00 00 00 00 00 c0 20"});
    for (int i = 0; i < 10; ++i)
        expected.append({0x00E0, styleXf});
    expected.append({0x00E0, "01 00 00 00 01 00 20 00 00 00 00 00 00 00 00 00 00 00 c0 20"});
    for (const char *style :
         {"10 80 03 ff", "11 80 06 ff", "12 80 04 ff", "13 80 07 ff", "00 80 00 ff", "14 80 05 ff"})
        expected.append({0x0293, style});
    expectRecords(splitRecords(bytes), expected);
}

// Entries start from the default cell format 15, whose font is 1.
struct XfCase {
    const char *name;
    TxlsXFormat format;
    const char *bytes;
};

void PrintTo(const XfCase &c, std::ostream *os)
{
    *os << c.name;
}

TxlsXFormat withFont(int font)
{
    TxlsXFormat f;
    f.FFont = font;
    return f;
}

TxlsXFormat withNumberFormat(int format)
{
    TxlsXFormat f;
    f.FNumberFormat = format;
    return f;
}

TxlsXFormat everything()
{
    TxlsXFormat f;
    f.FHorizontal = TxlsHorizontal::Left;
    f.FVertical = TxlsVertical::Top;
    f.FWrap = true;
    f.FRotation = 45;
    f.FIndent = 3;
    f.FBorders[bsLeft] = {TxlsBorderStyle::Thin, TxlsColor::Red};
    f.FBorders[bsRight] = {TxlsBorderStyle::Medium, TxlsColor::Blue};
    f.FBorders[bsTop] = {TxlsBorderStyle::Dashed, TxlsColor::Green};
    f.FBorders[bsBottom] = {TxlsBorderStyle::Thick, TxlsColor::Black};
    f.FFill = {TxlsColor::Yellow, TxlsPattern::Solid, TxlsColor::Red};
    return f;
}

class XlsXfEncoding : public ::testing::TestWithParam<XfCase> {};

TEST_P(XlsXfEncoding, Bytes)
{
    TxlsPayload p;
    encodeXF(GetParam().format, p);
    EXPECT_EQ(QByteArray(p.data(), p.size()).toHex(' '), hex(GetParam().bytes).toHex(' '));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XlsXfEncoding,
    ::testing::Values(XfCase{"font", withFont(5),
                             "05 00 00 00 01 00 20 00 00 58 00 00 00 00 00 00 00 00 09 04"},
                      XfCase{"numberFormat", withNumberFormat(50),
                             "01 00 32 00 01 00 20 00 00 50 00 00 00 00 00 00 00 00 09 04"},
                      XfCase{"bordersFillAlignment", everything(),
                             "01 00 00 00 01 00 09 2d 03 70 21 53 0a 06 11 04 02 04 0d 05"}),
    [](const auto &p) { return std::string(p.param.name); });

// The order in which a sheet asks for cell formats decides their numbers and those of the fonts.
TEST(XlsFormatLists, NumberingFollowsFirstUse)
{
    TxlsFormat plain, bold;
    bold.FFont.FStyle = fsBold;
    for (const bool topTitle : {true, false}) {
        TxlsFormatLists lists(plain);
        for (const QString &f : xlsNumberFormats(TxlsRegional{}))
            lists.AddXF(f, nullptr);
        if (topTitle) {
            EXPECT_EQ(lists.AddXF(xlsGeneral, &plain), 21); // header
            EXPECT_EQ(lists.AddXF(xlsGeneral, &bold), 22);  // captions
            EXPECT_EQ(lists.AddXF(QString(), &plain), 21);  // data, an empty string is "General"
        } else {
            EXPECT_EQ(lists.AddXF(xlsGeneral, &bold), 21);
            EXPECT_EQ(lists.AddXF(xlsGeneral, &plain), 22);
        }
        EXPECT_EQ(lists.AddXF(xlsGeneral, nullptr), 15);
        EXPECT_EQ(lists.AddXF(QStringLiteral("h:mm"), nullptr), 20); // found again
        QByteArray bytes;
        TxlsRecordWriter w = captureWriter(bytes);
        lists.write(w);
        QList<BiffRecord> fonts, formats, xfs;
        for (const BiffRecord &r : splitRecords(bytes))
            (r.type == 0x0031 ? fonts : r.type == 0x041E ? formats : xfs).append(r);
        ASSERT_EQ(fonts.size(), 6);
        EXPECT_EQ(u16At(fonts[4].payload, 6), topTitle ? 400 : 700); // font 5
        EXPECT_EQ(u16At(fonts[5].payload, 6), topTitle ? 700 : 400); // font 6
        ASSERT_EQ(formats.size(), 5);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(u16At(formats[i].payload, 0), 50 + i);
        EXPECT_EQ(xfs.size(), 16 + 7 + 6); // XF and STYLE
    }
}

TEST(XlsNumberFormats, RussianSettingsWithWorkbookSeparators)
{
    EXPECT_EQ(xlsNumberFormats(TxlsRegional{}),
              (QStringList{QStringLiteral("#,###,##0.00 \u20BD"), "dd.mm.yyyy h:mm", "#,###,##0.00",
                           "#,###,##0", "h:mm"}));
    TxlsRegional dots;
    dots.FThousandSeparator = ".";
    dots.FDecimalSeparator = ",";
    dots.FCurrencyString = "$";
    dots.FCurrencyFormat = 0;
    EXPECT_EQ(xlsNumberFormats(dots)[0], "$#,###,##0.00");
}

struct WidthCase {
    int width;
    int zero;
    int expected;
};

void PrintTo(const WidthCase &c, std::ostream *os)
{
    *os << c.width << " chars, zero " << c.zero << " px";
}

class XlsColInfoWidth : public ::testing::TestWithParam<WidthCase> {};

TEST_P(XlsColInfoWidth, NearestHalvesToEvenAtMost65535)
{
    EXPECT_EQ(colInfoWidth(GetParam().width, GetParam().zero), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XlsColInfoWidth,
    ::testing::Values(WidthCase{3, 7, 1061}, WidthCase{0, 7, 293}, WidthCase{10, 8, 2848},
                      WidthCase{0, 512, 256}, WidthCase{1, 512, 512}, WidthCase{253, 1, 65280},
                      WidthCase{254, 1, 65535}, WidthCase{300, 7, 65535}, WidthCase{5, 0, 65535}),
    [](const auto &p) {
        return "Width" + std::to_string(p.param.width) + "Zero" + std::to_string(p.param.zero);
    });

TEST(XlsSheet, PrologCellsAndEpilog)
{
    QByteArray bytes;
    TxlsRecordWriter w = captureWriter(bytes);
    TxlsFormat plain, bold;
    bold.FFont.FStyle = fsBold;
    TxlsFormatLists lists(plain);
    TsstStrings strings;
    TxlsSheet sheet;
    sheet.FTitle = "Sheet 1";
    TxlsBoundSheet bound{0, sheet.FTitle};
    TxlsSheetWriter s(w, lists, strings, {&plain, &bold, &plain, &plain}, sheet, bound);
    s.writeProlog(xlsNumberFormats(TxlsRegional{}), {{"A", 3}, {"B", 10}}, 8);
    s.writeHeader("");
    s.writeHeader("one\ttwo\t");
    s.writeCaptions({{"A", 3}, {"B", 10}});
    s.writeData({"x", ""}, 2);
    s.writeEpilog(false);
    const QList<BiffRecord> records = splitRecords(bytes);
    expectRecords(
        records,
        {
            {0x0809, "00 06 10 00 bb 0d cc 07 00 00 00 00 06 02 00 00"},
            {0x000D, "01 00"},
            {0x000C, "64 00"},
            {0x000F, "01 00"},
            {0x0011, "00 00"},
            {0x0010, "fc a9 f1 d2 4d 62 50 3f"},
            {0x005F, "01 00"},
            {0x002A, "00 00"},
            {0x002B, "00 00"},
            {0x0082, "01 00"},
            {0x0080, "00 00 00 00 00 00 00 00"},
            {0x0055, "08 00"},
            {0x0225, "01 00 ff 00"},
            {0x0081, "c1 04"},
            {0x0014, ""}, // an empty page header still has its record
            {0x0015, "0d 00 01 50 00 61 00 67 00 65 00 20 00 26 00 50 00 20 00 6f 00 66 00 20 00 "
                     "26 00 4e 00"},
            {0x0083, "00 00"},
            {0x0084, "00 00"},
            {0x007D, "00 00 00 00 20 04 0f 00 00 00 00"}, // (3 + 1 + 1/8) × 256 = 1056
            {0x007D, "01 00 01 00 20 0b 0f 00 00 00 00"}, // 2848
            {0x0200, "00 00 00 00 00 00 00 00 00 00 00 00 00 00"},
            // the empty first header line writes nothing but takes row 0
            {0x00FD, "01 00 00 00 15 00 00 00 00 00"},
            {0x00FD, "01 00 01 00 15 00 01 00 00 00"},
            {0x00FD, "02 00 00 00 16 00 02 00 00 00"},
            {0x00FD, "02 00 01 00 16 00 03 00 00 00"},
            {0x00FD, "03 00 00 00 15 00 04 00 00 00"},
            {0x0201, "03 00 01 00 15 00"},
            {0x023E, "b6 04 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"},
            {0x001D, "03 00 00 00 00 00 00 01 00 00 00 00 00 00 00 00"},
            {0x000A, ""},
        });
    EXPECT_EQ(bound.FBofOffset, 0u);
    EXPECT_EQ(bound.FDimensionsOffset, quint64(records[20].offset + 4));
    TxlsPayload dims;
    encodeDimensions(bound, dims);
    EXPECT_EQ(QByteArray(dims.data(), dims.size()).toHex(' '),
              hex("01 00 00 00 04 00 00 00 00 00 02 00 00 00").toHex(' '));
}

TEST(XlsSheet, FirstSheetWindowIsSelected)
{
    QByteArray bytes;
    TxlsRecordWriter w = captureWriter(bytes);
    TxlsFormat f;
    TxlsFormatLists lists(f);
    TsstStrings strings;
    TxlsSheet sheet;
    TxlsBoundSheet bound;
    TxlsSheetWriter(w, lists, strings, {&f, &f, &f, &f}, sheet, bound).writeEpilog(true);
    EXPECT_EQ(splitRecords(bytes).front().payload.left(2), hex("b6 06"));
}

// The texts of an SST and its CONTINUE records, decoded as a reader does.
QStringList decodeSst(const QList<BiffRecord> &records, quint32 *references)
{
    QList<QByteArray> parts;
    for (const BiffRecord &r : records)
        parts.append(r.payload);
    *references = u32At(parts[0], 0);
    const quint32 count = u32At(parts[0], 4);
    int part = 0;
    qsizetype at = 8;
    QStringList texts;
    for (quint32 i = 0; i < count; ++i) {
        if (at >= parts[part].size()) {
            ++part;
            at = 0;
        }
        const int length = u16At(parts[part], at);
        EXPECT_EQ(parts[part][at + 2], 1);
        at += 3;
        QString text;
        while (text.size() < length) {
            if (at >= parts[part].size()) {
                ++part;
                EXPECT_EQ(parts[part][0], 1) << "continued string's flags";
                at = 1;
            }
            text += QChar(u16At(parts[part], at));
            at += 2;
        }
        texts.append(text);
    }
    return texts;
}

struct SstCase {
    const char *name;
    QList<int> lengths;     // texts of these lengths, each one distinct
    QList<int> recordSizes; // payload sizes of SST, CONTINUE, ...
};

void PrintTo(const SstCase &c, std::ostream *os)
{
    *os << c.name;
}

class XlsSharedStrings : public ::testing::TestWithParam<SstCase> {};

TEST_P(XlsSharedStrings, SplitOverContinueRecords)
{
    TsstStrings sst;
    QStringList texts;
    for (int i = 0; i < GetParam().lengths.size(); ++i) {
        QString t(GetParam().lengths[i], QChar(u'а' + i));
        texts.append(t);
        sst.add(t);
    }
    QByteArray bytes;
    TxlsRecordWriter w = captureWriter(bytes);
    sst.write(w);
    const QList<BiffRecord> records = splitRecords(bytes);
    QList<int> sizes;
    for (const BiffRecord &r : records) {
        EXPECT_EQ(r.type, sizes.isEmpty() ? 0x00FC : 0x003C);
        sizes.append(int(r.payload.size()));
    }
    EXPECT_EQ(sizes, GetParam().recordSizes);
    quint32 references = 0;
    EXPECT_EQ(decodeSst(records, &references), texts);
    EXPECT_EQ(references, quint32(texts.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XlsSharedStrings,
    ::testing::Values(SstCase{"small", {2, 1}, {8 + 7 + 5}},
                      // 3 + 2 × 4106 fills the first record to 8223: the next starts a CONTINUE
                      SstCase{"fillsFirstRecord", {4106, 1}, {8223, 5}},
                      SstCase{"exactlyFull", {4106, 1, 4108}, {8223, 5 + 8219}},
                      // longer than a record: starts a CONTINUE, goes on in another
                      SstCase{"longerThanRecord", {5000}, {8, 8223, 1 + 2 * 890}},
                      // 4110 characters after the header, 4111 after each flags byte
                      SstCase{"longest",
                              {32767},
                              {8, 8223, 8223, 8223, 8223, 8223, 8223, 8223,
                               1 + 2 * (32767 - 4110 - 6 * 4111)}}),
    [](const auto &p) { return std::string(p.param.name); });

// Hundreds of thousands of distinct texts, as a long report has: each keeps its entry through
// the growth of the table and across the text buffers.
TEST(XlsSharedStrings, ManyDistinctTextsKeepTheirEntries)
{
    TsstStrings sst;
    constexpr quint32 texts = 300000;
    const auto textOf = [](quint32 i) { return QStringLiteral("Подстанция %1").arg(i); };
    for (quint32 i = 0; i < texts; ++i)
        ASSERT_EQ(sst.add(textOf(i)), i);
    for (quint32 i = 0; i < texts; i += 997)
        ASSERT_EQ(sst.add(textOf(i)), i);
    EXPECT_EQ(sst.count(), texts);
    EXPECT_EQ(sst.text(0), textOf(0));
    EXPECT_EQ(sst.text(texts - 1), textOf(texts - 1));
    EXPECT_EQ(sst.text(123456), textOf(123456));
}

TEST(XlsSharedStrings, EqualTextsShareOneEntryAndLineEndsBecomeLf)
{
    TsstStrings sst;
    EXPECT_EQ(sst.add(u"a\r\nb"), 0u);
    EXPECT_EQ(sst.add(u"a\rb"), 0u);
    EXPECT_EQ(sst.add(u"a\nb"), 0u);
    EXPECT_EQ(sst.add(u"c"), 1u);
    EXPECT_EQ(sst.add(u"c"), 1u);
    EXPECT_EQ(sst.count(), 2u);
    EXPECT_EQ(sst.references(), 5u);
    EXPECT_NO_THROW(sst.add(QString(32767, u'x')));
    try {
        sst.add(QString(32768, u'x'));
        FAIL() << "no error";
    } catch (const EQExportError &e) {
        EXPECT_EQ(e.kind(), EQExportError::StringTooLarge);
        EXPECT_EQ(e.message(), "String too large");
    }
    // CR LF counts once: 32767 characters after the change are still stored.
    EXPECT_NO_THROW(sst.add(QString(32766, u'y') + "\r\n"));
}

} // namespace
