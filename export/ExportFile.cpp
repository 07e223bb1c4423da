#include "export/ExportFile.h"

#include "export/ExportErrors.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// A hidden name beside the target that no other file has: ".name.XXXXXXXX.part".
bool openBeside(QFile &file, const QFileInfo &target, QIODevice::OpenMode mode)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        file.setFileName(target.absoluteDir().filePath(
            QStringLiteral(".%1.%2.part")
                .arg(target.fileName())
                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))));
        // NewOnly: never an existing file; the mode is the usual one for new files (umask).
        if (file.open(mode | QIODevice::NewOnly))
            return true;
        if (file.exists())
            continue;
        return false;
    }
    return false;
}

} // namespace

TExportFile::TExportFile(const QString &Target, TExportFileErrors Errors, bool ReadToo)
    : target_(Target), errors_(Errors)
{
    const QIODevice::OpenMode mode = ReadToo ? QIODevice::ReadWrite : QIODevice::WriteOnly;
    // A link keeps pointing where it did: the file it names is the one replaced.
    if (const QFileInfo link(target_); link.isSymLink())
        target_ = link.symLinkTarget();
    const QFileInfo info(target_);
    direct_ = info.exists() && !info.isFile() && !info.isDir();
    bool opened = false;
    if (direct_) {
        file_.setFileName(target_);
        opened = file_.open(mode);
    } else if (!info.isDir()) {
        opened = openBeside(file_, info, mode);
    }
    if (!opened)
        raiseExportError(errors_.CannotCreate, QDir::toNativeSeparators(target_),
                         info.isDir() ? QString::fromLocal8Bit(std::strerror(EISDIR))
                                      : file_.errorString());
}

TExportFile::~TExportFile()
{
    if (!committed_ && !direct_) {
        file_.close();
        file_.remove();
    }
}

QString TExportFile::writtenPath()
{
    file_.close();
    return file_.fileName();
}

void TExportFile::raiseWriteError(const QString &reason) const
{
    raiseExportError(errors_.WriteFailed, QDir::toNativeSeparators(target_), reason);
}

void TExportFile::commit()
{
    if (file_.isOpen()) {
        // A write that failed earlier is only seen before closing: close() forgets it.
        const bool written = file_.flush() && file_.error() == QFileDevice::NoError;
        const QString reason = file_.errorString();
        file_.close();
        if (!written || file_.error() != QFileDevice::NoError)
            raiseWriteError(written ? file_.errorString() : reason);
    }
    if (!direct_) {
        // The older file's permissions carry over to the one that replaces it.
        if (QFileInfo::exists(target_))
            QFile::setPermissions(file_.fileName(), QFile::permissions(target_));
        // rename() puts the new file in the place of an older one in one step.
        if (std::rename(QFile::encodeName(file_.fileName()).constData(),
                        QFile::encodeName(target_).constData()) != 0)
            raiseWriteError(QString::fromLocal8Bit(std::strerror(errno)));
    }
    committed_ = true;
}
