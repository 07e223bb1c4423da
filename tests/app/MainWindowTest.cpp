#include "app/F_Quorvel.h"
#include "catalog/CatalogTree.h"
#include "catalog/StringGrid.h"
#include "tests/catalog/CatalogDb.h"
#include "tests/catalog/GridDump.h"
#include "tests/support/DialogScript.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QDateEdit>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {
// The main window over a catalog database, driven through its controls' names.
class MainWindow_Gui_Sqlite : public ::testing::Test {
protected:
    void open()
    {
        window = std::make_unique<TF_Quorvel>();
        window->show();
        gridTester = std::make_unique<QAbstractItemModelTester>(grid()->model());
        treeTester = std::make_unique<QAbstractItemModelTester>(tree()->model());
    }
    template <class T> T *child(const char *name) const
    {
        T *found = window->findChild<T *>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QAction *action(const char *name) const { return child<QAction>(name); }
    bool enabled(const char *name) const { return action(name)->isEnabled(); }
    TCatalogTree *tree() const { return child<TCatalogTree>("tvCatReport"); }
    TStringGrid *grid() const { return child<TStringGrid>("SG"); }
    // Whether the control is visible once the window has laid itself out.
    bool shown(const char *name) const
    {
        QCoreApplication::processEvents();
        return child<QWidget>(name)->isVisibleTo(window.get());
    }
    // A mouse click on the node with this label.
    void click(const QString &label) const
    {
        const auto found = tree()->findItems(label, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_FALSE(found.isEmpty()) << label.toStdString();
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {},
                          tree()->visualItemRect(found.first()).center());
    }
    void run() const { action("tbExecSQL")->trigger(); }
    Qt::Alignment alignment(int ACol, int ARow) const
    {
        QAbstractItemModel *m = grid()->model();
        const QVariant v = ARow == 0
                               ? m->headerData(ACol - 1, Qt::Horizontal, Qt::TextAlignmentRole)
                               : m->index(ARow - 1, ACol - 1).data(Qt::TextAlignmentRole);
        return v.value<Qt::Alignment>() & Qt::AlignHorizontal_Mask;
    }
    void sample() const
    {
        db.exec(QStringLiteral("CREATE TABLE DATA (DT DATE, V NUMBER(9));"
                               "INSERT INTO DATA VALUES ('2015-03-01 00:00:00', 1);"
                               "INSERT INTO DATA VALUES ('2015-03-02 00:00:00', 2);"
                               "INSERT INTO DATA VALUES ('2015-03-02 00:00:00', 3);"
                               "INSERT INTO DATA VALUES ('2015-04-01 00:00:00', 4)"));
        db.addFolder(1, "Root", 0);
        db.addFolder(2, "Folder", 1);
        db.addReport(3, "Period", 1,
                     "select t.dt d, sum(v) s from data t where t.dt between dtpbegin and "
                     "dtpend group by t.dt",
                     "Дата,Сумма", "80,120", "C,R");
        db.addReport(4, "Empty text", 1, "");
        db.addReport(5, "Until", 1, "select v, v w, v x, v y, v z from data where dt < dtpend", "",
                     "", "C,R,L,c");
        db.addReport(6, "Broken", 1, "select nothing from nowhere", "A,B");
        db.addReport(7, "No codes", 1, "select v from data");
    }
    void period(const QDate &b, const QDate &e) const
    {
        child<QDateEdit>("dtpBegin")->setDate(b);
        child<QDateEdit>("dtpEnd")->setDate(e);
    }

    CatalogDb db;
    std::unique_ptr<TF_Quorvel> window;
    std::unique_ptr<QAbstractItemModelTester> gridTester;
    std::unique_ptr<QAbstractItemModelTester> treeTester;
};

TEST_F(MainWindow_Gui_Sqlite, ControlsHaveTheirCaptionsHintsAndStartingStates)
{
    open();
    EXPECT_EQ(window->objectName(), QStringLiteral("F_Quorvel"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Универсальный генератор отчетов"));
    const std::pair<const char *, const char *> hints[] = {
        {"tbSetupSQL", "Редактировать параметры отчета"},
        {"tbToWord", "Экспорт в Word"},
        {"tbToExel", "Экспорт в Exel"},
        {"tbSetupMail", "Настройка почты"},
        {"tbSendMail", "Отправить отчет "},
        {"tbRefresh", "Обновить список отчетов"},
        {"tbExecSQL", "Сформировать отчет"}};
    for (const auto &[name, hint] : hints)
        EXPECT_EQ(action(name)->toolTip(), QString::fromUtf8(hint)) << name;
    const std::pair<const char *, const char *> captions[] = {
        {"mmiCreateFolder", "Создать папку"},
        {"mmiCreateReport", "Создать отчет"},
        {"mmiEditParam", "Редактировать параметры отчета"},
        {"mmiDeleteFolder", "Удалить папку"},
        {"mmiDeleteReport", "Удалить отчет"},
        {"miWord", "Word"},
        {"miExel", "Exel"},
        {"N7", "Почты"},
        {"miCreateFolder", "Создать папку"},
        {"miDelFolder", "Удалить папку"},
        {"miAddNewNabor", "Новый набор"},
        {"miInsert", "Вставить"},
        {"miCopy", "Копировать"},
        {"miMove", "Переместить"},
        {"miReName", "Переименовать"},
        {"miDelete", "Удалить"},
        {"miExpandedAll", "Развернуть"},
        {"miColapseNode", "Свернуть ветвь"},
        {"miColapseAll", "Свернуть все"},
        {"miSafety", "Безопасность"}};
    for (const auto &[name, caption] : captions)
        EXPECT_EQ(action(name)->text(), QString::fromUtf8(caption)) << name;
    EXPECT_EQ(child<QLabel>("Label1")->text(), QStringLiteral(" Список отчетов"));
    EXPECT_EQ(child<QLabel>("Label2")->text(), QStringLiteral(" Отчет"));
    EXPECT_EQ(child<QLabel>("Label4")->text(), QStringLiteral("За период "));
    EXPECT_EQ(child<QLabel>("lS")->text(), QStringLiteral(" с "));
    EXPECT_EQ(child<QLabel>("lDo")->text(), QStringLiteral(" по "));
    EXPECT_EQ(child<QWidget>("Panel1")->width(), 225);
    EXPECT_EQ(child<QWidget>("pDTP")->size(), QSize(263, 24));
    EXPECT_EQ(child<QWidget>("dtpBegin")->width(), 88);
    EXPECT_EQ(tree()->indentation(), 19);

    for (const char *name : {"tbToWord", "tbToExel", "miWord", "miExel"})
        EXPECT_FALSE(enabled(name)) << name;
    for (const char *name : {"tbSetupMail", "tbSendMail", "tbRefresh", "tbExecSQL", "N7",
                             "mmiCreateFolder", "mmiCreateReport", "mmiDeleteFolder"})
        EXPECT_TRUE(enabled(name)) << name;
    for (const char *name : {"pDTP", "dtpBegin", "dtpEnd"})
        EXPECT_FALSE(shown(name)) << name;
    EXPECT_EQ(grid()->ColCount(), 2);
    EXPECT_EQ(grid()->RowCount(), 2);
    EXPECT_EQ(grid()->FixedCols(), 1);
    EXPECT_EQ(grid()->FixedRows(), 1);
    EXPECT_FALSE(grid()->Editable());
    const QDate today = QDate::currentDate();
    EXPECT_EQ(child<QDateEdit>("dtpBegin")->date(), today.addDays(-1));
    EXPECT_EQ(child<QDateEdit>("dtpEnd")->date(), today);
}

TEST_F(MainWindow_Gui_Sqlite, AnEmptyCatalogLeavesTheRunCommandEnabledButDoingNothing)
{
    open();
    EXPECT_EQ(tree()->topLevelItemCount(), 0);
    EXPECT_FALSE(enabled("tbSetupSQL"));
    EXPECT_FALSE(enabled("mmiEditParam"));
    EXPECT_TRUE(enabled("tbExecSQL"));
    run();
    EXPECT_FALSE(enabled("tbToWord"));
    EXPECT_EQ(window->CurSQL, nullptr);
}

TEST_F(MainWindow_Gui_Sqlite, SelectionRulesForFoldersReportsAndTheirMarkers)
{
    sample();
    open();
    EXPECT_FALSE(enabled("tbExecSQL")); // the first root, a folder
    click("Until");
    EXPECT_TRUE(enabled("tbSetupSQL"));
    EXPECT_TRUE(enabled("mmiEditParam"));
    EXPECT_TRUE(enabled("tbExecSQL"));
    EXPECT_TRUE(shown("pDTP"));
    EXPECT_TRUE(shown("Label4"));
    EXPECT_FALSE(shown("lS"));
    EXPECT_FALSE(shown("dtpBegin"));
    EXPECT_TRUE(shown("lDo"));
    EXPECT_TRUE(shown("dtpEnd"));
    EXPECT_EQ(tree()->SelectedRecord()->SQL_TEXT,
              QStringLiteral("SELECT V, V W, V X, V Y, V Z FROM DATA WHERE DT < DTPEND"));
    EXPECT_EQ(grid()->ColCount(), 6);

    click("Empty text");
    EXPECT_TRUE(enabled("tbSetupSQL"));
    EXPECT_FALSE(enabled("mmiEditParam"));
    EXPECT_FALSE(enabled("tbExecSQL"));
    EXPECT_TRUE(shown("dtpEnd")); // the grid and the period stay as they were
    EXPECT_EQ(grid()->ColCount(), 6);

    click("Period");
    EXPECT_TRUE(shown("lS"));
    EXPECT_TRUE(shown("dtpBegin"));
    click("Folder");
    EXPECT_FALSE(enabled("tbSetupSQL"));
    EXPECT_FALSE(enabled("mmiEditParam"));
    EXPECT_FALSE(enabled("tbExecSQL"));
    EXPECT_EQ(gridText(*grid()), QStringLiteral(",Дата,Сумма | ,,"));
    EXPECT_EQ(gridWidths(*grid()), QStringLiteral("30,80,120"));
}

TEST_F(MainWindow_Gui_Sqlite, ARunFillsTheGridForThePeriodAndEnablesExportAndMail)
{
    sample();
    open();
    click("Period");
    period(QDate(2015, 3, 1), QDate(2015, 3, 31));
    run();
    EXPECT_EQ(gridText(*grid()), QStringLiteral(",Дата,Сумма | 1,01.03.2015,1 | 2,02.03.2015,5"));
    EXPECT_EQ(window->CurSQL, tree()->SelectedRecord());
    for (const char *name : {"tbToWord", "tbToExel", "tbSendMail", "miWord", "miExel"})
        EXPECT_TRUE(enabled(name)) << name;
    // Clicking the report again prepares the grid anew.
    click("Period");
    EXPECT_EQ(gridText(*grid()), QStringLiteral(",Дата,Сумма | 1,01.03.2015,1"));
}

TEST_F(MainWindow_Gui_Sqlite, AFailedRunStillEnablesExportAndMail)
{
    sample();
    open();
    click("Broken");
    DialogScript script;
    script.answer(mrOk);
    run();
    // The database's own text, with the statement as the detail.
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].kind, "message");
    EXPECT_TRUE(script.shown()[0].text.startsWith("NoteDataSet.NoteOpen\r\nnear \"NOTHING\""))
        << script.shown()[0].text.toStdString();
    EXPECT_EQ(script.shown()[0].detail, "SELECT NOTHING FROM NOWHERE");
    EXPECT_EQ(grid()->RowCount(), 2);
    EXPECT_EQ(gridText(*grid()), QStringLiteral(",A | ,"));
    for (const char *name : {"tbToWord", "tbToExel", "tbSendMail", "miWord", "miExel"})
        EXPECT_TRUE(enabled(name)) << name;
}

TEST_F(MainWindow_Gui_Sqlite, TheRecordOfTheLastRunIsForgottenWhenTheTreeReloads)
{
    sample();
    open();
    click("No codes");
    run();
    ASSERT_NE(window->CurSQL, nullptr);
    action("tbRefresh")->trigger();
    EXPECT_EQ(window->CurSQL, nullptr);
    click("No codes");
    run();
    DialogScript script;
    script.answer(mrYes);
    action("mmiDeleteReport")->trigger();
    EXPECT_EQ(window->CurSQL, nullptr);
}

TEST_F(MainWindow_Gui_Sqlite, CellsAreAlignedByTheSelectedReportsCodesTitlesIncluded)
{
    sample();
    open();
    click("Until");
    period(QDate(2015, 3, 1), QDate(2015, 5, 1));
    run();
    ASSERT_EQ(grid()->RowCount(), 5);
    for (int row : {0, 2}) {
        EXPECT_EQ(alignment(1, row), Qt::AlignHCenter) << row;
        EXPECT_EQ(alignment(2, row), Qt::AlignRight) << row;
        EXPECT_EQ(alignment(3, row), Qt::AlignLeft) << row;
        EXPECT_EQ(alignment(4, row), Qt::AlignLeft) << row; // "c" is no code
        EXPECT_EQ(alignment(5, row), Qt::AlignLeft) << row; // no code at all
    }
    EXPECT_TRUE(grid()->model()->index(0, 3).data(TStringGridModel::MarginlessRole).toBool());
    EXPECT_FALSE(grid()->model()->index(0, 4).data(TStringGridModel::MarginlessRole).toBool());
    grid()->grab();
    // Another selection draws the same result by its own codes: here none.
    click("No codes");
    EXPECT_FALSE(grid()->model()->index(0, 0).data(TStringGridModel::MarginlessRole).toBool());
}

TEST_F(MainWindow_Gui_Sqlite, ContextMenuStatesFollowTheSelectedNode)
{
    sample();
    open();
    const auto popupOn = [&](const QString &label) {
        click(label);
        emit tree()->customContextMenuRequested(QPoint(5, 5));
        child<QMenu>("pmTreeView")->close();
    };
    popupOn("Folder");
    EXPECT_TRUE(enabled("miCreateFolder"));
    EXPECT_TRUE(enabled("miDelFolder"));
    EXPECT_FALSE(enabled("miInsert"));
    EXPECT_FALSE(enabled("miDelete"));
    EXPECT_TRUE(enabled("miAddNewNabor"));
    popupOn("Period");
    EXPECT_FALSE(enabled("miCreateFolder"));
    EXPECT_FALSE(enabled("miDelFolder"));
    EXPECT_FALSE(enabled("miInsert"));
    EXPECT_TRUE(enabled("miDelete"));
}

TEST_F(MainWindow_Gui_Sqlite, CatalogCommandsOfTheMenusReachTheTree)
{
    sample();
    open();
    click("Folder");
    action("miCreateFolder")->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(db.rows("SELECT NAME_REPORT, PARENT_ID, FOLDER FROM QUORVEL_CAT WHERE ID_REPORT=8"),
              QStringLiteral("Новая папка 2 1"));
    click("Period");
    action("mmiCreateReport")->trigger();
    EXPECT_EQ(db.rows("SELECT NAME_REPORT, PARENT_ID, FOLDER FROM QUORVEL_CAT WHERE ID_REPORT=9"),
              QStringLiteral("Новый отчет 1 0"));
    click("Folder");
    DialogScript script;
    script.answer(mrYes);
    action("miDelFolder")->trigger();
    EXPECT_EQ(db.rows("SELECT COUNT(*) FROM QUORVEL_CAT WHERE ID_REPORT IN (2, 8)"),
              QStringLiteral("0"));
    EXPECT_EQ(tree()->SelectedRecord()->id, 1);
}
} // namespace
