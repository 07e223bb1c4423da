#include "catalog/ShowFile.h"

#include <QDesktopServices>
#include <QUrl>

#include <utility>

namespace {
TOpenDocument &handler()
{
    static TOpenDocument h;
    return h;
}
} // namespace

void OpenInAssociatedApplication(const QString &Path)
{
    if (handler())
        handler()(Path);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(Path));
}

TOpenDocument SetOpenDocumentHandler(TOpenDocument Handler)
{
    return std::exchange(handler(), std::move(Handler));
}
