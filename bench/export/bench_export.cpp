// Writes the benchmark grid (100,000 rows by 10 columns of short Cyrillic and Latin texts,
// 10,000 distinct) as an XLS workbook or an RTF document and prints the seconds it took.
//   bench_export_writers xls|rtf OUTPUT [ROWS]
#include "export/QExport4RTF.h"
#include "export/QExport4XLS.h"

#include <QElapsedTimer>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc < 3 || (std::strcmp(argv[1], "xls") && std::strcmp(argv[1], "rtf"))) {
        std::fprintf(stderr, "usage: %s xls|rtf OUTPUT [ROWS]\n", argv[0]);
        return 2;
    }
    const int rows = argc > 3 ? std::atoi(argv[3]) : 100000;
    TExportModel m;
    m.FileName = QString::fromLocal8Bit(argv[2]);
    for (int c = 0; c < 10; ++c)
        m.Columns.append({QStringLiteral("ColNo_%1").arg(c), 12});
    m.Header = {QString(), QStringLiteral("Отчет о нагрузке")};
    m.Footer = {QString(), QStringLiteral("Конец отчета")};
    int next = 0;
    m.Rows = [&next, rows](QStringList &row) {
        if (next == rows)
            return false;
        row.resize(10);
        for (int c = 0; c < 10; ++c)
            row[c] = (c % 2 ? QStringLiteral("Фидер %1") : QStringLiteral("Line %1"))
                         .arg((next % 1000) * 10 + c);
        ++next;
        return true;
    };
    QElapsedTimer timer;
    timer.start();
    try {
        if (argv[1][0] == 'x')
            TQExport4XLS().Execute(m);
        else
            TQExport4RTF().Execute(m);
    } catch (const EQExportError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("%.3f\n", double(timer.nsecsElapsed()) / 1e9);
    return 0;
}
