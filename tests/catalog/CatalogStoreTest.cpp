#include "catalog/CatalogStore.h"
#include "tests/catalog/CatalogDb.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
TPropTVItem node(int id, const QString &name, int parent_id, int nodetype)
{
    TPropTVItem rec;
    rec.id = id;
    rec.name = name;
    rec.parent_id = parent_id;
    rec.nodetype = nodetype;
    return rec;
}

// Records what a load places: "name<parent name" per node, "!name" per missing folder.
class RecordingSink : public TCatalogSink {
public:
    int AddNode(int Parent, std::unique_ptr<TPropTVItem> Rec) override
    {
        QString entry = Rec->name;
        if (Parent >= 0)
            entry += u'<' + nodes[Parent]->name;
        if (!Rec->SQL_TEXT.isEmpty())
            entry += u'=' + Rec->SQL_TEXT;
        events.append(entry);
        nodes.push_back(std::move(Rec));
        return int(nodes.size()) - 1;
    }
    void MissingFolder(const QString &Name) override { events.append(u'!' + Name); }

    QStringList events;
    std::vector<std::unique_ptr<TPropTVItem>> nodes;
};

class CatalogStore_Sqlite : public ::testing::Test {
protected:
    CatalogDb db;
};

TEST_F(CatalogStore_Sqlite, AnEmptyCatalogPlacesNothing)
{
    RecordingSink sink;
    EXPECT_TRUE(LoadCatalog(sink));
    EXPECT_EQ(sink.events, QStringList());
}

TEST_F(CatalogStore_Sqlite, FoldersComeFirstByDepthThenReportsEachByName)
{
    db.addFolder(1, "Root", 0);
    db.addFolder(2, "B folder", 1);
    db.addFolder(3, "A folder", 1);
    db.addFolder(4, "Deep", 2);
    db.addReport(5, "Zeta", 1, "select 1 x");
    db.addReport(6, "Alpha", 1, {});
    db.addReport(7, "In deep", 4, "select 2 y");
    db.addFolder(8, "Second root", 0);
    RecordingSink sink;
    EXPECT_TRUE(LoadCatalog(sink));
    EXPECT_EQ(sink.events.join(QStringLiteral(" ; ")),
              QStringLiteral("Root ; Second root ; A folder<Root ; B folder<Root ; Deep<B folder ; "
                             "Alpha<Root ; Zeta<Root=select 1 x ; In deep<Deep=select 2 y"));
    const TPropTVItem &deep = *sink.nodes[4];
    EXPECT_EQ(deep.id, 4);
    EXPECT_EQ(deep.parent_id, 2);
    EXPECT_EQ(deep.parent_name, QStringLiteral("B folder"));
    EXPECT_EQ(deep.nodetype, 1);
    EXPECT_EQ(sink.nodes[0]->parent_id, 0);
}

TEST_F(CatalogStore_Sqlite, RowsWhoseFolderIsNotInTheTreeAreReportedAndDropped)
{
    db.addFolder(1, "Root", 0);
    db.addReport(2, "Report", 1, "select 1 x");
    db.addFolder(3, "Under a report", 2);
    db.addReport(4, "Inside it", 3, "select 2 x");
    RecordingSink sink;
    EXPECT_TRUE(LoadCatalog(sink));
    EXPECT_EQ(sink.events,
              (QStringList{"Root", "!Under a report", "Report<Root=select 1 x", "!Inside it"}));
}

TEST_F(CatalogStore_Sqlite, NewIdentifiersFollowTheLargestStoredOne)
{
    db.addFolder(1, "Root", 0);
    db.addFolder(7, "Seven", 1);
    const TPropTVItem root = node(1, QStringLiteral("Root"), 0, 1);
    auto folder = NewNodeRecord(root, 1);
    ASSERT_TRUE(InsUpDateNode(*folder, 0, false));
    EXPECT_EQ(folder->id, 8);
    auto report = NewNodeRecord(root, 0);
    ASSERT_TRUE(InsUpDateNode(*report, 0, false));
    EXPECT_EQ(report->id, 9);
    EXPECT_EQ(db.rows("SELECT * FROM QUORVEL_CAT WHERE ID_REPORT > 7 ORDER BY ID_REPORT"),
              QStringLiteral("8 Новая папка 1 1 | 9 Новый отчет 1 0"));
    // The new report's definition row is there for the editor's save to update.
    EXPECT_EQ(db.rows("SELECT ID_REPORT FROM QUORVEL"), QStringLiteral("9"));
}

