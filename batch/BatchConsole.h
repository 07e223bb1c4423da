#pragma once

#include "db/UiThread.h"

#include <QString>
#include <QTextStream>

// Where a batch run speaks: one line per recipient and report and the summary on the output,
// messages and errors on the error stream, and progress there too when it is a terminal.
// Installed for its lifetime as the sink of the errors no caller receives (those of the
// after-logon set-up and the access check): they go to the error stream.
class TBatchConsole {
public:
    TBatchConsole(QTextStream &Out, QTextStream &Err, bool Progress);
    ~TBatchConsole();
    TBatchConsole(const TBatchConsole &) = delete;
    TBatchConsole &operator=(const TBatchConsole &) = delete;

    void Line(const QString &Text);
    void Error(const QString &Text);
    // Text, then its Detail (a statement) on the next line when there is one.
    void Error(const QString &Text, const QString &Detail);
    // A progress note, replaced by the next one; nothing unless progress is on.
    void Progress(const QString &Text);

private:
    void endProgress();

    QTextStream &out_;
    QTextStream &err_;
    bool progress_;
    bool progressShown_ = false;
    TErrorSink previous_;
};
