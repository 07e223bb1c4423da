#pragma once

#include "common/MessageTypes.h"

#include <QString>
#include <QStringList>

// What one modal box showed: the error window of MyMessage/ErrorMessage ("message"), or the
// standard box of MyMessageDlg ("dialog").
struct ShownDialog {
    QString kind;
    QString title;
    TMsgDlgType type = TMsgDlgType::mtCustom;
    QString text;
    QString detail;
    QStringList buttons;
};

// The one seam between the program's modal boxes and whoever answers them. With no
// interceptor installed, the real windows are shown; with one, the box is not shown and the
// interceptor's answer is the result (the button pressed). Called on the user-interface thread.
class DialogInterceptor {
public:
    virtual ~DialogInterceptor() = default;
    virtual int answer(const ShownDialog &shown) = 0;
};

// Installs (or, with nullptr, removes) the interceptor; returns the previous one.
DialogInterceptor *setDialogInterceptor(DialogInterceptor *interceptor);
DialogInterceptor *dialogInterceptor();
