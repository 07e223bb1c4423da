#include "export/CsvWriter.h"
#include "export/PdfPages.h"
#include "export/QExport4RTF.h"
#include "export/QExport4XLS.h"
#include "export/XlsxWriter.h"
#include "tests/export/ExportFixtures.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>

// The failures of the writers that write beside the target and rename: the error with the
// system's text, and nothing left under the chosen name (nor beside it).

namespace {

enum Engine { Xlsx, Csv, Pdf };

void run(Engine e, const TExportModel &m)
{
    if (e == Xlsx)
        TQExport4XLSX().Execute(m);
    else if (e == Csv)
        TQExport4CSV().Execute(m);
    else
        TQExport4PDF().Execute(m);
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

QByteArray contentOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::string engineName(Engine e)
{
    return e == Xlsx ? "Xlsx" : e == Csv ? "Csv" : "Pdf";
}

class ExportFileErrors : public ::testing::TestWithParam<Engine> {
protected:
    TempDir dir;
};

TEST_P(ExportFileErrors, EmptyFileName)
{
    EXPECT_EQ(errorOf([&] { run(GetParam(), gridModel(QString(), 1)); }).kind(),
              EQExportError::NoFileName);
}

TEST_P(ExportFileErrors, NameTooLongForTheSystem)
{
    TExportModel m = gridModel(dir.file(QString(300, u'я')), 1);
    const EQExportError e = errorOf([&] { run(GetParam(), m); });
    EXPECT_EQ(e.kind(), EQExportError::FileCannotCreate);
    EXPECT_EQ(e.message(),
              QStringLiteral("Cannot create file \"%1\". File name too long").arg(m.FileName));
    EXPECT_EQ(filesIn(dir.path()), QStringList());
}

TEST_P(ExportFileErrors, FolderAsTheTarget)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken"));
    TExportModel m = gridModel(dir.file("taken"), 1);
    const EQExportError e = errorOf([&] { run(GetParam(), m); });
    EXPECT_EQ(e.kind(), EQExportError::FileCannotCreate);
    EXPECT_EQ(e.message(),
              QStringLiteral("Cannot create file \"%1\". Is a directory").arg(m.FileName));
    EXPECT_EQ(filesIn(dir.path()), QStringList());
}

TEST_P(ExportFileErrors, DeviceIsWrittenDirectlyAndAFullOneFails)
{
    TExportModel m = gridModel("/dev/full", 3);
    m.Rows = rowsFromList(sampleRows(3000, 3));
    const EQExportError e = errorOf([&] { run(GetParam(), m); });
    EXPECT_EQ(e.kind(), EQExportError::FileWriteFailed);
    EXPECT_TRUE(e.message().startsWith("Error writing file \"/dev/full\". ")) << e.what();
    EXPECT_TRUE(QFileInfo("/dev/full").exists() && !QFileInfo("/dev/full").isFile());
    m.FileName = "/dev/null";
    EXPECT_NO_THROW(run(GetParam(), m));
    EXPECT_FALSE(QFileInfo("/dev/null").isFile());
}

INSTANTIATE_TEST_SUITE_P(Engines, ExportFileErrors, ::testing::Values(Xlsx, Csv, Pdf),
                         [](const auto &p) { return engineName(p.param); });

TEST(ExportFileReplace, OlderFileReplacedWithItsPermissionsAndLinksKept)
{
    TempDir dir;
    const QString target = dir.file("report.csv");
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("older report");
    }
    const QFile::Permissions shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                      QFile::WriteGroup | QFile::ReadOther;
    ASSERT_TRUE(QFile::setPermissions(target, shared));
    ASSERT_TRUE(QFile::link(target, dir.file("link.csv")));
    TExportModel m = gridModel(dir.file("link.csv"), 1);
    TQExport4CSV().Execute(m);
    EXPECT_TRUE(QFileInfo(dir.file("link.csv")).isSymLink());
    EXPECT_EQ(contentOf(target), "\xEF\xBB\xBF"
                                 "ColNo_0\r\n");
    EXPECT_EQ(QFile::permissions(target) & ~(QFile::ReadUser | QFile::WriteUser), shared);
    EXPECT_EQ(filesIn(dir.path()), (QStringList{"link.csv", "report.csv"}));
}

