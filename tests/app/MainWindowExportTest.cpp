#include "app/F_Quorvel.h"
#include "catalog/CatalogTree.h"
#include "catalog/PrintPreview.h"
#include "catalog/StringGrid.h"
#include "tests/app/ModalWindow.h"
#include "tests/catalog/CatalogDb.h"
#include "tests/catalog/ExportTestKit.h"
#include "tests/support/DialogScript.h"
#include "tests/support/ExportReaders.h"
#include "tests/support/Readers.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QJsonArray>
#include <QPrinter>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The export buttons of the main window over a catalog of two titled reports.
class MainWindowExport_Gui_Sqlite_Readers : public ::testing::Test {
protected:
    MainWindowExport_Gui_Sqlite_Readers()
    {
        db.exec("CREATE TABLE DATA (V NUMBER(9)); INSERT INTO DATA VALUES (7)");
        db.addFolder(1, "Root", 0);
        db.addReport(2, "Отчет: A", 1, "select v from data", "Значение");
        db.addReport(3, "B<1>", 1, "select v, v w from data", "X,Y");
        db.exec("UPDATE QUORVEL SET PRN_TITLE_TOP = 'Верх ' || ID_REPORT, "
                "PRN_TITLE_BOT = 'Низ ' || ID_REPORT");
        window = std::make_unique<TF_Quorvel>();
        window->show();
    }
    void click(const QString &label) const
    {
        auto *tree = window->findChild<TCatalogTree *>("tvCatReport");
        const auto found = tree->findItems(label, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << label.toStdString();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(found.first()).center());
    }
    void trigger(const char *name) const { window->findChild<QAction *>(name)->trigger(); }

    TempDir out;
    WorkingDirectory cwd{out.path()};
    DialogScript boxes;
    SaveDialogScript save;
    OpenedDocuments opened;
    CatalogDb db;
    std::unique_ptr<TF_Quorvel> window;
};

TEST_F(MainWindowExport_Gui_Sqlite_Readers, XlsTakesTheSelectedReportRtfTheOneLastRun)
{
    click("Отчет: A");
    trigger("tbExecSQL");
    click("B<1>");
    save.answer(out.file("typed.xls")).answer(out.file("otchet"));
    trigger("tbToExel");
    trigger("tbToWord");

    const XlsBookView book = readXlsWithXlrd(out.file("B<1>.xls"));
    ASSERT_EQ(book.sheets.size(), 1);
    EXPECT_EQ(book.sheets[0].rows.mid(0, 2), (QList<QStringList>{{}, {"Верх 3"}}));
    EXPECT_EQ(book.sheets[0].rows.last(), QStringList{"Низ 3"});
    ASSERT_EQ(opened.paths(), QStringList{out.file("B1.rtf")});
    const UnrtfView rtf = readWithUnrtf(out.file("B1.rtf"));
    ASSERT_FALSE(rtf.texts.isEmpty()) << rtf.error.toStdString();
    EXPECT_EQ(rtf.texts.first(), "Верх 2");
    EXPECT_EQ(rtf.texts.last(), "Низ 2");
    EXPECT_TRUE(window->findChild<QWidget *>("SG")->isVisible());
}

TEST_F(MainWindowExport_Gui_Sqlite_Readers, AfterAReloadTheDocumentHasNoTitleLines)
{
    click("Отчет: A");
    trigger("tbExecSQL");
    trigger("tbRefresh");
    click("Отчет: A");
    save.answer(out.file("otchet"));
    trigger("tbToWord");
    const UnrtfView rtf = readWithUnrtf(out.file("Отчет A.rtf"));
    ASSERT_FALSE(rtf.texts.isEmpty()) << rtf.error.toStdString();
    EXPECT_EQ(rtf.texts.first(), "№");
}

