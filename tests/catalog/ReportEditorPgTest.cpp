#include "catalog/SetSQLTable.h"
#include "catalog/StringGrid.h"
#include "common/IniFile.h"
#include "db/OracleBase.h"
#include "tests/catalog/EditorKit.h"
#include "tests/support/PgServer.h"
#include "tests/support/TempDir.h"

#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace {
class ReportEditor_Gui_Postgres : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pg.ok());
        pg.sql(QStringLiteral(
            "INSERT INTO SRV (MAIN, SECOND, RO) VALUES (0, 1, 0);"
            "CREATE TABLE DATA (DT DATE, V INTEGER);"
            "INSERT INTO DATA VALUES ('2015-03-05', 7);"
            "INSERT INTO QUORVEL_CAT VALUES (1, 'Отчеты', NULL, 1), (10, 'Отчет', 1, 0), "
            "(11, 'Без строки', 1, 0);"
            "INSERT INTO QUORVEL VALUES (10, 'select 1 a', 'A', '50', 'L', '', '')"));
        IniFile ini(dir.file(QStringLiteral("viri.ini")));
        ini.writeString(QStringLiteral("Alias"), QStringLiteral("SERVER_NAME"), pg.connectString());
        ini.writeString(QStringLiteral("Alias"), QStringLiteral("USER_NAME"), pg.user());
        ini.writeString(QStringLiteral("Alias"), QStringLiteral("PASSWORD_"), QStringLiteral("x"));
        base = std::make_unique<TFOracleBase>(nullptr, dir.path());
    }

    PgServer pg;
    TempDir dir;
    std::unique_ptr<TFOracleBase> base;
    QWidget owner;
};

// The save on a server: the update of an existing row and the row made for a report without
// one, both committed (psql is a session of its own).
TEST_F(ReportEditor_Gui_Postgres, TheSaveIsCommittedAndMakesAMissingRow)
{
    for (int id : {10, 11}) {
        std::unique_ptr<TPropTVItem> rec = loadRecord(id);
        ASSERT_NE(rec, nullptr) << id;
        openEditor(*rec, owner, [&](TfSetSQLTable &w) {
            w.mSQL->setPlainText(QStringLiteral("select dt d, v s\nfrom data"));
            clickButton(w, "tbExecSQL");
            EXPECT_EQ(w.SGResultSQL->Cells(1, 1), QStringLiteral("05.03.2015"));
            w.mHeader->setPlainText(QStringLiteral("Сводка\nза март"));
            typeSettings(*w.SGTableSet, 1, {"Дата", "80", "C"});
            typeSettings(*w.SGTableSet, 2, {"Сумма, руб", "120", "R"});
            clickButton(w, "tbSave");
        });
    }
    const QString expected =
        QStringLiteral("select dt d, v s\nfrom data|Дата,Сумма, руб|80,120|C,R|Сводка\nза март|");
    EXPECT_EQ(
        pg.sql(QStringLiteral("SELECT SQL_TEXT, NAME_TITLE, LENGTH_COLUMS, FORMAT_STR, "
                              "PRN_TITLE_TOP, PRN_TITLE_BOT FROM QUORVEL ORDER BY ID_REPORT")),
        expected + u'\n' + expected);
}
} // namespace
