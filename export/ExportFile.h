#pragma once

#include "export/ExportErrors.h"

#include <QFile>
#include <QString>

// The file a new writer (XLSX, CSV, PDF) fills: a file of its own beside the target, renamed
// onto the target only once everything is written, so that a failure leaves nothing under
// the chosen name (and an older file of that name as it was). The new file takes the older
// one's permissions; a symbolic link stays and the file it names is replaced. A target that
// exists and is not a regular file (a device such as /dev/null) is written directly: renaming
// onto it would replace the device. Failures raise EQExportError with the system's text, of the
// kinds each writer has always raised.
struct TExportFileErrors {
    EQExportError::Kind CannotCreate = EQExportError::FileCannotCreate;
    EQExportError::Kind WriteFailed = EQExportError::FileWriteFailed;
};

class TExportFile {
public:
    // Creates the file beside Target (an absolute path whose folder exists), open for writing
    // and, with ReadToo, reading; raises Errors.CannotCreate with the system's reason.
    explicit TExportFile(const QString &Target, TExportFileErrors Errors = {},
                         bool ReadToo = false);
    ~TExportFile(); // removes the file beside the target unless committed

    TExportFile(const TExportFile &) = delete;
    TExportFile &operator=(const TExportFile &) = delete;

    QFile &device() { return file_; }
    // The file being written, for a library that opens files by name (closes the device).
    QString writtenPath();

    // Flushes and closes the file and puts it under the target's name; raises
    // Errors.WriteFailed with the system's reason.
    void commit();
    // Raises Errors.WriteFailed for the target with the given reason.
    [[noreturn]] void raiseWriteError(const QString &reason) const;

private:
    QString target_;
    TExportFileErrors errors_;
    QFile file_;
    bool direct_ = false;
    bool committed_ = false;
};
