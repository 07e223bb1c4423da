// A report result written as XLSX, CSV and PDF through the one export call the windows, the
// mailing and the unattended program use, read back by independent readers.
#include "catalog/ExportGrid.h"
#include "catalog/PropTVItem.h"
#include "catalog/StringGrid.h"
#include "db/OracleBase.h"
#include "export/ExportErrors.h"
#include "tests/catalog/ExportTestKit.h"
#include "tests/support/ExportReaders.h"
#include "tests/support/Readers.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>

#include <gtest/gtest.h>

namespace {

const QStringList Titles = {"Подстанция", "Нагрузка", "Время"};
const QList<QStringList> Rows = {{"ПС «Северная»; ввод 1", "12,5", "05.03.2015 8:30:00"},
                                 {"Line \"A\"\nвторая строка", "-0,25", "05.03.2015"}};

// The demo's kind of record: title areas with line breaks as the editor stores them.
TPropTVItem titledRecord()
{
    TPropTVItem rec;
    rec.PRN_TITLE_TOP = "Баланс электроэнергии\r\nэнергосистемы\rза сутки";
    rec.PRN_TITLE_BOT = "Составил:\nдиспетчер";
    return rec;
}

class ExportFormats_Gui_Readers : public ::testing::Test {
protected:
    ExportFormats_Gui_Readers() : saved_(CurrDir)
    {
        CurrDir = dir.path();
        fillResultGrid(SG, Titles, Rows);
        SG.Result().FormatStr = "L,R,C";
        const int widths[] = {30, 140, 70, 120};
        for (int c = 0; c < 4; ++c)
            SG.SetColWidths(c, widths[c]);
    }
    ~ExportFormats_Gui_Readers() override { CurrDir = saved_; }

