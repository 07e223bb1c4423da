#pragma once

#include "catalog/ExportFileChoice.h"
#include "catalog/ShowFile.h"

#include <QList>
#include <QQueue>
#include <QStringList>

#include <optional>

class TStringGrid;

// Fills a grid as a report run does: row 0 the titles, then one row per data row with its
// number in column 0 and the fields after it.
void fillResultGrid(TStringGrid &SG, const QStringList &Titles, const QList<QStringList> &Rows);

// A row as xlrd lists it: trailing empty cells are not there.
QStringList withoutTrailingEmpty(QStringList Row);

// Answers the save dialog for a test: each call takes the next queued answer (nothing for
// cancel) and records the initial folder and name it was given. A call with no answer left
// fails the test and cancels.
class SaveDialogScript {
public:
    SaveDialogScript();
    ~SaveDialogScript();
    SaveDialogScript(const SaveDialogScript &) = delete;
    SaveDialogScript &operator=(const SaveDialogScript &) = delete;

    SaveDialogScript &answer(std::optional<QString> Path);
    // "folder|name" per call.
    const QStringList &asked() const { return asked_; }

private:
    TSaveDialog previous_;
    QQueue<std::optional<QString>> answers_;
    QStringList asked_;
};

// Records the documents the program asks the desktop to open, instead of opening them.
class OpenedDocuments {
public:
    OpenedDocuments();
    ~OpenedDocuments();
    OpenedDocuments(const OpenedDocuments &) = delete;
    OpenedDocuments &operator=(const OpenedDocuments &) = delete;

    const QStringList &paths() const { return paths_; }
    // Called with each path, while the program waits for the opening.
    std::function<void(const QString &)> onOpen;

private:
    TOpenDocument previous_;
    QStringList paths_;
};

// Makes a folder the working directory for a test and restores the previous one afterwards.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const QString &Path);
    ~WorkingDirectory();
    WorkingDirectory(const WorkingDirectory &) = delete;
    WorkingDirectory &operator=(const WorkingDirectory &) = delete;

private:
    QString previous_;
};
