#pragma once

#include <QString>

#include <exception>
#include <functional>

// A failed database operation as its caller receives it: the operation ("NoteDataSet.NoteOpen"),
// the server's own text and the statement it ran. Empty when nothing failed.
struct TDbError {
    QString Operation;
    QString Text;
    QString Statement;

    bool IsError() const { return !Text.isEmpty() || !Operation.isEmpty(); }
    // The first text of the error window: the operation, a line break and the server's text
    // (the server's text alone when there is no operation).
    QString Summary() const;
    bool operator==(const TDbError &) const = default;
};

TDbError DbErrorOf(const QString &Operation, const std::exception &Error, const QString &Statement);

// The outcome of an operation that gives no value: success, or the error.
class TDbResult {
public:
    TDbResult() = default;
    TDbResult(TDbError Error) : error_(std::move(Error)) {}

    bool Ok() const { return !error_.IsError(); }
    explicit operator bool() const { return Ok(); }
    const TDbError &Error() const { return error_; }

private:
    TDbError error_;
};

// Where the errors go that reach no caller: those of the after-logon set-up, the access check
// and the edges of threads and event handlers, and every Note error while Debug_ is set. The
// program installs its sink (the error window, the console); without one they go to the log.
// Called on the user-interface thread.
using TErrorSink = std::function<void(const QString &First, const QString &Last)>;
// Returns the sink it replaces.
TErrorSink SetErrorSink(TErrorSink Sink);
