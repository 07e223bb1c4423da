#include "common/MessageDialogs.h"

#include "common/DialogSeam.h"
#include "common/ErrorOraForm.h"
#include "common/Placement.h"

#include <QApplication>
#include <QHash>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>

namespace {
QMessageBox::Icon iconOf(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning:
        return QMessageBox::Warning;
    case TMsgDlgType::mtError:
        return QMessageBox::Critical;
    case TMsgDlgType::mtInformation:
        return QMessageBox::Information;
    case TMsgDlgType::mtConfirmation:
        return QMessageBox::Question;
    case TMsgDlgType::mtCustom:
        break;
    }
    return QMessageBox::NoIcon;
}

QStyle::StandardPixmap pixmapOf(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning:
        return QStyle::SP_MessageBoxWarning;
    case TMsgDlgType::mtError:
        return QStyle::SP_MessageBoxCritical;
    case TMsgDlgType::mtInformation:
        return QStyle::SP_MessageBoxInformation;
    default:
        return QStyle::SP_MessageBoxQuestion;
    }
}
// With two or more monitors the box opens at the pointer, kept from passing the desktop's
// right and bottom edges. It is placed once shown, when it has taken its final size.
class PlacedMessageBox : public QMessageBox {
public:
    PlacedMessageBox(Icon icon, const QString &title, const QString &text, ScreenLayout layout)
        : QMessageBox(icon, title, text, NoButton, QApplication::activeWindow()),
          layout_(std::move(layout))
    {
    }

protected:
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event);
        if (layout_.monitors.size() >= 2)
            move(PlaceAtPointer(frameGeometry().size(), layout_.cursor, layout_.desktop));
    }

private:
    ScreenLayout layout_;
};
} // namespace

void MyMessage(const QString &AFirstMessage, const QString &ALastMessage, TMsgDlgType DlgType)
{
    if (DialogInterceptor *interceptor = dialogInterceptor()) {
        ShownDialog shown{
            QStringLiteral("message"), MsgDlgTitle(DlgType), DlgType, AFirstMessage, ALastMessage,
            {QStringLiteral("OK")}};
        if (!ALastMessage.isEmpty())
            shown.buttons.append(QStringLiteral("Дополнительно  >>"));
        interceptor->answer(shown);
        return;
    }
    TErrorOraForm form(QApplication::activeWindow());
    form.setWindowTitle(MsgDlgTitle(DlgType));
    if (DlgType != TMsgDlgType::mtCustom)
        form.setWindowIcon(form.style()->standardIcon(pixmapOf(DlgType)));
    form.btDop->setVisible(!ALastMessage.isEmpty());
    form.SetFirstMessage(AFirstMessage);
    form.setLastMessage(ALastMessage);
    form.exec();
}

void ErrorMessage(const QString &AFirstMessage, const QString &ALastMessage)
{
    MyMessage(AFirstMessage, ALastMessage, TMsgDlgType::mtError);
}

int MyMessageDlg(const QString &Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx)
{
    return MyMessageDlg(Msg, QString(), DlgType, Buttons, HelpCtx);
}

int MyMessageDlg(const QString &Msg, const QString &Detail, TMsgDlgType DlgType,
                 TMsgDlgButtons Buttons, int HelpCtx)
{
    const QList<TMsgDlgBtn> buttons = MsgDlgButtonList(Buttons);
    if (DialogInterceptor *interceptor = dialogInterceptor()) {
        ShownDialog shown{QStringLiteral("dialog"), MsgDlgTitle(DlgType), DlgType, Msg, Detail, {}};
        for (TMsgDlgBtn b : buttons)
            shown.buttons.append(MsgDlgButtonCaption(b));
        return interceptor->answer(shown);
    }
    PlacedMessageBox box(iconOf(DlgType), MsgDlgTitle(DlgType), Msg, currentScreenLayout());
    box.setProperty("HelpContext", HelpCtx);
    if (!Detail.isEmpty())
        box.setDetailedText(Detail);
    QHash<QAbstractButton *, int> results;
    QAbstractButton *help = nullptr;
    for (TMsgDlgBtn b : buttons) {
        const QMessageBox::ButtonRole role =
            b == TMsgDlgBtn::mbHelp ? QMessageBox::HelpRole : QMessageBox::AcceptRole;
        QAbstractButton *button = box.addButton(MsgDlgButtonCaption(b), role);
        results.insert(button, MsgDlgButtonResult(b));
        if (b == TMsgDlgBtn::mbHelp)
            help = button;
    }
    // The box closes on every button, but help must not close it; there is no help file, so
    // the box simply comes back until another button is pressed.
    do {
        box.exec();
    } while (help && box.clickedButton() == help);
    return results.value(box.clickedButton(), mrCancel);
}
