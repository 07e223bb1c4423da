#include "common/IniFile.h"
#include "db/MesConnect.h"
#include "db/OracleBase.h"
#include "db/ServerStatus.h"
#include "db/StatusBarPainting.h"
#include "db/UiThread.h"
#include "login/ElidedPanel.h"
#include "login/NoteLogin.h"
#include "login/SessionVariables.h"
#include "login/ShiftEnd.h"
#include "tests/login/LoginFixture.h"
#include "tests/login/ModalDriver.h"
#include "tests/support/DialogScript.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {
const QString refusedIvanov = QStringLiteral(
    "Пользователь \"ivanov\" не существует, Вы ввели неправильный пароль или Ваш доступ в "
    "систему запрещен!");
const QString cancelQuestion =
    QStringLiteral("Вы нажали кнопку ОТМЕНА. В Данном режиме можно только прекратить работу.\r\n"
                   "              Вы действительно хотите выйти из программы?");

class LoginDialog_Gui_Sqlite : public ::testing::Test {
protected:
    void SetUp() override
    {
        world.addUser(5, "'ivanov'", "'secret'");
        world.addUser(6, "'sidorov'", "'x'", "NULL", "'F'");
        world.addUser(7, "'petrov'", "'y'");
        dialog = std::make_unique<TNoteLogin>();
        dialog->SetOnlyParamStr(true);
        dialog->ParamStr.clear();
    }
    void TearDown() override { ClearTerminateRequest(); }

