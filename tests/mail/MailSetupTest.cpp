// The mail settings window on an SQLite database, driven through its controls.

#include "mail/MailSetup.h"
#include "catalog/StringGrid.h"
#include "db/OracleBase.h"
#include "mail/MailSettings.h"
#include "mail/MailSettingsStore.h"
#include "mail/ReportCheckTree.h"
#include "tests/catalog/CatalogDb.h"
#include "tests/catalog/GridDump.h"
#include "tests/support/DialogScript.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

namespace {
// The tree's boxes in display order: each label with "+" checked, "~" partly checked or "-"
// unchecked, children in brackets ("Root~ [Sub+ [A+ B+] C-]").
QString checkText(const QTreeWidgetItem *node)
{
    static const char marks[] = {'-', '~', '+'};
    QString text = node->text(0) + QLatin1Char(marks[node->checkState(0)]);
    QStringList children;
    for (int i = 0; i < node->childCount(); ++i)
        children.append(checkText(node->child(i)));
    if (!children.isEmpty())
        text += QStringLiteral(" [") + children.join(u' ') + u']';
    return text;
}

QString checkText(const QTreeWidget &tree)
{
    QStringList roots;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        roots.append(checkText(tree.topLevelItem(i)));
    return roots.join(u' ');
}

class MailSetup_Gui_Sqlite : public ::testing::Test {
protected:
    MailSetup_Gui_Sqlite()
    {
        db.addFolder(1, "Root", 0);
        db.addFolder(2, "Sub", 1);
        db.addReport(10, "C", 1, "select 1 x");
        db.addReport(12, "A", 2, "select 2 x");
        db.addReport(15, "B", 2, "select 3 x");
        db.addFolder(3, "Empty", 0);
    }
    void recipients(const QString &values) const
    {
        db.exec("INSERT INTO QUORVEL_MAIL (ADR_MAIL, ADR_NAME, ID_REPORT) VALUES " + values);
    }
    QString storedRecipients() const
    {
        return db.rows("SELECT ADR_MAIL, ADR_NAME, ID_REPORT FROM QUORVEL_MAIL ORDER BY ID_MAIL");
    }
    QString storedServer() const
    {
        return db.rows("SELECT IP_POP_SERVER, POP_USER, POP_PASSWORD FROM QUORVEL_POP");
    }
    QTreeWidgetItem *node(const TFMailSetup &form, const QString &label) const
    {
        const auto found = form.VST->findItems(label, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    // A click on a cell of grid row ARow, as the user gives it.
    static void select(TFMailSetup &form, int ARow)
    {
        const QModelIndex at = form.SG->model()->index(ARow - 1, 0);
        form.SG->setCurrentIndex(at);
        emit form.SG->clicked(at);
    }
    // What the in-place editor stores when an edit of a cell is completed.
    static void type(TFMailSetup &form, int ACol, int ARow, const QString &text)
    {
        form.SG->model()->setData(form.SG->model()->index(ARow - 1, ACol), text);
    }

    CatalogDb db;
    DialogScript dialogs;
};

TEST_F(MailSetup_Gui_Sqlite, OpensWithTheFirstRecipientsReportsTickedAndTheServer)
{
    recipients("('a@example.com', 'Alpha', '12, 15'), ('b@example.com,c@example.com', 'Beta', '')");
    db.exec("INSERT INTO QUORVEL_POP VALUES ('mail.example.com:2525', 'user', 'pw')");
    TFMailSetup form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Настройки почты"));
    EXPECT_EQ(gridText(*form.SG), QStringLiteral("Адрес,Получатель | a@example.com,Alpha | "
                                                 "b@example.com,c@example.com,Beta"));
    EXPECT_EQ(form.eIP->text(), QStringLiteral("mail.example.com:2525"));
    EXPECT_EQ(form.eLogin->text(), QStringLiteral("user"));
    EXPECT_EQ(form.ePsw->text(), QStringLiteral("pw"));
    EXPECT_EQ(form.ePsw->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(form.CurRow, 1);
    // "12, 15" names two reports; their folder is full, the root only partly.
    EXPECT_EQ(checkText(*form.VST), QStringLiteral("Empty- Root~ [Sub+ [A+ B+] C-]"));
    EXPECT_TRUE(node(form, "Sub")->isExpanded());
    EXPECT_EQ(TReportCheckTree::Record(node(form, "A"))->parent_name, QStringLiteral("Sub"));

    // An empty ID_REPORT unticks everything.
    select(form, 2);
    EXPECT_EQ(form.CurRow, 2);
    EXPECT_EQ(checkText(*form.VST), QStringLiteral("Empty- Root- [Sub- [A- B-] C-]"));
    select(form, 1);
    EXPECT_EQ(form.VST->SetIdsRpt(), QStringLiteral("12,15"));
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST_F(MailSetup_Gui_Sqlite, EditsAndTicksFollowTheirRowAndOkSavesThemInGridOrder)
{
    recipients("('a@example.com', 'Alpha', '10'), ('b@example.com', 'Beta', '12')");
    TFMailSetup form;
    type(form, 1, 1, "Alpha Renamed");
    // Checking a folder checks everything inside it.
    node(form, "Sub")->setCheckState(0, Qt::Checked);
    EXPECT_EQ(checkText(*form.VST), QStringLiteral("Empty- Root+ [Sub+ [A+ B+] C+]"));
    select(form, 2);
    EXPECT_EQ(checkText(*form.VST), QStringLiteral("Empty- Root~ [Sub~ [A+ B-] C-]"));
    EXPECT_EQ(form.Record(1)->ID_REPORT, QStringLiteral("12,15,10"));
    EXPECT_EQ(form.Record(1)->ADR_NAME, QStringLiteral("Alpha Renamed"));
    node(form, "A")->setCheckState(0, Qt::Unchecked);
    type(form, 0, 2, "beta@example.com");
    form.BitBtn1->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(storedRecipients(),
              QStringLiteral("a@example.com Alpha Renamed 12,15,10 | beta@example.com Beta "));
    EXPECT_EQ(storedServer(), QStringLiteral("  "));
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST_F(MailSetup_Gui_Sqlite, OnlyVisitedRowsDropIdentifiersNoLongerInTheCatalog)
{
    recipients("('a@example.com', 'Alpha', '99,12'), ('b@example.com', 'Beta', '77, 15')");
    TFMailSetup form;
    form.BitBtn1->click();
    EXPECT_EQ(storedRecipients(),
              QStringLiteral("a@example.com Alpha 12 | b@example.com Beta 77, 15"));
}

TEST_F(MailSetup_Gui_Sqlite, AnEmptyTableOpensWithOneEmptyRowAndOkStoresItAndTheServer)
{
    TFMailSetup form;
    EXPECT_EQ(gridText(*form.SG), QStringLiteral("Адрес,Получатель | ,"));
    ASSERT_NE(form.Record(1), nullptr);
    EXPECT_EQ(*form.Record(1), TSend());
    EXPECT_EQ(form.eIP->text(), QString());
    EXPECT_EQ(form.eLogin->text(), QString());
    EXPECT_EQ(form.ePsw->text(), QString());
    form.eIP->setText("127.0.0.1:2525");
    form.eLogin->setText("mailer");
    form.BitBtn1->click();
    EXPECT_EQ(db.rows("SELECT COUNT(*), ADR_MAIL || '|' || ADR_NAME || '|' || ID_REPORT "
                      "FROM QUORVEL_MAIL"),
              QStringLiteral("1 ||"));
    EXPECT_EQ(storedServer(), QStringLiteral("127.0.0.1:2525 mailer "));
}

// The connection's security and CA file live in viri.ini, here in a folder of the test's own.
class MailSetupIni_Gui_Sqlite : public MailSetup_Gui_Sqlite {
protected:
    MailSetupIni_Gui_Sqlite() : saved_(CurrDir) { CurrDir = dir_.path(); }
    ~MailSetupIni_Gui_Sqlite() override { CurrDir = saved_; }

private:
    TempDir dir_;
    QString saved_;
};

TEST_F(MailSetupIni_Gui_Sqlite, ShowsTheSecurityAndCaFileAndOkSavesTheChosenOnes)
{
    SaveMailSecurity(TSmtpSecurity::StartTls);
    SaveMailCaFile(QStringLiteral("certs/company.pem"));
    TFMailSetup form;
    EXPECT_EQ(form.cbSecurity->currentData().toInt(), int(TSmtpSecurity::StartTls));
    EXPECT_EQ(form.eCaFile->text(), QStringLiteral("certs/company.pem"));
    form.cbSecurity->setCurrentIndex(form.cbSecurity->findData(int(TSmtpSecurity::Tls)));
    form.eCaFile->setText(QStringLiteral("/etc/ssl/grid-ca.pem"));
    form.BitBtn1->click();
    EXPECT_EQ(MailSecurity(), TSmtpSecurity::Tls);
    EXPECT_EQ(MailCaFile(), QStringLiteral("/etc/ssl/grid-ca.pem"));
}

TEST_F(MailSetup_Gui_Sqlite, FiveThousandRecipientsOpenSaveAndReopenUnchanged)
{
    QStringList values;
    for (int i = 1; i <= 5000; ++i)
        values << QStringLiteral("('r%1@example.com', 'Получатель %1', '%2')")
                      .arg(i)
                      .arg(i % 3 == 0 ? QStringLiteral("12,10") : QString());
    recipients(values.join(u','));
    const QString before = storedRecipients();
    {
        TFMailSetup form;
        ASSERT_EQ(form.SG->RowCount(), 5001);
        EXPECT_EQ(form.SG->Cells(0, 5000), "r5000@example.com");
        select(form, 4998);
        EXPECT_EQ(checkText(*form.VST), "Empty- Root~ [Sub~ [A+ B-] C+]");
        form.ListWMail();
    }
    // The first row that changed, rather than two texts of 5,000 rows.
    const QStringList was = before.split(" | "), now = storedRecipients().split(" | ");
    qsizetype row = 0;
    while (row < was.size() && row < now.size() && was[row] == now[row])
        ++row;
    EXPECT_EQ(now.value(row), was.value(row)) << "row " << row;
    EXPECT_EQ(now.size(), was.size());
    TFMailSetup again;
    EXPECT_EQ(again.SG->RowCount(), 5001);
    EXPECT_EQ(again.SG->Cells(1, 4999), "Получатель 4999");
}

TEST_F(MailSetup_Gui_Sqlite, AddedRowsStartUntickedAndKeepThePreviousRowsEdits)
{
    recipients("('a@example.com', 'Alpha', '12')");
    TFMailSetup form;
    node(form, "C")->setCheckState(0, Qt::Checked);
    form.tbAddMail->trigger();
    EXPECT_EQ(form.tbAddMail->toolTip(), QStringLiteral("Добавить адрес"));
    EXPECT_EQ(form.CurRow, 2);
    EXPECT_EQ(form.SG->RowCount(), 3);
    EXPECT_EQ(checkText(*form.VST), QStringLiteral("Empty- Root- [Sub- [A- B-] C-]"));
    type(form, 0, 2, "new@example.com");
    type(form, 1, 2, "New");
    node(form, "B")->setCheckState(0, Qt::Checked);
    form.BitBtn1->click();
    EXPECT_EQ(storedRecipients(),
              QStringLiteral("a@example.com Alpha 12,10 | new@example.com New 15"));
}

TEST_F(MailSetup_Gui_Sqlite, DeletingTheMiddleRecipientOfThreeKeepsTheOthersAndTheirReports)
{
    recipients("('a@example.com', 'A', '10'), ('b@example.com', 'B', '12'), "
               "('c@example.com', 'C', '15')");
    TFMailSetup form;
    select(form, 2);
    node(form, "C")->setCheckState(0, Qt::Checked);
    dialogs.answer(mrNo);
    form.tbDelMail->trigger();
    EXPECT_EQ(form.SG->RowCount(), 4);

    dialogs.answer(mrYes);
    form.tbDelMail->trigger();
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown()[1].type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(dialogs.shown()[1].buttons.size(), 2);
    EXPECT_EQ(gridText(*form.SG),
              QStringLiteral("Адрес,Получатель | a@example.com,A | c@example.com,C"));
    // The tree shows the recipient now selected, not the removed one's ticks.
    EXPECT_EQ(form.CurRow, 2);
    EXPECT_EQ(checkText(*form.VST), QStringLiteral("Empty- Root~ [Sub~ [A- B+] C-]"));
    form.BitBtn1->click();
    EXPECT_EQ(storedRecipients(), QStringLiteral("a@example.com A 10 | c@example.com C 15"));
}

TEST_F(MailSetup_Gui_Sqlite, DeletingTheOnlyRecipientLeavesNoneToSave)
{
    recipients("('a@example.com', 'A', '10')");
    TFMailSetup form;
    dialogs.answer(mrYes);
    form.tbDelMail->trigger();
    EXPECT_EQ(form.SG->RowCount(), 1);
    EXPECT_EQ(form.CurRow, 0);
    form.BitBtn1->click();
    EXPECT_EQ(storedRecipients(), QString());
}

// Where the save fails: at a recipient's row or at the server row. Nothing may be lost.
struct SaveRefusal {
    const char *name;
    const char *trigger;
};
const SaveRefusal saveRefusals[] = {
    {"AtARecipient", "CREATE TRIGGER refuse BEFORE INSERT ON QUORVEL_MAIL "
                     "WHEN NEW.ADR_MAIL = 'refused@example.com' "
                     "BEGIN SELECT RAISE(ABORT, 'refused'); END"},
    {"AtTheServerRow", "CREATE TRIGGER refuse BEFORE INSERT ON QUORVEL_POP "
                       "BEGIN SELECT RAISE(ABORT, 'refused'); END"},
};

class MailSetupSaveFails_Gui_Sqlite : public MailSetup_Gui_Sqlite,
                                      public ::testing::WithParamInterface<int> {};

TEST_P(MailSetupSaveFails_Gui_Sqlite, RollsEverythingBackAndSaysSo)
{
    recipients("('a@example.com', 'A', '10'), ('b@example.com', 'B', '12')");
    db.exec("INSERT INTO QUORVEL_POP VALUES ('old.example.com', 'u', 'p')");
    db.exec(saveRefusals[GetParam()].trigger);
    const QString recipientsBefore = storedRecipients();
    TFMailSetup form;
    select(form, 2);
    type(form, 0, 2, "refused@example.com");
    form.eIP->setText("new.example.com");
    dialogs.answer(mrOk);
    form.BitBtn1->click();
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral("Ошибка записи в БД"));
    EXPECT_EQ(dialogs.shown()[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(dialogs.shown()[0].buttons, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(storedRecipients(), recipientsBefore);
    EXPECT_EQ(storedServer(), QStringLiteral("old.example.com u p"));
}

INSTANTIATE_TEST_SUITE_P(Refusals, MailSetupSaveFails_Gui_Sqlite, ::testing::Values(0, 1),
                         [](const auto &p) { return saveRefusals[p.param].name; });

// ShowMailSetup shows a fresh window modally; OK saves, Cancel keeps what is stored.
class ShowMailSetup_Gui_Sqlite : public MailSetup_Gui_Sqlite,
                                 public ::testing::WithParamInterface<bool> {};

TEST_P(ShowMailSetup_Gui_Sqlite, OkSavesCancelDrops)
{
    const bool ok = GetParam();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        // Found by name, as the user finds them by their labels.
        QWidget *form = QApplication::activeModalWidget();
        ASSERT_NE(form, nullptr);
        seen = form->isVisible() && form->windowTitle() == QStringLiteral("Настройки почты");
        auto *eIP = form->findChild<QLineEdit *>("eIP");
        auto *button = form->findChild<QPushButton *>(ok ? "BitBtn1" : "BitBtn2");
        ASSERT_TRUE(eIP && button && form->findChild<QLineEdit *>("eLogin") &&
                    form->findChild<QLineEdit *>("ePsw") && form->findChild<TStringGrid *>("SG") &&
                    form->findChild<QTreeWidget *>("VST") &&
                    form->findChild<QAction *>("tbAddMail") &&
                    form->findChild<QAction *>("tbDelMail"));
        eIP->setText("typed.example.com");
        button->click();
    });
    ShowMailSetup();
    EXPECT_TRUE(seen);
    EXPECT_EQ(storedServer(), ok ? QStringLiteral("typed.example.com  ") : QString());
    const QWidgetList windows = QApplication::topLevelWidgets();
    EXPECT_TRUE(std::none_of(windows.cbegin(), windows.cend(),
                             [](QWidget *w) { return qobject_cast<TFMailSetup *>(w); }));
}

INSTANTIATE_TEST_SUITE_P(Buttons, ShowMailSetup_Gui_Sqlite, ::testing::Bool(),
                         [](const auto &p) { return p.param ? "Ok" : "Cancel"; });
} // namespace

// A report may hold nodes in this tree, and a root report gets a three-state box as every root.
TEST(ReportCheckTree_Gui_Sqlite, KeepsAReportUnderAReportAndGivesEveryRootThreeStates)
{
    CatalogDb db;
    db.addFolder(1, "Root", 0);
    db.addReport(10, "Holder", 1, "select 1 x");
    db.addReport(11, "Held", 10, "select 2 x");
    db.addReport(20, "Top report", 0, "select 3 x");
    DialogScript dialogs;
    TReportCheckTree tree;
    tree.GetRptTree();
    EXPECT_EQ(checkText(tree), QStringLiteral("Root- [Holder- [Held-]] Top report-"));
    const QTreeWidgetItem *top = tree.findItems(QStringLiteral("Top report"), Qt::MatchExactly)[0];
    const QTreeWidgetItem *holder =
        tree.findItems(QStringLiteral("Holder"), Qt::MatchExactly | Qt::MatchRecursive)[0];
    EXPECT_TRUE(top->flags().testFlag(Qt::ItemIsAutoTristate));
    EXPECT_FALSE(holder->flags().testFlag(Qt::ItemIsAutoTristate)) << "a report below a root";
    tree.SetVST(QStringLiteral("11"));
    EXPECT_EQ(tree.SetIdsRpt(), QStringLiteral("11"));
    EXPECT_TRUE(dialogs.shown().isEmpty());
}
