#pragma once

#include <QDialog>
#include <QString>

class QFrame;
class QPlainTextEdit;
class QPushButton;

// The error window: the main message, an OK button and, when there is a detail text, a button
// that shows and hides the detail panel below the buttons.
class TErrorOraForm : public QDialog {
    Q_OBJECT
public:
    explicit TErrorOraForm(QWidget *parent = nullptr);

    QString FirstMessage() const { return GetFirstMessage(); }
    void setFirstMessage(const QString &text) { SetFirstMessage(text); }
    QString LastMessage() const { return FLastMessage; }
    void setLastMessage(const QString &text) { FLastMessage = text; }

    QString GetFirstMessage() const;
    void SetFirstMessage(const QString &text);

    QFrame *pnButton;
    QPushButton *btDop;
    QPushButton *btOk;
    QFrame *pnFirst;
    QPlainTextEdit *mmFirst;
    QFrame *pnLast = nullptr;

    static constexpr int kClientWidth = 348;
    static constexpr int kFirstHeight = 97;
    static constexpr int kButtonHeight = 41;
    static constexpr int kHelpContext = 62900;

public slots:
    void btDopClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString FLastMessage;
    void fitHeight();
};
