#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <sys/types.h>

// A program the tests start: a server, a reader, the unattended program. It is started with
// posix_spawn, whose child runs nothing of this process before the program replaces it.
// (QProcess runs code of its own in a child that shares this process's memory until the exec;
// under ThreadSanitizer that code goes through the sanitizer's interceptors and corrupts the
// parent's record of its threads and locks.)
class ChildProcess {
public:
    struct Options {
        // Changes to this process's environment: each name with a value is set, each name with
        // a null value removed.
        QHash<QString, QString> Environment;
        // Standard output and error: appended to this file when given, else with Capture kept
        // for Output() and Error() (error into output with MergeError, error left this
        // process's own with KeepError), else this process's own.
        QString OutputFile;
        bool Capture = false;
        bool MergeError = false;
        bool KeepError = false;
        // A pipe for standard input, closed by CloseInput(); otherwise /dev/null.
        bool PipeInput = false;
    };

    ChildProcess() = default;
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;
    // Kills the program if it still runs.
    ~ChildProcess();

    // Starts Program (searched on PATH); false with ErrorText() when it cannot.
    bool Start(const QString &Program, const QStringList &Args, const Options &Opts);
    bool Start(const QString &Program, const QStringList &Args) { return Start(Program, Args, {}); }
    QString ErrorText() const { return error_; }

    pid_t Pid() const { return pid_; }
    bool Running();
    // Waits for the end, at most TimeoutMs (-1: as long as it takes), reading what it writes
    // meanwhile; true when it ended.
    bool WaitForFinished(int TimeoutMs = -1);
    // The next line of its output (without the line break), waiting at most TimeoutMs; empty
    // when none came.
    QByteArray ReadLine(int TimeoutMs);
    void CloseInput();
    // Sends a signal to the program, or with Group to its whole process group.
    void Signal(int Number, bool Group = false);

    // Once it has ended: its exit code, and whether it exited rather than died of a signal.
    int ExitCode() const { return exitCode_; }
    bool NormalExit() const { return normalExit_; }
    QByteArray Output() const { return output_; }
    QByteArray Error() const { return errors_; }

private:
    // Reads from the pipes, waiting at most TimeoutMs for something to read: 1 when it read,
    // 0 when nothing came, -1 when both pipes have closed.
    int readPipes(int TimeoutMs);
    bool reap(bool Block);

    pid_t pid_ = -1;
    int input_ = -1;
    int outPipe_ = -1;
    int errPipe_ = -1;
    QByteArray output_;
    QByteArray errors_;
    qsizetype lineStart_ = 0;
    int exitCode_ = -1;
    bool normalExit_ = false;
    QString error_;
};
