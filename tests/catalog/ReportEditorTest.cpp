#include "catalog/QuorvelUtil.h"
#include "catalog/SetSQLTable.h"
#include "catalog/StringGrid.h"
#include "db/OracleBase.h"
#include "db/OracleSession.h"
#include "tests/catalog/CatalogDb.h"
#include "tests/catalog/EditorKit.h"
#include "tests/catalog/GridDump.h"
#include "tests/support/DialogScript.h"

#include <QAbstractButton>
#include <QDateEdit>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {
const QString storedQuery =
    QStringLiteral("select dt d, v s from data\nwhere dt between dtpbegin and dtpend order by v");

class ReportEditor_Gui_Sqlite : public ::testing::Test {
protected:
    ReportEditor_Gui_Sqlite()
    {
        db.exec(QStringLiteral("CREATE TABLE DATA (DT DATE, V NUMBER(9), S VARCHAR2(20));"
                               "INSERT INTO DATA VALUES ('2015-02-28 00:00:00', 1, 'feb');"
                               "INSERT INTO DATA VALUES ('2015-03-05 00:00:00', 2, 'mar');"
                               "INSERT INTO DATA VALUES ('2015-03-31 00:00:00', 3, 'end')"));
        db.addFolder(1, QStringLiteral("Отчеты"), 0);
        db.addReport(10, QStringLiteral("Отчет"), 1, storedQuery, QStringLiteral("Дата,Сумма"),
                     QStringLiteral("80,120"), QStringLiteral("C,R"));
        db.exec(QStringLiteral("UPDATE QUORVEL SET PRN_TITLE_TOP = 'Верх', PRN_TITLE_BOT = "
                               "'Низ' WHERE ID_REPORT = 10"));
        rec = loadRecord(10);
    }

    QString stored(const QStringList &columns) const
    {
        return db.rows(definitionQuery(10, columns));
    }
    QString storedColumns() const { return stored({"NAME_TITLE", "LENGTH_COLUMS", "FORMAT_STR"}); }

    CatalogDb db;
    QWidget owner;
    std::unique_ptr<TPropTVItem> rec;
};

TEST_F(ReportEditor_Gui_Sqlite, OpensAFreshModalWindowFilledFromTheRecordWithThePeriod)
{
    ASSERT_NE(rec, nullptr);
    QPointer<TfSetSQLTable> first = CreateSetSQLTable(&owner);
    TfSetSQLTable *seen = nullptr;
    openEditor(*rec, owner, [&](TfSetSQLTable &w) {
        seen = &w;
        EXPECT_EQ(w.CurPropTVItem, rec.get());
        EXPECT_EQ(w.dtpBegin->date(), editorBegin);
        EXPECT_EQ(w.dtpEnd->date(), editorEnd);
        // The text area shows the query as stored; filling upper-cases the record's copy.
        EXPECT_EQ(w.mSQL->toPlainText(), storedQuery);
        EXPECT_EQ(w.mHeader->toPlainText(), QStringLiteral("Верх"));
        EXPECT_EQ(w.mFooter->toPlainText(), QStringLiteral("Низ"));
        EXPECT_EQ(gridText(*w.SGTableSet),
                  QStringLiteral("Имя поля,D,S | Имя колонки,Дата,Сумма | "
                                 "Ширина колонки,80,120 | Выравнивание,C,R"));
        EXPECT_EQ(gridText(*w.SGResultSQL), QStringLiteral(",Дата,Сумма | ,,"));
        EXPECT_EQ(gridWidths(*w.SGResultSQL), QStringLiteral("30,80,120"));
        EXPECT_EQ(gridWidths(*w.SGTableSet), QStringLiteral("130,130,130"));
    });
    EXPECT_TRUE(first.isNull()) << "the window made before is destroyed";
    EXPECT_EQ(fSetSQLTable.data(), seen);
    EXPECT_FALSE(seen->isVisible());
    EXPECT_EQ(rec->SQL_TEXT, storedQuery.toUpper());

    openEditor(*rec, owner, [&](TfSetSQLTable &w) { EXPECT_NE(&w, seen); });
}

