#pragma once

#include <QString>

#include <functional>

// Opens a written document in the desktop's application for its kind.
void OpenInAssociatedApplication(const QString &Path);

// The one seam between the program and the desktop's opening of documents: with a handler
// installed it receives the absolute path instead. Returns the previous handler; an empty one
// restores the desktop.
using TOpenDocument = std::function<void(const QString &Path)>;
TOpenDocument SetOpenDocumentHandler(TOpenDocument Handler);
