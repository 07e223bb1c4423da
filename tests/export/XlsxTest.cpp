#include "export/XlsxWriter.h"
#include "tests/export/ExportFixtures.h"
#include "tests/support/ExportReaders.h"
#include "tests/support/Readers.h"
#include "tests/support/TempDir.h"

#include <QJsonArray>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A report as the program fills the model: row numbers, texts, numbers with the decimal
// comma, date-times, line breaks, quotes and a code that must stay text.
TExportModel reportModel(const QString &fileName)
{
    TExportModel m;
    m.FileName = fileName;
    m.Columns = {{"№", 3, 30, TExportAlign::Right},
                 {"Подстанция", 15, 120, TExportAlign::Left},
                 {"Нагрузка", 10, 80, TExportAlign::Right},
                 {"Время", 16, 130, TExportAlign::Centre},
                 {"Примечание", 12, 100, TExportAlign::Left}};
    m.Header = {QString(), "Отчет о нагрузке\tза март"};
    m.Footer = {QString(), "Конец отчета"};
    return m;
}

const QList<QStringList> ReportRows = {
    {"1", "ПС «Северная»; ввод 1", "12,5", "05.03.2015 8:30:00", "строка1\r\nстрока2"},
    {"2", "Line \"A\"", "-0,25", "05.03.2015", "007"},
    {"3", "", "1E15", "31.02.2015", ""},
};

QJsonArray rowOf(const QJsonObject &sheet, int r)
{
    return sheet["rows"].toArray()[r].toArray();
}

QJsonObject cellOf(const QJsonObject &sheet, int r, int c)
{
    return rowOf(sheet, r)[c].toObject();
}

class Xlsx_Readers : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<TempDir>();
        TExportModel m = reportModel(dir->file("book.xlsx"));
        m.Rows = rowsFromList(ReportRows);
        TQExport4XLSX().Execute(m);
        book = readXlsxWithOpenpyxl(m.FileName);
    }
    static void TearDownTestSuite() { dir.reset(); }

    static QJsonObject sheet() { return book["sheets"].toArray()[0].toObject(); }

    static std::unique_ptr<TempDir> dir;
    static QJsonObject book;
};

std::unique_ptr<TempDir> Xlsx_Readers::dir;
QJsonObject Xlsx_Readers::book;

TEST_F(Xlsx_Readers, OneSheetWithTitleLinesAboveAndBelowTheTable)
{
    ASSERT_EQ(book["error"].toString(), "");
    ASSERT_EQ(book["sheets"].toArray().size(), 1);
    EXPECT_EQ(sheet()["name"].toString(), "Sheet 1");
    const QJsonArray rows = sheet()["rows"].toArray();
    ASSERT_EQ(rows.size(), 2 + 1 + 3 + 2);
    for (const QJsonValue &c : rowOf(sheet(), 0))
        EXPECT_TRUE(c["v"].isNull());
    // the header line split at its tab into two cells, regular
    EXPECT_EQ(cellOf(sheet(), 1, 0)["v"].toString(), "Отчет о нагрузке");
    EXPECT_EQ(cellOf(sheet(), 1, 1)["v"].toString(), "за март");
    EXPECT_FALSE(cellOf(sheet(), 1, 0)["bold"].toBool());
    for (const QJsonValue &c : rowOf(sheet(), 6))
        EXPECT_TRUE(c["v"].isNull());
    EXPECT_EQ(cellOf(sheet(), 7, 0)["v"].toString(), "Конец отчета");
}

TEST_F(Xlsx_Readers, CaptionRowIsBoldFrozenAndFiltered)
{
    const QJsonArray captions = rowOf(sheet(), 2);
    const QStringList titles = {"№", "Подстанция", "Нагрузка", "Время", "Примечание"};
    ASSERT_EQ(captions.size(), titles.size());
    for (int c = 0; c < titles.size(); ++c) {
        EXPECT_EQ(captions[c]["v"].toString(), titles[c]);
        EXPECT_TRUE(captions[c]["bold"].toBool()) << c;
    }
    EXPECT_EQ(sheet()["freeze"].toString(), "A4");
    EXPECT_EQ(sheet()["filter"].toString(), "A3:E6");
    EXPECT_EQ(sheet()["footer"].toString(), "Страница &P из &N");
}

TEST_F(Xlsx_Readers, NumbersDateTimesAndTextsKeepTheirTypes)
{
    struct Expected {
        int row, col;
        const char *type;
        QJsonValue value;
        const char *format;
    };
    const Expected cells[] = {
        {3, 0, "n", 1, "General"},
        {3, 1, "s", "ПС «Северная»; ввод 1", "General"},
        {3, 2, "n", 12.5, "General"},
        {3, 3, "d", "2015-03-05 08:30:00", "dd.mm.yyyy hh:mm:ss"},
        {3, 4, "s", "строка1\nстрока2", "General"},
        {4, 1, "s", "Line \"A\"", "General"},
        {4, 2, "n", -0.25, "General"},
        {4, 3, "d", "2015-03-05 00:00:00", "dd.mm.yyyy hh:mm:ss"},
        {4, 4, "s", "007", "General"},
        {5, 1, "n", QJsonValue::Null, "General"},
        {5, 2, "n", 1e15, "General"},
        {5, 3, "s", "31.02.2015", "General"},
    };
    for (const Expected &e : cells) {
        const QJsonObject cell = cellOf(sheet(), e.row, e.col);
        EXPECT_EQ(cell["t"].toString(), e.type) << e.row << "," << e.col;
        EXPECT_EQ(cell["v"], e.value) << e.row << "," << e.col;
        EXPECT_EQ(cell["fmt"].toString(), e.format) << e.row << "," << e.col;
    }
}

