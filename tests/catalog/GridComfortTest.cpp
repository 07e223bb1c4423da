#include "catalog/CatalogTree.h"
#include "catalog/ExportGrid.h"
#include "catalog/ResultOrder.h"
#include "catalog/StringGrid.h"
#include "tests/catalog/CatalogDb.h"
#include "tests/catalog/ExportTestKit.h"
#include "tests/catalog/GridDump.h"
#include "tests/support/Readers.h"
#include "tests/support/TempDir.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

// Sorting, copying and finding in a result grid, and the catalog's filter.

namespace {
class GridComfort_Gui : public ::testing::Test {
protected:
    GridComfort_Gui()
        : tester(grid.GridModel(), QAbstractItemModelTester::FailureReportingMode::Fatal)
    {
        fillResultGrid(grid, {"Число", "Дата", "Имя"},
                       {{"10", "05.03.2015", "яблоко"},
                        {"9", "01.12.2014 8:30:00", "Арбуз"},
                        {"", "31.12.2014", "ёж"},
                        {"-1,5", "", "берёза"},
                        {"9", "05.03.2015 0:00:01", "Ёлка"}});
    }
    // A data column as shown, top to bottom.
    QString shown(int column) const
    {
        QStringList cells;
        for (int r = 0; r < grid.model()->rowCount(); ++r)
            cells.append(grid.model()->index(r, column).data().toString());
        return cells.join(u',');
    }
    void clickTitle(int column)
    {
        QHeaderView *header = grid.horizontalHeader();
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    }
    static QString clipboardText() { return QGuiApplication::clipboard()->mimeData()->text(); }
    static QString clipboardHtml() { return QGuiApplication::clipboard()->mimeData()->html(); }

    TStringGrid grid;
    QAbstractItemModelTester tester;
};

QString joined(const std::vector<int> &rows)
{
    QStringList texts;
    for (const int r : rows)
        texts.append(QString::number(r));
    return texts.join(u',');
}
} // namespace

TEST_F(GridComfort_Gui, ColumnsSortAsNumbersDateTimesOrRussianTexts)
{
    const TReportResult &r = grid.Result();
    // Empty cells first (last when descending); equal numbers keep the query's order.
    EXPECT_EQ(joined(SortedRows(r, 1, false)), "3,4,2,5,1");
    EXPECT_EQ(joined(SortedRows(r, 1, true)), "1,2,5,4,3");
    EXPECT_EQ(joined(SortedRows(r, 2, false)), "4,2,3,1,5");
    EXPECT_EQ(joined(SortedRows(r, 3, false)), "2,4,3,5,1");
    // A column of numbers and a text is sorted as texts: "10" comes before "9".
    grid.SetCells(1, 3, u"нет");
    EXPECT_EQ(joined(SortedRows(r, 1, false)), "4,1,2,5,3");
}

TEST_F(GridComfort_Gui, ATitleClickSortsTheViewAndTheNextReversesIt)
{
    grid.horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    grid.setSortingEnabled(true);
    grid.show();
    const QString before = gridText(grid);
    EXPECT_EQ(shown(0), "10,9,,-1,5,9");

    clickTitle(0);
    EXPECT_EQ(shown(0), ",-1,5,9,9,10");
    EXPECT_EQ(shown(2), "ёж,берёза,Арбуз,Ёлка,яблоко");
    // The row numbers go with their rows; the result keeps the query's order.
    EXPECT_EQ(grid.model()->headerData(0, Qt::Vertical).toString(), "3");
    EXPECT_EQ(gridText(grid), before);
    EXPECT_EQ(joined(grid.GridModel()->RowOrder()), "3,4,2,5,1");
    clickTitle(0);
    EXPECT_EQ(shown(0), "10,9,9,-1,5,");

    // A cell written while sorted is shown in its row's place.
    grid.SetCells(3, 1, u"изменено");
    EXPECT_EQ(grid.model()->index(0, 2).data().toString(), "изменено");

    // The exports keep the query's order unless told otherwise.
    EXPECT_TRUE(grid.ExportRowOrder().empty());
    grid.SetExportInShownOrder(true);
    EXPECT_EQ(joined(grid.ExportRowOrder()), "1,2,5,4,3");
}

