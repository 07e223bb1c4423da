#include "catalog/ExportGrid.h"
#include "catalog/ExportProgress.h"
#include "catalog/PropTVItem.h"
#include "catalog/StringGrid.h"
#include "export/ExportErrors.h"
#include "tests/catalog/ExportTestKit.h"
#include "tests/support/Readers.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TPropTVItem titled(const QString &Top, const QString &Bottom)
{
    TPropTVItem rec;
    rec.PRN_TITLE_TOP = Top;
    rec.PRN_TITLE_BOT = Bottom;
    return rec;
}

// Cells a report can return: Cyrillic, long texts, quotes and braces, empty cells.
QList<QStringList> awkwardRows()
{
    const QString longText = QString("Длинный текст отчета, ").repeated(200) + "конец";
    return {{"Привет, мир", "Line \"quoted\"", "{фигурные} \\ скобки"},
            {"", "пусто слева", ""},
            {longText, "Ёжик №5", "x"},
            {"", "", ""}};
}

// The grid as the table of the files shows it: captions, then every data row with its number.
QList<QStringList> tableOf(const QList<QStringList> &Rows)
{
    QList<QStringList> table = {{"№", "А", "Б", "В"}};
    for (int r = 0; r < Rows.size(); ++r)
        table.append(QStringList{QString::number(r + 1)} + Rows[r]);
    return table;
}

// A workbook and a document of the awkward grid, read back by every reader. Each LibreOffice
// conversion starts the office anew, so one test makes both.
class ExportGridRoundTrip_Gui_Readers : public ::testing::Test {
protected:
    ExportGridRoundTrip_Gui_Readers()
    {
        TStringGrid SG;
        fillResultGrid(SG, {"А", "Б", "В"}, awkwardRows());
        // A title area with a line break, as the editor stores it.
        const TPropTVItem rec = titled("Ведомость за март\nэнергосистемы", "Составил: Иванов");
        ExportResultAs(TExportKind::Xls, &SG.Result(), &rec, book());
        ExportResultAs(TExportKind::Rtf, &SG.Result(), &rec, doc());
    }
    QString book() const { return dir.file("book.xls"); }
    QString doc() const { return dir.file("doc.rtf"); }

    static QList<QStringList> expectedRows()
    {
        QList<QStringList> rows = {{}, {"Ведомость за март"}, {"энергосистемы"}};
        for (const QStringList &row : tableOf(awkwardRows()))
            rows.append(withoutTrailingEmpty(row));
        rows += QList<QStringList>{{}, {"Составил: Иванов"}};
        return rows;
    }
    // Every non-empty text of the document in order: titles, captions, cells.
    static QStringList expectedTexts()
    {
        QStringList texts;
        for (const QStringList &row : expectedRows())
            for (const QString &cell : row)
                if (!cell.isEmpty())
                    texts.append(cell);
        return texts;
    }

    TempDir dir;
};

TEST_F(ExportGridRoundTrip_Gui_Readers, XlrdAndUnrtfReadEveryCellInOrder)
{
    const XlsBookView view = readXlsWithXlrd(book());
    ASSERT_EQ(view.error, "");
    ASSERT_EQ(view.sheets.size(), 1);
    EXPECT_EQ(view.sheets[0].name, "Sheet 1");
    EXPECT_EQ(view.sheets[0].rows, expectedRows());
    // Row 5 of the sheet is data row 2: its first and last field are empty, formatted blanks.
    EXPECT_TRUE(view.sheets[0].blankCells.contains(5 * 256 + 1));
    EXPECT_TRUE(view.sheets[0].blankCells.contains(5 * 256 + 3));

    const UnrtfView unrtf = readWithUnrtf(doc());
    ASSERT_EQ(unrtf.error, "");
    EXPECT_EQ(unrtf.texts, expectedTexts());
}

TEST_F(ExportGridRoundTrip_Gui_Readers, LibreOfficeReadsTheWorkbookAndTheDocument)
{
    const QStringList csv = sofficeXlsToCsv({book()}, dir.path()).value(0);
    ASSERT_EQ(csv.size(), 1);
    QList<QStringList> rows;
    for (const QStringList &row : parseCsv(readTextFile(csv[0])))
        rows.append(withoutTrailingEmpty(row));
    EXPECT_EQ(rows, expectedRows());

    const QString text = sofficeRtfToText({doc()}, dir.path()).value(0);
    ASSERT_FALSE(text.isEmpty());
    QStringList lines;
    for (const QString &line : readTextFile(text).split('\n'))
        if (!line.trimmed().isEmpty())
            lines.append(line.trimmed());
    EXPECT_EQ(lines, expectedTexts());
}

class ExportGrid_Gui_Readers : public ::testing::Test {
protected:
    TempDir dir;
    TStringGrid SG;
};

TEST_F(ExportGrid_Gui_Readers, AResultLargerThanASheetContinuesOnNumberedSheets)
{
    constexpr int total = 70000;
    QList<QStringList> rows;
    rows.reserve(total);
    for (int r = 0; r < total; ++r)
        rows.append({"v" + QString::number(r)});
    fillResultGrid(SG, {"Значение"}, rows);
    const TPropTVItem rec = titled("Верх", "Низ");
    ExportResultAs(TExportKind::Xls, &SG.Result(), &rec, dir.file("big.xls"));

    const XlsBookView book = readXlsWithXlrd(dir.file("big.xls"));
    ASSERT_EQ(book.error, "");
    ASSERT_EQ(book.sheets.size(), 2);
    QList<QStringList> data;
    for (int s = 0; s < 2; ++s) {
        const XlsSheetView &sheet = book.sheets[s];
        EXPECT_EQ(sheet.name, "Sheet " + QString::number(s + 1));
        ASSERT_GE(sheet.rows.size(), 5);
        EXPECT_EQ(sheet.rows.mid(0, 3), (QList<QStringList>{{}, {"Верх"}, {"№", "Значение"}}));
        EXPECT_EQ(sheet.rows.mid(sheet.rows.size() - 2), (QList<QStringList>{{}, {"Низ"}}));
        data += sheet.rows.mid(3, sheet.rows.size() - 5);
    }
    EXPECT_EQ(book.sheets[0].rows.size(), 65536);
    ASSERT_EQ(data.size(), total);
    for (int r = 0; r < total; ++r)
        ASSERT_EQ(data[r], (QStringList{QString::number(r + 1), "v" + QString::number(r)})) << r;
}

