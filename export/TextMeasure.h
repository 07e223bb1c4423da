#pragma once

#include <QChar>
#include <QString>

// Pixel width (advance, rounded as the display rounds it) of Letter in the font Family at
// PointSize points (Bold when asked) on a 96-dpi display, found through fontconfig as the
// desktop finds it and measured with FreeType. Needs no QGuiApplication; cached; thread-safe.
// Never less than 1 (a font without the glyph must not make widths a division by zero).
int CharPixelWidth(const QString &Family, int PointSize, bool Bold, QChar Letter);
