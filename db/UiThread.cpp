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
    RunOnUiThread([First, Last] {
        if (const TErrorSink sink = currentSink())
            sink(First, Last);
        else
            qWarning().noquote() << First << Last;
    });
}

void TerminateApplication()
{
    ProcessState.module.terminateRequested = true;
    if (QCoreApplication *app = QCoreApplication::instance())
        QMetaObject::invokeMethod(
            app, [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
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
