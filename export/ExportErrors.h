#pragma once

#include <QString>

#include <stdexcept>

// Every failure of the export writers. The kind tells tests and callers what went
// wrong; what() is the message shown to the user.
class EQExportError : public std::runtime_error {
public:
    enum Kind {
        NoFileName,          // "Result file name not present"
        DirectoryNotCreated, // "Directory "%s" not found and cannot be created"
        XlsCannotCreate,     // "Cannot create file %s"
        RtfCannotCreate,     // "Cannot create file "%s". %s"
        XlsWriteFailed,      // "Error writing output file"
        RtfWriteFailed,      // "Stream write error"
        StringTooLarge,      // "String too large"
        TooManyColumns,      // a sheet holds 256 columns
        NoRoomForData,       // header, caption and footer rows fill a whole sheet
        NoSource,            // "Export source (StringGrid) is not assigned"
        CompoundTooLarge,    // a compound file's stream over its size limit
        CompoundTooLong,     // more bytes given to a compound file's stream than announced
        CompoundTooShort,    // fewer bytes given to it than announced
        FileCannotCreate,    // "Cannot create file "%s". %s" (XLSX, CSV, PDF)
        FileWriteFailed,     // "Error writing file "%s". %s" (XLSX, CSV, PDF)
        XlsxFailed,          // "Workbook "%s" not written: %s", libxlsxwriter's reason
        XlsxTooManyColumns,  // an XLSX sheet holds 16384 columns
        PdfNeedsGui,         // PDF pages are drawn with Qt Gui's fonts
        BadSetting,          // a setting of the export in viri.ini that cannot be used
    };

    EQExportError(Kind kind, const QString &message);

    Kind kind() const { return kind_; }
    QString message() const { return QString::fromStdString(what()); }

private:
    Kind kind_;
};

// Raise the error of the kind; arg fills the path or folder into the message, reason the
// system's own text where the message has one.
[[noreturn]] void raiseExportError(EQExportError::Kind kind, const QString &arg = {},
                                   const QString &reason = {});