TEST_F(ReportEditor_Gui_Sqlite, HasTheControlsCaptionsHintsSizesAndFontsOfItsLayout)
{
    TfSetSQLTable *w = CreateSetSQLTable(&owner);
    EXPECT_EQ(w->objectName(), QStringLiteral("fSetSQLTable"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("fSetSQLTable"));
    EXPECT_EQ(w->size(), QSize(742, 737));
    EXPECT_TRUE(w->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                                     Qt::WindowContextHelpButtonHint));
    EXPECT_EQ(w->font().family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(w->font().pointSize(), 8);

    const struct {
        const char *name;
        const char *hint;
    } buttons[] = {{"ToolButton1", "Обновить настройки запроса из БД"},
                   {"tbSave", "Сохранить"},
                   {"tbSetColumn", "Применить свойства столбцов"},
                   {"tbExecSQL", "Выполнить запрос"}};
    for (const auto &b : buttons) {
        auto *button = w->findChild<QToolButton *>(b.name);
        ASSERT_NE(button, nullptr) << b.name;
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(b.hint)) << b.name;
        EXPECT_FALSE(button->icon().isNull()) << b.name;
    }
    EXPECT_EQ(w->findChild<QToolButton *>("ToolButton1")->parent(),
              w->findChild<QToolBar *>("ToolBar1"));
    EXPECT_EQ(w->findChild<QToolButton *>("tbExecSQL")->parent(),
              w->findChild<QToolBar *>("ToolBar2"));

    const struct {
        const char *name;
        const char *text;
        int points;
        bool centred;
    } labels[] = {{"Label1", "Текст SQL запроса", 10, true},
                  {"Label2", "Заголовок", 10, true},
                  {"Label3", "Результат запроса", 10, true},
                  {"Label5", "Подпись", 10, true},
                  {"Label4", " За период ", 8, false},
                  {"lS", " с ", 8, false},
                  {"lDo", " по ", 8, false}};
    for (const auto &l : labels) {
        auto *label = w->findChild<QLabel *>(l.name);
        ASSERT_NE(label, nullptr) << l.name;
        EXPECT_EQ(label->text(), QString::fromUtf8(l.text)) << l.name;
        EXPECT_EQ(label->font().pointSize(), l.points) << l.name;
        EXPECT_EQ(bool(label->alignment() & Qt::AlignHCenter), l.centred) << l.name;
    }
    for (const char *picker : {"dtpBegin", "dtpEnd"})
        EXPECT_EQ(w->findChild<QDateEdit *>(picker)->parent(), w->findChild<QWidget *>("pDTP"));

    const struct {
        const char *name;
        int height;
    } heights[] = {{"Panel2", 167}, {"mSQL", 125},        {"SGTableSet", 128},
                   {"mHeader", 70}, {"SGResultSQL", 226}, {"mFooter", 70}};
    w->show();
    for (const auto &h : heights) {
        auto *widget = w->findChild<QWidget *>(h.name);
        ASSERT_NE(widget, nullptr) << h.name;
        EXPECT_EQ(widget->height(), h.height) << h.name;
    }
    for (const char *memo : {"mSQL", "mHeader", "mFooter"}) {
        auto *m = w->findChild<QPlainTextEdit *>(memo);
        EXPECT_EQ(m->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn) << memo;
        EXPECT_EQ(m->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn) << memo;
    }
    w->hide();

    auto *settings = w->findChild<TStringGrid *>("SGTableSet");
    EXPECT_EQ(settings->font().pointSize(), 10);
    EXPECT_TRUE(settings->Editable());
    EXPECT_EQ(settings->selectionMode(), QAbstractItemView::ContiguousSelection);
    EXPECT_EQ(gridText(*settings),
              QStringLiteral("Имя поля, | Имя колонки, | Ширина колонки, | Выравнивание,"));
    EXPECT_EQ(gridWidths(*settings), QStringLiteral("130,130"));
    // The caption of the field-name row stands on the grid's corner.
    const auto *corner =
        settings->findChild<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_NE(corner, nullptr);
    EXPECT_EQ(corner->text(), QStringLiteral("Имя поля"));
    auto *preview = w->findChild<TStringGrid *>("SGResultSQL");
    EXPECT_FALSE(preview->Editable());
    EXPECT_EQ(preview->ColCount(), 2);
    EXPECT_EQ(preview->RowCount(), 2);
}