TEST(ExportFileReplace, ARefusedWorkbookOrDocumentLeavesTheOlderFileAsItWas)
{
    TempDir dir;
    for (const QString &name : {QStringLiteral("report.xls"), QStringLiteral("report.rtf")}) {
        const QString target = dir.file(name);
        {
            QFile old(target);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("older report");
        }
        TExportModel m = gridModel(target, 1);
        // A text longer than a workbook cell holds; RTF is refused by a full disk below.
        m.Rows = rowsFromList({{QString(1000000, u'x')}});
        if (name.endsWith(".xls")) {
            EXPECT_EQ(errorOf([&] { TQExport4XLS().Execute(m); }).kind(),
                      EQExportError::StringTooLarge);
            EXPECT_EQ(contentOf(target), "older report");
        }
        m.Rows = rowsFromList({{"новый"}});
        if (name.endsWith(".xls"))
            TQExport4XLS().Execute(m);
        else
            TQExport4RTF().Execute(m);
        EXPECT_NE(contentOf(target), "older report") << name.toStdString();
    }
    EXPECT_EQ(filesIn(dir.path()), (QStringList{"report.rtf", "report.xls"}));
}

// Real file systems that refuse: a tmpfs of 16 KB and a read-only one (needs the right to
// mount, as CI has).
class SmallDisk : public ::testing::TestWithParam<Engine> {
protected:
    bool mount(const QString &options)
    {
        if (!disk_.mount(options))
            return false;
        point_ = disk_.path();
        return true;
    }

    TmpfsMount disk_;
    QString point_;
};

TEST_P(SmallDisk, FullDiskLeavesTheOlderFileAsItWas)
{
    if (!mount("size=16k"))
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    const QString target = point_ + "/report.out";
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("older report");
    }
    TExportModel m = gridModel(target, 4);
    m.Rows = rowsFromList(sampleRows(3000, 4));
    const EQExportError e = errorOf([&] { run(GetParam(), m); });
    EXPECT_EQ(e.kind(), EQExportError::FileWriteFailed);
    EXPECT_TRUE(e.message().startsWith("Error writing file \"" + target + "\". ")) << e.what();
    EXPECT_EQ(contentOf(target), "older report");
    EXPECT_EQ(filesIn(point_), QStringList{"report.out"});
}

TEST_P(SmallDisk, FullDiskLeavesNoFile)
{
    if (!mount("size=16k"))
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    TExportModel m = gridModel(point_ + "/report.out", 4);
    m.Rows = rowsFromList(sampleRows(3000, 4));
    EXPECT_EQ(errorOf([&] { run(GetParam(), m); }).kind(), EQExportError::FileWriteFailed);
    EXPECT_EQ(filesIn(point_), QStringList());
}

TEST_P(SmallDisk, FolderThatCannotBeWritten)
{
    if (!mount("ro,size=16k"))
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    TExportModel m = gridModel(point_ + "/report.out", 1);
    const EQExportError e = errorOf([&] { run(GetParam(), m); });
    EXPECT_EQ(e.kind(), EQExportError::FileCannotCreate);
    EXPECT_EQ(e.message(),
              QStringLiteral("Cannot create file \"%1\". Read-only file system").arg(m.FileName));
}

INSTANTIATE_TEST_SUITE_P(Engines, SmallDisk, ::testing::Values(Xlsx, Csv, Pdf),
                         [](const auto &p) { return engineName(p.param); });

TEST(SmallDiskXlsRtf, AFullDiskLeavesTheOlderWorkbookAndDocumentAsTheyWere)
{
    TmpfsMount disk;
    if (!disk.mount("size=16k"))
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    const QString point = disk.path();
    for (const bool rtf : {false, true}) {
        const QString target = point + (rtf ? "/report.rtf" : "/report.xls");
        {
            QFile old(target);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("older report");
        }
        TExportModel m = gridModel(target, 4);
        m.Rows = rowsFromList(sampleRows(3000, 4));
        const EQExportError e = errorOf([&] {
            if (rtf)
                TQExport4RTF().Execute(m);
            else
                TQExport4XLS().Execute(m);
        });
        EXPECT_EQ(e.kind(), rtf ? EQExportError::RtfWriteFailed : EQExportError::XlsWriteFailed);
        EXPECT_EQ(contentOf(target), "older report");
    }
    EXPECT_EQ(filesIn(point), (QStringList{"report.rtf", "report.xls"}));
}

} // namespace
