#include "app/F_Quorvel.h"
#include "catalog/CatalogTree.h"
#include "tests/batch/BatchDb.h"
#include "tests/catalog/CatalogDb.h"
#include "tests/catalog/ExportTestKit.h"
#include "tests/support/DialogScript.h"
#include "tests/support/ExportReaders.h"
#include "tests/support/Readers.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QDateEdit>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The BIFF records of a workbook stream, one "type length data" text each.
QStringList biffRecords(const QByteArray &stream)
{
    QStringList records;
    for (qsizetype at = 0; at + 4 <= stream.size();) {
        const auto type = quint16(quint8(stream[at]) | quint8(stream[at + 1]) << 8);
        const auto length = qsizetype(quint8(stream[at + 2]) | quint8(stream[at + 3]) << 8);
        records << QStringLiteral("%1 %2 ").arg(type, 4, 16, QChar(u'0')).arg(length) +
                       QString::fromLatin1(stream.mid(at + 4, length).toHex());
        at += 4 + length;
    }
    return records;
}

// The main window over a catalog with the report "Сутки", as a user would run and export it.
class BatchRun_Gui_Sqlite_Readers : public ::testing::Test {
protected:
    BatchRun_Gui_Sqlite_Readers()
    {
        db.exec("INSERT INTO USER_PSW (TABNUM, NAME, PWD, WENABLED, SHEMA) "
                "VALUES (7, 'dispatcher', 'secret', 'T', 0);"
                "CREATE TABLE DATA (DT DATE, V NUMBER(9), NOTE VARCHAR2(20));"
                "INSERT INTO DATA VALUES ('2015-03-01 08:30:00', 10, 'один'),"
                " ('2015-03-02', 20, ''), ('2015-03-03', 30, 'три')");
        db.addFolder(1, "Сводки", 0);
        db.addReport(2, "Сутки", 1,
                     "select dt d, v, note from data where dt between dtpbegin and dtpend "
                     "order by dt",
                     "Дата,Значение,Заметка", "90,60,abc", "C,R,L");
        db.exec("UPDATE QUORVEL SET PRN_TITLE_TOP = 'Сутки сверху', "
                "PRN_TITLE_BOT = 'Сутки снизу'");
    }

    // The files the window writes for the period with the given export buttons, the save
    // dialog answered with a name in windowDir for each.
    void exportFromWindow(const QDate &From, const QDate &To,
                          const QStringList &Buttons = {"tbToExel", "tbToWord"})
    {
        TF_Quorvel window;
        window.show();
        auto *tree = window.findChild<TCatalogTree *>("tvCatReport");
        const auto found = tree->findItems("Сутки", Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(found.first()).center());
        window.findChild<QDateEdit *>("dtpBegin")->setDate(From);
        window.findChild<QDateEdit *>("dtpEnd")->setDate(To);
        for (const QString &button : Buttons)
            save.answer(windowDir.file("otchet-" + button));
        window.findChild<QAction *>("tbExecSQL")->trigger();
        for (const QString &button : Buttons)
            window.findChild<QAction *>(button)->trigger();
    }

    TempDir windowDir;
    TempDir batchDir;
    WorkingDirectory cwd{windowDir.path()};
    DialogScript boxes;
    SaveDialogScript save;
    OpenedDocuments opened;
    CatalogDb db;
};

