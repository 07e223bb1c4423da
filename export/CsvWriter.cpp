#include "export/CsvWriter.h"

#include "export/ExportFile.h"

#include <QStringEncoder>

namespace {

void appendField(QString &line, const QString &field, QChar separator)
{
    const bool quote = field.contains(separator) || field.contains(u'"') || field.contains(u'\r') ||
                       field.contains(u'\n');
    if (!quote) {
        line += field;
        return;
    }
    line += u'"';
    for (const QChar c : field) {
        if (c == u'"')
            line += u'"';
        line += c;
    }
    line += u'"';
}

// The encoder's bytes, with '?' for each character it cannot write (ICU would write the
// control character SUB). The encoder is one without state, as windows-1251 and UTF-8 are.
QByteArray encoded(QStringEncoder &encoder, const char *name, const QString &text)
{
    QByteArray bytes = encoder.encode(text);
    if (!encoder.hasError())
        return bytes;
    encoder = QStringEncoder(name);
    bytes.clear();
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QStringEncoder single(name);
        const QByteArray one = single.encode(QStringView(text).mid(i, n));
        bytes += single.hasError() ? QByteArray("?") : one;
        i += n;
    }
    return bytes;
}

} // namespace

QString csvLine(const QStringList &fields, qsizetype count, QChar separator)
{
    QString line;
    for (qsizetype i = 0; i < count; ++i) {
        if (i)
            line += separator;
        if (i < fields.size())
            appendField(line, fields[i], separator);
    }
    return line;
}

void TQExport4CSV::Execute(const TExportModel &model)
{
    TExportFile file(PrepareOutputPath(model.FileName));
    const char *name = FOptions.FEncoding == TCSVOptions::Windows1251 ? "windows-1251" : "UTF-8";
    QStringEncoder encoder(name);
    QByteArray bytes;
    if (FOptions.FEncoding == TCSVOptions::Utf8WithBom)
        bytes = QByteArrayLiteral("\xEF\xBB\xBF");
    const auto flush = [&] {
        if (file.device().write(bytes) != bytes.size())
            file.raiseWriteError(file.device().errorString());
        bytes.clear();
    };
    const auto put = [&](const QString &line) {
        bytes += encoded(encoder, name, line + QStringLiteral("\r\n"));
        // Written in pieces of about 64 KB: a large result is never held whole.
        if (bytes.size() >= 65536)
            flush();
    };
    QStringList captions;
    for (const TExportColumn &c : model.Columns)
        captions.append(c.FCaption);
    const qsizetype count = model.Columns.size();
    put(csvLine(captions, count, FOptions.FSeparator));
    QStringList row;
    while (model.Rows && model.Rows(row))
        put(csvLine(row, count, FOptions.FSeparator));
    flush();
    file.commit();
}
