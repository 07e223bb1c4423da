#include "catalog/QuorvelUtil.h"
#include "catalog/PropTVItem.h"
#include "catalog/StringGrid.h"
#include "tests/catalog/GridDump.h"

#include <gtest/gtest.h>

namespace {
struct SplitCase {
    QString text;
    bool spaceCheck;
    QStringList items;
};

void PrintTo(const SplitCase &c, std::ostream *os)
{
    *os << '"' << c.text.toStdString() << '"';
}

class NamesCreateListCases : public ::testing::TestWithParam<SplitCase> {};

TEST_P(NamesCreateListCases, SplitsAsTheListSyntaxSays)
{
    QStringList list{QStringLiteral("left over")};
    NamesCreateList(GetParam().text, list, GetParam().spaceCheck);
    EXPECT_EQ(list, GetParam().items) << GetParam().text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    QuorvelUtil, NamesCreateListCases,
    ::testing::Values(
        SplitCase{QString(), false, {}}, SplitCase{QStringLiteral(" \t "), false, {}},
        SplitCase{QStringLiteral(" A , B "), false, {QStringLiteral("A"), QStringLiteral("B")}},
        SplitCase{QStringLiteral("A,,B"), false, {"A", "", "B"}},
        SplitCase{QStringLiteral("A,B,"), false, {"A", "B"}},
        SplitCase{QStringLiteral(",A"), false, {"", "A"}},
        SplitCase{QStringLiteral("A,\x01"
                                 "B\x02"),
                  false,
                  {"A", "B"}},
        SplitCase{QStringLiteral("A B"), false, {"A B"}},
        SplitCase{
            QStringLiteral("A.NAME N, COUNT(*) CNT, X AS Y, Z"), true, {"N", "CNT", "AS Y", "Z"}},
        SplitCase{QStringLiteral("NVL(A, 0) V"), true, {"NVL(A", "V"}}));

struct WidthCase {
    QString item;
    int width;
};

void PrintTo(const WidthCase &c, std::ostream *os)
{
    *os << '"' << c.item.toStdString() << '"';
}

class ColumnWidthCases : public ::testing::TestWithParam<WidthCase> {};

TEST_P(ColumnWidthCases, WholeNumbersOrHundred)
{
    EXPECT_EQ(ColumnWidthOf(GetParam().item), GetParam().width) << GetParam().item.toStdString();
}

INSTANTIATE_TEST_SUITE_P(QuorvelUtil, ColumnWidthCases,
                         ::testing::Values(WidthCase{"120", 120}, WidthCase{"abc", 100},
                                           WidthCase{"", 100}, WidthCase{"12.5", 100},
                                           WidthCase{"-5", -5}, WidthCase{"80", 80}));

struct AlignCase {
    QString formats;
    int col;
    std::optional<Qt::Alignment> alignment;
};

void PrintTo(const AlignCase &c, std::ostream *os)
{
    *os << '"' << c.formats.toStdString() << "\" col " << c.col;
}

class CellAlignmentCases : public ::testing::TestWithParam<AlignCase> {};

TEST_P(CellAlignmentCases, CodesByColumn)
{
    EXPECT_EQ(CellAlignment(GetParam().formats, GetParam().col), GetParam().alignment)
        << GetParam().formats.toStdString() << " col " << GetParam().col;
}

const Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignVCenter;
const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;

INSTANTIATE_TEST_SUITE_P(
    QuorvelUtil, CellAlignmentCases,
    ::testing::Values(AlignCase{"C,R,L", 1, centre}, AlignCase{"C,R,L", 2, right},
                      AlignCase{"C,R,L", 3, left}, AlignCase{"c,r", 1, left},
                      AlignCase{"c,r", 2, left}, AlignCase{"C, R ", 2, right},
                      AlignCase{"C,R", 3, std::nullopt}, AlignCase{"C,R", 0, std::nullopt},
                      AlignCase{"  ", 1, std::nullopt}, AlignCase{"", 1, std::nullopt},
                      AlignCase{"X,,R", 2, left}));

TEST(QuorvelUtil, FieldListIsTheSelectListCutToAliases)
{
    EXPECT_EQ(FieldList(QStringLiteral("select t.dt d, sum(v) s from data t where t.dt between "
                                       "dtpbegin and dtpend group by t.dt")),
              (QStringList{"D", "S"}));
    // First occurrences anywhere, also inside longer words.
    EXPECT_EQ(FieldList(QStringLiteral("select a, fromage b from t")), (QStringList{"A"}));
    EXPECT_EQ(FieldList(QStringLiteral("select a")), QStringList());
    EXPECT_EQ(FieldList(QString()), QStringList());
}

TEST(QuorvelUtil, PeriodStatementReplacesMarkersEverywhereInUpperCase)
{
    const QDate b(2015, 3, 1);
    const QDate e(2015, 3, 31);
    EXPECT_EQ(PeriodStatement(QStringLiteral("select t.dt d, sum(v) s from data t where t.dt "
                                             "between dtpbegin and dtpend group by t.dt"),
                              b, e),
              QStringLiteral("SELECT T.DT D, SUM(V) S FROM DATA T WHERE T.DT BETWEEN "
                             "TO_DATE('01.03.2015', 'DD.MM.YYYY') AND TO_DATE('31.03.2015', "
                             "'DD.MM.YYYY') GROUP BY T.DT"));
    EXPECT_EQ(PeriodStatement(QStringLiteral("select 'from DtpEnd on' x"), b, e),
              QStringLiteral("SELECT 'FROM TO_DATE('31.03.2015', 'DD.MM.YYYY') ON' X"));
}

class CreateTable_Gui : public ::testing::Test {
protected:
    CreateTable_Gui()
    {
        SG.SetColCount(2);
        SG.SetRowCount(2);
        StpSG.SetColCount(2);
        StpSG.SetRowCount(4);
    }
    TStringGrid SG;
    TStringGrid StpSG;
};

TEST_F(CreateTable_Gui, PreparesColumnsWidthsAndTitles)
{
    TPropTVItem rec;
    rec.SQL_TEXT = QStringLiteral("select a x, b y, c z, d w from t");
    rec.NAME_TITLE = QStringLiteral("Один,Два");
    rec.LENGTH_COLUMS = QStringLiteral("120,abc,,80");
    rec.FORMAT_STR = QStringLiteral("C,R");
    SG.SetRowCount(7);
    SG.SetCells(1, 1, u"kept");
    CreateTableIn(rec, SG, &StpSG);
    EXPECT_EQ(rec.SQL_TEXT, QStringLiteral("SELECT A X, B Y, C Z, D W FROM T"));
    EXPECT_EQ(gridWidths(SG), QStringLiteral("30,120,100,100,80"));
    EXPECT_EQ(gridText(SG), QStringLiteral(",Один,Два,, | ,kept,,,"));
    EXPECT_EQ(gridText(StpSG), QStringLiteral(",X,Y,Z,W | ,Один,Два,, | ,120,abc,,80 | ,C,R,,"));
}

TEST_F(CreateTable_Gui, ColumnsWithoutItemsKeepWhatTheyHad)
{
    TPropTVItem first;
    first.SQL_TEXT = QStringLiteral("select a, b from t");
    first.NAME_TITLE = QStringLiteral("A,B");
    first.LENGTH_COLUMS = QStringLiteral("50,60");
    CreateTableIn(first, SG, nullptr);
    TPropTVItem second;
    second.SQL_TEXT = QStringLiteral("select a, b from t");
    second.NAME_TITLE = QStringLiteral("New");
    CreateTableIn(second, SG, nullptr);
    EXPECT_EQ(gridText(SG), QStringLiteral(",New,B | ,,"));
    EXPECT_EQ(gridWidths(SG), QStringLiteral("30,50,60"));
}

TEST_F(CreateTable_Gui, SettingsGridOfAQueryWithoutFieldsHasTwoColumns)
{
    TPropTVItem rec;
    CreateTableIn(rec, SG, &StpSG);
    EXPECT_EQ(StpSG.ColCount(), 2);
    EXPECT_EQ(SG.ColCount(), 1);
}
} // namespace
