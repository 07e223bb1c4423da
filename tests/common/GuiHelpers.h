#pragma once

#include "common/DialogSeam.h"
#include "common/Placement.h"

#include <QList>
#include <QTimer>

#include <functional>
#include <string>

class QWidget;

// Lets the real modal windows show for its lifetime (no interceptor answers them).
class RealDialogs {
public:
    RealDialogs();
    ~RealDialogs();
    RealDialogs(const RealDialogs &) = delete;
    RealDialogs &operator=(const RealDialogs &) = delete;

private:
    DialogInterceptor *previous_;
};

// A virtual set of monitors, desktop and pointer for the placement rules, for its lifetime.
class FakeScreens {
public:
    explicit FakeScreens(const ScreenLayout &layout);
    ~FakeScreens();
    FakeScreens(const FakeScreens &) = delete;
    FakeScreens &operator=(const FakeScreens &) = delete;
};

// Two 1920 x 1080 monitors side by side, the pointer at the given point.
ScreenLayout twoMonitors(QPoint cursor);
ScreenLayout oneMonitor(QPoint cursor);

// Drives real modal windows: each step runs on the next visible modal window, in turn. A step
// that never finds a window, or a window left open after the last step, fails the test and the
// window is closed, so a test never hangs.
class ModalDriver {
public:
    using Step = std::function<void(QWidget *)>;
    explicit ModalDriver(QList<Step> steps);
    ~ModalDriver();
    ModalDriver(const ModalDriver &) = delete;
    ModalDriver &operator=(const ModalDriver &) = delete;

    int stepsDone() const { return done_; }

private:
    void tick();

    QList<Step> steps_;
    QTimer timer_;
    int done_ = 0;
    int idleTicks_ = 0;
};

// Processes events until the condition holds or five seconds pass; returns the condition.
bool waitUntil(const std::function<bool()> &condition);

// Geometry as text for failure messages.
std::string str(const QRect &r);
std::string str(QPoint p);