TEST_F(Xlsx_Readers, ColumnsTakeTheGridsPixelWidthsAndAlignments)
{
    const QJsonObject widths = sheet()["widths"].toObject();
    const int pixels[] = {30, 120, 80, 130, 100};
    const char *align[] = {"right", "left", "right", "center", "left"};
    for (int c = 0; c < 5; ++c) {
        const QString letter(QChar(u'A' + c));
        // A spreadsheet shows a width of w characters as w × 7 pixels (the "0" of its font).
        EXPECT_NEAR(widths[letter].toDouble() * 7, pixels[c], 0.5) << letter.toStdString();
        for (int r = 2; r < 6; ++r)
            EXPECT_EQ(cellOf(sheet(), r, c)["align"].toString(), align[c]) << r << "," << c;
    }
}

TEST(XlsxContent_Readers, EmptyResultWritesTheCaptionRowAlone)
{
    TempDir dir;
    TExportModel m = reportModel(dir.file("empty.xlsx"));
    m.Header.clear();
    m.Footer.clear();
    TQExport4XLSX().Execute(m);
    const QJsonObject book = readXlsxWithOpenpyxl(m.FileName);
    ASSERT_EQ(book["error"].toString(), "");
    const QJsonObject sheet = book["sheets"].toArray()[0].toObject();
    ASSERT_EQ(sheet["rows"].toArray().size(), 1);
    EXPECT_EQ(cellOf(sheet, 0, 1)["v"].toString(), "Подстанция");
    EXPECT_EQ(sheet["filter"].toString(), "A1:E1");
    EXPECT_EQ(sheet["freeze"].toString(), "A2");
}

// LibreOffice reads the workbook as the grid shows it.
TEST(XlsxLibreOffice_Readers, ConvertsToCsvWithTheGridsValues)
{
    TempDir dir;
    TExportModel m = reportModel(dir.file("book.xlsx"));
    m.Rows = rowsFromList(ReportRows);
    TQExport4XLSX().Execute(m);
    const QStringList csv = sofficeXlsToCsv({m.FileName}, dir.path()).value(0);
    ASSERT_EQ(csv.size(), 1);
    const QList<QStringList> rows = parseCsv(readTextFile(csv[0]));
    ASSERT_EQ(rows.size(), 8);
    EXPECT_EQ(rows[2], (QStringList{"№", "Подстанция", "Нагрузка", "Время", "Примечание"}));
    // Numbers and date-times as values (the conversion writes them raw, dates month first), a
    // text that only looks like a date as text.
    EXPECT_EQ(rows[3], (QStringList{"1", "ПС «Северная»; ввод 1", "12.5", "03/05/2015 08:30:00",
                                    "строка1\nстрока2"}));
    EXPECT_EQ(rows[4], (QStringList{"2", "Line \"A\"", "-0.25", "03/05/2015 00:00:00", "007"}));
    EXPECT_EQ(rows[5], (QStringList{"3", "", "1000000000000000", "31.02.2015", ""}));
    EXPECT_EQ(rows[7].value(0), "Конец отчета");
}

// A sheet holds 1,048,576 rows: header, caption, data and footer rows together. Read with
// zipfile alone: openpyxl would take minutes over a million rows.
struct SheetBoundaryCase {
    int rows;
    QStringList dimensions;
};

void PrintTo(const SheetBoundaryCase &c, std::ostream *os)
{
    *os << c.rows << " rows";
}

class XlsxContinuation_Readers : public ::testing::TestWithParam<SheetBoundaryCase> {};

TEST_P(XlsxContinuation_Readers, NewSheetOnlyWhenARowDoesNotFit)
{
    TempDir dir;
    TExportModel m = gridModel(dir.file("tall.xlsx"), 1);
    const int rows = GetParam().rows;
    m.Rows = [rows, next = 0](QStringList &row) mutable {
        if (next == rows)
            return false;
        row = QStringList{QString::number(++next)};
        return true;
    };
    TQExport4XLSX().Execute(m);
    QString error;
    const QList<XlsxSheetRange> sheets = readXlsxSheetRanges(m.FileName, &error);
    ASSERT_EQ(error, "");
    QStringList dimensions, names;
    for (const XlsxSheetRange &s : sheets) {
        dimensions.append(s.dimension);
        names.append(s.name);
    }
    EXPECT_EQ(dimensions, GetParam().dimensions);
    EXPECT_EQ(names.value(1, "Sheet 2"), "Sheet 2");
}

// Two header lines, the caption and two footer lines: 1,048,571 data rows fill a sheet.
INSTANTIATE_TEST_SUITE_P(Cases, XlsxContinuation_Readers,
                         ::testing::Values(SheetBoundaryCase{1048571, {"A2:A1048576"}},
                                           SheetBoundaryCase{1048572, {"A2:A1048576", "A2:A6"}}),
                         [](const auto &p) { return "Rows" + std::to_string(p.param.rows); });

} // namespace