// One save: settings typed into the grid, the strings stored and how they read back.
struct SaveCase {
    const char *label;
    QString query;
    QList<QStringList> columns; // title, width, code per settings column
    QString stored;             // NAME_TITLE|LENGTH_COLUMS|FORMAT_STR as SQLite quotes them
    QStringList titlesReadBack;
};

void PrintTo(const SaveCase &c, std::ostream *os)
{
    *os << c.label;
}

class ReportEditorSave_Gui_Sqlite : public ReportEditor_Gui_Sqlite,
                                    public ::testing::WithParamInterface<SaveCase> {};

TEST_P(ReportEditorSave_Gui_Sqlite, StoresTheCellsAsTypedJoinedByCommas)
{
    const SaveCase &c = GetParam();
    rec->SQL_TEXT = c.query;
    openEditor(*rec, owner, [&](TfSetSQLTable &w) {
        ASSERT_EQ(w.SGTableSet->ColCount(), std::max<int>(c.columns.size(), 1) + 1);
        for (int i = 0; i < c.columns.size(); ++i)
            typeSettings(*w.SGTableSet, i + 1, c.columns[i]);
        clickButton(w, "tbSave");
    });
    EXPECT_EQ(storedColumns(), c.stored);
    QStringList titles;
    NamesCreateList(loadRecord(10)->NAME_TITLE, titles, false);
    EXPECT_EQ(titles, c.titlesReadBack);
}

INSTANTIATE_TEST_SUITE_P(
    ReportEditor, ReportEditorSave_Gui_Sqlite,
    ::testing::Values(SaveCase{"TwoColumns",
                               "select dt d, v s from data",
                               {{"Дата", "80", "C"}, {"Сумма", "120", "R"}},
                               "'Дата,Сумма'|'80,120'|'C,R'",
                               {"Дата", "Сумма"}},
                      SaveCase{"NoFieldColumns", "", {}, "''|''|''", {}},
                      SaveCase{"TitleWithAComma",
                               "select v s from data",
                               {{"Сумма, руб", " 90 ", "r"}},
                               "'Сумма, руб'|' 90 '|'r'",
                               {"Сумма", "руб"}},
                      SaveCase{"EmptyMiddleTitle",
                               "select v a, s b, dt c from data",
                               {{"A", "1", "L"}, {"", "2", "C"}, {"C", "3", "R"}},
                               "'A,,C'|'1,2,3'|'L,C,R'",
                               {"A", "", "C"}},
                      SaveCase{"EmptyLastTitle",
                               "select v a, s b, dt c from data",
                               {{"A", "1", "L"}, {"B", "x", "C"}, {"", "", ""}},
                               "'A,B,'|'1,x,'|'L,C,'",
                               {"A", "B"}}),
    [](const auto &caseInfo) { return std::string(caseInfo.param.label); });

TEST_F(ReportEditor_Gui_Sqlite, SaveTakesACellStillBeingTypedAndCommitsAtOnce)
{
    openEditor(*rec, owner, [&](TfSetSQLTable &w) {
        typeSettings(*w.SGTableSet, 2, {"Итого", "150", "L"}, true);
        clickButton(w, "tbSave");
        EXPECT_FALSE(FOracleBase->ADatabase->InTransaction());
    });
    // A connection of its own sees only what was committed.
    EXPECT_EQ(storedColumns(), QStringLiteral("'Дата,Итого'|'80,150'|'C,L'"));
    EXPECT_EQ(rec->NAME_TITLE, QStringLiteral("Дата,Итого"));
}

