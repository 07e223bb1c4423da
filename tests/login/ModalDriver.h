#pragma once

#include <QTimer>

#include <functional>
#include <vector>

class QDialog;

// Drives a dialog while it runs modally, as a user would: each step acts once its condition
// holds (by default: the dialog is shown and active), one step after the other. When the
// steps are not all done and the dialog closed within the bound, the test fails and the
// dialog is closed, so a test never hangs.
class ModalDriver {
public:
    struct Step {
        std::function<void()> act;
        std::function<bool()> ready = {};
    };

    ModalDriver(QDialog &dialog, std::vector<Step> steps, int boundMs = 20000);
    ~ModalDriver();
    ModalDriver(const ModalDriver &) = delete;
    ModalDriver &operator=(const ModalDriver &) = delete;

    bool done() const { return next_ == steps_.size(); }

private:
    void tick();

    QDialog &dialog_;
    std::vector<Step> steps_;
    size_t next_ = 0;
    qint64 deadline_;
    QTimer timer_;
};

// Whether the dialog is on screen and the active window.
bool shownAndActive(const QDialog &dialog);