    QString loginName() const { return IniFile(TmpFile).readString("Login", "NAME", "<none>"); }
    void writeTemp(const QByteArray &text) const
    {
        QFile f(TmpFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    void type(QWidget *w, const QString &text) const
    {
        w->setFocus();
        QTest::keyClicks(w, text);
    }
    TLoginForm &d() { return *dialog; }
    QComboBox *edit1() { return d().findChild<QComboBox *>("Edit1"); }
    QLineEdit *edit2() { return d().findChild<QLineEdit *>("Edit2"); }
    QPushButton *button(const char *name) { return d().findChild<QPushButton *>(name); }
    // Cancel, confirmed: the dialog's way out.
    ModalDriver::Step cancelAndLeave(DialogScript &script)
    {
        return {[this, &script] {
            script.answer(mrYes);
            QTest::mouseClick(button("CancelBtn"), Qt::LeftButton);
        }};
    }

    LoginWorld world{TestEngine::SQLite};
    std::unique_ptr<TNoteLogin> dialog;
};
} // namespace

TEST_F(LoginDialog_Gui_Sqlite, ViewHasTheNamedControls)
{
    EXPECT_EQ(d().windowTitle(), "Регистрация");
    EXPECT_EQ(d().size(), QSize(280, 127));
    EXPECT_TRUE(d().windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(d().windowFlags() & Qt::WindowCloseButtonHint);
    for (const char *name : {"GroupBox", "Label1", "Label2", "StatusBar1"})
        EXPECT_NE(d().findChild<QWidget *>(name), nullptr) << name;
    EXPECT_EQ(d().findChild<QLabel *>("Label1")->text(), "Имя пользователя");
    EXPECT_EQ(d().findChild<QLabel *>("Label2")->text(), "Пароль");
    ASSERT_NE(edit1(), nullptr);
    EXPECT_TRUE(edit1()->isEditable());
    ASSERT_NE(edit2(), nullptr);
    EXPECT_EQ(edit2()->echoMode(), QLineEdit::Password);
    edit2()->setText("пароль");
    EXPECT_EQ(edit2()->displayText(), "******");
    EXPECT_EQ(button("OKBtn")->text(), "OK");
    EXPECT_TRUE(button("OKBtn")->isDefault());
    EXPECT_EQ(button("CancelBtn")->text(), "Отмена");
    EXPECT_TRUE(d().OnlyParamStr());
    EXPECT_EQ(StatusPanel0(d().findChild<QStatusBar *>("StatusBar1"))->text(), ServerStatusText());
}

TEST_F(LoginDialog_Gui_Sqlite, ARefusalKeepsTheNameAndEmptiesThePassword)
{
    DialogScript script;
    ModalDriver drive(d(), {{[&] {
                                EXPECT_EQ(edit1()->count(), 3);
                                EXPECT_EQ(edit1()->itemText(0), "ivanov");
                                EXPECT_EQ(edit1()->itemText(1), "petrov");
                                EXPECT_EQ(edit1()->itemText(2), "sidorov")
                                    << "disabled users are listed";
                                EXPECT_EQ(edit1()->itemData(2).toInt(), 6);
                                type(edit1()->lineEdit(), "ivanov");
                                type(edit2(), "wrong");
                                script.answer(mrCancel);
                                QTest::mouseClick(button("OKBtn"), Qt::LeftButton);
                            }},
                            {[&] {
                                ASSERT_EQ(script.shown().size(), 1);
                                EXPECT_EQ(script.shown()[0].text, refusedIvanov);
                                EXPECT_EQ(script.shown()[0].type, TMsgDlgType::mtError);
                                EXPECT_EQ(edit1()->currentText(), "ivanov");
                                EXPECT_EQ(edit2()->text(), "");
                                EXPECT_EQ(QApplication::focusWidget(), edit2());
                                EXPECT_EQ(d().windowTitle(), "Регистрация");
                                type(edit2(), "secret");
                                QTest::keyClick(edit2(), Qt::Key_Return);
                            }}});
    EXPECT_EQ(d().ShowModal(), 1);
    EXPECT_EQ(User_Name, "ivanov");
    EXPECT_EQ(Pass, "secret");
    EXPECT_EQ(FOracleBase->UserTabNum, 5);
    EXPECT_EQ(loginName(), "ivanov");
    EXPECT_EQ(script.shown().size(), 1);
}

TEST_F(LoginDialog_Gui_Sqlite, ShowTimeShowsTheShiftEndAfterOK)
{
    writeTemp("[Login]\nNAME=ivanov\nSHOWTIME=1\n");
    SHOW_SMENA_PASSWORD = true;
    DialogScript script;
    double before = 0;
    double after = 0;
    ModalDriver drive(d(), {{[&] {
                                EXPECT_EQ(edit1()->currentText(), "ivanov") << "from Temp.tmp";
                                EXPECT_EQ(QApplication::focusWidget(), edit2());
                                type(edit2(), "wrong");
                                script.answer(mrCancel);
                                before = NowDays();
                                QTest::mouseClick(button("OKBtn"), Qt::LeftButton);
                                after = NowDays();
                            }},
                            {[&] {
                                EXPECT_GE(Val_smena, ShiftEndOf(before));
                                EXPECT_LE(Val_smena, ShiftEndOf(after));
                                EXPECT_EQ(d().windowTitle(), DaysToText(Val_smena));
                                EXPECT_TRUE(d().windowTitle().endsWith(":00:00"));
                            }},
                            cancelAndLeave(script)});
    EXPECT_EQ(d().ShowModal(), mrCancel);
}

TEST_F(LoginDialog_Gui_Sqlite, CancelThenNoKeepsTheDialogAndYesEndsTheProgram)
{
    DialogScript script;
    ModalDriver drive(d(), {{[&] {
                                script.answer(mrNo);
                                QTest::mouseClick(button("CancelBtn"), Qt::LeftButton);
                            }},
                            {[&] {
                                EXPECT_FALSE(TerminateRequested());
                                script.answer(mrNo);
                                QTest::keyClick(edit1(), Qt::Key_Escape);
                            }},
                            {[&] {
                                EXPECT_FALSE(TerminateRequested());
                                script.answer(mrYes);
                                QTest::mouseClick(button("CancelBtn"), Qt::LeftButton);
                            }}});
    EXPECT_EQ(d().ShowModal(), mrCancel);
    EXPECT_TRUE(TerminateRequested());
    ASSERT_EQ(script.shown().size(), 3);
    for (const ShownDialog &box : script.shown()) {
        EXPECT_EQ(box.text, cancelQuestion);
        EXPECT_EQ(box.type, TMsgDlgType::mtConfirmation);
        EXPECT_EQ(box.buttons, QStringList({"&Да", "&Нет"}));
    }
    EXPECT_EQ(FOracleBase->UserTabNum, 0);
}

TEST_F(LoginDialog_Gui_Sqlite, CommandLineCredentialsLogInWithoutAWindow)
{
    SHOW_SMENA_PASSWORD = true;
    const double made = Val_smena;
    ASSERT_NE(made, 0);
    d().ParamStr = QStringList{"ivanov/secret@ORCL", "more"};
    DialogScript script;
    EXPECT_EQ(d().ShowModal(), 1);
    EXPECT_FALSE(d().testAttribute(Qt::WA_WState_ExplicitShowHide)) << "never shown";
    EXPECT_EQ(User_Name, "ivanov");
    EXPECT_EQ(Pass, "secret");
    EXPECT_EQ(FOracleBase->UserTabNum, 5);
    EXPECT_EQ(Val_smena, made);
    EXPECT_FALSE(QFile::exists(TmpFile)) << "Login/NAME is not written";
}

TEST_F(LoginDialog_Gui_Sqlite, RefusedCommandLineCredentialsOpenTheDialog)
{
    writeTemp("[Login]\nNAME=petrov\n");
    d().ParamStr = QStringList{"ivanov/wrong@ORCL"};
    DialogScript script;
    script.answer(mrCancel);
    ModalDriver drive(d(), {{[&] {
                          ASSERT_EQ(script.shown().size(), 1);
                          EXPECT_EQ(script.shown()[0].text, refusedIvanov);
                          EXPECT_EQ(edit1()->currentText(), "ivanov");
                          EXPECT_EQ(edit2()->text(), "");
                          type(edit2(), "secret");
                          QTest::mouseClick(button("OKBtn"), Qt::LeftButton);
                      }}});
    EXPECT_EQ(d().ShowModal(), 1);
    EXPECT_TRUE(d().testAttribute(Qt::WA_WState_ExplicitShowHide)) << "shown";
    EXPECT_EQ(Pass, "secret");
    EXPECT_EQ(loginName(), "ivanov");
}

TEST_F(LoginDialog_Gui_Sqlite, WithoutOnlyParamStrTheCommandLineIsIgnored)
{
    writeTemp("[Login]\nNAME=petrov\n");
    d().ParamStr = QStringList{"ivanov/secret@ORCL"};
    d().SetOnlyParamStr(false);
    DialogScript script;
    ModalDriver drive(d(), {{[&] {
                                EXPECT_EQ(edit1()->currentText(), "petrov");
                                EXPECT_TRUE(script.shown().isEmpty());
                            }},
                            cancelAndLeave(script)});
    EXPECT_EQ(d().ShowModal(), mrCancel);
    EXPECT_EQ(FOracleBase->UserTabNum, 0);
}

TEST_F(LoginDialog_Gui_Sqlite, BecomingActiveAgainEmptiesThePassword)
{
    DialogScript script;
    QWidget other(&d(), Qt::Window);
    ModalDriver drive(d(), {{[&] {
                                type(edit2(), "half typed");
                                other.show();
                                other.activateWindow();
                            }},
                            {[&] {
                                 EXPECT_EQ(edit2()->text(), "half typed");
                                 other.hide();
                                 d().activateWindow();
                             },
                             [&] { return QApplication::activeWindow() == &other; }},
                            {[&] {
                                EXPECT_EQ(edit2()->text(), "");
                                EXPECT_EQ(QApplication::focusWidget(), edit1());
                            }},
                            cancelAndLeave(script)});
    EXPECT_EQ(d().ShowModal(), mrCancel);
}

TEST_F(LoginDialog_Gui_Sqlite, AStateFileThatCannotBeWrittenIsIgnored)
{
    TmpFile = world.folder() + "/missing/Temp.tmp";
    DialogScript script;
    ModalDriver drive(d(), {{[&] {
                          type(edit1()->lineEdit(), "ivanov");
                          type(edit2(), "secret");
                          QTest::mouseClick(button("OKBtn"), Qt::LeftButton);
                      }}});
    EXPECT_EQ(d().ShowModal(), 1);
    EXPECT_TRUE(script.shown().isEmpty());
}

TEST_F(LoginDialog_Gui_Sqlite, ReconnectRepeatsTheLastCredentials)
{
    User_Name = "ivanov";
    Pass = "secret";
    d().Reconnect();
    EXPECT_EQ(d().result(), 1);
    EXPECT_EQ(FOracleBase->UserTabNum, 5);
    EXPECT_EQ(loginName(), "ivanov");
}

TEST(LoginDialogOffline_Gui, AnUnreachableServerIsReportedAndTheDialogStays)
{
    ResetProcessState();
    TempDir dir;
    QFile ini(dir.file("viri.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Alias]\nSERVER_NAME=sqlite:" + dir.file("missing/users.db").toUtf8() + "\n");
    ini.close();
    TFOracleBase base(nullptr, dir.path());
    TNoteLogin dialog;
    dialog.ParamStr.clear();
    DialogScript script;
    script.answer(mrOk);
    ModalDriver drive(dialog, {{[&] {
                                   ASSERT_EQ(script.shown().size(), 1) << "the logon's error";
                                   EXPECT_EQ(script.shown()[0].kind, "message");
                                   auto *edit1 = dialog.findChild<QComboBox *>("Edit1");
                                   EXPECT_EQ(edit1->count(), 0);
                                   edit1->setEditText("ivanov");
                                   script.answer(mrOk);
                                   QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
                               }},
                               {[&] {
                                   ASSERT_EQ(script.shown().size(), 2) << "the check's error";
                                   EXPECT_EQ(script.shown()[1].kind, "message");
                                   EXPECT_FALSE(script.shown()[1].text.isEmpty());
                                   script.answer(mrYes);
                                   QTest::mouseClick(dialog.CancelBtn, Qt::LeftButton);
                               }}});
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_TRUE(TerminateRequested());
    ClearTerminateRequest();
}

// Before the main event loop runs, the waiting window's button must end the open dialog too
// (the driver fails the test when the dialog is still open after its bound).
TEST_F(LoginDialog_Gui_Sqlite, ExitInTheWaitingWindowEndsTheProgramWhileTheDialogIsOpen)
{
    TFMesConnect waiting;
    ModalDriver drive(d(), {{[&] {
                          waiting.show();
                          QTest::mouseClick(waiting.Button1, Qt::LeftButton);
                      }}});
    d().ShowModal();
    EXPECT_TRUE(TerminateRequested());
}

TEST_F(LoginDialog_Gui_Sqlite, ALongStatusTextIsCutInTheMiddleWithTheWholeTextAsTooltip)
{
    QStatusBar *bar = d().findChild<QStatusBar *>("StatusBar1");
    d().show();
    QCoreApplication::processEvents();
    auto *panel = bar->findChild<TElidedPanel *>("Panel0");
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(StatusPanel0(bar), panel);
    const QString full = ServerStatusText();
    EXPECT_EQ(panel->text(), full);
    EXPECT_EQ(panel->toolTip(), full);
    EXPECT_EQ(d().size(), QSize(280, 127));
    EXPECT_TRUE(bar->rect().contains(panel->geometry()));
    // The database's path makes the text wider than the dialog.
    ASSERT_GT(QFontMetrics(bar->font()).horizontalAdvance(full), d().width());
    const QString shown = panel->ShownText();
    EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
    EXPECT_TRUE(shown.startsWith(full.left(6)));
    EXPECT_TRUE(shown.endsWith(full.right(6)));
    EXPECT_LE(QFontMetrics(panel->font()).horizontalAdvance(shown), panel->contentsRect().width());

    // A short text is drawn whole.
    panel->setText(QStringLiteral("   a@b   "));
    EXPECT_EQ(panel->ShownText(), "   a@b   ");
}
