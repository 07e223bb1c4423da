#pragma once

#include "common/MessageTypes.h"

#include <QString>

class QWidget;

// Every message and question of the program goes through these. They must be called on the
// user-interface thread.

// Shows the error window modally with the title and icon of the type; the detail text is
// behind the "Дополнительно  >>" button, which is there only when the detail is not empty.
void MyMessage(const QString &AFirstMessage, const QString &ALastMessage, TMsgDlgType DlgType);

// MyMessage with the type error.
void ErrorMessage(const QString &AFirstMessage, const QString &ALastMessage);

// A standard message box with one button per member of Buttons; returns the result of the
// button pressed.
int MyMessageDlg(const QString &Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
// The same box with a detail text behind its details button (none when Detail is empty): the
// server's own text of a failure the message sums up.
int MyMessageDlg(const QString &Msg, const QString &Detail, TMsgDlgType DlgType,
                 TMsgDlgButtons Buttons, int HelpCtx);
