#include "tests/common/GuiHelpers.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace {
constexpr int kTickMs = 5;
constexpr int kMaxIdleTicks = 1000; // five seconds without progress
} // namespace

RealDialogs::RealDialogs() : previous_(setDialogInterceptor(nullptr)) {}

RealDialogs::~RealDialogs()
{
    setDialogInterceptor(previous_);
}

FakeScreens::FakeScreens(const ScreenLayout &layout)
{
    setScreenLayoutProvider([layout] { return layout; });
}

FakeScreens::~FakeScreens()
{
    setScreenLayoutProvider({});
}

ScreenLayout twoMonitors(QPoint cursor)
{
    return {{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1920, 1080)}, QRect(0, 0, 3840, 1080), cursor};
}

ScreenLayout oneMonitor(QPoint cursor)
{
    return {{QRect(0, 0, 1920, 1080)}, QRect(0, 0, 1920, 1080), cursor};
}

ModalDriver::ModalDriver(QList<Step> steps) : steps_(std::move(steps))
{
    timer_.setInterval(kTickMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
    timer_.start();
}

ModalDriver::~ModalDriver()
{
    timer_.stop();
    EXPECT_EQ(done_, steps_.size()) << "a modal window did not appear";
}

void ModalDriver::tick()
{
    QWidget *modal = QApplication::activeModalWidget();
    const bool visible = modal && modal->isVisible();
    if (visible && done_ < steps_.size()) {
        idleTicks_ = 0;
        steps_[done_++](modal);
        return;
    }
    if (++idleTicks_ < kMaxIdleTicks)
        return;
    idleTicks_ = 0;
    if (visible) {
        ADD_FAILURE() << "a modal window stayed open";
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    } else if (done_ < steps_.size()) {
        timer_.stop();
    }
}

bool waitUntil(const std::function<bool()> &condition)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > 5000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

std::string str(const QRect &r)
{
    return QStringLiteral("(%1,%2 %3x%4)")
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .toStdString();
}

std::string str(QPoint p)
{
    return QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y()).toStdString();
}
