// Writes the benchmark grid (100,000 rows by 10 columns of short Cyrillic and Latin texts,
// 10,000 distinct) as an XLS or XLSX workbook, an RTF or PDF document and prints the seconds
// it took (for PDF, and the number of pages). With --cells, the cells are the lines of FILE,
// split at tabs (a query's result as the sqlite3 shell prints it with -separator).
//   bench_export_writers xls|xlsx|rtf|pdf OUTPUT [ROWS | --cells FILE]
#include "export/PdfPages.h"
#include "export/QExport4RTF.h"
#include "export/QExport4XLS.h"
#include "export/XlsxWriter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>

int main(int argc, char **argv)
{
    const std::map<std::string, std::function<void(const TExportModel &)>> writers = {
        {"xls", [](const TExportModel &m) { TQExport4XLS().Execute(m); }},
        {"xlsx", [](const TExportModel &m) { TQExport4XLSX().Execute(m); }},
        {"rtf", [](const TExportModel &m) { TQExport4RTF().Execute(m); }},
        {"pdf", [](const TExportModel &m) { TQExport4PDF().Execute(m); }},
    };
    if (argc < 3 || !writers.count(argv[1])) {
        std::fprintf(stderr, "usage: %s xls|xlsx|rtf|pdf OUTPUT [ROWS | --cells FILE]\n", argv[0]);
        return 2;
    }
    // The PDF pages need fonts: a QGuiApplication, on the offscreen platform unless told.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const bool fromFile = argc > 4 && std::strcmp(argv[3], "--cells") == 0;
    const int rows = argc > 3 && !fromFile ? std::atoi(argv[3]) : 100000;
    const QString cells = fromFile ? QString::fromLocal8Bit(argv[4]) : QString();
    TExportModel m;
    m.FileName = QString::fromLocal8Bit(argv[2]);
    int columns = 10;
    if (fromFile) {
        QFile first(cells);
        if (!first.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", argv[4]);
            return 2;
        }
        columns = int(first.readLine().count('\t')) + 1;
    }
    for (int c = 0; c < columns; ++c)
        m.Columns.append({QStringLiteral("ColNo_%1").arg(c), 12, 100});
    m.Header = {QString(), QStringLiteral("Отчет о нагрузке")};
    m.Footer = {QString(), QStringLiteral("Конец отчета")};
    // A source that makes its texts as it goes (or reads them from the file); the PDF writer's
    // two passes take fresh ones.
    const std::function<TExportRowSource()> source = [rows, cells]() -> TExportRowSource {
        if (!cells.isEmpty()) {
            auto file = std::make_shared<QFile>(cells);
            if (!file->open(QIODevice::ReadOnly))
                return [](QStringList &) { return false; };
            return [file](QStringList &row) {
                if (file->atEnd())
                    return false;
                QByteArray line = file->readLine();
                line.chop(line.endsWith('\n') ? 1 : 0);
                row = QString::fromUtf8(line).split(u'\t');
                return true;
            };
        }
        return [rows, next = 0](QStringList &row) mutable {
            if (next == rows)
                return false;
            row.resize(10);
            for (int c = 0; c < 10; ++c)
                row[c] = (c % 2 ? QStringLiteral("Фидер %1") : QStringLiteral("Line %1"))
                             .arg((next % 1000) * 10 + c);
            ++next;
            return true;
        };
    };
    m.Rows = source();
    m.RowSources = source;
    QElapsedTimer timer;
    timer.start();
    try {
        writers.at(argv[1])(m);
    } catch (const EQExportError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("%.3f\n", double(timer.nsecsElapsed()) / 1e9);
    return 0;
}
