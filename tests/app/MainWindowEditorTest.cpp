#include "app/F_Quorvel.h"
#include "catalog/CatalogTree.h"
#include "catalog/SetSQLTable.h"
#include "catalog/StringGrid.h"
#include "tests/catalog/CatalogDb.h"
#include "tests/catalog/EditorKit.h"
#include "tests/catalog/GridDump.h"

#include <QAction>
#include <QDateEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {
// The main window opens the report editor on the selected report; what the editor saves is
// what the window prepares, runs and draws from the next selection on.
class MainWindowEditor_Gui_Sqlite : public ::testing::Test {
protected:
    MainWindowEditor_Gui_Sqlite()
    {
        db.exec(QStringLiteral("CREATE TABLE DATA (DT DATE, V NUMBER(9));"
                               "INSERT INTO DATA VALUES ('2015-02-28 00:00:00', 1);"
                               "INSERT INTO DATA VALUES ('2015-03-05 00:00:00', 2)"));
        db.addFolder(1, QStringLiteral("Отчеты"), 0);
        db.addReport(10, QStringLiteral("Отчет"), 1, QStringLiteral("select v a from data"),
                     QStringLiteral("Число"), QStringLiteral("70"), QStringLiteral("L"));
        window = std::make_unique<TF_Quorvel>();
        window->show();
    }
    template <class T> T *child(const char *name) const
    {
        T *found = window->findChild<T *>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    TCatalogTree *tree() const { return child<TCatalogTree>("tvCatReport"); }
    TStringGrid *grid() const { return child<TStringGrid>("SG"); }
    void clickReport() const
    {
        const auto found =
            tree()->findItems(QStringLiteral("Отчет"), Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_FALSE(found.isEmpty());
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {},
                          tree()->visualItemRect(found.first()).center());
    }

    CatalogDb db;
    std::unique_ptr<TF_Quorvel> window;
};

TEST_F(MainWindowEditor_Gui_Sqlite, TheSavedDefinitionIsWhatTheNextSelectionRunsAndDraws)
{
    clickReport();
    TPropTVItem *rec = tree()->SelectedRecord();
    ASSERT_NE(rec, nullptr);
    child<QDateEdit>("dtpBegin")->setDate(QDate(2015, 3, 1));
    child<QDateEdit>("dtpEnd")->setDate(QDate(2015, 3, 31));

    const std::shared_ptr<bool> ran = whenEditorOpens([&](TfSetSQLTable &w) {
        EXPECT_EQ(w.CurPropTVItem, rec);
        EXPECT_EQ(w.parent(), window.get());
        EXPECT_EQ(w.dtpBegin->date(), QDate(2015, 3, 1));
        EXPECT_EQ(w.dtpEnd->date(), QDate(2015, 3, 31));
        EXPECT_EQ(w.mSQL->toPlainText(), QStringLiteral("SELECT V A FROM DATA"));
        w.mSQL->setPlainText(
            QStringLiteral("select dt d, v s from data where dt between dtpbegin and dtpend"));
        clickButton(w, "tbExecSQL");
        typeSettings(*w.SGTableSet, 1, {"Дата", "90", "C"});
        typeSettings(*w.SGTableSet, 2, {"Сумма", "60", "R"});
        clickButton(w, "tbSave");
    });
    child<QAction>("tbSetupSQL")->trigger();
    EXPECT_TRUE(*ran);
    EXPECT_EQ(db.rows(QStringLiteral("SELECT NAME_TITLE, LENGTH_COLUMS, FORMAT_STR FROM "
                                     "QUORVEL WHERE ID_REPORT = 10")),
              QStringLiteral("Дата,Сумма,Число 90,60,70 C,R,L"))
        << "the settings of the field no longer selected stay behind the new ones";

    clickReport();
    QCoreApplication::processEvents(); // the toolbar shows the period panel when laid out
    EXPECT_TRUE(child<QDateEdit>("dtpBegin")->isVisibleTo(window.get()));
    EXPECT_TRUE(child<QDateEdit>("dtpEnd")->isVisibleTo(window.get()));
    EXPECT_EQ(gridWidths(*grid()), QStringLiteral("30,90,60"));
    child<QAction>("tbExecSQL")->trigger();
    EXPECT_EQ(gridText(*grid()), QStringLiteral(",Дата,Сумма | 1,05.03.2015,2"));
    EXPECT_EQ(grid()->model()->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignRight | Qt::AlignVCenter);

    // The menu item opens a fresh editor on the record as saved.
    QPointer<TfSetSQLTable> first = fSetSQLTable;
    const std::shared_ptr<bool> again = whenEditorOpens(
        [&](TfSetSQLTable &w) { EXPECT_EQ(w.SGTableSet->Cells(2, 1), QStringLiteral("Сумма")); });
    child<QAction>("mmiEditParam")->trigger();
    EXPECT_TRUE(*again);
    EXPECT_TRUE(first.isNull());
}
} // namespace
