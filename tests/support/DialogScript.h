#pragma once

#include "common/DialogSeam.h"

#include <QList>
#include <QQueue>

// Answers the program's modal boxes in a test. Queue one answer per box the test expects;
// a box with no queued answer fails the test (and is answered with mrCancel) instead of
// hanging. Every box shown is recorded. Installed for its lifetime.
class DialogScript : public DialogInterceptor {
public:
    DialogScript();
    ~DialogScript() override;
    DialogScript(const DialogScript &) = delete;
    DialogScript &operator=(const DialogScript &) = delete;

    DialogScript &answer(int result);
    int answer(const ShownDialog &shown) override;

    const QList<ShownDialog> &shown() const { return shown_; }
    int pending() const { return int(answers_.size()); }

private:
    DialogInterceptor *previous_;
    QQueue<int> answers_;
    QList<ShownDialog> shown_;
};
