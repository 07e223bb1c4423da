// The real program in a fresh demo workspace, on the offscreen platform. The program is copied
// into the workspace, because it reads viri.ini from its own folder and the demo database is
// named relative to it. It is driven through its self-test hook: with QUORVEL_SELF_TEST naming
// a folder, once the main window is shown and the event loop runs, the program writes
// state.txt into that folder, one tab-separated record a line,
//   window <objectName> <1 when visible, else 0> <caption>
//   node <depth from 0> <F folder | R report> <name>     each node of tvCatReport, in display order
//   run <report name> <dtpBegin> <dtpEnd> <SG.RowCount()> <SG.ColCount()>
//   xls <path of the workbook>
// where run and xls come from selecting the report named by QUORVEL_SELF_TEST_REPORT, running
// it for the period the window opened with, and the XLS export of the grid (the export of the
// toolbar button, with the save dialog's choice replaced by the folder), and then closes the
// main window.
#include "tests/app/DemoWorkspace.h"
#include "tests/support/Readers.h"
#include "tests/support/TempDir.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {
const QString report = QStringLiteral("Суточный баланс энергии");

QString dateText(const QDate &d)
{
    return d.toString(QStringLiteral("dd.MM.yyyy"));
}

// The records of state.txt whose first field is Kind, without that field.
QList<QStringList> records(const QString &State, const QString &Kind)
{
    QList<QStringList> found;
    for (const QString &line : State.split(u'\n', Qt::SkipEmptyParts)) {
        QStringList fields = line.split(u'\t');
        if (fields.takeFirst() == Kind)
            found.append(fields);
    }
    return found;
}

// Finds the worksheet row whose first cell is Text; -1 when there is none.
qsizetype rowStarting(const XlsSheetView &Sheet, const QString &Text)
{
    for (qsizetype r = 0; r < Sheet.rows.size(); ++r)
        if (!Sheet.rows[r].isEmpty() && Sheet.rows[r].first() == Text)
            return r;
    return -1;
}

class Smoke_Gui_Sqlite_Readers : public ::testing::Test {};

TEST_F(Smoke_Gui_Sqlite_Readers, TheMainWindowShowsTheDemoCatalogRunsAReportAndExportsIt)
{
    TempDir dir;
    QString output;
    const auto [copy, out] = makeDemoProgram(dir, &output);
    ASSERT_FALSE(copy.isNull()) << output.toStdString();

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QUORVEL_SELF_TEST"), out);
    env.insert(QStringLiteral("QUORVEL_SELF_TEST_REPORT"), report);
    p.setProcessEnvironment(env);
    const QDate today = QDate::currentDate();
    p.start(copy, {QStringLiteral("demo/demo@demo")});
    ASSERT_TRUE(p.waitForStarted());
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        FAIL() << "the program did not end after its self-test; does it have the "
                  "QUORVEL_SELF_TEST hook?\n"
               << p.readAllStandardError().toStdString();
    }
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();

    const QString state = readTextFile(out + QStringLiteral("/state.txt"));
    ASSERT_FALSE(state.isEmpty()) << "no state.txt";
    SCOPED_TRACE(state.toStdString());

    EXPECT_EQ(records(state, QStringLiteral("window")),
              (QList<QStringList>{{"F_Quorvel", "1", "Универсальный генератор отчетов"}}));

    const QList<QStringList> nodes = records(state, QStringLiteral("node"));
    for (const QStringList &folder : QList<QStringList>{{"0", "F", "Балансы"},
                                                        {"1", "F", "Суточные"},
                                                        {"1", "F", "Итоговые"},
                                                        {"0", "F", "Оперативные отчеты"},
                                                        {"1", "F", "Подстанции"},
                                                        {"1", "F", "Журнал событий"},
                                                        {"0", "F", "Справочники"},
                                                        {"2", "R", report}})
        EXPECT_TRUE(nodes.contains(folder)) << folder.join(u' ').toStdString();
    EXPECT_EQ(std::count_if(nodes.begin(), nodes.end(),
                            [](const QStringList &n) { return n.value(1) == u'R'; }),
              12);

    // The window opens with yesterday and today: two days of the balance, a row each.
    const QDate yesterday = today.addDays(-1);
    EXPECT_EQ(records(state, QStringLiteral("run")),
              (QList<QStringList>{{report, dateText(yesterday), dateText(today), "3", "7"}}));

    const QList<QStringList> xls = records(state, QStringLiteral("xls"));
    ASSERT_EQ(xls.size(), 1);
    const XlsBookView book = readXlsWithXlrd(xls.first().value(0));
    ASSERT_TRUE(book.error.isEmpty()) << book.error.toStdString();
    ASSERT_EQ(book.sheets.size(), 1);
    const XlsSheetView &sheet = book.sheets.first();
    // An empty row, the title above (a row for each of its lines), the caption row with the
    // column titles, the data rows with their numbers, an empty row and the title below.
    ASSERT_GE(sheet.rows.size(), 4);
    EXPECT_EQ(sheet.rows[1].value(0), "Суточный баланс электроэнергии");
    EXPECT_EQ(sheet.rows[2].value(0), "энергосистемы");
    EXPECT_EQ(sheet.rows[3].value(0), "№");
    EXPECT_EQ(sheet.rows[3].value(1), "Сутки");
    const qsizetype first = rowStarting(sheet, QStringLiteral("1"));
    ASSERT_GE(first, 2);
    EXPECT_EQ(sheet.rows[first].value(1), dateText(yesterday));
    ASSERT_GT(sheet.rows.size(), first + 1);
    EXPECT_EQ(sheet.rows[first + 1].value(0), "2");
    EXPECT_EQ(sheet.rows[first + 1].value(1), dateText(today));
    ASSERT_GE(sheet.rows.size(), first + 4);
    EXPECT_EQ(sheet.rows[sheet.rows.size() - 2].value(0), "Начальник смены ______________");
    EXPECT_EQ(sheet.rows.last().value(0), "Дата составления: ____________");
}
} // namespace
