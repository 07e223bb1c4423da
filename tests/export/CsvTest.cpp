#include "export/CsvWriter.h"
#include "tests/export/ExportFixtures.h"
#include "tests/support/ExportReaders.h"
#include "tests/support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <ostream>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct LineCase {
    const char *name;
    QStringList fields;
    qsizetype count;
    QChar separator;
    QString line;
};

void PrintTo(const LineCase &c, std::ostream *os)
{
    *os << c.name;
}

class CsvLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(CsvLine, QuotesOnlyWhatMustBeQuoted)
{
    const LineCase &c = GetParam();
    EXPECT_EQ(csvLine(c.fields, c.count, c.separator), c.line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CsvLine,
    ::testing::Values(
        LineCase{"Plain", {"a", "Б", "12,5"}, 3, u';', "a;Б;12,5"},
        LineCase{"Separator", {"a;b", "c"}, 2, u';', "\"a;b\";c"},
        LineCase{"CommaIsNotTheSeparator", {"1,5", "x"}, 2, u';', "1,5;x"},
        LineCase{"CommaSeparator", {"1,5", "x"}, 2, u',', "\"1,5\",x"},
        LineCase{"Quote", {"say \"hi\""}, 1, u';', "\"say \"\"hi\"\"\""},
        LineCase{"LoneQuote", {"\""}, 1, u';', "\"\"\"\""},
        LineCase{"LineBreak", {"a\r\nb", "c\nd", "e\rf"}, 3, u';', "\"a\r\nb\";\"c\nd\";\"e\rf\""},
        LineCase{"BlanksKept", {" a ", ""}, 2, u';', " a ;"},
        LineCase{"MissingFieldsAreEmpty", {"a"}, 3, u';', "a;;"},
        LineCase{"ExtraFieldsIgnored", {"a", "b", "c"}, 2, u';', "a;b"},
        LineCase{"NoColumns", {"a"}, 0, u';', ""},
        LineCase{"Tab", {"a\tb", "c"}, 2, u'\t', "\"a\tb\"\tc"}),
    [](const auto &p) { return std::string(p.param.name); });

TEST(CsvFile, BomCaptionsRowsAndCrLfExactly)
{
    TempDir dir;
    TExportModel m = gridModel(dir.file("t.csv"), 2);
    m.Columns[0].FCaption = "№";
    m.Columns[1].FCaption = "Имя";
    m.Rows = rowsFromList({{"1", "a;b"}, {"2", ""}});
    TQExport4CSV().Execute(m);
    EXPECT_EQ(fileBytes(m.FileName),
              QByteArray("\xEF\xBB\xBF") + QString("№;Имя\r\n1;\"a;b\"\r\n2;\r\n").toUtf8());
}

TEST(CsvFile, EmptyResultWritesTheCaptionRowAlone)
{
    TempDir dir;
    TExportModel m = gridModel(dir.file("e.csv"), 2);
    TQExport4CSV().Execute(m);
    EXPECT_EQ(fileBytes(m.FileName), QByteArray("\xEF\xBB\xBF"
                                                "ColNo_0;ColNo_1\r\n"));
}

TEST(CsvFile, Windows1251AndAnotherSeparator)
{
    TempDir dir;
    TExportModel m = gridModel(dir.file("w.csv"), 2);
    m.Rows = rowsFromList({{"Ёж", "1,5"}, {"€ и 😀", "x"}});
    TQExport4CSV csv;
    csv.FOptions.FSeparator = u',';
    csv.FOptions.FEncoding = TCSVOptions::Windows1251;
    csv.Execute(m);
    // No byte order mark; the euro sign is in windows-1251, the emoji is not.
    EXPECT_EQ(fileBytes(m.FileName).toHex(' '),
              QByteArray("ColNo_0,ColNo_1\r\n\xA8\xE6,\"1,5\"\r\n\x88 \xE8 ?,x\r\n").toHex(' '));
}

const QList<QStringList> Rows = {
    {"Привет, мир", "Line \"quoted\"", "a;b;c"},
    {"", "две\r\nстроки", ""},
    {"Ёжик №5", "\"", ";"},
    {"12,5", "05.03.2015 8:30:00", "конец\nстроки"},
};

struct DialectCase {
    const char *name;
    QChar separator;
    TCSVOptions::TEncoding encoding;
    const char *pythonEncoding;
};

void PrintTo(const DialectCase &c, std::ostream *os)
{
    *os << c.name;
}

class Csv_Readers : public ::testing::TestWithParam<DialectCase> {};

TEST_P(Csv_Readers, PythonsCsvModuleReadsEveryCellBack)
{
    TempDir dir;
    TExportModel m = gridModel(dir.file("r.csv"), 3);
    m.Columns[1].FCaption = "Заголовок; с разделителем";
    m.Rows = rowsFromList(Rows);
    TQExport4CSV csv;
    csv.FOptions.FSeparator = GetParam().separator;
    csv.FOptions.FEncoding = GetParam().encoding;
    csv.Execute(m);
    QList<QStringList> expected = {{"ColNo_0", "Заголовок; с разделителем", "ColNo_2"}};
    expected += Rows;
    EXPECT_EQ(readCsvWithPython(m.FileName, GetParam().pythonEncoding, GetParam().separator),
              expected);
}

INSTANTIATE_TEST_SUITE_P(
    Dialects, Csv_Readers,
    ::testing::Values(DialectCase{"SemicolonUtf8", u';', TCSVOptions::Utf8WithBom, "utf-8-sig"},
                      DialectCase{"CommaWindows1251", u',', TCSVOptions::Windows1251, "cp1251"},
                      DialectCase{"TabUtf8", u'\t', TCSVOptions::Utf8WithBom, "utf-8-sig"}),
    [](const auto &p) { return std::string(p.param.name); });

} // namespace
