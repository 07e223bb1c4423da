#include "catalog/CatalogTree.h"
#include "tests/catalog/CatalogDb.h"
#include "tests/catalog/GridDump.h"
#include "tests/support/DialogScript.h"

#include <QAbstractItemModelTester>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {
class CatalogTree_Gui_Sqlite : public ::testing::Test {
protected:
    CatalogTree_Gui_Sqlite() : tester(tree.model())
    {
        tree.resize(300, 400);
        tree.show();
    }
    void sample() const
    {
        db.addFolder(1, "Root", 0);
        db.addFolder(2, "Folder", 1);
        db.addReport(3, "Report B", 1, "select 1 x");
        db.addReport(4, "Report A", 1, "select 2 x");
        db.addReport(5, "Inner", 2, "select 3 x");
        db.addFolder(6, "Second root", 0);
        db.addReport(7, "Other report", 6, "select 4 x");
    }
    QTreeWidgetItem *find(const QString &label) const
    {
        const auto found = tree.findItems(label, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    // The editor of the label being edited.
    QLineEdit *editor() const { return tree.viewport()->findChild<QLineEdit *>(); }
    // Types the text (when given) into the label editor and ends the edit with the key; the
    // delegate commits on a queued call.
    void finishEdit(Qt::Key key, const QString &text = QString()) const
    {
        QLineEdit *edit = editor();
        ASSERT_NE(edit, nullptr);
        if (!text.isNull())
            edit->setText(text);
        QTest::keyClick(edit, key);
        QCoreApplication::processEvents();
    }
    QString stored() const
    {
        return db.rows("SELECT ID_REPORT, NAME_REPORT, PARENT_ID, FOLDER FROM QUORVEL_CAT "
                       "ORDER BY ID_REPORT");
    }

    CatalogDb db;
    TCatalogTree tree;
    QAbstractItemModelTester tester;
};

TEST_F(CatalogTree_Gui_Sqlite, AnEmptyCatalogGivesAnEmptyTreeAndCreatesNothing)
{
    tree.ListRefresh();
    EXPECT_EQ(tree.topLevelItemCount(), 0);
    EXPECT_EQ(tree.currentItem(), nullptr);
    tree.CreateFolder();
    tree.CreateReport();
    tree.DeleteSelected();
    EXPECT_EQ(stored(), QString());
}

TEST_F(CatalogTree_Gui_Sqlite, LoadShowsSubFoldersThenReportsAndSelectsTheExpandedFirstRoot)
{
    sample();
    tree.setCurrentItem(nullptr);
    tree.ListRefresh();
    EXPECT_EQ(treeText(tree), QStringLiteral("Root+* [Folder+ [Inner] Report A Report B] "
                                             "Second root [Other report]"));
    ASSERT_NE(tree.SelectedRecord(), nullptr);
    EXPECT_EQ(tree.SelectedRecord()->id, 1);
    EXPECT_EQ(TCatalogTree::Record(find("Report A"))->SQL_TEXT, QStringLiteral("select 2 x"));
    tree.setCurrentItem(find("Other report"));
    tree.ListRefresh();
    EXPECT_EQ(tree.SelectedRecord()->id, 1);
}

TEST_F(CatalogTree_Gui_Sqlite, EachRowWithoutItsFolderIsReportedOnce)
{
    db.addFolder(1, "Root", 0);
    db.addReport(2, "Report", 1, "select 1 x");
    db.addFolder(3, "Lost folder", 2);
    db.addReport(4, "Lost report", 3, "select 1 x");
    DialogScript script;
    script.answer(mrOk).answer(mrOk);
    tree.ListRefresh();
    ASSERT_EQ(script.shown().size(), 2);
    EXPECT_EQ(script.shown()[0].text, QStringLiteral("Отсутствует папка для Lost folder"));
    EXPECT_EQ(script.shown()[1].text, QStringLiteral("Отсутствует папка для Lost report"));
    EXPECT_EQ(treeText(tree), QStringLiteral("Root+* [Report]"));
}

TEST_F(CatalogTree_Gui_Sqlite, ANewReportIsStoredThenRenamedAsTypedAndSitsFirstUntilReload)
{
    sample();
    tree.ListRefresh();
    tree.setCurrentItem(find("Report B"));
    tree.CreateReport();
    EXPECT_EQ(treeText(tree).left(40), QStringLiteral("Root+ [Новый отчет* Folder+ [Inner] Repo"));
    EXPECT_EQ(db.rows("SELECT NAME_REPORT, PARENT_ID, FOLDER FROM QUORVEL_CAT WHERE ID_REPORT = 8"),
              QStringLiteral("Новый отчет 1 0"));
    finishEdit(Qt::Key_Return, QStringLiteral("Отчет 'за день'"));
    EXPECT_EQ(db.rows("SELECT NAME_REPORT FROM QUORVEL_CAT WHERE ID_REPORT = 8"),
              QStringLiteral("Отчет 'за день'"));
    EXPECT_TRUE(tree.ReadOnly());
    tree.ListRefresh();
    EXPECT_EQ(treeText(tree), QStringLiteral("Root+* [Folder+ [Inner] Report A Report B Отчет "
                                             "'за день'] Second root [Other report]"));
}

TEST_F(CatalogTree_Gui_Sqlite, ACancelledEditStoresNothingAndLeavesTheTreeEditable)
{
    sample();
    tree.ListRefresh();
    tree.CreateFolder();
    finishEdit(Qt::Key_Escape, QStringLiteral("Typed"));
    EXPECT_FALSE(tree.ReadOnly());
    EXPECT_EQ(db.rows("SELECT NAME_REPORT, PARENT_ID, FOLDER FROM QUORVEL_CAT WHERE ID_REPORT = 8"),
              QStringLiteral("Новая папка 1 1"));
    EXPECT_EQ(tree.SelectedRecord()->name, QStringLiteral("Новая папка"));
}

TEST_F(CatalogTree_Gui_Sqlite, RenamingARootKeepsItARoot)
{
    sample();
    tree.ListRefresh();
    tree.StartRename();
    finishEdit(Qt::Key_Return, QStringLiteral("Главная"));
    tree.ListRefresh();
    EXPECT_EQ(treeText(tree), QStringLiteral("Second root+* [Other report] Главная [Folder [Inner] "
                                             "Report A Report B]"));
}

// A folder whose ID_REPORT is 0: its children hold PARENT_ID 0, which is not a root's NULL.
TEST_F(CatalogTree_Gui_Sqlite, AReportMadeInFolderZeroStaysInsideIt)
{
    db.addFolder(0, "Zero", 0);
    db.exec(QStringLiteral("INSERT INTO QUORVEL_CAT VALUES (1, 'Inside', 0, 1)"));
    tree.ListRefresh();
    tree.setCurrentItem(find("Zero"));
    tree.CreateReport();
    finishEdit(Qt::Key_Return, QStringLiteral("Made"));
    EXPECT_EQ(stored(), QStringLiteral("0 Zero ~ 1 | 1 Inside 0 1 | 2 Made 0 0"));
    tree.ListRefresh();
    EXPECT_EQ(treeText(tree), QStringLiteral("Zero+* [Inside Made]"));
}

TEST_F(CatalogTree_Gui_Sqlite, AFolderMadeUnderAReportIsLostAtTheNextLoad)
{
    sample();
    tree.ListRefresh();
    tree.setCurrentItem(find("Report A"));
    tree.CreateFolder();
    finishEdit(Qt::Key_Return);
    DialogScript script;
    script.answer(mrOk);
    tree.ListRefresh();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].text, QStringLiteral("Отсутствует папка для Новая папка"));
}

