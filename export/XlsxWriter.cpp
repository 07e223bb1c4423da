#include "export/XlsxWriter.h"

#include "export/CellValue.h"
#include "export/ExportFile.h"

#include <QDir>
#include <QStringEncoder>

#include <xlsxwriter.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// Until it is closed the workbook is ours to free; workbook_close frees it itself.
struct WorkbookDeleter {
    void operator()(lxw_workbook *wb) const { lxw_workbook_free(wb); }
};
using Workbook = std::unique_ptr<lxw_workbook, WorkbookDeleter>;

// A cell's text as the library takes it: UTF-8 ending in a zero byte, with line breaks as LF
// alone (as Excel keeps them). One buffer serves every cell: no allocation per cell.
class CellText {
public:
    const char *operator()(const QString &text)
    {
        QStringView view(text);
        QString unified;
        if (text.contains(u'\r')) {
            unified = text;
            unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            unified.replace(u'\r', u'\n');
            view = unified;
        }
        buffer_.resize(size_t(utf8_.requiredSpace(view.size())) + 1);
        char *end = utf8_.appendToBuffer(buffer_.data(), view);
        *end = '\0';
        return buffer_.data();
    }

private:
    QStringEncoder utf8_{QStringEncoder::Utf8};
    std::vector<char> buffer_;
};

lxw_format_alignments alignmentOf(TExportAlign a)
{
    return a == TExportAlign::Centre  ? LXW_ALIGN_CENTER
           : a == TExportAlign::Right ? LXW_ALIGN_RIGHT
                                      : LXW_ALIGN_LEFT;
}

class SheetsWriter {
public:
    SheetsWriter(lxw_workbook *wb, const TExportModel &model, const TXLSXOptions &options,
                 const QString &target)
        : wb_(wb), model_(model), options_(options), target_(target)
    {
        for (int a = 0; a < 3; ++a) {
            const auto align = uint8_t(alignmentOf(TExportAlign(a)));
            captions_[a] = workbook_add_format(wb);
            format_set_bold(captions_[a]);
            format_set_align(captions_[a], align);
            data_[a] = workbook_add_format(wb);
            format_set_align(data_[a], align);
            dates_[a] = workbook_add_format(wb);
            format_set_align(dates_[a], align);
            format_set_num_format(dates_[a], "dd.mm.yyyy hh:mm:ss");
        }
    }

    void write()
    {
        QStringList row;
        bool more = model_.Rows && model_.Rows(row);
        const qsizetype fixedRows = model_.Header.size() + 1 + model_.Footer.size();
        int index = 0;
        do {
            beginSheet(index++);
            // Stop where the next data row would leave no room for the footer rows.
            for (qsizetype room = TQExport4XLSX::MaxRows - fixedRows; more && room > 0; --room) {
                writeData(row);
                more = model_.Rows(row);
            }
            endSheet();
        } while (more);
    }

private:
    void check(lxw_error e) const
    {
        if (e == LXW_NO_ERROR)
            return;
        if (e == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED)
            raiseExportError(EQExportError::StringTooLarge);
        raiseExportError(EQExportError::XlsxFailed, QDir::toNativeSeparators(target_),
                         QString::fromUtf8(lxw_strerror(e)));
    }

    void writeText(int col, const QString &text, lxw_format *format)
    {
        check(
            worksheet_write_string(ws_, lxw_row_t(row_), lxw_col_t(col), cellText_(text), format));
    }

    void writeLine(const QString &line)
    {
        const QStringList pieces = line.split(u'\t');
        for (qsizetype col = 0; col < pieces.size() && col < TQExport4XLSX::MaxColumns; ++col)
            if (!pieces[col].isEmpty())
                writeText(int(col), pieces[col], nullptr);
        ++row_;
    }

