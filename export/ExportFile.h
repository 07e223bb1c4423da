#pragma once

#include <QFile>
#include <QString>

// The file a new writer (XLSX, CSV, PDF) fills: a file of its own beside the target, renamed
// onto the target only once everything is written, so that a failure leaves nothing under
// the chosen name (and an older file of that name as it was). The new file takes the older
// one's permissions; a symbolic link stays and the file it names is replaced. A target that
// exists and is not a regular file (a device such as /dev/null) is written directly: renaming
// onto it would replace the device. Failures raise EQExportError with the system's text.
class TExportFile {
public:
    // Creates the file beside Target (an absolute path whose folder exists); raises
    // "Cannot create file" with the system's reason.
    explicit TExportFile(const QString &Target);
    ~TExportFile(); // removes the file beside the target unless committed

    TExportFile(const TExportFile &) = delete;
    TExportFile &operator=(const TExportFile &) = delete;

    QFile &device() { return file_; }
    // The file being written, for a library that opens files by name (closes the device).
    QString writtenPath();

    // Flushes and closes the file and puts it under the target's name; raises
    // "Error writing file" with the system's reason.
    void commit();
    // Raises "Error writing file" for the target with the given reason.
    [[noreturn]] void raiseWriteError(const QString &reason) const;

private:
    QString target_;
    QFile file_;
    bool direct_ = false;
    bool committed_ = false;
};
