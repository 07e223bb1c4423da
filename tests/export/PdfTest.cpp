#include "export/PdfPages.h"
#include "tests/export/ExportFixtures.h"
#include "tests/support/ExportReaders.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace {

// Pages of 100 units with a caption row of 10: where each block lands.
struct PageCase {
    const char *name;
    QList<qreal> lines; // title lines before the table
    QList<qreal> rows;  // table rows
    QString expected;   // per block "page@top" (a caption drawn first: "c" before it),
                        // blocks apart by blanks, parts of one block by "+"
    int pages;
};

void PrintTo(const PageCase &c, std::ostream *os)
{
    *os << c.name;
}

QString pieces(const TPdfPaginator::Pieces &ps)
{
    QStringList parts;
    for (const TPdfPiece &p : ps)
        parts.append((p.caption ? QStringLiteral("c%1:").arg(p.captionTop) : QString()) +
                     QStringLiteral("%1@%2").arg(p.page).arg(p.top));
    return parts.join(u'+');
}

class PdfPaginator : public ::testing::TestWithParam<PageCase> {};

TEST_P(PdfPaginator, RowsMoveWholeAndEveryPageOfTheTableHasItsCaption)
{
    TPdfPaginator pager(100, 10);
    QStringList blocks;
    for (qreal h : GetParam().lines)
        blocks.append(pieces(pager.placeLine(h)));
    for (qreal h : GetParam().rows)
        blocks.append(pieces(pager.placeRow(h)));
    const QString end = pieces(pager.endTable());
    if (!end.isEmpty())
        blocks.append(end);
    EXPECT_EQ(blocks.join(u' '), GetParam().expected);
    EXPECT_EQ(pager.pages(), GetParam().pages);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PdfPaginator,
    ::testing::Values(
        PageCase{"EmptyTableIsTheCaptionAlone", {}, {}, "c0:0@10", 1},
        PageCase{"CaptionUnderTheTitleLines", {20, 30}, {}, "0@0 0@20 c50:0@60", 1},
        PageCase{"RowsThatFillThePageExactly", {}, {45, 45}, "c0:0@10 0@55", 1},
        PageCase{"OneUnitMoreMovesTheRow", {}, {45, 46}, "c0:0@10 c0:1@10", 2},
        PageCase{"CaptionAndRowMoveTogether", {85}, {10}, "0@0 c0:1@10", 2},
        PageCase{"CaptionAndRowStayWhenTheyFit", {80}, {10}, "0@0 c80:0@90", 1},
        PageCase{"LineMovesWhole", {60, 41}, {}, "0@0 1@0 c41:1@51", 2},
        PageCase{"RowTallerThanAPageGoesOnOverPages", {}, {200}, "c0:0@10+c0:1@-80+c0:2@-170", 3},
        PageCase{"RowAfterATallRow", {}, {95, 5}, "c0:0@10+c0:1@-80 1@15", 2}),
    [](const auto &p) { return std::string(p.param.name); });

QList<TExportColumn> columnsOf(const QList<int> &pixels)
{
    QList<TExportColumn> columns;
    for (int px : pixels)
        columns.append({"c", 0, px});
    return columns;
}

struct OrientationCase {
    QList<int> pixels;
    QPageLayout::Orientation orientation;
};

void PrintTo(const OrientationCase &c, std::ostream *os)
{
    *os << c.pixels.size() << " columns";
}

class PdfOrientation : public ::testing::TestWithParam<OrientationCase> {};

// An A4 page is 595 points wide; its 15 mm margins count as 43 points each (the page layout
// keeps points whole): 509 points to print on, 678.7 pixels of the grid.
TEST_P(PdfOrientation, LandscapeOnlyWhenTheTableIsWiderThanAPortraitPage)
{
    EXPECT_EQ(PdfPageLayout(columnsOf(GetParam().pixels), TPdfOptions()).orientation(),
              GetParam().orientation);
}

