#include "catalog/StringGrid.h"
#include "catalog/GridStore.h"
#include "tests/catalog/GridDump.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QImage>

#include <gtest/gtest.h>

namespace {
class StringGrid_Gui : public ::testing::Test {
protected:
    StringGrid_Gui()
        : tester(grid.GridModel(), QAbstractItemModelTester::FailureReportingMode::Fatal)
    {
        grid.SetColCount(3);
        grid.SetRowCount(3);
    }
    TStringGrid grid;
    QAbstractItemModelTester tester;
};
} // namespace

TEST(GridStore, CellsKeepTheirTextsWhateverTheOrderOfWrites)
{
    TGridStore store;
    store.SetColCount(3);
    store.SetCell(1, 2, u"b2");
    store.SetCell(0, 0, u"a0");
    store.SetRow(1, std::vector<QString>{QStringLiteral("x"), QStringLiteral("yy")});
    store.SetCell(1, 2, u"longer b2"); // row 2 is no longer at the end of the buffer
    store.SetCell(0, 1, u"");
    EXPECT_EQ(store.Cell(0, 0), QStringLiteral("a0"));
    EXPECT_EQ(store.Cell(1, 0), QString());
    EXPECT_EQ(store.Cell(0, 1), QString());
    EXPECT_EQ(store.Cell(1, 1), QStringLiteral("yy"));
    EXPECT_EQ(store.Cell(2, 1), QString());
    EXPECT_EQ(store.Cell(1, 2), QStringLiteral("longer b2"));
    EXPECT_EQ(store.Cell(5, 5), QString());

    store.SetColCount(2);
    EXPECT_EQ(store.Cell(1, 2), QStringLiteral("longer b2"));
    store.SetColCount(4);
    EXPECT_EQ(store.Cell(3, 2), QString());
    EXPECT_EQ(store.Cell(1, 1), QStringLiteral("yy"));
    store.Truncate(1);
    EXPECT_EQ(store.StoredRows(), 1);
    EXPECT_EQ(store.Cell(1, 2), QString());
}

TEST(GridStore, RewritingManyRowsReclaimsTheirSpace)
{
    TGridStore store;
    store.SetColCount(2);
    const QString text(100, u'x');
    for (int r = 0; r < 1000; ++r)
        store.SetRow(r, std::vector<QString>{text, text});
    for (int round = 0; round < 20; ++round) {
        for (int r = 0; r < 1000; ++r)
            store.SetCell(0, r, QString::number(round) + text);
    }
    store.Squeeze();
    EXPECT_EQ(store.Cell(0, 999), QStringLiteral("19") + text);
    EXPECT_EQ(store.Cell(1, 0), text);
    // Live text is about 1000 rows * 202 characters; waste is bounded by the live text.
    EXPECT_LT(store.MemoryBytes(), std::size_t(1000 * 202 * 2 * 2 + 1000 * 16));
}

TEST(GridStore, HoldsTextPlusAtMostFiveBytesPerCellAfterABulkFill)
{
    TGridStore store;
    store.SetColCount(10);
    std::vector<QString> row(10, QStringLiteral("value"));
    for (int r = 0; r < 10000; ++r)
        store.SetRow(r, row);
    store.Squeeze();
    EXPECT_LE(store.MemoryBytes(), std::size_t(10000) * 10 * (5 * 2 + 5));
}

// A large result is kept in chunks: while it grows it never holds a buffer of twice its text,
// rows keep their texts across chunks, also a cell longer than a chunk and a row rewritten in
// an early chunk.
TEST(GridStore, ALargeFillHoldsLittleMoreThanItsTextWhileItGrows)
{
    TGridStore store;
    store.SetColCount(2);
    const QString text(270, u'x');
    const QString huge(1500000, u'h');
    constexpr int rows = 10000;
    for (int r = 0; r < rows; ++r) {
        const QString first = r == rows / 2 ? huge : QString::number(r);
        store.WriteRow(r, [&](int c, std::vector<char16_t> &buffer) {
            const QString &cell = c == 0 ? first : text;
            const auto *chars = reinterpret_cast<const char16_t *>(cell.utf16());
            buffer.insert(buffer.end(), chars, chars + cell.size());
        });
    }
    store.SetCell(1, 3, u"rewritten");
    std::size_t textBytes = 0;
    for (int r = 0; r < rows; ++r)
        textBytes += std::size_t(store.CellView(0, r).size() + store.CellView(1, r).size()) * 2;
    EXPECT_EQ(store.CellView(0, rows / 2).size(), huge.size());
    EXPECT_EQ(store.Cell(0, rows - 1), QString::number(rows - 1));
    EXPECT_EQ(store.Cell(1, rows - 1), text);
    EXPECT_EQ(store.Cell(0, 3), QStringLiteral("3"));
    EXPECT_EQ(store.Cell(1, 3), QStringLiteral("rewritten"));
    // A buffer grown by doubling would hold up to twice the text here.
    const std::size_t index = std::size_t(rows) * (2 * 4 + 8);
    EXPECT_LE(store.MemoryBytes(), textBytes + textBytes / 2 + index);
}

