#include "tests/support/TempDir.h"

#include <QProcess>

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
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (auto it = Set.cbegin(); it != Set.cend(); ++it) {
        if (it.value().isNull())
            env.remove(it.key());
        else
            env.insert(it.key(), it.value());
    }
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForStarted())
        return -1;
    p.closeWriteChannel();
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (out)
        *out = QString::fromUtf8(p.readAllStandardOutput());
    if (err)
        *err = QString::fromUtf8(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}
