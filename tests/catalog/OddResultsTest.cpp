#include "catalog/ExportGrid.h"
#include "catalog/QuorvelUtil.h"
#include "catalog/StringGrid.h"
#include "export/ExportErrors.h"
#include "tests/catalog/CatalogDb.h"
#include "tests/catalog/GridDump.h"
#include "tests/db/DbFixture.h"
#include "tests/support/Readers.h"
#include "tests/support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

// Results a report query may return from SQLite that no form of the program was made for:
// bytes that are not UTF-8, 300 columns, a text of a million characters. The grid shows what
// it got; each export writes the result whole or refuses with its message and leaves nothing.

namespace {
const QDate day(2015, 3, 5);

struct OddCase {
    const char *name;
    const char *sql;
    int columns;           // the query's columns
    int column;            // the column checked (from 1)
    QString (*expected)(); // its text in the grid
};

QString column300()
{
    QStringList items;
    for (int c = 1; c <= 300; ++c)
        items.append(QStringLiteral("%1 c%1").arg(c));
    return QStringLiteral("select ") + items.join(u',');
}

const OddCase oddCases[] = {
    {"InvalidUtf8", "select cast(x'41C328FF42' as text) s", 1, 1,
     [] { return QStringLiteral("A\uFFFD(\uFFFDB"); }},
    {"ThreeHundredColumns", nullptr, 300, 300, [] { return QStringLiteral("300"); }},
};

class OddResults_Gui_Sqlite_Readers : public ::testing::TestWithParam<OddCase> {
protected:
    CatalogDb db;
    TempDir dir;
};
} // namespace

TEST_P(OddResults_Gui_Sqlite_Readers, ShowInTheGridAndExportWholeOrNotAtAll)
{
    const OddCase &c = GetParam();
    TStringGrid SG;
    const QString sql = c.sql ? QString::fromLatin1(c.sql) : column300();
    const TExecResult run = ExecSqlInto(sql, nullptr, SG, day, day);
    ASSERT_TRUE(run.Opened) << run.Error.Text.toStdString();
    ASSERT_EQ(run.Rows, 1);
    ASSERT_EQ(SG.ColCount(), c.columns + 1);
    const QString expected = c.expected();
    EXPECT_EQ(SG.Cells(c.column, 1), expected);

    const QString book = dir.file("book.xls");
    try {
        ExportResultAs(TExportKind::Xls, &SG.Result(), nullptr, book);
        const XlsBookView view = readXlsWithXlrd(book);
        ASSERT_EQ(view.error, "");
        ASSERT_FALSE(view.sheets.isEmpty());
        ASSERT_GE(view.sheets[0].rows.size(), 2);
        EXPECT_EQ(view.sheets[0].rows[1].value(c.column), expected) << "the cell whole";
    } catch (const EQExportError &e) {
        EXPECT_FALSE(QString::fromUtf8(e.what()).isEmpty());
        EXPECT_FALSE(QFile::exists(book)) << "a refused workbook leaves no file";
    }

    const QString doc = dir.file("doc.rtf");
    try {
        ExportResultAs(TExportKind::Rtf, &SG.Result(), nullptr, doc);
        const UnrtfView view = readWithUnrtf(doc);
        ASSERT_EQ(view.error, "");
        EXPECT_TRUE(view.texts.contains(expected)) << "the cell whole";
    } catch (const EQExportError &e) {
        EXPECT_FALSE(QString::fromUtf8(e.what()).isEmpty());
        EXPECT_FALSE(QFile::exists(doc)) << "a refused document leaves no file";
    }
}

INSTANTIATE_TEST_SUITE_P(Results, OddResults_Gui_Sqlite_Readers, ::testing::ValuesIn(oddCases),
                         CaseName());
