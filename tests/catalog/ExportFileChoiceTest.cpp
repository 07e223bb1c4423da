#include "catalog/ExportFileChoice.h"
#include "tests/catalog/ExportTestKit.h"
#include "tests/support/TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct PathCase {
    const char *name;
    QString chosen;
    std::optional<QString> node;
    TExportKind kind;
    QString expected;
};

void PrintTo(const PathCase &c, std::ostream *os)
{
    *os << c.name;
}

class ExportFilePathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(ExportFilePathTest, NamesTheFile)
{
    const PathCase &c = GetParam();
    EXPECT_EQ(ExportFilePath(c.chosen, c.node, c.kind), c.expected);
}

constexpr auto Xls = TExportKind::Xls;
constexpr auto Rtf = TExportKind::Rtf;
constexpr auto Xlsx = TExportKind::Xlsx;
constexpr auto Csv = TExportKind::Csv;
constexpr auto Pdf = TExportKind::Pdf;

INSTANTIATE_TEST_SUITE_P(
    Cases, ExportFilePathTest,
    ::testing::Values(
        PathCase{"NodeTextInTheChosenFolder", "/d/typed.xls", "Отчет", Xls, "/d/Отчет.xls"},
        PathCase{"XlsKeepsMarks", "/d/typed.xls", "a<b>:c", Xls, "/d/a<b>:c.xls"},
        PathCase{"RtfDropsMarks", "/d/otchet", "a<b>:c", Rtf, "/d/abc.rtf"},
        PathCase{"BackslashIsASubfolder", "/d/x", "Sub\\Rep", Xls, "/d/Sub/Rep.xls"},
        PathCase{"SlashIsASubfolder", "/d/x", "Sub/Rep", Rtf, "/d/Sub/Rep.rtf"},
        PathCase{"NoWayOutOfTheFolder", "/d/x", "..\\..\\Rep", Xls, "/d/Rep.xls"},
        PathCase{"NoNodeXlsUnchanged", "/d/typed", std::nullopt, Xls, "/d/typed"},
        PathCase{"NoNodeRtfGetsTheExtension", "/d/otchet", std::nullopt, Rtf, "/d/otchet.rtf"},
        PathCase{"NoNodeRtfMarksLeaveOnlyTheName", "/d:e/a<b>", std::nullopt, Rtf, "/d:e/ab.rtf"},
        PathCase{"NodeTextXlsx", "/d/typed", "Sub\\Отчет", Xlsx, "/d/Sub/Отчет.xlsx"},
        PathCase{"NodeTextCsvKeepsMarks", "/d/typed", "a:b", Csv, "/d/a:b.csv"},
        PathCase{"NoNodeGetsTheExtension", "/d/мой", std::nullopt, Pdf, "/d/мой.pdf"},
        PathCase{"NoNodeKeepsAnExtensionTyped", "/d/b.XLSX", std::nullopt, Xlsx, "/d/b.XLSX"},
        PathCase{"NoNodeAnotherExtensionIsPartOfTheName", "/d/b.xls", std::nullopt, Csv,
                 "/d/b.xls.csv"}),
    [](const ::testing::TestParamInfo<PathCase> &p) { return p.param.name; });

TEST(ChooseExportFile, AConfirmedFolderBecomesTheWorkingDirectoryACancelLeavesIt)
{
    TempDir dir;
    QDir(dir.path()).mkpath("a");
    const WorkingDirectory cwd(dir.path());
    SaveDialogScript save;
    save.answer(dir.file("a/typed.xls")).answer(std::nullopt);
    EXPECT_EQ(ChooseExportFile(nullptr, "otchet.xls"), dir.file("a/typed.xls"));
    EXPECT_EQ(ChooseExportFile(nullptr, "otchet"), std::nullopt);
    EXPECT_EQ(save.asked(), (QStringList{dir.path() + "|otchet.xls", dir.file("a") + "|otchet"}));
    EXPECT_EQ(QDir::currentPath(), dir.file("a"));
}

} // namespace
