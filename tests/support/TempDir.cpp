#include "tests/support/TempDir.h"

#include "tests/support/ChildProcess.h"

#include <csignal>

#include <gtest/gtest.h>

TempDir::TempDir() : dir_(QDir::tempPath() + QStringLiteral("/quorvel-test-XXXXXX"))
{
    EXPECT_TRUE(dir_.isValid()) << dir_.errorString().toStdString();
}

QString sourceDir()
{
    const QByteArray dir = qgetenv("QUORVEL_SOURCE_DIR");
    return dir.isEmpty() ? QStringLiteral(QUORVEL_SOURCE_DIR_DEFAULT) : QString::fromLocal8Bit(dir);
}

int runProgram(const QString &program, const QStringList &args, QString *out, QString *err,
               int timeoutMs)
{
    return runProgramIn({}, program, args, out, err, timeoutMs);
}

int runProgramIn(const QHash<QString, QString> &Set, const QString &program,
                 const QStringList &args, QString *out, QString *err, int timeoutMs)
{
    ChildProcess p;
    ChildProcess::Options options;
    options.Environment = Set;
    options.Capture = true;
    if (!p.Start(program, args, options))
        return -1;
    if (!p.WaitForFinished(timeoutMs)) {
        p.Signal(SIGKILL);
        p.WaitForFinished();
        return -1;
    }
    if (out)
        *out = QString::fromUtf8(p.Output());
    if (err)
        *err = QString::fromUtf8(p.Error());
    return p.NormalExit() ? p.ExitCode() : -1;
}
