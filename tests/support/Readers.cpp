#include "tests/support/Readers.h"

#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

const QString Python = QStringLiteral("/usr/bin/python3");

const char XlrdScript[] = R"PY(
import json, sys, xlrd
try:
    book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
except Exception as e:
    print(json.dumps({"error": "%s: %s" % (type(e).__name__, e)}))
    sys.exit(0)
sheets = []
for sh in book.sheets():
    rows, blanks = [], []
    for r in range(sh.nrows):
        row = []
        for c in range(sh.ncols):
            cell = sh.cell(r, c)
            if cell.ctype == xlrd.XL_CELL_BLANK:
                blanks.append(r * 256 + c)
            row.append(cell.value if cell.ctype == xlrd.XL_CELL_TEXT else "")
        while row and row[-1] == "":
            row.pop()
        rows.append(row)
    widths = []
    if sh.colinfo_map:
        for c in range(max(sh.colinfo_map) + 1):
            info = sh.colinfo_map.get(c)
            widths.append(info.width if info else -1)
    sheets.append({"name": sh.name, "rows": rows, "blanks": blanks, "widths": widths})
print(json.dumps({"sheets": sheets}))
)PY";

const char OleScript[] = R"PY(
import base64, json, sys, olefile
try:
    ole = olefile.OleFileIO(sys.argv[1], raise_defects=olefile.DEFECT_INCORRECT)
    streams = ["/".join(p) for p in ole.listdir(streams=True, storages=False)]
    sizes = [ole.get_size(s) for s in streams]
    first = base64.b64encode(ole.openstream(streams[0]).read()).decode() if streams else ""
    print(json.dumps({"streams": streams, "sizes": sizes, "first": first}))
except Exception as e:
    print(json.dumps({"error": "%s: %s" % (type(e).__name__, e)}))
)PY";

// One private profile for every LibreOffice run of this test process: runs never share one
// with a user or another process, and only the first run pays for creating it.
QString sofficeProfileUrl()
{
    static QTemporaryDir profile(QDir::tempPath() + QStringLiteral("/quorvel-lo-XXXXXX"));
    return QStringLiteral("-env:UserInstallation=file://") + profile.path();
}

bool runSoffice(const QString &filter, const QStringList &files, const QString &outDir)
{
    if (files.isEmpty())
        return true;
    QStringList args{sofficeProfileUrl(),
                     QStringLiteral("--headless"),
                     QStringLiteral("--convert-to"),
                     filter,
                     QStringLiteral("--outdir"),
                     outDir};
    args += files;
    return runProgram(QStringLiteral("soffice"), args, nullptr, nullptr, 300000) == 0;
}

} // namespace

QJsonObject runPythonReader(const char *script, const QStringList &args, int timeoutMs)
{
    QString out, err;
    const int rc =
        runProgram(Python, QStringList{QStringLiteral("-c"), QString::fromUtf8(script)} + args,
                   &out, &err, timeoutMs);
    if (rc != 0)
        return {{QStringLiteral("error"), QStringLiteral("python3 failed: ") + err}};
    const QJsonDocument doc = QJsonDocument::fromJson(out.toUtf8());
    if (!doc.isObject())
        return {{QStringLiteral("error"), QStringLiteral("no JSON from python3: ") + err}};
    return doc.object();
}

XlsBookView readXlsWithXlrd(const QString &path)
{
    const QJsonObject o = runPythonReader(XlrdScript, {path});
    XlsBookView view;
    view.error = o.value(QStringLiteral("error")).toString();
    for (const QJsonValue &s : o.value(QStringLiteral("sheets")).toArray()) {
        const QJsonObject so = s.toObject();
        XlsSheetView sheet;
        sheet.name = so.value(QStringLiteral("name")).toString();
        for (const QJsonValue &r : so.value(QStringLiteral("rows")).toArray()) {
            QStringList row;
            for (const QJsonValue &c : r.toArray())
                row.append(c.toString());
            sheet.rows.append(row);
        }
        for (const QJsonValue &b : so.value(QStringLiteral("blanks")).toArray())
            sheet.blankCells.append(b.toInt());
        for (const QJsonValue &w : so.value(QStringLiteral("widths")).toArray())
            sheet.columnWidths.append(w.toInt());
        view.sheets.append(sheet);
    }
    return view;
}

