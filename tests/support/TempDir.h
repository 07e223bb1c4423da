#pragma once

#include <QHash>
#include <QString>
#include <QTemporaryDir>

// A fresh folder for one test, removed afterwards.
class TempDir {
public:
    TempDir();
    QString path() const { return dir_.path(); }
    QString file(const QString &name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

// The source tree (for schema files and test data), from QUORVEL_SOURCE_DIR.
QString sourceDir();

// Runs a program to completion; returns its exit code, -1 when it could not start.
// Standard output and error are collected into the given strings when not null.
int runProgram(const QString &program, const QStringList &args, QString *out = nullptr,
               QString *err = nullptr, int timeoutMs = 120000);
// The same in an environment of this process's changed by Set: each name with a value is set,
// each name with a null value removed.
int runProgramIn(const QHash<QString, QString> &Set, const QString &program,
                 const QStringList &args, QString *out = nullptr, QString *err = nullptr,
                 int timeoutMs = 120000);