TEST_F(MainWindowExport_Gui_Sqlite_Readers, ASortedGridIsExportedInTheQueryOrderUnlessAsked)
{
    db.exec("INSERT INTO DATA VALUES (12); INSERT INTO DATA VALUES (3)");
    click("Отчет: A");
    trigger("tbExecSQL");
    auto *grid = window->findChild<TStringGrid *>("SG");
    QHeaderView *header = grid->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
    const auto shown = [grid] {
        QStringList cells;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            cells.append(grid->model()->index(r, 0).data().toString());
        return cells;
    };
    ASSERT_EQ(shown(), (QStringList{"3", "7", "12"}));
    // The values of the data rows of a written workbook, top to bottom.
    const auto written = [this](const QString &name) {
        const XlsBookView book = readXlsWithXlrd(out.file(name));
        QStringList values;
        for (const QStringList &row : book.sheets.value(0).rows)
            if (row.size() == 2 && row[0] != "№" && !row[0].isEmpty())
                values.append(row[1]);
        return values;
    };

    save.answer(out.file("query.xls"));
    trigger("tbToExel");
    EXPECT_EQ(written("Отчет: A.xls"), (QStringList{"7", "12", "3"}));

    QAction *sorted = window->findChild<QAction *>("miExportSorted");
    ASSERT_NE(sorted, nullptr);
    EXPECT_EQ(sorted->text(), "Экспортировать в порядке сортировки");
    EXPECT_FALSE(sorted->isChecked());
    sorted->setChecked(true);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
    ASSERT_EQ(shown(), (QStringList{"12", "7", "3"}));
    QFile::remove(out.file("Отчет: A.xls"));
    save.answer(out.file("sorted.xls"));
    trigger("tbToExel");
    EXPECT_EQ(written("Отчет: A.xls"), (QStringList{"12", "7", "3"}));
    // The mailing's workbook too: "Отправить" with nobody ticked writes it and sends nothing.
    ASSERT_EQ(TriggerAndClose(window->findChild<QAction *>("tbSendMail"), "bbSendMail"),
              "FSendMail");
    ASSERT_TRUE(QFile::rename(db.folder() + "/temp.xls", out.file("mailed.xls")));
    EXPECT_EQ(written("mailed.xls"), (QStringList{"12", "7", "3"}));
    // The result itself keeps the query's order.
    EXPECT_EQ(grid->Cells(1, 1), "7");
}

TEST_F(MainWindowExport_Gui_Sqlite_Readers, XlsxCsvPdfAndPrintActOnTheResultOnceARunHasGivenOne)
{
    const char *buttons[] = {"tbToXlsx", "tbToCsv", "tbToPdf", "tbPrint"};
    const char *items[] = {"miXlsx", "miCsv", "miPdf", "miPrint"};
    const char *captions[] = {"Сохранить в XLSX", "Сохранить в CSV", "Сохранить в PDF", "Печать…"};
    for (int i = 0; i < 4; ++i) {
        for (const char *name : {buttons[i], items[i]}) {
            auto *a = window->findChild<QAction *>(name);
            ASSERT_NE(a, nullptr) << name;
            EXPECT_EQ(a->text(), QString::fromUtf8(captions[i])) << name;
            EXPECT_FALSE(a->isEnabled()) << name;
        }
    }
    click("B<1>");
    trigger("tbExecSQL");
    for (const char *name : buttons)
        EXPECT_TRUE(window->findChild<QAction *>(name)->isEnabled()) << name;

    save.answer(out.file("a")).answer(out.file("b")).answer(out.file("c"));
    trigger("tbToXlsx");
    trigger("miCsv");
    trigger("tbToPdf");
    const QJsonObject book = readXlsxWithOpenpyxl(out.file("B<1>.xlsx"));
    ASSERT_EQ(book["error"].toString(), "");
    const QJsonArray rows = book["sheets"].toArray().at(0).toObject()["rows"].toArray();
    ASSERT_GE(rows.size(), 3);
    EXPECT_EQ(rows[1].toArray().at(0)["v"].toString(), "Верх 3");
    EXPECT_EQ(rows[2].toArray().at(1)["v"].toString(), "X");
    EXPECT_EQ(readCsvWithPython(out.file("B<1>.csv"), "utf-8-sig", ";"),
              (QList<QStringList>{{"№", "X", "Y"}, {"1", "7", "7"}}));
    EXPECT_TRUE(pdfPageTexts(out.file("B<1>.pdf")).value(0).contains("Низ 3"));

    QString printed;
    const TPrintPreview previous =
        SetPrintPreviewHandler([&](QPrinter &Printer, const TPrintPages &Paint) {
            Printer.setOutputFormat(QPrinter::PdfFormat);
            Printer.setOutputFileName(out.file("printed.pdf"));
            EXPECT_EQ(Paint(Printer), 1);
            printed = out.file("printed.pdf");
        });
    trigger("tbPrint");
    SetPrintPreviewHandler(previous);
    ASSERT_FALSE(printed.isEmpty());
    EXPECT_TRUE(pdfPageTexts(printed).value(0).contains("Верх 3"));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

} // namespace
