#pragma once

#include <QString>

// The demo workspace as scripts/make-demo-workspace makes it: viri.ini and demo.db in Folder.
// Returns the script's exit code; its output goes to *Output when given.
int makeDemoWorkspace(const QString &Folder, QString *Output = nullptr);

class TempDir;

// The program copied into a demo workspace (folder "workspace" of Dir), since it reads
// viri.ini from its own folder, and an empty folder "out" beside it for its self-test's
// files. Null paths, with the reason in *Output, when the workspace could not be made.
struct DemoProgram {
    QString program;
    QString out;
};
DemoProgram makeDemoProgram(const TempDir &Dir, QString *Output);