OleView readWithOlefile(const QString &path)
{
    const QJsonObject o = runPythonReader(OleScript, {path});
    OleView view;
    view.error = o.value(QStringLiteral("error")).toString();
    for (const QJsonValue &s : o.value(QStringLiteral("streams")).toArray())
        view.streams.append(s.toString());
    for (const QJsonValue &s : o.value(QStringLiteral("sizes")).toArray())
        view.sizes.append(qint64(s.toDouble()));
    view.firstStream =
        QByteArray::fromBase64(o.value(QStringLiteral("first")).toString().toLatin1());
    return view;
}

QList<QStringList> sofficeXlsToCsv(const QStringList &files, const QString &outDir)
{
    // Comma, double quote, UTF-8, ..., token 12 = -1: every sheet to a file of its own.
    runSoffice(QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,"
                              "false,false,-1"),
               files, outDir);
    QList<QStringList> result;
    for (const QString &f : files) {
        const QString base = QFileInfo(f).completeBaseName();
        QStringList sheets;
        const QDir dir(outDir);
        // name-Sheet 1.csv, name-Sheet 2.csv, ... in sheet order
        for (int i = 1;; ++i) {
            const QString csv = dir.filePath(base + QStringLiteral("-Sheet %1.csv").arg(i));
            if (!QFileInfo::exists(csv))
                break;
            sheets.append(csv);
        }
        result.append(sheets);
    }
    return result;
}

QStringList sofficeRtfToText(const QStringList &files, const QString &outDir)
{
    runSoffice(QStringLiteral("txt:Text (encoded):UTF8"), files, outDir);
    QStringList result;
    for (const QString &f : files) {
        const QString txt =
            QDir(outDir).filePath(QFileInfo(f).completeBaseName() + QStringLiteral(".txt"));
        result.append(QFileInfo::exists(txt) ? txt : QString());
    }
    return result;
}

QList<QStringList> parseCsv(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false, any = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        any = true;
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row.append(field);
            field.clear();
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            row.append(field);
            rows.append(row);
            row.clear();
            field.clear();
            any = false;
        } else {
            field += c;
        }
    }
    if (any) {
        row.append(field);
        rows.append(row);
    }
    return rows;
}

UnrtfView readWithUnrtf(const QString &path)
{
    QString out, err;
    UnrtfView view;
    if (runProgram(QStringLiteral("unrtf"), {QStringLiteral("--html"), path}, &out, &err) != 0) {
        view.error = QStringLiteral("unrtf failed: ") + err;
        return view;
    }
    const qsizetype body = out.indexOf(QStringLiteral("<body"));
    QString html = body >= 0 ? out.mid(body) : out;
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression reference(QStringLiteral("&(#x?[0-9a-fA-F]+|[a-z]+);"));
    for (const QString &piece : html.split(tag)) {
        QString text;
        qsizetype at = 0;
        for (auto m = reference.globalMatch(piece); m.hasNext();) {
            const auto match = m.next();
            text += piece.mid(at, match.capturedStart() - at);
            const QString name = match.captured(1);
            if (name.startsWith(u'#')) {
                const bool hex = name.startsWith(QStringLiteral("#x"));
                const char32_t code = name.mid(hex ? 2 : 1).toUInt(nullptr, hex ? 16 : 10);
                text += QString::fromUcs4(&code, 1);
            } else {
                text += name == QStringLiteral("lt")     ? QStringLiteral("<")
                        : name == QStringLiteral("gt")   ? QStringLiteral(">")
                        : name == QStringLiteral("amp")  ? QStringLiteral("&")
                        : name == QStringLiteral("quot") ? QStringLiteral("\"")
                        : name == QStringLiteral("nbsp") ? QStringLiteral("\u00A0")
                                                         : match.captured(0);
            }
            at = match.capturedEnd();
        }
        text += piece.mid(at);
        text = text.trimmed();
        if (!text.isEmpty())
            view.texts.append(text);
    }
    return view;
}

QString readTextFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}
