#pragma once

#include "catalog/ExportGrid.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;

// The choice of the file an export of the main window writes.

// Asks for the file to save, starting in the working directory with the given name; nothing
// when the user cancels. A confirmed choice makes its folder the working directory, as the
// next dialog and the report-name files expect.
std::optional<QString> ChooseExportFile(QWidget *Parent, const QString &FileName);

// The seam of the save dialog: with a handler installed it answers in place of the window
// (given the initial folder and name, it returns the chosen path or nothing for cancel).
// Returns the previous handler; an empty one restores the window.
using TSaveDialog =
    std::function<std::optional<QString>(const QString &InitialDir, const QString &FileName)>;
TSaveDialog SetSaveDialogHandler(TSaveDialog Handler);

// The file of an export. With the selected node's text: that text and the format's extension
// in the folder of the chosen path (the typed name is not used); a "\" or "/" in the text names
// a subfolder, and ".." names none, so the file stays inside the chosen folder. Without a node:
// the chosen path, unchanged for XLS, with ".rtf" appended for RTF, and for XLSX, CSV and PDF
// with the extension appended unless the name ends with it. For RTF every "<", ">" and ":" is
// taken out of the name, never out of the folder.
QString ExportFilePath(const QString &Chosen, const std::optional<QString> &NodeText,
                       TExportKind Kind);
