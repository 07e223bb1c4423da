#include "catalog/ExportGrid.h"
#include "catalog/QuorvelUtil.h"
#include "catalog/StringGrid.h"
#include "export/ExportErrors.h"
#include "tests/catalog/CatalogDb.h"
#include "tests/catalog/GridDump.h"
#include "tests/db/DbFixture.h"
#include "tests/support/ExportReaders.h"
#include "tests/support/Readers.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <functional>

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
    {"MillionCharacters", "select replace(hex(zeroblob(500000)), '0', '-') s", 1, 1,
     [] { return QString(1000000, u'-'); }},
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

    // Each format as its independent reader sees the checked cell of the data row.
    const struct {
        TExportKind kind;
        const char *file;
        std::function<QString(const QString &)> read;
    } formats[] = {
        {TExportKind::Xls, "book.xls",
         [&](const QString &f) {
             const XlsBookView view = readXlsWithXlrd(f);
             return view.sheets.isEmpty() ? view.error
                                          : view.sheets[0].rows.value(1).value(c.column);
         }},
        {TExportKind::Rtf, "doc.rtf",
         [&](const QString &f) {
             const UnrtfView view = readWithUnrtf(f);
             return view.texts.contains(expected) ? expected : view.error;
         }},
        {TExportKind::Xlsx, "book.xlsx",
         [&](const QString &f) {
             const QJsonObject book = readXlsxWithOpenpyxl(f);
             const QJsonArray rows = book["sheets"].toArray().at(0).toObject()["rows"].toArray();
             const QJsonValue v = rows.at(1).toArray().at(c.column).toObject()["v"];
             return book["error"].toString().isEmpty() ? v.toVariant().toString()
                                                       : book["error"].toString();
         }},
        {TExportKind::Csv, "table.csv",
         [&](const QString &f) {
             return readCsvWithPython(f, "utf-8-sig", ";").value(1).value(c.column);
         }},
    };
    for (const auto &format : formats) {
        const QString file = dir.file(format.file);
        try {
            ExportResultAs(format.kind, &SG.Result(), nullptr, file);
            EXPECT_EQ(format.read(file), expected) << format.file << ": the cell whole";
        } catch (const EQExportError &e) {
            EXPECT_FALSE(QString::fromUtf8(e.what()).isEmpty());
            EXPECT_FALSE(QFile::exists(file)) << format.file << ": a refusal leaves no file";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Results, OddResults_Gui_Sqlite_Readers, ::testing::ValuesIn(oddCases),
                         CaseName());
