#include "app/F_Quorvel.h"
#include "catalog/CatalogTree.h"
#include "chart/ChartPane.h"
#include "tests/catalog/CatalogDb.h"
#include "tests/catalog/ExportTestKit.h"
#include "tests/support/ExportReaders.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QChart>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineSeries>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

// The main window over a catalog with one report of hourly readings.
class MainWindowChart_Gui_Sqlite : public ::testing::Test {
protected:
    MainWindowChart_Gui_Sqlite()
    {
        db.exec("CREATE TABLE DATA (DT DATE, P NUMBER(10,2), NOTE VARCHAR2(20));"
                "INSERT INTO DATA VALUES ('2015-03-01 08:00:00', 10.5, 'а'),"
                " ('2015-03-01 09:00:00', 20, 'б'), ('2015-03-01 10:00:00', 15.25, 'в')");
        db.addFolder(1, "Сводки", 0);
        db.addReport(2, "Нагрузка", 1, "select dt, p, note from data order by dt",
                     "Время,P МВт,Заметка", "120,60,60", "C,R,L");
    }

    void run(TF_Quorvel &window)
    {
        auto *tree = window.findChild<TCatalogTree *>("tvCatReport");
        const auto found = tree->findItems("Нагрузка", Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(found.first()).center());
        window.findChild<QAction *>("tbExecSQL")->trigger();
    }

    CatalogDb db;
};

QStringList captions(const QList<QAction *> &Actions)
{
    QStringList texts;
    for (const QAction *a : Actions)
        texts << a->text();
    return texts;
}

TEST_F(MainWindowChart_Gui_Sqlite, TheChartCommandOpensThePaneBesideTheGridForTheResultShown)
{
    TF_Quorvel window;
    window.show();
    auto *pane = window.findChild<TChartPane *>("ChartPane");
    ASSERT_NE(pane, nullptr);
    EXPECT_FALSE(pane->isVisible());
    QAction *tbChart = window.findChild<QAction *>("tbChart");
    ASSERT_NE(tbChart, nullptr);
    EXPECT_TRUE(captions(window.findChild<QToolBar *>("ToolBar1")->actions()).contains("График"));
    QMenu *exportMenu = window.menuBar()->actions()[1]->menu();
    EXPECT_TRUE(captions(exportMenu->actions()).contains("График"));

    run(window);
    tbChart->trigger();
    EXPECT_TRUE(pane->isVisible());
    ASSERT_EQ(pane->Chart()->series().size(), 1);
    auto *line = qobject_cast<QLineSeries *>(pane->Chart()->series()[0]);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->name(), "P МВт");
    QList<qreal> values;
    for (const QPointF &p : line->points())
        values << p.y();
    EXPECT_EQ(values, (QList<qreal>{10.5, 20, 15.25}));

    // A new run while the pane is open shows the new result; the command closes it again.
    db.exec("INSERT INTO DATA VALUES ('2015-03-01 11:00:00', 30, 'г')");
    window.findChild<QAction *>("tbExecSQL")->trigger();
    EXPECT_EQ(qobject_cast<QLineSeries *>(pane->Chart()->series()[0])->count(), 4);
    window.findChild<QAction *>("miChart")->trigger();
    EXPECT_FALSE(pane->isVisible());
}

TEST_F(MainWindowChart_Gui_Sqlite, TheReportsChosenChartComesBackOnTheNextRun)
{
    {
        TF_Quorvel window;
        window.show();
        run(window);
        window.findChild<QAction *>("tbChart")->trigger();
        window.findChild<TChartPane *>("ChartPane")->SetKind(TChartKind::Bar);
    }
    TF_Quorvel window;
    window.show();
    run(window);
    window.findChild<QAction *>("tbChart")->trigger();
    EXPECT_EQ(window.findChild<TChartPane *>("ChartPane")->Choice().Kind, TChartKind::Bar);
}

TEST_F(MainWindowChart_Gui_Sqlite, WithThePaneOpenThePdfShowsTheChartAboveTheTable)
{
    db.exec("UPDATE QUORVEL SET PRN_TITLE_TOP = 'Нагрузка за сутки'");
    TempDir out;
    const WorkingDirectory cwd(out.path());
    SaveDialogScript save;
    save.answer(out.file("plain")).answer(out.file("charted"));
    TF_Quorvel window;
    window.show();
    run(window);
    QAction *pdf = window.findChild<QAction *>("tbToPdf");
    pdf->trigger();
    const QString plain = pdfPageTexts(out.file("Нагрузка.pdf")).value(0);
    ASSERT_TRUE(QFile::rename(out.file("Нагрузка.pdf"), out.file("plain.pdf")));
    window.findChild<QAction *>("tbChart")->trigger();
    pdf->trigger();
    const QString charted = pdfPageTexts(out.file("Нагрузка.pdf")).value(0);
    const qsizetype title = charted.indexOf("Нагрузка за сутки");
    ASSERT_GE(title, 0) << charted.toStdString();
    // The legend names the series above the title lines; without the chart the series' title
    // is only the table's caption, below them.
    EXPECT_LT(charted.indexOf("P МВт"), title) << charted.toStdString();
    EXPECT_GT(plain.indexOf("P МВт"), plain.indexOf("Нагрузка за сутки")) << plain.toStdString();
    ASSERT_TRUE(QDir().mkpath(QUORVEL_CHART_ARTEFACTS));
    EXPECT_FALSE(pdfFirstPagePng(out.file("Нагрузка.pdf"),
                                 QStringLiteral(QUORVEL_CHART_ARTEFACTS "/pdf-with-chart"))
                     .isEmpty());
}

} // namespace
