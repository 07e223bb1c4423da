#include "export/QExport4.h"

#include <QDir>
#include <QFileInfo>

TExportSink deviceSink(QIODevice &device, EQExportError::Kind onFailure)
{
    return [&device, onFailure](const char *data, qint64 size) {
        if (device.write(data, size) != size)
            raiseExportError(onFailure);
    };
}

QString TQExport4::PrepareOutputPath(const QString &FileName)
{
    if (FileName.isEmpty())
        raiseExportError(EQExportError::NoFileName);
    const QFileInfo info(FileName);
    const QString folder = info.absolutePath();
    if (!QDir(folder).exists() && !QDir().mkpath(folder))
        raiseExportError(EQExportError::DirectoryNotCreated, QDir::toNativeSeparators(folder));
    return info.absoluteFilePath();
}