TEST_F(CatalogTree_Gui_Sqlite, AStoreThatFailsSaysSoAndKeepsTheNode)
{
    sample();
    tree.ListRefresh();
    db.exec(QStringLiteral("DROP TABLE QUORVEL_CAT"));
    DialogScript script;
    script.answer(mrOk);
    tree.CreateFolder();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].text, QStringLiteral("Ошибка записи в БД Новая папка !"));
    EXPECT_EQ(script.shown()[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(tree.SelectedRecord()->name, QStringLiteral("Новая папка"));
}

TEST_F(CatalogTree_Gui_Sqlite, CancelKeepsANodeWithChildrenAndYesDeletesItAll)
{
    sample();
    tree.ListRefresh();
    const QString before = stored();
    DialogScript script;
    script.answer(mrCancel).answer(mrYes);
    tree.DeleteSelected();
    EXPECT_EQ(stored(), before);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].text,
              QStringLiteral("Внимание! У выбранного элемента есть дочерние!\n\r") +
                  QString(15, u' ') + QStringLiteral("Удалить все ?"));
    EXPECT_EQ(script.shown()[0].buttons.size(), 2);
    tree.DeleteSelected();
    EXPECT_EQ(stored(), QStringLiteral("6 Second root ~ 1 | 7 Other report 6 0"));
    EXPECT_EQ(db.rows("SELECT ID_REPORT FROM QUORVEL"), QStringLiteral("7"));
    EXPECT_EQ(treeText(tree), QStringLiteral("Second root+* [Other report]"));
}

TEST_F(CatalogTree_Gui_Sqlite, NoKeepsANodeWithoutChildren)
{
    sample();
    tree.ListRefresh();
    tree.setCurrentItem(find("Report A"));
    const QString before = stored();
    DialogScript script;
    script.answer(mrNo).answer(mrYes);
    tree.DeleteSelected();
    EXPECT_EQ(stored(), before);
    EXPECT_EQ(script.shown()[0].text, QStringLiteral("Удалить выбраный элемент ?"));
    tree.DeleteSelected();
    EXPECT_EQ(db.rows("SELECT COUNT(*) FROM QUORVEL_CAT WHERE ID_REPORT = 4"), QStringLiteral("0"));
    EXPECT_EQ(treeText(tree), QStringLiteral("Root+* [Folder+ [Inner] Report B] Second root "
                                             "[Other report]"));
}

TEST_F(CatalogTree_Gui_Sqlite, ReleasingRecordsIsAnnounced)
{
    sample();
    int released = 0;
    QObject::connect(&tree, &TCatalogTree::RecordsReleased, [&] { ++released; });
    tree.ListRefresh();
    EXPECT_EQ(released, 1);
}

TEST_F(CatalogTree_Gui_Sqlite, ARightClickKeepsTheSelectionAndALeftClickIsAClick)
{
    sample();
    tree.ListRefresh();
    int clicks = 0;
    QObject::connect(&tree, &TCatalogTree::Click, [&] { ++clicks; });
    const QPoint at = tree.visualItemRect(find("Report A")).center();
    QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, at);
    EXPECT_EQ(tree.SelectedRecord()->id, 1);
    EXPECT_EQ(clicks, 0);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(tree.SelectedRecord()->id, 4);
    EXPECT_EQ(clicks, 1);
}
} // namespace
