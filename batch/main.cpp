#include "batch/BatchMain.h"
#include "db/FieldValue.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv)
{
    // Run from cron or a timer: no display, no windows, no platform plugin.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Универсальный генератор отчетов"));
    ReadSystemFormatSettings();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return BatchMain(QCoreApplication::arguments().mid(1), out, err, isatty(fileno(stderr)) != 0,
                     QDate::currentDate());
}
