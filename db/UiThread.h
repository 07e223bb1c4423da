#pragma once

#include <QString>

#include <functional>

// Work that must happen on the user-interface thread (message boxes, ending the application)
// when the code that needs it may run on a probe thread.

// Runs fn at once on the user-interface thread, else queues it to the user-interface thread's
// event loop and returns.
void RunOnUiThread(std::function<void()> fn);

// Where the errors go that reach no caller: those of the after-logon set-up, the access check
// and the edges of threads and event handlers, and every Note error while Debug_ is set. The
// program installs its sink (the error window, the console); without one they go to the log.
// Called on the user-interface thread.
using TErrorSink = std::function<void(const QString &First, const QString &Last)>;
// Returns the sink it replaces.
TErrorSink SetErrorSink(TErrorSink Sink);

// The installed error sink with First and Last, on the user-interface thread (queued from any
// other thread).
void ShowErrorOnUiThread(const QString &First, const QString &Last);

// The same, then, once the sink returns (its box answered), TerminateApplication: one task, so
// nothing ends the program while the message is up.
void ShowErrorThenTerminate(const QString &First, const QString &Last);

// Tells the application to end: its event loops end (a queued call, so it also works from a
// probe thread and before the loop runs), and TerminateRequested becomes true.
void TerminateApplication();
bool TerminateRequested();
// For a process that starts over (tests, the batch program).
void ClearTerminateRequest();

// Runs fn and reports any exception it throws with the error window on the user-interface
// thread instead of letting it leave the thread or the event loop. For the edges of threads
// and of event handlers.
void RunAtThreadEdge(const std::function<void()> &fn);
