#include "export/ExportErrors.h"

EQExportError::EQExportError(Kind kind, const QString &message)
    : std::runtime_error(message.toStdString()), kind_(kind)
{
}

namespace {

QString messageOf(EQExportError::Kind kind, const QString &arg, const QString &reason)
{
    switch (kind) {
    case EQExportError::NoFileName:
        return QStringLiteral("Result file name not present");
    case EQExportError::DirectoryNotCreated:
        return QStringLiteral("Directory \"%1\" not found and cannot be created").arg(arg);
    case EQExportError::XlsCannotCreate:
        return QStringLiteral("Cannot create file %1").arg(arg);
    case EQExportError::RtfCannotCreate:
    case EQExportError::FileCannotCreate:
        return QStringLiteral("Cannot create file \"%1\". %2").arg(arg, reason);
    case EQExportError::XlsWriteFailed:
        return QStringLiteral("Error writing output file");
    case EQExportError::RtfWriteFailed:
        return QStringLiteral("Stream write error");
    case EQExportError::StringTooLarge:
        return QStringLiteral("String too large");
    case EQExportError::TooManyColumns:
        return QStringLiteral("Too many columns (%1): a sheet holds 256").arg(arg);
    case EQExportError::NoRoomForData:
        return QStringLiteral("Header, caption and footer rows leave no room for data on a sheet");
    case EQExportError::NoSource:
        return QStringLiteral("Export source (StringGrid) is not assigned");
    case EQExportError::FileWriteFailed:
        return QStringLiteral("Error writing file \"%1\". %2").arg(arg, reason);
    case EQExportError::XlsxFailed:
        return QStringLiteral("Workbook \"%1\" not written: %2").arg(arg, reason);
    case EQExportError::XlsxTooManyColumns:
        return QStringLiteral("Too many columns (%1): a sheet holds 16384").arg(arg);
    case EQExportError::PdfNeedsGui:
        return QStringLiteral("PDF pages need a QGuiApplication (the offscreen platform serves)");
    case EQExportError::BadSetting:
        return QStringLiteral("Неверное значение %1 в файле viri.ini: %2").arg(arg, reason);
    case EQExportError::CompoundTooLarge:
        return QStringLiteral("compound file stream too large");
    case EQExportError::CompoundTooLong:
        return QStringLiteral("compound file stream longer than announced");
    case EQExportError::CompoundTooShort:
        return QStringLiteral("compound file stream shorter than announced");
    }
    return {};
}

} // namespace

void raiseExportError(EQExportError::Kind kind, const QString &arg, const QString &reason)
{
    throw EQExportError(kind, messageOf(kind, arg, reason));
}
