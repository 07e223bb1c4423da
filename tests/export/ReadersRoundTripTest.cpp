#include "export/QExport4RTF.h"
#include "export/QExport4XLS.h"
#include "tests/export/ExportFixtures.h"
#include "tests/support/Readers.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const QList<QStringList> Rows = {
    {"Привет, мир", "Line \"quoted\"", "{фигурные} \\ скобки"},
    {"", "пусто слева", ""},
    {"две\r\nстроки", "Ёжик №5", "x"},
};

QStringList trimmed(QStringList row)
{
    while (!row.isEmpty() && row.back().isEmpty())
        row.removeLast();
    return row;
}

// LibreOffice starts slowly: every document of this suite goes through one run per format.
class LibreOffice_Readers : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<TempDir>();
        TExportModel xls = gridModel(dir->file("book.xls"), 3);
        xls.Rows = rowsFromList(Rows);
        TQExport4XLS().Execute(xls);
        TExportModel rtf = gridModel(dir->file("doc.rtf"), 3);
        rtf.Rows = rowsFromList(Rows);
        TQExport4RTF().Execute(rtf);
        csv = sofficeXlsToCsv({xls.FileName}, dir->path()).value(0);
        text = sofficeRtfToText({rtf.FileName}, dir->path()).value(0);
        unrtf = readWithUnrtf(rtf.FileName);
    }
    static void TearDownTestSuite() { dir.reset(); }

    static std::unique_ptr<TempDir> dir;
    static QStringList csv;
    static QString text;
    static UnrtfView unrtf;
};

std::unique_ptr<TempDir> LibreOffice_Readers::dir;
QStringList LibreOffice_Readers::csv;
QString LibreOffice_Readers::text;
UnrtfView LibreOffice_Readers::unrtf;

TEST_F(LibreOffice_Readers, WorkbookConvertsToCsvWithTheSameTexts)
{
    ASSERT_EQ(csv.size(), 1);
    QList<QStringList> rows;
    for (const QStringList &row : parseCsv(readTextFile(csv[0])))
        rows.append(trimmed(row));
    QList<QStringList> expected = {{}, {"Верх"}, {"ColNo_0", "ColNo_1", "ColNo_2"}};
    for (const QStringList &row : Rows) {
        QStringList r = row;
        r.replaceInStrings("\r\n", "\n");
        expected.append(trimmed(r));
    }
    expected.append(QStringList());
    expected.append(QStringList{"Низ"});
    EXPECT_EQ(rows, expected);
}

QStringList cellTexts()
{
    QStringList texts = {"Верх", "ColNo_0", "ColNo_1", "ColNo_2", "Низ"};
    for (const QStringList &row : Rows)
        for (const QString &cell : row)
            for (const QString &line : cell.split("\r\n"))
                if (!line.isEmpty())
                    texts.append(line);
    return texts;
}

TEST_F(LibreOffice_Readers, DocumentConvertsToTextWithEveryCell)
{
    ASSERT_FALSE(text.isEmpty());
    const QString doc = readTextFile(text);
    QStringList lines;
    for (const QString &line : doc.split('\n'))
        lines.append(line.trimmed());
    for (const QString &cell : cellTexts())
        EXPECT_TRUE(lines.contains(cell)) << cell.toStdString() << " not in\n" << doc.toStdString();
}

TEST_F(LibreOffice_Readers, UnrtfReadsEveryCell)
{
    ASSERT_EQ(unrtf.error, "");
    for (const QString &cell : cellTexts())
        EXPECT_TRUE(unrtf.texts.contains(cell))
            << cell.toStdString() << " not in " << unrtf.texts.join(" | ").toStdString();
}

} // namespace
