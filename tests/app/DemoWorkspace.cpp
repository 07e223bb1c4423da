#include "tests/app/DemoWorkspace.h"

#include "tests/support/TempDir.h"

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