TEST_F(CatalogStore_Sqlite, TheFirstIdentifierOfAnEmptyTableIsOne)
{
    const TPropTVItem parent = node(5, QStringLiteral("P"), 0, 1);
    auto folder = NewNodeRecord(parent, 1);
    ASSERT_TRUE(InsUpDateNode(*folder, 0, false));
    EXPECT_EQ(folder->id, 1);
}

TEST_F(CatalogStore_Sqlite, NamesAreStoredAsTypedAndRootsStayRoots)
{
    db.addFolder(1, "Root", 0);
    db.addReport(2, "Report", 1, "select 1 x");
    TPropTVItem root = node(1, QStringLiteral("Корень 'главный'"), 0, 1);
    ASSERT_TRUE(InsUpDateNode(root, 0, true));
    TPropTVItem report = node(2, QStringLiteral("O'Brien; DROP TABLE QUORVEL --"), 1, 0);
    ASSERT_TRUE(InsUpDateNode(report, 0, false));
    EXPECT_EQ(db.rows("SELECT * FROM QUORVEL_CAT ORDER BY ID_REPORT"),
              QStringLiteral("1 Корень 'главный' ~ 1 | 2 O'Brien; DROP TABLE QUORVEL -- 1 0"));
    EXPECT_EQ(db.rows("SELECT ID_REPORT FROM QUORVEL"), QStringLiteral("2"));
}

TEST_F(CatalogStore_Sqlite, ANewReportIsStoredWholeOrNotAtAll)
{
    db.addFolder(1, "Root", 0);
    // A definition row left behind for the next identifier makes the second insert fail.
    db.exec(QStringLiteral("INSERT INTO QUORVEL (ID_REPORT) VALUES (2)"));
    const TPropTVItem root = node(1, QStringLiteral("Root"), 0, 1);
    auto report = NewNodeRecord(root, 0);
    EXPECT_FALSE(InsUpDateNode(*report, 0, false));
    EXPECT_EQ(report->id, 2);
    EXPECT_EQ(db.rows("SELECT ID_REPORT FROM QUORVEL_CAT"), QStringLiteral("1"));
}

TEST_F(CatalogStore_Sqlite, DeletingANodeDeletesEverythingBelowItInBothTables)
{
    db.addFolder(1, "Root", 0);
    db.addFolder(2, "Folder", 1);
    db.addFolder(3, "Sub", 2);
    db.addReport(4, "Deep report", 3, "select 1 x");
    db.addReport(5, "Report", 2, "select 2 x");
    db.addFolder(6, "Under a report", 5);
    db.addReport(7, "Kept", 1, "select 3 x");
    EXPECT_TRUE(DeleteSubtree(2));
    EXPECT_EQ(db.rows("SELECT ID_REPORT FROM QUORVEL_CAT ORDER BY 1"), QStringLiteral("1 | 7"));
    EXPECT_EQ(db.rows("SELECT ID_REPORT FROM QUORVEL ORDER BY 1"), QStringLiteral("7"));
}

TEST_F(CatalogStore_Sqlite, AParentLinkLoopDoesNotStopTheDeletion)
{
    db.exec(QStringLiteral("INSERT INTO QUORVEL_CAT VALUES (1, 'A', 2, 1);"
                           "INSERT INTO QUORVEL_CAT VALUES (2, 'B', 1, 1)"));
    EXPECT_TRUE(DeleteSubtree(1));
    EXPECT_EQ(db.rows("SELECT COUNT(*) FROM QUORVEL_CAT"), QStringLiteral("0"));
}

struct MenuCase {
    int id;
    int nodetype;
    TTreeMenuStates states;
};

void PrintTo(const MenuCase &c, std::ostream *os)
{
    *os << "id " << c.id << " type " << c.nodetype;
}

class TreeMenuStatesCases : public ::testing::TestWithParam<MenuCase> {};

TEST_P(TreeMenuStatesCases, FollowTheNode)
{
    EXPECT_EQ(TreeMenuStates(node(GetParam().id, {}, 0, GetParam().nodetype)), GetParam().states);
}

INSTANTIATE_TEST_SUITE_P(CatalogStore, TreeMenuStatesCases,
                         ::testing::Values(MenuCase{5, 1, {true, true, false, false}},
                                           MenuCase{0, 1, {true, true, false, false}},
                                           MenuCase{-1, 1, {true, false, false, false}},
                                           MenuCase{5, 0, {false, false, false, true}}));
} // namespace
