#include "login/LoginForm.h"

#include "common/MessageDialogs.h"
#include "common/Placement.h"
#include "db/ComboBoxLoader.h"
#include "db/OracleBase.h"
#include "db/OracleError.h"
#include "db/OracleSession.h"
#include "db/StatusBarPainting.h"
#include "login/CommandLine.h"
#include "login/ElidedPanel.h"
#include "login/LoginSettings.h"
#include "login/SessionVariables.h"
#include "login/ShiftEnd.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

TLoginForm::TLoginForm(QWidget *Owner)
    : QDialog(Owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      ParamStr(QCoreApplication::arguments().mid(1))
{
    if (!SHOW_SMENA_PASSWORD)
        Val_smena = NoShiftEnd();
    buildView();
    FOnlyParamStr = true;
    if (Val_smena == 0)
        Val_smena = NowDays();
    FormCreate();
}

void TLoginForm::buildView()
{
    setObjectName(QStringLiteral("LoginForm"));
    setWindowTitle(QStringLiteral("Регистрация"));
    setModal(true);

    GroupBox = new QGroupBox(this);
    GroupBox->setObjectName(QStringLiteral("GroupBox"));
    Label1 = new QLabel(QStringLiteral("Имя пользователя"), GroupBox);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Edit1 = new QComboBox(GroupBox);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setEditable(true);
    Edit1->setInsertPolicy(QComboBox::NoInsert);
    Label1->setBuddy(Edit1);
    Label2 = new QLabel(QStringLiteral("Пароль"), GroupBox);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Edit2 = new QLineEdit(GroupBox);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setEchoMode(QLineEdit::Password);
    Edit2->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    Label2->setBuddy(Edit2);

    auto *rows = new QGridLayout(GroupBox);
    rows->setContentsMargins(6, 4, 6, 4);
    rows->addWidget(Label1, 0, 0);
    rows->addWidget(Edit1, 0, 1);
    rows->addWidget(Label2, 1, 0);
    rows->addWidget(Edit2, 1, 1);
    rows->setColumnStretch(1, 1);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Отмена"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addStretch();
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 4, 0, 0);
    column->setSpacing(4);
    auto *inner = new QVBoxLayout;
    inner->setContentsMargins(8, 0, 8, 0);
    inner->addWidget(GroupBox);
    inner->addLayout(buttons);
    column->addLayout(inner);
    column->addWidget(StatusBar1);
    setFixedSize(280, 127);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, OKBtn);
    setTabOrder(OKBtn, CancelBtn);

    connect(OKBtn, &QPushButton::clicked, this, [this] {
        setResult(mrOk);
        OKBtnClick();
    });
    connect(CancelBtn, &QPushButton::clicked, this, &TLoginForm::cancelPressed);
}

void TLoginForm::FormCreate()
{
    SetDefMon(this);
    // The panel is made here so that a long description is cut in the middle, not at its end.
    auto *panel = new TElidedPanel(StatusBar1);
    panel->setObjectName(QStringLiteral("Panel0"));
    StatusBar1->addWidget(panel);
    NameSRVToSB(StatusBar1);
    const QMargins margins = StatusBar1->contentsMargins();
    // The status bar's own spacing around its panels.
    constexpr int spacing = 8;
    panel->FitTo(width() - margins.left() - margins.right() - spacing);
}

int TLoginForm::ShowModal()
{
    TOracleSession *session = FOracleBase->ADatabase;
    try {
        if (!session->Connected())
            session->LogOn();
    } catch (const std::exception &e) {
        // The dialog still opens: each OK tries the logon again.
        ErrorMessage(ExceptionText(e), QString());
    }
    LoadComboBox(Edit1, nullptr, QStringLiteral("USER_PSW"), QStringLiteral("NAME"),
                 QStringLiteral("TABNUM"), QString(), QStringLiteral("NAME"), QString(), false);
    int result = 0;
    QString password;
    if (!ParamStr.isEmpty() && FOnlyParamStr) {
        const TCommandLineLogin login = ParseLoginArgument(ParamStr.first());
        password = login.Password;
        Edit1->setEditText(login.Name);
        result = ReceiveInput(Edit1->currentText(), password);
    } else {
        Edit1->setEditText(ReadLoginName());
    }
    if (result != 0) {
        User_Name = Edit1->currentText();
        Pass = password;
        setResult(result);
        return result;
    }
    return exec();
}

void TLoginForm::OKBtnClick()
{
    User_Name = Edit1->currentText();
    Pass = Edit2->text();
    const int result = ReceiveInput(Edit1->currentText(), Pass);
    setResult(result);
    if (const std::optional<QString> title = Count_Val_smena(NowDays()))
        setWindowTitle(*title);
    WriteLoginName(Edit1->currentText());
    if (result != 0)
        done(result);
}

void TLoginForm::Reconnect()
{
    Edit1->setEditText(User_Name);
    Edit2->setText(Pass);
    setResult(mrOk);
    OKBtnClick();
}

void TLoginForm::FormActivate()
{
    SetCenterMouse(this);
    UpdateLeftTop(this);
    Edit2->clear();
    if (isVisible() && isEnabled()) {
        if (Edit1->currentText().isEmpty())
            Edit1->setFocus();
        else
            Edit2->setFocus();
    }
}

void TLoginForm::cancelPressed()
{
    setResult(mrCancel);
    emit CancelClick();
    if (result() != 0)
        done(result());
}

void TLoginForm::reject()
{
    cancelPressed();
}

bool TLoginForm::event(QEvent *e)
{
    const bool handled = QDialog::event(e);
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return handled;
}