TEST_F(StringGrid_Gui, FixedRowAndColumnAreTheHeaders)
{
    grid.SetCells(1, 0, u"Title");
    grid.SetCells(0, 1, u"1");
    grid.SetCells(2, 2, u"v");
    QAbstractItemModel *m = grid.model();
    EXPECT_EQ(m->rowCount(), 2);
    EXPECT_EQ(m->columnCount(), 2);
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Title"));
    EXPECT_EQ(m->headerData(0, Qt::Vertical).toString(), QStringLiteral("1"));
    EXPECT_EQ(m->index(1, 1).data().toString(), QStringLiteral("v"));
    EXPECT_EQ(gridText(grid), QStringLiteral(",Title, | 1,, | ,,v"));
}

// Cell (0, 0) lies on the table's corner button, which must show it.
TEST_F(StringGrid_Gui, TheCornerShowsCellZeroZero)
{
    auto *corner = grid.findChild<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_NE(corner, nullptr);
    grid.SetColWidths(0, 120);
    grid.show();
    const QImage blank = corner->grab().toImage();
    grid.SetCells(0, 0, u"Имя поля");
    EXPECT_EQ(corner->text(), QStringLiteral("Имя поля"));
    EXPECT_NE(corner->grab().toImage(), blank);
    grid.SetFixedRows(0);
    EXPECT_EQ(corner->text(), QString()) << "no corner cell without a fixed row";
}

TEST_F(StringGrid_Gui, RowsWrittenPastTheCountShowWhenTheCountReachesThem)
{
    grid.SetRowCells(5, std::vector<QString>{QStringLiteral("5"), QStringLiteral("e")});
    EXPECT_EQ(grid.RowCount(), 3);
    grid.SetRowCount(6);
    EXPECT_EQ(grid.Cells(1, 5), QStringLiteral("e"));
    grid.SetRowCount(2);
    grid.SetRowCount(6);
    EXPECT_EQ(grid.Cells(1, 5), QString());
}

TEST_F(StringGrid_Gui, TitleRowAloneAndWidthsOfEveryColumn)
{
    grid.SetRowCount(1);
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.model()->rowCount(), 0);
    grid.SetColWidths(0, 30);
    grid.SetColWidths(2, 120);
    EXPECT_EQ(gridWidths(grid), QStringLiteral("30,64,120"));
    EXPECT_EQ(grid.verticalHeader()->width(), 30);
    EXPECT_EQ(grid.horizontalHeader()->sectionSize(1), 120);
    grid.SetColCount(4);
    EXPECT_EQ(gridWidths(grid), QStringLiteral("30,64,120,64"));
}

TEST_F(StringGrid_Gui, EditableOnlyWhenAskedTo)
{
    const QModelIndex at = grid.model()->index(0, 0);
    EXPECT_FALSE(grid.model()->flags(at) & Qt::ItemIsEditable);
    EXPECT_FALSE(grid.model()->setData(at, QStringLiteral("x")));
    grid.SetEditable(true);
    EXPECT_TRUE(grid.model()->flags(at) & Qt::ItemIsEditable);
    EXPECT_TRUE(grid.model()->setData(at, QStringLiteral("x")));
    EXPECT_EQ(grid.Cells(1, 1), QStringLiteral("x"));
}

TEST_F(StringGrid_Gui, DrawingHookGivesTheAlignmentOfCellsAndTitles)
{
    grid.SetCellAlignment([](int ACol, int) -> std::optional<Qt::Alignment> {
        if (ACol == 2)
            return Qt::AlignRight | Qt::AlignVCenter;
        return std::nullopt;
    });
    QAbstractItemModel *m = grid.model();
    EXPECT_EQ(m->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_TRUE(m->index(0, 1).data(TStringGridModel::MarginlessRole).toBool());
    EXPECT_EQ(m->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_FALSE(m->index(0, 0).data(TStringGridModel::MarginlessRole).toBool());
    EXPECT_EQ(m->index(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignLeft | Qt::AlignVCenter);
    grid.resize(300, 200);
    grid.show();
    grid.grab(); // paints every visible cell through the delegate
}