    void viriIni(const QString &Text)
    {
        QFile f(dir.file("viri.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Text.toUtf8());
    }

    TempDir dir;
    TStringGrid SG;
    const TPropTVItem rec = titledRecord();

private:
    QString saved_;
};

QJsonArray rowsOf(const QJsonObject &book)
{
    return book["sheets"].toArray().at(0).toObject()["rows"].toArray();
}

QStringList textsOf(const QJsonArray &row)
{
    QStringList texts;
    for (const QJsonValue &c : row)
        texts << (c["v"].isString() ? c["v"].toString() : c["v"].toVariant().toString());
    return withoutTrailingEmpty(texts);
}

TEST_F(ExportFormats_Gui_Readers, XlsxHasTheTitlesOneLineARowAndTheColumnTitlesAsCaptions)
{
    const QString path = dir.file("report.xlsx");
    ExportResultAs(TExportKind::Xlsx, &SG.Result(), &rec, path);
    const QJsonObject book = readXlsxWithOpenpyxl(path);
    ASSERT_EQ(book["error"].toString(), "");
    const QJsonArray rows = rowsOf(book);
    ASSERT_EQ(rows.size(), 4 + 1 + 2 + 3);
    QList<QStringList> texts;
    for (const QJsonValue &row : rows)
        texts << textsOf(row.toArray());
    EXPECT_EQ(texts.mid(0, 5), (QList<QStringList>{{},
                                                   {"Баланс электроэнергии"},
                                                   {"энергосистемы"},
                                                   {"за сутки"},
                                                   {"№", "Подстанция", "Нагрузка", "Время"}}));
    EXPECT_EQ(texts.mid(7), (QList<QStringList>{{}, {"Составил:"}, {"диспетчер"}}));
    const QJsonArray first = rows[5].toArray();
    EXPECT_TRUE(rows[4].toArray().at(1)["bold"].toBool());
    EXPECT_EQ(first[2]["t"].toString(), "n");
    EXPECT_EQ(first[2]["v"].toDouble(), 12.5);
    EXPECT_EQ(first[3]["t"].toString(), "d");
    EXPECT_EQ(first[3]["v"].toString(), "2015-03-05 08:30:00");
    // The codes: L, R, C for the data columns.
    EXPECT_EQ(first[1]["align"].toString(), "left");
    EXPECT_EQ(first[2]["align"].toString(), "right");
    EXPECT_EQ(first[3]["align"].toString(), "center");
    const QJsonObject widths = book["sheets"].toArray().at(0).toObject()["widths"].toObject();
    EXPECT_NEAR(widths["B"].toDouble() * 7, 140, 0.5);
}

TEST_F(ExportFormats_Gui_Readers, CsvHasTheCaptionsAndRowsWithoutTitlesBySettings)
{
    struct Case {
        const char *ini;
        const char *encoding;
        const char *delimiter;
    };
    const Case cases[] = {
        {"", "utf-8-sig", ";"},
        {"[Export]\nCSV_SEPARATOR=,\n", "utf-8-sig", ","},
        {"[Export]\nCSV_SEPARATOR=tab\nCSV_ENCODING=windows-1251\n", "cp1251", "\t"}};
    for (const Case &c : cases) {
        viriIni(c.ini);
        const QString path = dir.file("report.csv");
        ExportResultAs(TExportKind::Csv, &SG.Result(), &rec, path);
        QList<QStringList> expected = {{"№", "Подстанция", "Нагрузка", "Время"}};
        for (int r = 0; r < Rows.size(); ++r)
            expected << QStringList{QString::number(r + 1)} + Rows[r];
        EXPECT_EQ(readCsvWithPython(path, c.encoding, c.delimiter), expected) << c.ini;
    }
}

TEST_F(ExportFormats_Gui_Readers, AnUnusableCsvSettingIsRefusedAndNoFileIsLeft)
{
    const char *settings[] = {"[Export]\nCSV_SEPARATOR=;;\n", "[Export]\nCSV_SEPARATOR=\"\n",
                              "[Export]\nCSV_ENCODING=koi8-r\n"};
    for (const char *ini : settings) {
        viriIni(ini);
        try {
            ExportResultAs(TExportKind::Csv, &SG.Result(), &rec, dir.file("bad.csv"));
            ADD_FAILURE() << "accepted " << ini;
        } catch (const EQExportError &e) {
            EXPECT_EQ(e.kind(), EQExportError::BadSetting) << ini;
            EXPECT_TRUE(e.message().contains("[Export]")) << e.message().toStdString();
        }
        EXPECT_FALSE(QFile::exists(dir.file("bad.csv"))) << ini;
    }
}

TEST_F(ExportFormats_Gui_Readers, PdfHasTitlesCaptionsCellsAndPageNumbers)
{
    const QString path = dir.file("report.pdf");
    ExportResultAs(TExportKind::Pdf, &SG.Result(), &rec, path);
    ASSERT_EQ(pdfPageCount(path), 1);
    const QString page = pdfPageTexts(path).value(0);
    for (const QString &text : QStringList{
             "Баланс электроэнергии", "энергосистемы", "за сутки", "№", "Подстанция", "Нагрузка",
             "Время", "Северная", "12,5", "-0,25", "Составил:", "диспетчер", "Страница 1 из 1"})
        EXPECT_TRUE(page.contains(text)) << text.toStdString() << " not in\n" << page.toStdString();
    // The title lines are paragraphs of their own, never glued together.
    EXPECT_FALSE(page.contains("электроэнергииэнергосистемы"));
    const QString artefacts = QCoreApplication::applicationDirPath() + "/../../artefacts";
    ASSERT_TRUE(QDir().mkpath(artefacts));
    EXPECT_FALSE(pdfFirstPagePng(path, artefacts + "/report-pdf-first-page").isEmpty());
}

TEST_F(ExportFormats_Gui_Readers, AnEmptyResultWritesTheCaptionRowAloneInEveryFormat)
{
    TStringGrid empty;
    fillResultGrid(empty, Titles, {});
    for (int c = 0; c < 4; ++c)
        empty.SetColWidths(c, 150);
    const QStringList captions = {"№", "Подстанция", "Нагрузка", "Время"};
    ExportResultAs(TExportKind::Xlsx, &empty.Result(), nullptr, dir.file("e.xlsx"));
    const QJsonArray rows = rowsOf(readXlsxWithOpenpyxl(dir.file("e.xlsx")));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(textsOf(rows[0].toArray()), captions);
    ExportResultAs(TExportKind::Csv, &empty.Result(), nullptr, dir.file("e.csv"));
    EXPECT_EQ(readCsvWithPython(dir.file("e.csv"), "utf-8-sig", ";"), QList<QStringList>{captions});
    ExportResultAs(TExportKind::Pdf, &empty.Result(), nullptr, dir.file("e.pdf"));
    EXPECT_TRUE(pdfPageTexts(dir.file("e.pdf")).value(0).contains("Подстанция"));
}

} // namespace
