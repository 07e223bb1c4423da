#include "tests/app/DemoWorkspace.h"

#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>

int makeDemoWorkspace(const QString &Folder, QString *Output)
{
    QString out;
    QString err;
    const int rc = runProgram(sourceDir() + QStringLiteral("/scripts/make-demo-workspace"),
                              {Folder}, &out, &err);
    if (Output)
        *Output = out + err;
    return rc;
}

DemoProgram makeDemoProgram(const TempDir &Dir, QString *Output)
{
    const QString workspace = Dir.file(QStringLiteral("workspace"));
    const QString out = Dir.file(QStringLiteral("out"));
    const QString copy = workspace + QStringLiteral("/quorvel");
    if (makeDemoWorkspace(workspace, Output) != 0 || !QDir().mkpath(out) ||
        !QFile::copy(QStringLiteral(QUORVEL_PROGRAM), copy))
        return {};
    return {copy, out};
}