TEST_F(GridComfort_Gui, CopyPutsTabSeparatedTextAndAnHtmlTable)
{
    grid.show();
    QItemSelectionModel *selection = grid.selectionModel();
    const QAbstractItemModel *m = grid.model();
    selection->select(QItemSelection(m->index(0, 1), m->index(1, 2)), QItemSelectionModel::Select);
    QAction *copy = grid.findChild<QAction *>("miCopyCells");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->text(), "Копировать");
    EXPECT_EQ(copy->shortcut(), QKeySequence(QKeySequence::Copy));
    copy->trigger();
    EXPECT_EQ(clipboardText(), "05.03.2015\tяблоко\r\n01.12.2014 8:30:00\tАрбуз\r\n");
    EXPECT_EQ(clipboardHtml(), "<table><tr><td>05.03.2015</td><td>яблоко</td></tr>"
                               "<tr><td>01.12.2014 8:30:00</td><td>Арбуз</td></tr></table>");

    // A whole column brings its title; a text with a tab or a quote is quoted, HTML escaped.
    grid.SetCells(3, 2, u"a\t\"b\" <c>");
    selection->clearSelection();
    grid.selectColumn(2);
    copy->trigger();
    EXPECT_EQ(clipboardText(), "Имя\r\nяблоко\r\n\"a\t\"\"b\"\" <c>\"\r\nёж\r\nберёза\r\nЁлка\r\n");
    EXPECT_TRUE(clipboardHtml().startsWith("<table><tr><th>Имя</th></tr><tr><td>яблоко</td></tr>"
                                           "<tr><td>a\t&quot;b&quot; &lt;c&gt;</td></tr>"));

    // Everything, as sorted.
    grid.sortByColumn(0, Qt::DescendingOrder);
    grid.findChild<QAction *>("miCopyAll")->trigger();
    const QStringList lines = clipboardText().split("\r\n");
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0], "Число\tДата\tИмя");
    EXPECT_EQ(lines[1], "10\t05.03.2015\tяблоко");
    EXPECT_EQ(lines[4], "-1,5\t\tберёза");
    EXPECT_EQ(lines[5], "\t31.12.2014\tёж");
    EXPECT_EQ(grid.findChild<QAction *>("miCopyAll")->text(), "Копировать всё");
}

TEST_F(GridComfort_Gui, FindGoesToTheNextCellContainingTheTextAndStartsOver)
{
    EXPECT_TRUE(grid.FindNext("ЁЛ"));
    EXPECT_EQ(grid.currentIndex(), grid.model()->index(4, 2));
    EXPECT_TRUE(grid.FindNext("05.03"));
    EXPECT_EQ(grid.currentIndex(), grid.model()->index(0, 1));
    EXPECT_TRUE(grid.FindNext("05.03"));
    EXPECT_EQ(grid.currentIndex(), grid.model()->index(4, 1));
    EXPECT_TRUE(grid.FindNext("АРБ"));
    EXPECT_EQ(grid.currentIndex(), grid.model()->index(1, 2));
    EXPECT_FALSE(grid.FindNext("груша"));
    EXPECT_EQ(grid.currentIndex(), grid.model()->index(1, 2));
}

namespace {
class GridExportOrder_Gui_Readers : public GridComfort_Gui {};
} // namespace

TEST_F(GridExportOrder_Gui_Readers, AnExportWritesTheRowsInTheOrderItIsGiven)
{
    TempDir out;
    const QString path = out.file("order.xls");
    ExportResultAs(TExportKind::Xls, &grid.Result(), nullptr, path, nullptr, {4, 2, 5, 1, 3});
    const XlsBookView book = readXlsWithXlrd(path);
    ASSERT_EQ(book.sheets.size(), 1);
    QStringList names;
    for (const QStringList &row : book.sheets[0].rows)
        if (row.size() > 3)
            names.append(row[3]);
    // The caption row, then the data rows as given.
    EXPECT_EQ(names.join(u','), "Имя,берёза,Арбуз,Ёлка,яблоко,ёж");
}

namespace {
class CatalogFilter_Gui_Sqlite : public ::testing::Test {
protected:
    CatalogDb db;
    TCatalogTree tree;
};
} // namespace

TEST_F(CatalogFilter_Gui_Sqlite, TheFilterKeepsMatchingReportsWithTheirFoldersAnyCase)
{
    db.addFolder(1, "Отчеты", 0);
    db.addFolder(2, "Подстанции", 1);
    db.addReport(3, "Баланс ЭНЕРГИИ", 2, "select 1");
    db.addReport(4, "Перетоки", 2, "select 1");
    db.addFolder(5, "Архив", 1);
    db.addReport(6, "Суточная энергия", 5, "select 1");
    db.addReport(7, "Ёмкость", 1, "select 1");
    tree.ListRefresh();
    const auto visible = [this] {
        QStringList names;
        for (QTreeWidgetItemIterator it(&tree); *it; ++it)
            if (!(*it)->isHidden() && !((*it)->parent() && (*it)->parent()->isHidden()))
                names.append((*it)->text(0));
        names.sort();
        return names.join(u',');
    };
    const QString all = visible();
    tree.Filter("энерги");
    EXPECT_EQ(visible(), "Архив,Баланс ЭНЕРГИИ,Отчеты,Подстанции,Суточная энергия");
    tree.Filter("ёМК");
    EXPECT_EQ(visible(), "Ёмкость,Отчеты");
    tree.Filter("нет такого");
    EXPECT_EQ(visible(), "");
    tree.Filter("");
    EXPECT_EQ(visible(), all);
    EXPECT_EQ(all.count(u',') + 1, 7);
}
