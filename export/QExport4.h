#pragma once

#include "export/ExportErrors.h"
#include "export/ExportModel.h"

#include <QString>

#include <functional>

class QIODevice;

// Receives bytes for a file; raises the given kind of error when they cannot be written.
using TExportSink = std::function<void(const char *data, qint64 size)>;
TExportSink deviceSink(QIODevice &device, EQExportError::Kind onFailure);

// The part the export engines share: where the file goes.
class TQExport4 {
public:
    virtual ~TQExport4() = default;

protected:
    // The absolute path of the model's file with its folder made when missing. Raises
    // "Result file name not present" for an empty name and the directory error when the
    // folder cannot be made.
    static QString PrepareOutputPath(const QString &FileName);
};
