#pragma once

#include <QString>

#include <exception>

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
