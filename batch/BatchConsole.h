#pragma once

#include "common/DialogSeam.h"

#include <QString>
#include <QTextStream>

// Where a batch run speaks: one line per recipient and report and the summary on the output,
// messages and errors on the error stream, and progress there too when it is a terminal.
// Installed for its lifetime as the answer to every box the shared code would show: a box
// has no one to read it here, so its text goes to the error stream and the box counts as
// closed (mrCancel, the one button of the refused login and the error window).
class TBatchConsole : public DialogInterceptor {
public:
    TBatchConsole(QTextStream &Out, QTextStream &Err, bool Progress);
    ~TBatchConsole() override;
    TBatchConsole(const TBatchConsole &) = delete;
    TBatchConsole &operator=(const TBatchConsole &) = delete;

    int answer(const ShownDialog &shown) override;

    void Line(const QString &Text);
    void Error(const QString &Text);
    // A progress note, replaced by the next one; nothing unless progress is on.
    void Progress(const QString &Text);

    // The first line of the last box shown since ForgetMessages (the error's own text).
    QString LastMessage() const { return last_; }
    void ForgetMessages() { last_.clear(); }

private:
    void endProgress();

    QTextStream &out_;
    QTextStream &err_;
    bool progress_;
    bool progressShown_ = false;
    QString last_;
    DialogInterceptor *previous_;
};
