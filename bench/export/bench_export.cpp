// Writes the benchmark grid (100,000 rows by 10 columns of short Cyrillic and Latin texts,
// 10,000 distinct) as an XLS or XLSX workbook, an RTF or PDF document and prints the seconds
// it took (for PDF, and the number of pages).
//   bench_export_writers xls|xlsx|rtf|pdf OUTPUT [ROWS]
#include "export/PdfPages.h"
#include "export/QExport4RTF.h"
#include "export/QExport4XLS.h"
#include "export/XlsxWriter.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
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
        std::fprintf(stderr, "usage: %s xls|xlsx|rtf|pdf OUTPUT [ROWS]\n", argv[0]);
        return 2;
    }
    // The PDF pages need fonts: a QGuiApplication, on the offscreen platform unless told.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rows = argc > 3 ? std::atoi(argv[3]) : 100000;
    TExportModel m;
    m.FileName = QString::fromLocal8Bit(argv[2]);
    for (int c = 0; c < 10; ++c)
        m.Columns.append({QStringLiteral("ColNo_%1").arg(c), 12, 100});
    m.Header = {QString(), QStringLiteral("Отчет о нагрузке")};
    m.Footer = {QString(), QStringLiteral("Конец отчета")};
    // A source that makes its texts as it goes; the PDF writer's two passes take fresh ones.
    const auto source = [rows] {
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