INSTANTIATE_TEST_SUITE_P(
    Widths, PdfOrientation,
    ::testing::Values(OrientationCase{{30, 648}, QPageLayout::Portrait},
                      OrientationCase{{30, 649}, QPageLayout::Landscape},
                      OrientationCase{{}, QPageLayout::Portrait},
                      OrientationCase{QList<int>(10, 0), QPageLayout::Portrait},
                      OrientationCase{QList<int>(11, 0), QPageLayout::Landscape}),
    [](const auto &p) {
        int sum = 0;
        for (int px : p.param.pixels)
            sum += px;
        return "Pixels" + std::to_string(sum) + "In" + std::to_string(p.param.pixels.size());
    });

TEST(PdfColumns, InProportionAndNarrowedOnlyWhenWider)
{
    EXPECT_EQ(PdfColumnWidths(columnsOf({30, 90}), 1000, 96), (QList<qreal>{30, 90}));
    EXPECT_EQ(PdfColumnWidths(columnsOf({30, 90}), 1000, 192), (QList<qreal>{60, 180}));
    EXPECT_EQ(PdfColumnWidths(columnsOf({30, 90}), 60, 96), (QList<qreal>{15, 45}));
    // a column without a width counts as the grid's default
    EXPECT_EQ(PdfColumnWidths(columnsOf({0, 64}), 1000, 96), (QList<qreal>{64, 64}));
}

// The text as a word of its own: not a part of "Подстанция 12" in "Подстанция 120".
QRegularExpression word(const QString &text)
{
    return QRegularExpression("\\b" + QRegularExpression::escape(text) + "\\b",
                              QRegularExpression::UseUnicodePropertiesOption);
}

// The report: numbered rows of a short text, a number and a cell of three lines (which must
// stay on one page together), long enough for several pages.
constexpr int ReportRows = 120;

QList<QStringList> reportRows()
{
    QList<QStringList> rows;
    for (int r = 1; r <= ReportRows; ++r)
        rows.append({QString::number(r), QStringLiteral("Подстанция %1").arg(r),
                     QStringLiteral("%1,5").arg(r * 10),
                     QStringLiteral("Ряд%1А\nРяд%1Б\r\nРяд%1В").arg(r)});
    return rows;
}

TExportModel reportModel(const QString &fileName, int secondWidth)
{
    TExportModel m;
    m.FileName = fileName;
    m.Columns = {{"№", 0, 30, TExportAlign::Right},
                 {"Объект", 0, secondWidth, TExportAlign::Left},
                 {"Нагрузка", 0, 80, TExportAlign::Right},
                 {"Примечание", 0, 120, TExportAlign::Centre}};
    m.Header = {QString(), "Отчет о нагрузке за март"};
    m.Footer = {QString(), "Конец отчета"};
    return m;
}

class Pdf_Readers : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<TempDir>();
        TExportModel m = reportModel(dir->file("report.pdf"), 150);
        m.Rows = rowsFromList(reportRows());
        TQExport4PDF().Execute(m);
        path = m.FileName;
        pages = pdfPageTexts(path);
    }
    static void TearDownTestSuite() { dir.reset(); }

    static std::unique_ptr<TempDir> dir;
    static QString path;
    static QStringList pages;
};

std::unique_ptr<TempDir> Pdf_Readers::dir;
QString Pdf_Readers::path;
QStringList Pdf_Readers::pages;

TEST_F(Pdf_Readers, EveryPageSaysWhichOfHowMany)
{
    const int count = pdfPageCount(path);
    ASSERT_GT(count, 1);
    ASSERT_EQ(pages.size(), count);
    for (int n = 1; n <= count; ++n) {
        EXPECT_TRUE(pages[n - 1].contains(QStringLiteral("Страница %1 из %2").arg(n).arg(count)))
            << pages[n - 1].toStdString();
        EXPECT_TRUE(pages[n - 1].contains("Примечание")) << "no caption row on page " << n;
    }
}