TEST_F(BatchRun_Gui_Sqlite_Readers, WritesWhatTheWindowsExportsWriteRecordForRecord)
{
    exportFromWindow(QDate(2015, 3, 1), QDate(2015, 3, 2));
    ASSERT_EQ(opened.paths(), QStringList{windowDir.file("Сутки.rtf")});

    QString out;
    QString err;
    ASSERT_EQ(runProgram(QUORVEL_BATCH_PROGRAM,
                         {"run", BatchDb::login(), "--report", "Сутки", "--from", "01.03.2015",
                          "--to", "02.03.2015", "--xls", batchDir.file("a.xls"), "--rtf",
                          batchDir.file("sub/a.rtf"), "--workspace", db.folder()},
                         &out, &err),
              0)
        << err.toStdString();

    const OleView window = readWithOlefile(windowDir.file("Сутки.xls"));
    const OleView batch = readWithOlefile(batchDir.file("a.xls"));
    ASSERT_TRUE(window.error.isEmpty() && batch.error.isEmpty())
        << window.error.toStdString() << batch.error.toStdString();
    EXPECT_EQ(batch.streams, window.streams);
    EXPECT_EQ(biffRecords(batch.firstStream), biffRecords(window.firstStream));
    EXPECT_EQ(fileBytes(batchDir.file("a.xls")), fileBytes(windowDir.file("Сутки.xls")));
    EXPECT_EQ(readTextFile(batchDir.file("sub/a.rtf")), readTextFile(windowDir.file("Сутки.rtf")));

    // And the content is the report's, not an empty grid that happens to match.
    const XlsBookView book = readXlsWithXlrd(batchDir.file("a.xls"));
    ASSERT_EQ(book.sheets.size(), 1) << book.error.toStdString();
    const QList<QStringList> rows = book.sheets[0].rows;
    ASSERT_EQ(rows.size(), 7);
    EXPECT_EQ(rows[1].first(), "Сутки сверху");
    EXPECT_EQ(rows[3], (QStringList{"1", "01.03.2015 8:30:00", "10", "один"}));
    EXPECT_EQ(rows[4].mid(0, 3), (QStringList{"2", "02.03.2015", "20"}));
    EXPECT_EQ(rows[6].first(), "Сутки снизу");
    EXPECT_EQ(out, "report 2 \"Сутки\" 01.03.2015-02.03.2015: 2 rows, " + batchDir.file("a.xls") +
                       ", written\n" + "report 2 \"Сутки\" 01.03.2015-02.03.2015: 2 rows, " +
                       batchDir.file("sub/a.rtf") + ", written\n" +
                       "summary: 2 rows, 2 file(s) written, 0 failed\n");
}

TEST_F(BatchRun_Gui_Sqlite_Readers, XlsxCsvAndPdfAreWhatTheWindowSaves)
{
    exportFromWindow(QDate(2015, 3, 1), QDate(2015, 3, 2), {"tbToXlsx", "tbToCsv"});
    QString out;
    QString err;
    ASSERT_EQ(runProgram(QUORVEL_BATCH_PROGRAM,
                         {"run", BatchDb::login(), "--report", "2", "--from", "01.03.2015", "--to",
                          "02.03.2015", "--xlsx", batchDir.file("a.xlsx"), "--csv",
                          batchDir.file("a.csv"), "--pdf", batchDir.file("a.pdf"), "--workspace",
                          db.folder()},
                         &out, &err),
              0)
        << err.toStdString();
    EXPECT_TRUE(out.endsWith("summary: 2 rows, 3 file(s) written, 0 failed\n"))
        << out.toStdString();

    EXPECT_EQ(fileBytes(batchDir.file("a.csv")), fileBytes(windowDir.file("Сутки.csv")));
    EXPECT_EQ(readCsvWithPython(batchDir.file("a.csv"), "utf-8-sig", ";"),
              (QList<QStringList>{{"№", "Дата", "Значение", "Заметка"},
                                  {"1", "01.03.2015 8:30:00", "10", "один"},
                                  {"2", "02.03.2015", "20", ""}}));
    const QJsonObject batch = readXlsxWithOpenpyxl(batchDir.file("a.xlsx"));
    ASSERT_EQ(batch["error"].toString(), "");
    EXPECT_EQ(batch["sheets"], readXlsxWithOpenpyxl(windowDir.file("Сутки.xlsx"))["sheets"]);
    const QString page = pdfPageTexts(batchDir.file("a.pdf")).value(0);
    for (const char *text : {"Сутки сверху", "Заметка", "один", "Сутки снизу", "Страница 1 из 1"})
        EXPECT_TRUE(page.contains(QString::fromUtf8(text)))
            << text << " not in " << page.toStdString();
}

} // namespace
