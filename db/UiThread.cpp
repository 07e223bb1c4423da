#include "db/UiThread.h"

#include "db/OracleError.h"
#include "db/ProcessState.h"

#include <QCoreApplication>
#include <QDebug>
#include <QThread>

#include <mutex>
#include <utility>

namespace {
std::mutex sinkMutex;
TErrorSink errorSink;

TErrorSink currentSink()
{
    std::lock_guard lock(sinkMutex);
    return errorSink;
}

void showError(const QString &First, const QString &Last)
{
    if (const TErrorSink sink = currentSink())
        sink(First, Last);
    else
        qWarning().noquote() << First << Last;
}
} // namespace

TErrorSink SetErrorSink(TErrorSink Sink)
{
    std::lock_guard lock(sinkMutex);
    return std::exchange(errorSink, std::move(Sink));
}

void RunOnUiThread(std::function<void()> fn)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        fn();
        return;
    }
    QMetaObject::invokeMethod(app, std::move(fn), Qt::QueuedConnection);
}

void ShowErrorOnUiThread(const QString &First, const QString &Last)
{
    RunOnUiThread([First, Last] { showError(First, Last); });
}

void ShowErrorThenTerminate(const QString &First, const QString &Last)
{
    // One task: the message's own event loop must not run the quit before its button.
    RunOnUiThread([First, Last] {
        showError(First, Last);
        TerminateApplication();
    });
}

void TerminateApplication()
{
    ProcessState.module.terminateRequested = true;
    // exit, not quit: quit does nothing before the main event loop runs, and a modal window
    // open then (the login dialog) must end too.
    if (QCoreApplication *app = QCoreApplication::instance())
        QMetaObject::invokeMethod(
            app, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

bool TerminateRequested()
{
    return ProcessState.module.terminateRequested;
}

void ClearTerminateRequest()
{
    ProcessState.module.terminateRequested = false;
}

void RunAtThreadEdge(const std::function<void()> &fn)
{
    try {
        fn();
    } catch (const std::exception &e) {
        ShowErrorOnUiThread(ExceptionText(e), QString());
    } catch (...) {
        ShowErrorOnUiThread(QStringLiteral("Unknown error"), QString());
    }
}