TEST_F(ReportEditor_Gui_Sqlite, AReportWithoutADefinitionRowGetsOneOnSave)
{
    db.addReport(11, QStringLiteral("Без строки"), 1, QString());
    std::unique_ptr<TPropTVItem> bare = loadRecord(11);
    ASSERT_NE(bare, nullptr);
    openEditor(*bare, owner, [&](TfSetSQLTable &w) {
        w.mSQL->setPlainText(QStringLiteral("select v s from data"));
        // The blank column of a report without fields does not stop the first run.
        clickButton(w, "tbExecSQL");
        EXPECT_EQ(gridText(*w.SGTableSet),
                  QStringLiteral("Имя поля,S | Имя колонки,S | Ширина колонки,100 | "
                                 "Выравнивание,C"));
        EXPECT_EQ(gridWidths(*w.SGTableSet), QStringLiteral("130,130"));
        EXPECT_EQ(w.SGResultSQL->RowCount(), 4);
        w.mHeader->setPlainText(QStringLiteral("Шапка"));
        clickButton(w, "tbSave");
        // The second save finds the row and only updates it.
        w.mFooter->setPlainText(QStringLiteral("Подвал"));
        clickButton(w, "tbSave");
    });
    EXPECT_EQ(
        db.rows(definitionQuery(11, {"SQL_TEXT", "NAME_TITLE", "PRN_TITLE_TOP", "PRN_TITLE_BOT"})),
        QStringLiteral("'select v s from data'|'S'|'Шапка'|'Подвал'"));
}

TEST_F(ReportEditor_Gui_Sqlite, HeaderAndFooterKeepTheirLineBreaks)
{
    const QString header = QStringLiteral("Сводка\nза период\n");
    const QString footer = QStringLiteral("Исполнитель\n\nПодпись");
    openEditor(*rec, owner, [&](TfSetSQLTable &w) {
        w.mHeader->setPlainText(header);
        w.mFooter->setPlainText(footer);
        w.mSQL->setPlainText(QStringLiteral("select dt d,\n v s\nfrom data"));
        clickButton(w, "tbSave");
    });
    std::unique_ptr<TPropTVItem> back = loadRecord(10);
    EXPECT_EQ(back->PRN_TITLE_TOP, header);
    EXPECT_EQ(back->PRN_TITLE_BOT, footer);
    EXPECT_EQ(back->SQL_TEXT, QStringLiteral("select dt d,\n v s\nfrom data"));
    openEditor(*back, owner, [&](TfSetSQLTable &w) {
        EXPECT_EQ(w.mHeader->toPlainText(), header);
        EXPECT_EQ(w.mFooter->toPlainText(), footer);
    });
}

TEST_F(ReportEditor_Gui_Sqlite, ClosingWithoutSavingLeavesTheRecordButUpperCasesItsQuery)
{
    const TPropTVItem before = *rec;
    openEditor(*rec, owner, [&](TfSetSQLTable &w) {
        w.mSQL->setPlainText(QStringLiteral("select 1 x from data"));
        w.mHeader->setPlainText(QStringLiteral("другой"));
        typeSettings(*w.SGTableSet, 1, {"Новая", "10", "L"});
    });
    TPropTVItem expected = before;
    expected.SQL_TEXT = before.SQL_TEXT.toUpper();
    EXPECT_EQ(rec->SQL_TEXT, expected.SQL_TEXT);
    EXPECT_EQ(rec->NAME_TITLE, expected.NAME_TITLE);
    EXPECT_EQ(rec->LENGTH_COLUMS, expected.LENGTH_COLUMS);
    EXPECT_EQ(rec->FORMAT_STR, expected.FORMAT_STR);
    EXPECT_EQ(rec->PRN_TITLE_TOP, expected.PRN_TITLE_TOP);
    EXPECT_EQ(rec->PRN_TITLE_BOT, expected.PRN_TITLE_BOT);
    EXPECT_EQ(stored({"SQL_TEXT", "NAME_TITLE"}), u'\'' + storedQuery + "'|'Дата,Сумма'");
}

