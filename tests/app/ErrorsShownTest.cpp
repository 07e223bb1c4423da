#include "app/F_Quorvel.h"
#include "catalog/CatalogTree.h"
#include "catalog/SetSQLTable.h"
#include "catalog/StringGrid.h"
#include "db/OracleBase.h"
#include "tests/catalog/EditorKit.h"
#include "tests/catalog/GridDump.h"
#include "tests/db/DbFixture.h"
#include "tests/support/DialogScript.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A failing statement in the main window and the report editor, on each engine: the
// database's own text is shown, and the grid and the edits stay as they were.
class ErrorsShown_Gui : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override
    {
        db = std::make_unique<TestDb>(GetParam(), QStringLiteral("errors"));
        db->exec(QStringLiteral(
            "INSERT INTO SRV (MAIN, SECOND, RO) VALUES (0, 1, 0);"
            "CREATE TABLE DATA (V INTEGER);"
            "INSERT INTO DATA VALUES (5);"
            "INSERT INTO QUORVEL_CAT (ID_REPORT, NAME_REPORT, PARENT_ID, FOLDER) "
            "VALUES (1, 'Отчеты', NULL, 1);"
            "INSERT INTO QUORVEL_CAT (ID_REPORT, NAME_REPORT, PARENT_ID, FOLDER) "
            "VALUES (2, 'Данные', 1, 0);"
            "INSERT INTO QUORVEL (ID_REPORT, SQL_TEXT, NAME_TITLE, LENGTH_COLUMS, FORMAT_STR, "
            "PRN_TITLE_TOP, PRN_TITLE_BOT) VALUES (2, 'select v from data', 'Объем', '80', "
            "'R', '', '')"));
        writeViriIni(dir.path(), *db);
        base = std::make_unique<TFOracleBase>(nullptr, dir.path());
    }
    void TearDown() override { base.reset(); }

    // The server's words for a table that is not there.
    QString missingTable() const
    {
        return GetParam() == TestEngine::SQLite ? QStringLiteral("no such table")
                                                : QStringLiteral("does not exist");
    }

    TempDir dir;
    std::unique_ptr<TestDb> db;
    std::unique_ptr<TFOracleBase> base;
    QWidget owner;
};

TEST_P(ErrorsShown_Gui, AFailedRunShowsTheServersTextAndKeepsTheGrid)
{
    TF_Quorvel window;
    window.show();
    auto *tree = window.findChild<TCatalogTree *>("tvCatReport");
    const auto found = tree->findItems("Данные", Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualItemRect(found.first()).center());
    auto *run = window.findChild<QAction *>("tbExecSQL");
    run->trigger();
    auto *grid = window.findChild<TStringGrid *>("SG");
    const QString shown = gridText(*grid);
    ASSERT_EQ(shown, ",Объем | 1,5");

    db->exec(QStringLiteral("DROP TABLE DATA"));
    DialogScript script;
    script.answer(mrOk);
    run->trigger();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].kind, "message");
    EXPECT_TRUE(script.shown()[0].text.startsWith("NoteDataSet.NoteOpen\r\n"));
    EXPECT_TRUE(script.shown()[0].text.contains(missingTable()))
        << script.shown()[0].text.toStdString();
    EXPECT_EQ(script.shown()[0].detail, "SELECT V FROM DATA");
    EXPECT_EQ(gridText(*grid), shown);
}

TEST_P(ErrorsShown_Gui, AFailedPreviewShowsTheServersTextAndLosesNoEdit)
{
    std::unique_ptr<TPropTVItem> rec = loadRecord(2);
    ASSERT_NE(rec, nullptr);
    DialogScript script;
    script.answer(mrOk);
    openEditor(*rec, owner, [&](TfSetSQLTable &w) {
        clickButton(w, "tbExecSQL");
        const QString preview = gridText(*w.SGResultSQL);
        ASSERT_EQ(preview, ",Объем | 1,5");
        typeSettings(*w.SGTableSet, 1, {"Объем, м3", "90", "C"});
        const QString settings = gridText(*w.SGTableSet);
        w.mSQL->setPlainText(QStringLiteral("SELECT X FROM NOPE"));
        clickButton(w, "tbExecSQL");
        ASSERT_EQ(script.shown().size(), 1);
        EXPECT_TRUE(script.shown()[0].text.contains(missingTable()))
            << script.shown()[0].text.toStdString();
        EXPECT_EQ(script.shown()[0].detail, "SELECT X FROM NOPE");
        EXPECT_EQ(gridText(*w.SGResultSQL), preview);
        EXPECT_EQ(gridText(*w.SGTableSet), settings);
        EXPECT_EQ(w.mSQL->toPlainText(), "SELECT X FROM NOPE");
    });
}

TEST_P(ErrorsShown_Gui, AFailedSaveShowsTheServersText)
{
    std::unique_ptr<TPropTVItem> rec = loadRecord(2);
    ASSERT_NE(rec, nullptr);
    DialogScript script;
    script.answer(mrOk);
    openEditor(*rec, owner, [&](TfSetSQLTable &w) {
        db->exec(QStringLiteral("DROP TABLE QUORVEL"));
        clickButton(w, "tbSave");
        ASSERT_EQ(script.shown().size(), 1);
        EXPECT_EQ(script.shown()[0].text, "Ошибка записи в БД Данные !");
        EXPECT_TRUE(script.shown()[0].detail.contains(missingTable()))
            << script.shown()[0].detail.toStdString();
        EXPECT_EQ(w.mSQL->toPlainText(), "select v from data");
    });
}

INSTANTIATE_TEST_SUITE_P(Engine_Sqlite, ErrorsShown_Gui, ::testing::Values(TestEngine::SQLite),
                         EngineParamName());
INSTANTIATE_TEST_SUITE_P(Engine_Postgres, ErrorsShown_Gui,
                         ::testing::Values(TestEngine::PostgreSQL), EngineParamName());

} // namespace