    void beginSheet(int index)
    {
        const QString title =
            index == 0 ? options_.FSheetTitle : QStringLiteral("Sheet %1").arg(index + 1);
        ws_ = workbook_add_worksheet(wb_, title.toUtf8().constData());
        if (!ws_)
            raiseExportError(EQExportError::XlsxFailed, QDir::toNativeSeparators(target_),
                             QStringLiteral("sheet \"%1\" not added").arg(title));
        row_ = 0;
        const QList<TExportColumn> &columns = model_.Columns;
        // Column settings come before any cell: the constant-memory mode writes rows at once.
        for (qsizetype c = 0; c < columns.size(); ++c)
            if (columns[c].FPixelWidth > 0)
                check(worksheet_set_column_pixels(ws_, lxw_col_t(c), lxw_col_t(c),
                                                  uint32_t(columns[c].FPixelWidth), nullptr));
        check(worksheet_set_footer(ws_, options_.FPageFooter.toUtf8().constData()));
        for (const QString &line : model_.Header)
            writeLine(line);
        captionRow_ = row_;
        for (qsizetype c = 0; c < columns.size(); ++c)
            writeText(int(c), columns[c].FCaption, captions_[int(columns[c].FAlign)]);
        ++row_;
        worksheet_freeze_panes(ws_, lxw_row_t(row_), 0);
    }

    void writeData(const QStringList &texts)
    {
        const QList<TExportColumn> &columns = model_.Columns;
        for (qsizetype c = 0; c < columns.size(); ++c) {
            const int align = int(columns[c].FAlign);
            // An empty cell keeps its column's look, for what is typed into it later.
            if (c >= texts.size() || texts[c].isEmpty()) {
                check(worksheet_write_blank(ws_, lxw_row_t(row_), lxw_col_t(c), data_[align]));
                continue;
            }
            const TCellValue v = ReadCellValue(texts[c]);
            if (v.kind == TCellValue::Number) {
                check(worksheet_write_number(ws_, lxw_row_t(row_), lxw_col_t(c), v.number,
                                             data_[align]));
            } else if (v.kind == TCellValue::DateTime && v.dateTime.date().year() >= 1900) {
                const QDate d = v.dateTime.date();
                const QTime t = v.dateTime.time();
                lxw_datetime dt{d.year(), d.month(),  d.day(),
                                t.hour(), t.minute(), double(t.second())};
                check(worksheet_write_datetime(ws_, lxw_row_t(row_), lxw_col_t(c), &dt,
                                               dates_[align]));
            } else {
                writeText(int(c), texts[c], data_[align]);
            }
        }
        ++row_;
    }

    void endSheet()
    {
        if (!model_.Columns.isEmpty())
            check(worksheet_autofilter(ws_, lxw_row_t(captionRow_), 0, lxw_row_t(row_ - 1),
                                       lxw_col_t(model_.Columns.size() - 1)));
        for (const QString &line : model_.Footer)
            writeLine(line);
    }

    lxw_workbook *wb_;
    const TExportModel &model_;
    const TXLSXOptions &options_;
    QString target_;
    std::array<lxw_format *, 3> captions_{}, data_{}, dates_{};
    CellText cellText_;
    lxw_worksheet *ws_ = nullptr;
    int row_ = 0;
    int captionRow_ = 0;
};

} // namespace

void TQExport4XLSX::Execute(const TExportModel &model)
{
    const QString path = PrepareOutputPath(model.FileName);
    if (model.Columns.size() > MaxColumns)
        raiseExportError(EQExportError::XlsxTooManyColumns, QString::number(model.Columns.size()));
    if (model.Header.size() + 1 + model.Footer.size() >= MaxRows)
        raiseExportError(EQExportError::NoRoomForData);

    TExportFile file(path);
    const QByteArray written = QFile::encodeName(file.writtenPath());
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    Workbook wb(workbook_new_opt(written.constData(), &options));
    if (!wb)
        raiseExportError(EQExportError::XlsxFailed, QDir::toNativeSeparators(path),
                         QStringLiteral("workbook not made"));
    SheetsWriter(wb.get(), model, FOptions, path).write();
    errno = 0;
    const lxw_error closed = workbook_close(wb.release());
    if (closed != LXW_NO_ERROR) {
        // The library's text, and the system's when it left one (a full disk, for one).
        QString reason = QString::fromUtf8(lxw_strerror(closed));
        if (errno != 0)
            reason += u' ' + QString::fromLocal8Bit(std::strerror(errno));
        file.raiseWriteError(reason);
    }
    file.commit();
}
