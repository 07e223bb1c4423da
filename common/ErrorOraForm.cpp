#include "common/ErrorOraForm.h"

#include "common/Placement.h"

#include <QFrame>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {
QPlainTextEdit *readOnlyMemo(QWidget *parent)
{
    auto *memo = new QPlainTextEdit(parent);
    memo->setReadOnly(true);
    memo->setFrameShape(QFrame::NoFrame);
    // The memo takes the background of its parent.
    memo->setBackgroundRole(QPalette::Window);
    auto *layout = new QVBoxLayout(parent);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(memo);
    return memo;
}
} // namespace

TErrorOraForm::TErrorOraForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ErrorOraForm"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setProperty("HelpContext", kHelpContext);

    pnFirst = new QFrame(this);
    pnFirst->setObjectName(QStringLiteral("pnFirst"));
    pnFirst->setFrameShape(QFrame::Panel);
    pnFirst->setFrameShadow(QFrame::Sunken);
    pnFirst->setGeometry(0, 0, kClientWidth, kFirstHeight);
    mmFirst = readOnlyMemo(pnFirst);
    mmFirst->setObjectName(QStringLiteral("mmFirst"));

    pnButton = new QFrame(this);
    pnButton->setObjectName(QStringLiteral("pnButton"));
    pnButton->setGeometry(0, kFirstHeight, kClientWidth, kButtonHeight);
    btOk = new QPushButton(QStringLiteral("OK"), pnButton);
    btOk->setObjectName(QStringLiteral("btOk"));
    btOk->setGeometry(136, 8, 75, 25);
    btOk->setDefault(true);
    btDop = new QPushButton(QStringLiteral("Дополнительно  >>"), pnButton);
    btDop->setObjectName(QStringLiteral("btDop"));
    btDop->setGeometry(224, 8, 115, 25);

    connect(btOk, &QPushButton::clicked, this, [this] { done(1); });
    connect(btDop, &QPushButton::clicked, this, &TErrorOraForm::btDopClick);

    fitHeight();
    // Starts in the centre of the screen; activation then follows the pointer.
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
}

QString TErrorOraForm::GetFirstMessage() const
{
    return mmFirst->toPlainText();
}

void TErrorOraForm::SetFirstMessage(const QString &text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    mmFirst->setPlainText(lines);
}

void TErrorOraForm::btDopClick()
{
    if (pnLast) {
        btDop->setText(QStringLiteral("Дополнительно  >>"));
        delete pnLast;
        pnLast = nullptr;
    } else {
        btDop->setText(QStringLiteral("Дополнительно  <<"));
        pnLast = new QFrame(this);
        pnLast->setObjectName(QStringLiteral("pnLast"));
        pnLast->setGeometry(0, kFirstHeight + kButtonHeight + 1, kClientWidth, kFirstHeight);
        QPlainTextEdit *memo = readOnlyMemo(pnLast);
        memo->setObjectName(QStringLiteral("mmLast"));
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->setPlainText(FLastMessage);
        pnLast->show();
    }
    fitHeight();
}

void TErrorOraForm::fitHeight()
{
    const int height = pnLast ? pnLast->geometry().bottom() + 1 : kFirstHeight + kButtonHeight;
    setFixedSize(kClientWidth, height);
}

void TErrorOraForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    SetCenterMouse(this);
    UpdateLeftTop(this);
}
