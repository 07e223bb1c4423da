#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

// The login dialog ("Регистрация"): a name box with the users' names, a masked password field,
// OK and Cancel. ShowModal connects, fills the names, tries credentials from the command line
// and shows the window only when they are absent or refused. Checking a name and password is
// left to a derived class (ReceiveInput).
class TLoginForm : public QDialog {
    Q_OBJECT
    Q_PROPERTY(bool OnlyParamStr READ OnlyParamStr WRITE SetOnlyParamStr)
public:
    explicit TLoginForm(QWidget *Owner = nullptr);

    // The whole login; the dialog's result (1 after a successful check).
    virtual int ShowModal();
    // Checks a name and password: 1 logs in (the dialog closes), 0 keeps the dialog.
    virtual int ReceiveInput(const QString &AUser, const QString &APsw) = 0;

    bool OnlyParamStr() const { return FOnlyParamStr; }
    void SetOnlyParamStr(bool Value) { FOnlyParamStr = Value; }

    // The process's arguments after the program name; ShowModal takes credentials from the
    // first one.
    QStringList ParamStr;

    // User_Name and Pass into the fields, then the OK action.
    void Reconnect();
    void OKBtnClick();
    // Placement on the monitors, the password emptied, the focus on the field to fill.
    void FormActivate();

    QGroupBox *GroupBox;
    QLabel *Label1;
    QComboBox *Edit1;
    QLabel *Label2;
    QLineEdit *Edit2;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
    QStatusBar *StatusBar1;

    // Escape and closing the window go the way of the Cancel button.
    void reject() override;

signals:
    // Cancel was pressed; the result is Cancel. A handler that sets it back to 0 (none) keeps
    // the dialog open.
    void CancelClick();

protected:
    bool event(QEvent *e) override;

private:
    void buildView();
    void FormCreate();
    void cancelPressed();

    bool FOnlyParamStr = true;
};
