#include "batch/BatchMain.h"
#include "batch/BatchOptions.h"
#include "batch/BatchSignals.h"
#include "db/FieldValue.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <memory>
#include <unistd.h>

int main(int argc, char **argv)
{
    // Before any thread starts, so that every thread leaves the stop signals to the watcher.
    const TBatchSignals stopSignals;
    // Run from cron or a timer: no display and no windows. Only a picture needs Qt Gui (its
    // fonts), and then the offscreen platform, which needs no display either.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    std::unique_ptr<QCoreApplication> app;
    if (BatchNeedsGui(args)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("Универсальный генератор отчетов"));
    ReadSystemFormatSettings();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return BatchMain(QCoreApplication::arguments().mid(1), out, err, isatty(fileno(stderr)) != 0,
                     QDate::currentDate());
}
