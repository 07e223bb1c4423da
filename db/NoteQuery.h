#pragma once

#include "db/DbError.h"
#include "db/OracleStatement.h"

#include <QString>

// Whether a statement only reads: its text, trimmed of blanks and control characters and in
// upper case, begins with "SELECT", or names RMT_QUERY or AUTO_HOUR anywhere. Such
// statements run in view mode and are never repeated on the reserve server.
bool SELECT_(const QString &s);

// The checked statement and dataset. They always work on the working server's session
// FOracleBase->ADatabase, obey the server state (view mode: only reading statements run;
// mirrored: every changing statement is run a second time on FOracleBase->BDatabase, whose
// failure silently clears WriteToRezerv), and their Note operations turn every error into a
// false result, rolling back where they change data, and keep the error (the operation's
// prefix, the server's text, the statement) in LastError for the caller to show. With Debug_
// set each such error also goes to the error sink (prefix + CRLF + message, statement text).

class TNoteQuery : public TOracleQuery {
    Q_OBJECT
public:
    explicit TNoteQuery(QObject *Owner = nullptr);

    // The checked execution; errors of the run on the working server reach the caller.
    void Execute() override;
    // Checked execution on ADatabase, then FOracleBase->Commit_ when C; false (after
    // Rollback_) on any error.
    bool NoteExecSQL(bool C);
    // Checked execution on ADatabase without the second run on the reserve; false on error.
    bool NoteOpen();
    // Next; false on error.
    bool NoteNext();

    // The error of the last Note operation that failed; cleared when one starts.
    const TDbError &LastError() const { return lastError_; }

private:
    TDbError lastError_;
};

class TNoteDataSet : public TOracleDataSet {
    Q_OBJECT
public:
    explicit TNoteDataSet(QObject *Owner = nullptr);

    // The checked execution of a statement without result set; errors of the run on the
    // working server reach the caller.
    void ExecSQL() override;
    // Binds to ADatabase and opens: no view-mode filter, no second run; errors reach the
    // caller.
    void Open() override;
    bool NoteExecSQL(bool C);
    bool NoteOpen();
    bool NoteNext();

    const TDbError &LastError() const { return lastError_; }

private:
    TDbError lastError_;
};

// The outcome of a Note operation as a value: success, or the statement's error.
template <class TNote> TDbResult NoteResult(bool Ok, const TNote &Statement)
{
    return Ok ? TDbResult() : TDbResult(Statement.LastError());
}