TEST_F(ReportEditor_Gui_Sqlite, ARunOfAnUnsavedQueryChangesOnlyThePreviewAndTheSettings)
{
    const QString edited = QStringLiteral(
        "select dt d, s t, v s from data where dt between dtpbegin and dtpend order by v");
    openEditor(*rec, owner, [&](TfSetSQLTable &w) {
        w.mSQL->setPlainText(edited);
        clickButton(w, "tbExecSQL");
        // The new field T comes in at its place with its name, 100 and "C"; titles and widths
        // of the settings reach the preview.
        EXPECT_EQ(gridText(*w.SGTableSet),
                  QStringLiteral("Имя поля,D,T,S | Имя колонки,Дата,T,Сумма | "
                                 "Ширина колонки,80,100,120 | Выравнивание,C,C,R"));
        EXPECT_EQ(gridText(*w.SGResultSQL), QStringLiteral(",Дата,T,Сумма | "
                                                           "1,05.03.2015,mar,2 | "
                                                           "2,31.03.2015,end,3"));
        EXPECT_EQ(gridWidths(*w.SGResultSQL), QStringLiteral("30,80,100,120"));
        EXPECT_EQ(w.mSQL->toPlainText(), edited);
    });
    EXPECT_EQ(rec->SQL_TEXT, storedQuery.toUpper());
    EXPECT_EQ(rec->NAME_TITLE, QStringLiteral("Дата,Сумма"));
    EXPECT_EQ(stored({"SQL_TEXT", "NAME_TITLE", "LENGTH_COLUMS"}),
              u'\'' + storedQuery + "'|'Дата,Сумма'|'80,120'");
    openEditor(*rec, owner, [&](TfSetSQLTable &w) {
        EXPECT_EQ(w.mSQL->toPlainText(), storedQuery.toUpper());
        EXPECT_EQ(w.SGTableSet->ColCount(), 3);
    });
}

TEST_F(ReportEditor_Gui_Sqlite, AWidthThatIsNotAWholeNumberIsReportedAndNoEditIsLost)
{
    DialogScript script;
    script.answer(mrOk);
    openEditor(*rec, owner, [&](TfSetSQLTable &w) {
        w.mSQL->setPlainText(QStringLiteral("select dt d, v s, s x from data"));
        typeSettings(*w.SGTableSet, 2, {"Сумма", "abc", "R"});
        const QString settings = gridText(*w.SGTableSet);
        clickButton(w, "tbExecSQL");
        ASSERT_EQ(script.shown().size(), 1);
        EXPECT_EQ(script.shown()[0].kind, QStringLiteral("message"));
        EXPECT_EQ(script.shown()[0].type, TMsgDlgType::mtError);
        EXPECT_EQ(script.shown()[0].text, QStringLiteral("'abc' is not a valid integer value"));
        EXPECT_EQ(gridText(*w.SGTableSet), settings);
        EXPECT_EQ(w.mSQL->toPlainText(), QStringLiteral("select dt d, v s, s x from data"));
        // The run stopped before the settings were applied: field names, title row only.
        EXPECT_EQ(gridText(*w.SGResultSQL), QStringLiteral(",Дата,Сумма,"));
        EXPECT_TRUE(w.isVisible());
        // The settings button reads the same width as 100.
        clickButton(w, "tbSetColumn");
        EXPECT_EQ(gridWidths(*w.SGResultSQL), QStringLiteral("30,80,100,100"));
    });
}

TEST_F(ReportEditor_Gui_Sqlite, TheRefreshButtonRestoresTheRecordAndShowsASavedDefinition)
{
    openEditor(*rec, owner, [&](TfSetSQLTable &w) {
        w.mHeader->setPlainText(QStringLiteral("не сохранено"));
        typeSettings(*w.SGTableSet, 1, {"Черновик", "1", "L"});
        clickButton(w, "ToolButton1");
        EXPECT_EQ(w.mHeader->toPlainText(), QStringLiteral("Верх"));
        EXPECT_EQ(w.SGTableSet->Cells(1, 1), QStringLiteral("Дата"));

        typeSettings(*w.SGTableSet, 1, {"Сохранено", "55", "R"});
        clickButton(w, "tbSave");
        clickButton(w, "ToolButton1");
        EXPECT_EQ(w.SGTableSet->Cells(1, 1), QStringLiteral("Сохранено"));
        EXPECT_EQ(gridWidths(*w.SGResultSQL), QStringLiteral("30,55,120"));
    });
}

