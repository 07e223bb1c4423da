#include "catalog/ExportCommands.h"
#include "catalog/PrintPreview.h"
#include "catalog/PropTVItem.h"
#include "catalog/StringGrid.h"
#include "common/MessageTypes.h"
#include "tests/catalog/ExportTestKit.h"
#include "tests/support/DialogScript.h"
#include "tests/support/ExportReaders.h"
#include "tests/support/Readers.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QPrinter>

#include <gtest/gtest.h>

#include <ostream>

namespace {

const QStringList Captions = {"№", "Имя", "Сумма"};
const QList<QStringList> DataRows = {{"1", "Север", "10"}, {"2", "Юг"}};

// The main window's exports with the save dialog answered and the opening of documents
// recorded; every file goes to a fresh folder that is also the working directory.
class ExportCommands_Gui_Readers : public ::testing::Test {
protected:
    ExportCommands_Gui_Readers()
    {
        fillResultGrid(SG, {"Имя", "Сумма"}, {{"Север", "10"}, {"Юг", ""}});
        SG.show();
        A.name = "Отчет A";
        A.PRN_TITLE_TOP = "Заголовок A";
        A.PRN_TITLE_BOT = "Подпись A";
        B.name = "Отчет B";
        B.PRN_TITLE_TOP = "Заголовок B";
        B.PRN_TITLE_BOT = "Подпись B";
    }

    // A folder below the test's folder, made now; the path the dialog answers in it.
    QString chosenIn(const QString &Sub, const QString &Typed = "typed.xls") const
    {
        QDir(dir.path()).mkpath(Sub);
        return QDir(dir.file(Sub)).filePath(Typed);
    }
    static TExportNode node(const TPropTVItem &Rec) { return {Rec.name, &Rec}; }
    static QList<QStringList> sheetRows(const QString &Path)
    {
        const XlsBookView book = readXlsWithXlrd(Path);
        EXPECT_EQ(book.error, "") << Path.toStdString();
        return book.sheets.size() == 1 ? book.sheets[0].rows : QList<QStringList>();
    }
    static QList<QStringList> withTitles(const QString &Top, const QString &Bottom)
    {
        QList<QStringList> rows = {{}, {Top}, Captions};
        rows += DataRows;
        rows += QList<QStringList>{{}, {Bottom}};
        return rows;
    }

