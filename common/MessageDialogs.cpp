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
    const QList<TMsgDlgBtn> buttons = MsgDlgButtonList(Buttons);
    if (DialogInterceptor *interceptor = dialogInterceptor()) {
        ShownDialog shown{QStringLiteral("dialog"), MsgDlgTitle(DlgType), DlgType, Msg, {}, {}};
        for (TMsgDlgBtn b : buttons)
            shown.buttons.append(MsgDlgButtonCaption(b));
        return interceptor->answer(shown);
    }
    const ScreenLayout layout = currentScreenLayout();
    QMessageBox box(iconOf(DlgType), MsgDlgTitle(DlgType), Msg, QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setProperty("HelpContext", HelpCtx);
    QHash<QAbstractButton *, int> results;
    for (TMsgDlgBtn b : buttons) {
        const QMessageBox::ButtonRole role =
            b == TMsgDlgBtn::mbHelp ? QMessageBox::HelpRole : QMessageBox::AcceptRole;
        results.insert(box.addButton(MsgDlgButtonCaption(b), role), MsgDlgButtonResult(b));
    }
    if (layout.monitors.size() >= 2) {
        box.adjustSize();
        box.move(PlaceAtPointer(box.size(), layout.cursor, layout.desktop));
    }
    box.exec();
    return results.value(box.clickedButton(), mrCancel);
}
