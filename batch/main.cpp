#include "batch/BatchMain.h"

#include <QApplication>

#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv)
{
    // Run from cron or a timer there is no display; the grid only needs fonts.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Универсальный генератор отчетов"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return BatchMain(QApplication::arguments().mid(1), out, err, isatty(fileno(stderr)) != 0,
                     QDate::currentDate());
}
