// Prints one width a line for each argument FAMILY:POINTS:BOLD:LETTER. By default through
// CharPixelWidth under a QCoreApplication: the unattended program's situation, with no platform
// plugin and no display. With --display first, through QFontMetrics on the display, so both
// can be compared under a font configuration given to the process.
#include "export/TextMeasure.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char **argv)
{
    const bool display = argc > 1 && std::strcmp(argv[1], "--display") == 0;
    std::unique_ptr<QCoreApplication> app;
    if (display)
        app = std::make_unique<QGuiApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(display ? 2 : 1);
    for (const QString &arg : args) {
        const QStringList f = arg.split(u':');
        if (f.size() != 4 || f[3].size() != 1)
            return 2;
        const bool bold = f[2] == u"1";
        int width = 0;
        if (display) {
            QFont font(f[0], f[1].toInt());
            font.setBold(bold);
            width = QFontMetrics(font).horizontalAdvance(f[3][0]);
        } else {
            width = CharPixelWidth(f[0], f[1].toInt(), bold, f[3][0]);
        }
        std::printf("%d\n", width);
    }
    return 0;
}
