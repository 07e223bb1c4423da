#pragma once

#include <QString>

// The font of the main window and its result grid. Exported column widths are counted in
// characters of it, so the windows program and the unattended one write the same files.
inline QString ReportFontFamily()
{
    return QStringLiteral("Tahoma");
}
inline constexpr int ReportFontPoints = 8;
