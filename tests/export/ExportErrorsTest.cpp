#include "export/QExport4RTF.h"
#include "export/QExport4XLS.h"
#include "tests/export/ExportFixtures.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>

namespace {

enum Engine { Xls, Rtf };

struct Engines {
    TQExport4XLS xls;
    TQExport4RTF rtf;

    void run(Engine e, const TExportModel &m)
    {
        if (e == Xls)
            xls.Execute(m);
        else
            rtf.Execute(m);
    }
};

// After a failed export the same engine writes the next file.
void expectUsable(Engines &engines, Engine e, const TempDir &dir)
{
    TExportModel m = gridModel(dir.file(e == Xls ? "next.xls" : "next.rtf"), 2);
    m.Rows = rowsFromList(sampleRows(3, 2));
    EXPECT_NO_THROW(engines.run(e, m));
    QFile f(m.FileName);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    if (e == Xls)
        EXPECT_TRUE(bytes.startsWith(QByteArray::fromHex("d0cf11e0a1b11ae1")));
    else
        EXPECT_TRUE(bytes.startsWith("{\\rtf1") && bytes.endsWith("}"));
}

class ExportErrors : public ::testing::TestWithParam<Engine> {
protected:
    TempDir dir;
    Engines engines;
};

TEST_P(ExportErrors, EmptyFileName)
{
    TExportModel m = gridModel(QString(), 1);
    const EQExportError e = errorOf([&] { engines.run(GetParam(), m); });
    EXPECT_EQ(e.kind(), EQExportError::NoFileName);
    EXPECT_EQ(e.message(), "Result file name not present");
    expectUsable(engines, GetParam(), dir);
}

TEST_P(ExportErrors, MissingFoldersAreMade)
{
    TExportModel m = gridModel(dir.file("a/b/c/report.out"), 1);
    engines.run(GetParam(), m);
    EXPECT_TRUE(QFile::exists(m.FileName));
}

TEST_P(ExportErrors, FolderThatCannotBeMade)
{
    QFile blocker(dir.file("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TExportModel m = gridModel(dir.file("file/sub/report.out"), 1);
    const EQExportError e = errorOf([&] { engines.run(GetParam(), m); });
    EXPECT_EQ(e.kind(), EQExportError::DirectoryNotCreated);
    EXPECT_EQ(e.message(), QStringLiteral("Directory \"%1\" not found and cannot be created")
                               .arg(dir.file("file/sub")));
    expectUsable(engines, GetParam(), dir);
}

TEST_P(ExportErrors, FileThatCannotBeCreated)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken"));
    TExportModel m = gridModel(dir.file("taken"), 1);
    const EQExportError e = errorOf([&] { engines.run(GetParam(), m); });
    if (GetParam() == Xls) {
        EXPECT_EQ(e.kind(), EQExportError::XlsCannotCreate);
        EXPECT_EQ(e.message(), "Cannot create file " + m.FileName);
    } else {
        EXPECT_EQ(e.kind(), EQExportError::RtfCannotCreate);
        // with the system's reason after the path
        EXPECT_TRUE(e.message().startsWith("Cannot create file \"" + m.FileName + "\". "));
        EXPECT_GT(e.message().size(), ("Cannot create file \"" + m.FileName + "\". ").size());
    }
    expectUsable(engines, GetParam(), dir);
}

TEST_P(ExportErrors, DiskFullOnDevFull)
{
    TExportModel m = gridModel("/dev/full", 3);
    m.Rows = rowsFromList(sampleRows(2000, 3));
    const EQExportError e = errorOf([&] { engines.run(GetParam(), m); });
    EXPECT_EQ(e.kind(),
              GetParam() == Xls ? EQExportError::XlsWriteFailed : EQExportError::RtfWriteFailed);
    EXPECT_EQ(e.message(), GetParam() == Xls ? "Error writing output file" : "Stream write error");
    expectUsable(engines, GetParam(), dir);
}

INSTANTIATE_TEST_SUITE_P(Engines, ExportErrors, ::testing::Values(Xls, Rtf),
                         [](const auto &p) { return p.param == Xls ? "Xls" : "Rtf"; });

TEST(XlsErrors, TextOver32767CharactersStopsTheExport)
{
    TempDir dir;
    TQExport4XLS xls;
    TExportModel m = gridModel(dir.file("long.xls"), 1);
    m.Rows = rowsFromList({{QString(32768, u'я')}});
    const EQExportError e = errorOf([&] { xls.Execute(m); });
    EXPECT_EQ(e.kind(), EQExportError::StringTooLarge);
    EXPECT_EQ(e.message(), "String too large");
    m.Rows = rowsFromList({{QString(32767, u'я')}});
    EXPECT_NO_THROW(xls.Execute(m));
}

TEST(XlsErrors, TooManyColumnsOrTitleRowsAreRefused)
{
    TempDir dir;
    TQExport4XLS xls;
    TExportModel m = gridModel(dir.file("wide.xls"), 257);
    EXPECT_EQ(errorOf([&] { xls.Execute(m); }).kind(), EQExportError::TooManyColumns);
    m = gridModel(dir.file("tall.xls"), 1);
    m.Header = QStringList(65533, QString());
    EXPECT_EQ(errorOf([&] { xls.Execute(m); }).kind(), EQExportError::NoRoomForData);
}

// A real full file system: a tmpfs of 16 KB.
class DiskFull : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        if (!disk_.mount("size=16k"))
            GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    }

    TempDir dir_;
    TmpfsMount disk_;
};

TEST_P(DiskFull, WriteErrorAndTheEngineGoesOn)
{
    Engines engines;
    TExportModel m = gridModel(disk_.path() + "/full.out", 4);
    m.Rows = rowsFromList(sampleRows(3000, 4));
    const EQExportError e = errorOf([&] { engines.run(GetParam(), m); });
    EXPECT_EQ(e.kind(),
              GetParam() == Xls ? EQExportError::XlsWriteFailed : EQExportError::RtfWriteFailed);
    // A partly written file would pass for a report: nothing is left under the name.
    EXPECT_FALSE(QFile::exists(m.FileName));
    EXPECT_EQ(QDir(disk_.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    expectUsable(engines, GetParam(), dir_);
}

INSTANTIATE_TEST_SUITE_P(Engines, DiskFull, ::testing::Values(Xls, Rtf),
                         [](const auto &p) { return p.param == Xls ? "Xls" : "Rtf"; });

} // namespace