    TempDir dir;
    WorkingDirectory cwd{dir.path()};
    DialogScript boxes;
    SaveDialogScript save;
    OpenedDocuments opened;
    TStringGrid SG;
    TPropTVItem A, B;
};

TEST_F(ExportCommands_Gui_Readers, TheSameReportTwiceGivesTheSameTitleRows)
{
    save.answer(chosenIn("one")).answer(chosenIn("two"));
    ToExelCommand(nullptr, SG, node(A));
    ToExelCommand(nullptr, SG, node(A));
    const QList<QStringList> expected = withTitles("Заголовок A", "Подпись A");
    EXPECT_EQ(sheetRows(dir.file("one/Отчет A.xls")), expected);
    EXPECT_EQ(sheetRows(dir.file("two/Отчет A.xls")), expected);
    EXPECT_TRUE(opened.paths().isEmpty());
}

TEST_F(ExportCommands_Gui_Readers, TheDialogStartsInTheFolderLastConfirmed)
{
    save.answer(chosenIn("first")).answer(chosenIn("second", "otchet"));
    ToExelCommand(nullptr, SG, node(A));
    ToWordCommand(nullptr, SG, node(A), &A);
    EXPECT_EQ(save.asked(),
              (QStringList{dir.path() + "|otchet.xls", dir.file("first") + "|otchet"}));
    EXPECT_EQ(QDir::currentPath(), dir.file("second"));
    EXPECT_TRUE(QFile::exists(dir.file("second/Отчет A.rtf")));
}

TEST_F(ExportCommands_Gui_Readers, MarksLeaveTheRtfNameButStayInTheXlsName)
{
    A.name = "Итоги <за> 12:00";
    save.answer(chosenIn("out")).answer(chosenIn("out", "otchet"));
    ToExelCommand(nullptr, SG, node(A));
    ToWordCommand(nullptr, SG, node(A), &A);
    EXPECT_EQ(QDir(dir.file("out")).entryList(QDir::Files, QDir::Name),
              (QStringList{"Итоги <за> 12:00.xls", "Итоги за 1200.rtf"}));
    EXPECT_EQ(opened.paths(), QStringList{dir.file("out/Итоги за 1200.rtf")});
    EXPECT_EQ(sheetRows(dir.file("out/Итоги <за> 12:00.xls")),
              withTitles("Заголовок A", "Подпись A"));
}

TEST_F(ExportCommands_Gui_Readers, CancellingTheDialogWritesNothing)
{
    save.answer(std::nullopt).answer(std::nullopt);
    ToExelCommand(nullptr, SG, node(A));
    ToWordCommand(nullptr, SG, node(A), &A);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    EXPECT_EQ(QDir::currentPath(), dir.path());
    EXPECT_TRUE(opened.paths().isEmpty());
    EXPECT_TRUE(SG.isVisible());
}

TEST_F(ExportCommands_Gui_Readers, ABackslashNamesASubfolderThatIsMade)
{
    A.name = "Отделы\\Сводка";
    save.answer(chosenIn("out")).answer(chosenIn("out"));
    ToExelCommand(nullptr, SG, node(A));
    ToWordCommand(nullptr, SG, node(A), &A);
    EXPECT_EQ(sheetRows(dir.file("out/Отделы/Сводка.xls")), withTitles("Заголовок A", "Подпись A"));
    EXPECT_EQ(opened.paths(), QStringList{dir.file("out/Отделы/Сводка.rtf")});
    EXPECT_EQ(readWithUnrtf(dir.file("out/Отделы/Сводка.rtf")).texts,
              (QStringList{"Заголовок A", "№", "Имя", "Сумма", "1", "Север", "10", "2", "Юг",
                           "Подпись A"}));
}

TEST_F(ExportCommands_Gui_Readers, XlsTakesTheSelectedTitlesAndRtfThoseOfTheReportLastRun)
{
    // A was run, then B was selected.
    save.answer(chosenIn("out")).answer(chosenIn("out"));
    ToExelCommand(nullptr, SG, node(B));
    ToWordCommand(nullptr, SG, node(B), &A);
    EXPECT_EQ(sheetRows(dir.file("out/Отчет B.xls")), withTitles("Заголовок B", "Подпись B"));
    const UnrtfView rtf = readWithUnrtf(dir.file("out/Отчет B.rtf"));
    ASSERT_EQ(rtf.error, "");
    EXPECT_EQ(rtf.texts.first(), "Заголовок A");
    EXPECT_EQ(rtf.texts.last(), "Подпись A");
}

TEST_F(ExportCommands_Gui_Readers, NoRecordOrAClearedLastRunGivesNoTitleLines)
{
    save.answer(chosenIn("out")).answer(chosenIn("out"));
    ToExelCommand(nullptr, SG, TExportNode{"Папка", nullptr});
    ToWordCommand(nullptr, SG, node(B), nullptr);
    QList<QStringList> plain = {Captions};
    plain += DataRows;
    EXPECT_EQ(sheetRows(dir.file("out/Папка.xls")), plain);
    EXPECT_EQ(readWithUnrtf(dir.file("out/Отчет B.rtf")).texts.first(), "№");
}

TEST_F(ExportCommands_Gui_Readers, WithoutANodeTheChosenPathIsUsed)
{
    save.answer(chosenIn("out", "мой.файл")).answer(chosenIn("out", "a<b>:c"));
    ToExelCommand(nullptr, SG, std::nullopt);
    ToWordCommand(nullptr, SG, std::nullopt, &A);
    QList<QStringList> plain = {Captions};
    plain += DataRows;
    EXPECT_EQ(sheetRows(dir.file("out/мой.файл")), plain);
    EXPECT_EQ(opened.paths(), QStringList{dir.file("out/abc.rtf")});
    EXPECT_EQ(readWithUnrtf(dir.file("out/abc.rtf")).texts.first(), "№");
}

TEST_F(ExportCommands_Gui_Readers, AnEmptyTopTitleStillGivesTwoEmptyHeaderRows)
{
    A.PRN_TITLE_TOP.clear();
    save.answer(chosenIn("out"));
    ToExelCommand(nullptr, SG, node(A));
    const QList<QStringList> rows = sheetRows(dir.file("out/Отчет A.xls"));
    ASSERT_GE(rows.size(), 3);
    EXPECT_EQ(rows.mid(0, 3), (QList<QStringList>{{}, {}, Captions}));
}

TEST_F(ExportCommands_Gui_Readers, TheGridIsHiddenWhileWritingAndTheDocumentIsOpenedOnce)
{
    QList<bool> visibleAtOpen;
    opened.onOpen = [&](const QString &) { visibleAtOpen.append(SG.isVisible()); };
    save.answer(chosenIn("out"));
    ToWordCommand(nullptr, SG, node(A), &A);
    EXPECT_EQ(visibleAtOpen, QList<bool>{false});
    EXPECT_TRUE(SG.isVisible());
}

TEST_F(ExportCommands_Gui_Readers, SavingAsXlsxCsvAndPdfNamesTheFileAfterTheNode)
{
    save.answer(chosenIn("out")).answer(chosenIn("out")).answer(chosenIn("out"));
    for (const TExportKind kind : {TExportKind::Xlsx, TExportKind::Csv, TExportKind::Pdf})
        SaveResultCommand(nullptr, SG, node(A), kind);
    EXPECT_EQ(save.asked(),
              (QStringList{dir.path() + "|otchet.xlsx", dir.file("out") + "|otchet.csv",
                           dir.file("out") + "|otchet.pdf"}));
    EXPECT_EQ(QDir(dir.file("out")).entryList(QDir::Files, QDir::Name),
              (QStringList{"Отчет A.csv", "Отчет A.pdf", "Отчет A.xlsx"}));
    EXPECT_EQ(readCsvWithPython(dir.file("out/Отчет A.csv"), "utf-8-sig", ";"),
              (QList<QStringList>{Captions, {"1", "Север", "10"}, {"2", "Юг", ""}}));
    EXPECT_TRUE(pdfPageTexts(dir.file("out/Отчет A.pdf")).value(0).contains("Заголовок A"));
    EXPECT_TRUE(opened.paths().isEmpty());
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(ExportCommands_Gui_Readers, PrintingShowsThePagesOfTheGridWithTheNodesTitles)
{
    const QString pdf = dir.file("printed.pdf");
    int pages = 0;
    const TPrintPreview previous =
        SetPrintPreviewHandler([&](QPrinter &Printer, const TPrintPages &Paint) {
            // What the preview's print button does, onto a PDF file as the printer.
            Printer.setOutputFormat(QPrinter::PdfFormat);
            Printer.setOutputFileName(pdf);
            pages = Paint(Printer);
        });
    PrintCommand(nullptr, SG, node(B));
    SetPrintPreviewHandler(previous);
    EXPECT_EQ(pages, 1);
    const QString text = pdfPageTexts(pdf).value(0);
    for (const char *t :
         {"Заголовок B", "Имя", "Сумма", "Север", "Юг", "Подпись B", "Страница 1 из 1"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(t))) << t << " not in " << text.toStdString();
    EXPECT_TRUE(boxes.shown().isEmpty());
}

struct FailureCase {
    const char *name;
    QString nodeText;
    bool rtf;
    QString (*message)(const QString &folder);
};

void PrintTo(const FailureCase &c, std::ostream *os)
{
    *os << c.name;
}

class ExportFailure_Gui : public ExportCommands_Gui_Readers,
                          public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ExportFailure_Gui, TheErrorIsShownAndTheGridIsVisibleAgain)
{
    const QString out = QDir(dir.path()).filePath("out");
    QDir(dir.path()).mkpath("out/Занят.xls");
    QDir(dir.path()).mkpath("out/Занят.rtf");
    QFile plainFile(dir.file("out/Файл"));
    ASSERT_TRUE(plainFile.open(QIODevice::WriteOnly));
    plainFile.close();
    boxes.answer(mrOk);
    save.answer(chosenIn("out"));
    const TExportNode n{GetParam().nodeText, &A};
    if (GetParam().rtf)
        ToWordCommand(nullptr, SG, n, &A);
    else
        ToExelCommand(nullptr, SG, n);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown()[0].type, TMsgDlgType::mtError);
    EXPECT_TRUE(boxes.shown()[0].text.startsWith(GetParam().message(QDir::toNativeSeparators(out))))
        << boxes.shown()[0].text.toStdString();
    EXPECT_TRUE(SG.isVisible());
    EXPECT_TRUE(opened.paths().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExportFailure_Gui,
    ::testing::Values(
        FailureCase{"XlsOverAFolder", "Занят", false,
                    [](const QString &f) { return "Cannot create file " + f + "/Занят.xls"; }},
        FailureCase{
            "RtfOverAFolder", "Занят", true,
            [](const QString &f) { return "Cannot create file \"" + f + "/Занят.rtf\". "; }},
        FailureCase{"XlsBelowAFile", "Файл\\Отчет", false,
                    [](const QString &f) {
                        return "Directory \"" + f + "/Файл\" not found and cannot be created";
                    }},
        FailureCase{"RtfBelowAFile", "Файл\\Отчет", true,
                    [](const QString &f) {
                        return "Directory \"" + f + "/Файл\" not found and cannot be created";
                    }}),
    [](const ::testing::TestParamInfo<FailureCase> &p) { return p.param.name; });

} // namespace
