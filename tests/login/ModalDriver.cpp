#include "tests/login/ModalDriver.h"

#include <QApplication>
#include <QDateTime>
#include <QDialog>

#include <gtest/gtest.h>

bool shownAndActive(const QDialog &dialog)
{
    return dialog.isVisible() && QApplication::activeWindow() == &dialog;
}

ModalDriver::ModalDriver(QDialog &dialog, std::vector<Step> steps, int boundMs)
    : dialog_(dialog), steps_(std::move(steps)),
      deadline_(QDateTime::currentMSecsSinceEpoch() + boundMs)
{
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
    timer_.start();
}

ModalDriver::~ModalDriver()
{
    EXPECT_TRUE(done()) << "steps done: " << next_ << " of " << steps_.size();
}

void ModalDriver::tick()
{
    if (QDateTime::currentMSecsSinceEpoch() > deadline_) {
        timer_.stop();
        ADD_FAILURE() << "the dialog was still open after step " << next_ << " of "
                      << steps_.size();
        dialog_.done(0x7F);
        return;
    }
    if (done())
        return;
    const Step &step = steps_[next_];
    if (step.ready ? step.ready() : shownAndActive(dialog_)) {
        ++next_;
        step.act();
    }
}