TEST_F(Pdf_Readers, EveryCellOnceAndNoRowSplitAcrossPages)
{
    const QString all = pages.join(u'\f');
    EXPECT_TRUE(pages.value(0).contains("Отчет о нагрузке за март"));
    EXPECT_TRUE(pages.back().contains("Конец отчета"));
    for (const QStringList &row : reportRows()) {
        const QString r = row[0];
        int page = -1;
        for (int p = 0; p < pages.size(); ++p)
            if (pages[p].contains(word("Подстанция " + r)))
                page = p;
        ASSERT_GE(page, 0) << "row " << r.toStdString() << " missing";
        for (const QString &piece : {row[2], "Ряд" + r + "А", "Ряд" + r + "Б", "Ряд" + r + "В"})
            EXPECT_TRUE(pages[page].contains(word(piece)))
                << piece.toStdString() << " not on the page of row " << r.toStdString();
        EXPECT_EQ(all.count(word("Подстанция " + r)), 1);
    }
}

TEST_F(Pdf_Readers, PortraitA4AndAPictureOfTheFirstPage)
{
    QString info;
    runProgram("pdfinfo", {path}, &info);
    EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+595(\\.\\d+)? x 842")))
        << info.toStdString();
    // Kept beside the build for a person to look at.
    const QString artefacts = QCoreApplication::applicationDirPath() + "/../../artefacts";
    ASSERT_TRUE(QDir().mkpath(artefacts));
    const QString png = pdfFirstPagePng(path, artefacts + "/export-pdf-first-page");
    ASSERT_FALSE(png.isEmpty());
    EXPECT_GT(QFile(png).size(), 1000);
}

TEST(PdfContent_Readers, WideTableIsLandscapeAndLongTextWrapsInItsCell)
{
    TempDir dir;
    TExportModel m = reportModel(dir.file("wide.pdf"), 900);
    const QString words = "слово1 слово2 слово3 слово4 слово5 слово6 слово7 слово8 слово9 слово10 "
                          "слово11 слово12 слово13 слово14 слово15 слово16 слово17 слово18";
    m.Rows = rowsFromList({{"1", "x", "1", words}});
    TQExport4PDF().Execute(m);
    QString info;
    runProgram("pdfinfo", {m.FileName}, &info);
    EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+842(\\.\\d+)? x 595")))
        << info.toStdString();
    const QStringList pages = pdfPageTexts(m.FileName);
    ASSERT_EQ(pages.size(), 1);
    for (const QString &w : words.split(u' '))
        EXPECT_TRUE(pages[0].contains(word(w))) << w.toStdString();
    // wrapped: the first and the last word are not on one line
    for (const QString &line : pages[0].split(u'\n'))
        EXPECT_FALSE(line.contains("слово1 ") && line.contains("слово18"));
}

TEST(PdfContent_Readers, EmptyResultIsTheCaptionRowAloneOnOnePage)
{
    TempDir dir;
    TExportModel m = reportModel(dir.file("empty.pdf"), 150);
    TQExport4PDF().Execute(m);
    const QStringList pages = pdfPageTexts(m.FileName);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains("Объект"));
    EXPECT_TRUE(pages[0].contains("Страница 1 из 1"));
}

TEST(PdfContent_Readers, TwoPassesFromTheRowSourcesAndNoneFromRows)
{
    TempDir dir;
    TExportModel m = reportModel(dir.file("passes.pdf"), 150);
    int passes = 0;
    m.RowSources = [&passes] {
        ++passes;
        return rowsFromList(reportRows());
    };
    m.Rows = [](QStringList &) -> bool {
        ADD_FAILURE() << "Rows read although RowSources is given";
        return false;
    };
    TQExport4PDF().Execute(m);
    EXPECT_EQ(passes, 2);
    EXPECT_TRUE(pdfPageTexts(m.FileName).join(u'\f').contains("Подстанция 120"));
}

} // namespace
