#pragma once

#include <QString>

// The demo workspace as scripts/make-demo-workspace makes it: viri.ini and demo.db in Folder.
// Returns the script's exit code; its output goes to *Output when given.
int makeDemoWorkspace(const QString &Folder, QString *Output = nullptr);
