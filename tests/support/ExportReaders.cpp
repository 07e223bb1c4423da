#include "tests/support/ExportReaders.h"

#include "tests/support/Readers.h"
#include "tests/support/TempDir.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>

namespace {

// A million-row workbook takes openpyxl minutes.
constexpr int ReaderTimeoutMs = 600000;

const char OpenpyxlScript[] = R"PY(
import datetime, json, sys, openpyxl
try:
    book = openpyxl.load_workbook(sys.argv[1])
except Exception as e:
    print(json.dumps({"error": "%s: %s" % (type(e).__name__, e)}))
    sys.exit(0)
sheets = []
for ws in book.worksheets:
    rows = []
    for row in ws.iter_rows():
        cells = []
        for c in row:
            v = c.value
            if isinstance(v, datetime.datetime):
                v = v.strftime("%Y-%m-%d %H:%M:%S")
            cells.append({"v": v, "t": c.data_type, "fmt": c.number_format,
                          "bold": bool(c.font and c.font.b),
                          "align": (c.alignment.horizontal or "") if c.alignment else ""})
        rows.append(cells)
    widths = {k: d.width for k, d in ws.column_dimensions.items() if d.customWidth}
    sheets.append({"name": ws.title, "rows": rows, "widths": widths,
                   "freeze": ws.freeze_panes or "", "filter": ws.auto_filter.ref or "",
                   "footer": ws.oddFooter.center.text or ""})
print(json.dumps({"sheets": sheets}))
)PY";

const char RangesScript[] = R"PY(
import json, re, sys, zipfile
try:
    z = zipfile.ZipFile(sys.argv[1])
    book = z.read("xl/workbook.xml").decode()
    names = re.findall(r'<sheet name="([^"]*)"', book)
    sheets = []
    for i, name in enumerate(names):
        with z.open("xl/worksheets/sheet%d.xml" % (i + 1)) as f:
            head = f.read(4096).decode(errors="replace")
        m = re.search(r'<dimension ref="([^"]*)"', head)
        sheets.append({"name": name, "dimension": m.group(1) if m else ""})
    print(json.dumps({"sheets": sheets}))
except Exception as e:
    print(json.dumps({"error": "%s: %s" % (type(e).__name__, e)}))
)PY";

const char CsvScript[] = R"PY(
import csv, json, sys
# A report cell may hold a million characters; the module's default limit is 128 KB.
csv.field_size_limit(sys.maxsize)
try:
    with open(sys.argv[1], newline="", encoding=sys.argv[2]) as f:
        rows = list(csv.reader(f, delimiter=sys.argv[3], strict=True))
    print(json.dumps({"rows": rows}))
except Exception as e:
    print(json.dumps({"error": "%s: %s" % (type(e).__name__, e)}))
)PY";

} // namespace

QJsonObject readXlsxWithOpenpyxl(const QString &path)
{
    return runPythonReader(OpenpyxlScript, {path}, ReaderTimeoutMs);
}

QList<XlsxSheetRange> readXlsxSheetRanges(const QString &path, QString *error)
{
    const QJsonObject o = runPythonReader(RangesScript, {path}, ReaderTimeoutMs);
    *error = o.value(QStringLiteral("error")).toString();
    QList<XlsxSheetRange> sheets;
    for (const QJsonValue &s : o.value(QStringLiteral("sheets")).toArray())
        sheets.append(
            {s[QStringLiteral("name")].toString(), s[QStringLiteral("dimension")].toString()});
    return sheets;
}

QList<QStringList> readCsvWithPython(const QString &path, const QString &encoding,
                                     const QString &delimiter)
{
    const QJsonObject o = runPythonReader(CsvScript, {path, encoding, delimiter}, ReaderTimeoutMs);
    if (o.contains(QStringLiteral("error")))
        return {{o.value(QStringLiteral("error")).toString()}};
    QList<QStringList> rows;
    for (const QJsonValue &r : o.value(QStringLiteral("rows")).toArray()) {
        QStringList row;
        for (const QJsonValue &c : r.toArray())
            row.append(c.toString());
        rows.append(row);
    }
    return rows;
}

QStringList pdfPageTexts(const QString &path)
{
    QString out, err;
    if (runProgram(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), path, QStringLiteral("-")}, &out, &err) != 0)
        return {QStringLiteral("pdftotext failed: ") + err};
    QStringList pages = out.split(u'\f');
    if (!pages.isEmpty() && pages.back().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

int pdfPageCount(const QString &path)
{
    QString out;
    if (runProgram(QStringLiteral("pdfinfo"), {path}, &out) != 0)
        return -1;
    static const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"),
                                          QRegularExpression::MultilineOption);
    const auto m = pages.match(out);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString pdfFirstPagePng(const QString &pdf, const QString &pngBase)
{
    if (runProgram(QStringLiteral("pdftoppm"),
                   {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"),
                    QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                    QStringLiteral("1"), QStringLiteral("-singlefile"), pdf, pngBase}) != 0)
        return {};
    const QString png = pngBase + QStringLiteral(".png");
    return QFileInfo::exists(png) ? png : QString();
}