TEST_F(ReportEditor_Gui_Sqlite, AFailedSaveIsShownAndTheRecordKeepsTheEdits)
{
    db.exec(QStringLiteral("CREATE TRIGGER NO_SAVE BEFORE UPDATE ON QUORVEL BEGIN "
                           "SELECT RAISE(ABORT, 'saving is refused'); END"));
    db.addReport(11, QStringLiteral("Без строки"), 1, QString());
    std::unique_ptr<TPropTVItem> bare = loadRecord(11);
    DialogScript script;
    script.answer(mrOk).answer(mrOk);
    openEditor(*rec, owner, [&](TfSetSQLTable &w) {
        w.mHeader->setPlainText(QStringLiteral("Новый верх"));
        typeSettings(*w.SGTableSet, 1, {"Число", "70", "L"});
        clickButton(w, "tbSave");
        EXPECT_TRUE(w.isVisible());
    });
    openEditor(*bare, owner, [&](TfSetSQLTable &w) {
        w.mSQL->setPlainText(QStringLiteral("select v s from data"));
        clickButton(w, "tbSave");
    });
    ASSERT_EQ(script.shown().size(), 2);
    EXPECT_EQ(script.shown()[0].kind, QStringLiteral("dialog"));
    EXPECT_EQ(script.shown()[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(script.shown()[0].text, QStringLiteral("Ошибка записи в БД Отчет !"));
    EXPECT_EQ(script.shown()[0].buttons, QStringList{"OK"});
    EXPECT_EQ(script.shown()[1].text, QStringLiteral("Ошибка записи в БД Без строки !"));

    EXPECT_EQ(rec->PRN_TITLE_TOP, QStringLiteral("Новый верх"));
    EXPECT_EQ(rec->NAME_TITLE, QStringLiteral("Число,Сумма"));
    EXPECT_EQ(rec->FORMAT_STR, QStringLiteral("L,R"));
    EXPECT_EQ(bare->SQL_TEXT, QStringLiteral("select v s from data"));
    EXPECT_EQ(stored({"NAME_TITLE", "PRN_TITLE_TOP"}), QStringLiteral("'Дата,Сумма'|'Верх'"));
    // The row made for the save went with the failed update.
    EXPECT_EQ(db.rows(QStringLiteral("SELECT COUNT(*) FROM QUORVEL WHERE ID_REPORT = 11")), "0");
    EXPECT_FALSE(FOracleBase->ADatabase->InTransaction());
}

// Preview cells are aligned by the code of their settings column, compared with case.
TEST_F(ReportEditor_Gui_Sqlite, ThePreviewIsAlignedByTheSettingsCodes)
{
    rec->SQL_TEXT = QStringLiteral("select v a, s b, dt c, v d from data");
    openEditor(*rec, owner, [&](TfSetSQLTable &w) {
        for (int c = 1; c <= 4; ++c) {
            w.SGTableSet->SetCells(c, 2, QStringLiteral("60"));
            w.SGTableSet->SetCells(c, 3, QStringList{"C", "R", "c", "L"}[c - 1]);
        }
        clickButton(w, "tbExecSQL");
        const Qt::Alignment v = Qt::AlignVCenter;
        const Qt::Alignment expected[] = {Qt::AlignLeft | v, Qt::AlignHCenter | v,
                                          Qt::AlignRight | v, Qt::AlignLeft | v, Qt::AlignLeft | v};
        TStringGridModel *model = w.SGResultSQL->GridModel();
        for (int c = 0; c <= 4; ++c) {
            EXPECT_EQ(w.SGResultSQLDrawCell(c, 1), expected[c]) << c;
            // Drawn so in the data rows and the title row alike, without inner margin.
            if (c > 0) {
                EXPECT_EQ(model->index(0, c - 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
                          expected[c])
                    << c;
                EXPECT_EQ(model->headerData(c - 1, Qt::Horizontal, Qt::TextAlignmentRole)
                              .value<Qt::Alignment>(),
                          expected[c])
                    << c;
                EXPECT_TRUE(model->index(0, c - 1).data(TStringGridModel::MarginlessRole).toBool());
            }
        }
        // A code typed later changes the drawing at once.
        typeSettings(*w.SGTableSet, 3, {"c", "100", "R"});
        EXPECT_EQ(w.SGResultSQLDrawCell(3, 2), Qt::AlignRight | v);
    });
}
} // namespace