TEST_F(ExportGrid_Gui_Readers, AGridWithoutDataRowsGivesTheCaptionRowAlone)
{
    fillResultGrid(SG, {"А"}, {});
    ExportResultAs(TExportKind::Xls, &SG.Result(), nullptr, dir.file("empty.xls"));
    ExportResultAs(TExportKind::Rtf, &SG.Result(), nullptr, dir.file("empty.rtf"));
    const XlsBookView book = readXlsWithXlrd(dir.file("empty.xls"));
    ASSERT_EQ(book.sheets.size(), 1);
    EXPECT_EQ(book.sheets[0].rows, QList<QStringList>{(QStringList{"№", "А"})});
    EXPECT_EQ(readWithUnrtf(dir.file("empty.rtf")).texts, (QStringList{"№", "А"}));
}

TEST_F(ExportGrid_Gui_Readers, WithoutAGridTheSourceIsReportedAndNothingWritten)
{
    for (const bool rtf : {false, true}) {
        try {
            if (rtf)
                ExportResultAs(TExportKind::Rtf, nullptr, nullptr, dir.file("none"));
            else
                ExportResultAs(TExportKind::Xls, nullptr, nullptr, dir.file("none"));
            ADD_FAILURE() << "no error";
        } catch (const EQExportError &e) {
            EXPECT_EQ(e.kind(), EQExportError::NoSource);
            EXPECT_STREQ(e.what(), "Export source (StringGrid) is not assigned");
        }
    }
    EXPECT_FALSE(QFile::exists(dir.file("none")));
}

TEST_F(ExportGrid_Gui_Readers, AnEmptyPathIsReportedByItsMessage)
{
    fillResultGrid(SG, {"А"}, {{"1"}});
    try {
        ExportResultAs(TExportKind::Xls, &SG.Result(), nullptr, QString());
        ADD_FAILURE() << "no error";
    } catch (const EQExportError &e) {
        EXPECT_EQ(e.message(), "Result file name not present");
    }
}

TEST(ExportGridModel_Gui, ColumnsTakeTheTitlesWidthsAndAlignmentCodesOfTheResult)
{
    TStringGrid SG;
    fillResultGrid(SG, {"А", "Б"}, {{"x", "y"}});
    QFont big = SG.font();
    big.setPixelSize(40);
    SG.setFont(big);
    SG.SetColWidths(0, 30);
    SG.SetColWidths(1, 100);
    SG.SetColWidths(2, 250);
    const int x = QFontMetrics(big).horizontalAdvance('X');
    ASSERT_GT(x, QFontMetrics(QFont()).horizontalAdvance('X'));
    SG.Result().FormatStr = "R,C";
    const TExportModel model = ResultExportModel(SG.Result(), nullptr, "f.xls", nullptr);
    ASSERT_EQ(model.Columns.size(), 3);
    const int widths[] = {30, 100, 250};
    const char *captions[] = {"№", "А", "Б"};
    const TExportAlign aligns[] = {TExportAlign::Left, TExportAlign::Right, TExportAlign::Centre};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(model.Columns[k].FCaption, captions[k]);
        EXPECT_EQ(model.Columns[k].FWidth, widths[k] / x) << k;
        EXPECT_EQ(model.Columns[k].FPixelWidth, widths[k]) << k;
        EXPECT_EQ(model.Columns[k].FAlign, aligns[k]) << k;
    }
    QStringList row;
    ASSERT_TRUE(model.Rows(row));
    EXPECT_EQ(row, (QStringList{"1", "x", "y"}));
    EXPECT_FALSE(model.Rows(row));
}

TEST(ExportGridModel, TitleLinesSplitAtEveryKindOfLineBreak)
{
    const TPropTVItem rec = titled("a\r\nb\rc\nd", "одна");
    EXPECT_EQ(ExportTitleLines(&rec, true), (QStringList{"", "a", "b", "c", "d"}));
    EXPECT_EQ(ExportTitleLines(&rec, false), (QStringList{"", "одна"}));
    EXPECT_EQ(ExportTitleLines(nullptr, true), QStringList());
}

TEST(ExportProgress_Gui, ALongExportShowsTheRowsWritten)
{
    TempDir dir;
    TStringGrid SG;
    fillResultGrid(SG, {"А"}, {{"1"}, {"2"}, {"3"}});
    // Shown from the start, as an export that has lasted its second.
    TExportProgress progress(nullptr, 3, 0);
    ExportResultAs(TExportKind::Xls, &SG.Result(), nullptr, dir.file("p.xls"), &progress);
    ASSERT_NE(progress.Dialog(), nullptr);
    EXPECT_EQ(progress.Dialog()->labelText(), "Записано строк: 3 из 3");
    EXPECT_EQ(progress.Dialog()->value(), 3);

    TExportProgress quick(nullptr, 3);
    ExportResultAs(TExportKind::Rtf, &SG.Result(), nullptr, dir.file("p.rtf"), &quick);
    EXPECT_EQ(quick.Dialog(), nullptr);
}

} // namespace
