#include "app/F_Quorvel.h"
#include "catalog/CatalogTree.h"
#include "tests/catalog/CatalogDb.h"
#include "tests/catalog/ExportTestKit.h"
#include "tests/support/DialogScript.h"
#include "tests/support/Readers.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QDir>
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
    EXPECT_EQ(rtf.texts.first(), "ColNo_0");
}

} // namespace
