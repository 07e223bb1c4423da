#include "batch/SendCommand.h"

#include "batch/BatchConsole.h"
#include "batch/BatchOptions.h"
#include "batch/BatchSignals.h"
#include "batch/BatchText.h"
#include "batch/ReportLookup.h"
#include "batch/ReportRun.h"
#include "batch/RunCommand.h"
#include "catalog/ExportGrid.h"
#include "catalog/ReportResult.h"
#include "db/OracleError.h"
#include "mail/DeliveryLog.h"
#include "mail/MailAddress.h"
#include "mail/MailSettingsStore.h"
#include "mail/ReportMailing.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <map>

namespace {

// One report's workbook for this pass: written once, copied for each recipient.
struct TWorkbook {
    TReportRun Run;
    QString File; // empty when the run or the export failed
};

struct TTotals {
    int Messages = 0;
    int FailedRecipients = 0;
    int Reports = 0;
    int Skipped = 0;
    int FailedReports = 0;
};

bool holdsAddress(const TSend &Send, const QString &Address)
{
    for (const TMailAddressItem &item : ParseAddressList(Send.ADR_MAIL))
        if (item.Address.compare(Address, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

class TSendPass {
public:
    TSendPass(const TBatchOptions &Options, TBatchConsole &Console, const TReportCatalog &Catalog,
              const QString &WorkFolder, bool Logged, TExportKind Format)
        : options_(Options), console_(Console), catalog_(Catalog), work_(WorkFolder),
          logged_(Logged && !Options.DryRun), format_(Format)
    {
    }

    void Recipient(const TSend &Send, int Index);
    const TTotals &Totals() const { return totals_; }

private:
    const TWorkbook &workbookOf(const TPropTVItem &Report);
    // The folder a recipient's workbooks are gathered in, made empty.
    QString recipientFolder(const TSend &Send, int Index) const;
    void log(const TSend &Send, int Report, bool Delivered, const QString &Reply, qint64 Bytes);

    const TBatchOptions &options_;
    TBatchConsole &console_;
    const TReportCatalog &catalog_;
    QString work_;
    bool logged_;
    TExportKind format_;
    std::map<int, TWorkbook> books_;
    TTotals totals_;
};

void TSendPass::log(const TSend &Send, int Report, bool Delivered, const QString &Reply,
                    qint64 Bytes)
{
    if (!logged_)
        return;
    const TDeliveryLogRow row{
        QDateTime::currentDateTime(),  Send.ADR_MAIL, Report, options_.From, options_.To,
        MailAttachmentFormat(format_), Delivered,     Reply,  Bytes};
    if (const TDbResult written = WriteDeliveryLog(row); !written) {
        logged_ = false;
        console_.Error(DeliveryLogWarning(written.Error()));
    }
}

const TWorkbook &TSendPass::workbookOf(const TPropTVItem &Report)
{
    const auto found = books_.find(Report.id);
    if (found != books_.end())
        return found->second;
    TWorkbook &book = books_[Report.id];
    console_.Progress(QStringLiteral("running ") + ReportLabel(Report));
    TReportResult result;
    book.Run = RunReport(Report, options_.From, options_.To, result);
    if (!book.Run.Ok)
        return book;
    const QString file =
        work_ + QStringLiteral("/report-") + QString::number(Report.id) + ExportExtension(format_);
    try {
        ExportResultAs(format_, &result, &Report, file);
        book.File = file;
    } catch (const std::exception &e) {
        book.Run.Error = QStringLiteral("the workbook cannot be written: ") + ExceptionText(e);
    }
    return book;
}

QString TSendPass::recipientFolder(const TSend &Send, int Index) const
{
    const QString folder =
        options_.DryRun
            ? options_.DryRunFolder + u'/' +
                  FileNameOf(Send.ADR_MAIL, QStringLiteral("recipient ") + QString::number(Index))
            : work_ + QStringLiteral("/recipient-") + QString::number(Index);
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    return folder;
}

void TSendPass::Recipient(const TSend &Send, int Index)
{
    const QString who = Send.ADR_MAIL + QStringLiteral(": ");
    const QStringList ids = ReportIdList(Send.ID_REPORT);
    if (ids.isEmpty()) {
        console_.Line(who + QStringLiteral("no reports assigned, nothing sent"));
        return;
    }
    const QString period = PeriodText(options_.From, options_.To);
    const QString folder = recipientFolder(Send, Index);
    QStringList files;
    QList<int> reports; // of the files, in order
    QStringList lines;  // finished once the message's fate is known
    QSet<QString> names;
    bool failed = false;
    for (const QString &id : ids) {
        const TPropTVItem *report = catalog_.ById(id.toInt());
        if (!report) {
            console_.Line(who + QStringLiteral("report ") + id +
                          QStringLiteral(": not in the catalog, skipped"));
            ++totals_.Skipped;
            continue;
        }
        const QString what = who + ReportLabel(*report) + u' ' + period + QStringLiteral(": ");
        const TWorkbook &book = workbookOf(*report);
        if (book.File.isEmpty()) {
            console_.Line(what + QStringLiteral("error: ") + book.Run.Error);
            log(Send, report->id, false, book.Run.Error, 0);
            ++totals_.FailedReports;
            failed = true;
            continue;
        }
        // The attachment is named after the report; two reports of one name stay apart.
        QString name = FileNameOf(report->name, QStringLiteral("report ") + id);
        if (names.contains(name))
            name += QStringLiteral(" (") + id + u')';
        names.insert(name);
        const QString file = folder + u'/' + name + ExportExtension(format_);
        if (!QFile::copy(book.File, file)) {
            console_.Line(what + QStringLiteral("error: cannot write ") + file);
            log(Send, report->id, false, QStringLiteral("cannot write ") + file, 0);
            ++totals_.FailedReports;
            failed = true;
            continue;
        }
        files << file;
        reports << report->id;
        lines << what + RowsText(book.Run.Rows) + QStringLiteral(", ") + name +
                     ExportExtension(format_);
        ++totals_.Reports;
    }
    if (files.isEmpty()) {
        console_.Line(who + QStringLiteral("no workbook to send, nothing sent"));
        if (failed)
            ++totals_.FailedRecipients;
        return;
    }
    QString outcome;
    if (options_.DryRun)
        outcome = QStringLiteral("not sent (dry run), in ") + folder;
    else {
        console_.Progress(QStringLiteral("sending to ") + Send.ADR_MAIL);
        bool delivered = false;
        TSmtpSent sent;
        try {
            TSmtpSettings settings = MailServerSettings(LoadPopServer());
            settings.Stop = TBatchSignals::SmtpStop();
            sent = DeliverMessage(settings, ReportMessage(Send, files));
            delivered = true;
            outcome = QStringLiteral("sent");
            ++totals_.Messages;
        } catch (const std::exception &e) {
            sent.Reply = ExceptionText(e);
            outcome = QStringLiteral("not sent: ") + sent.Reply;
            failed = true;
        }
        for (const int report : reports)
            log(Send, report, delivered, sent.Reply, sent.Bytes);
    }
    for (const QString &line : lines)
        console_.Line(line + QStringLiteral(", ") + outcome);
    if (failed)
        ++totals_.FailedRecipients;
}

// What --retry-failed sends: the period of the last logged pass, and for each address the
// reports whose latest attempt in that period failed.
struct TRetryPlan {
    QDate From;
    QDate To;
    std::map<QString, QStringList> Reports;
};

TRetryPlan retryPlan(const std::vector<TDeliveryLogRow> &Rows)
{
    TRetryPlan plan;
    const auto last = std::find_if(Rows.rbegin(), Rows.rend(),
                                   [](const TDeliveryLogRow &r) { return r.From.isValid(); });
    if (last == Rows.rend())
        return plan;
    plan.From = last->From;
    plan.To = last->To;
    std::map<std::pair<QString, int>, bool> latest;
    for (const TDeliveryLogRow &row : Rows)
        if (row.From == plan.From && row.To == plan.To)
            latest[{row.Address, row.ReportId}] = row.Delivered;
    for (const auto &[key, delivered] : latest)
        if (!delivered)
            plan.Reports[key.first] << QString::number(key.second);
    return plan;
}

} // namespace

int SendCommand(const TBatchOptions &Options, TBatchConsole &Console)
{
    TExportKind format = TExportKind::Xls;
    try {
        format = MailAttachmentKind();
    } catch (const std::exception &e) {
        Console.Error(ExceptionText(e));
        return BatchUsageOrConnection;
    }
    TReportCatalog catalog;
    if (const TDbResult loaded = catalog.Load(); !loaded) {
        Console.Error(QStringLiteral("cannot read the catalog: ") + loaded.Error().Text);
        return BatchUsageOrConnection;
    }
    TDbResult loaded;
    std::vector<TSend> recipients = LoadRecipients(&loaded);
    if (!loaded) {
        Console.Error(QStringLiteral("cannot read the recipients: ") + loaded.Error().Text);
        return BatchUsageOrConnection;
    }
    if (!Options.Only.isEmpty())
        std::erase_if(recipients, [&](const TSend &s) { return !holdsAddress(s, Options.Only); });
    const TDbResult probed = ProbeDeliveryLog();
    if (!probed && !Options.RetryFailed)
        Console.Error(DeliveryLogWarning(probed.Error()));
    TBatchOptions options = Options;
    if (Options.RetryFailed) {
        TDbResult read = probed;
        const std::vector<TDeliveryLogRow> rows =
            read ? ReadDeliveryLog(QDate(), &read) : std::vector<TDeliveryLogRow>();
        if (!read) {
            Console.Error(QStringLiteral("cannot read the delivery log: ") + read.Error().Text);
            return BatchUsageOrConnection;
        }
        const TRetryPlan plan = retryPlan(rows);
        std::erase_if(recipients,
                      [&](const TSend &s) { return !plan.Reports.contains(s.ADR_MAIL); });
        if (recipients.empty()) {
            Console.Line(QStringLiteral("nothing to retry: the last pass delivered everything"));
            return BatchDone;
        }
        for (TSend &send : recipients)
            send.ID_REPORT = plan.Reports.at(send.ADR_MAIL).join(u',');
        options.From = plan.From;
        options.To = plan.To;
    }
    if (recipients.empty()) {
        Console.Error(Options.Only.isEmpty()
                          ? QStringLiteral("no recipients in QUORVEL_MAIL")
                          : QStringLiteral("no recipient with the address ") + Options.Only);
        return BatchUsageOrConnection;
    }
    QTemporaryDir work;
    TSendPass pass(options, Console, catalog, work.path(), bool(probed), format);
    std::size_t served = 0;
    for (; served < recipients.size() && !TBatchSignals::Stopped(); ++served)
        pass.Recipient(recipients[served], int(served) + 1);
    for (std::size_t i = served; i < recipients.size(); ++i)
        Console.Line(recipients[i].ADR_MAIL + QStringLiteral(": stopped by a signal, not sent"));
    const TTotals &t = pass.Totals();
    Console.Line(QStringLiteral("summary: ") + QString::number(recipients.size()) +
                 QStringLiteral(" recipient(s), ") + QString::number(t.Messages) +
                 QStringLiteral(" message(s) sent, ") + QString::number(t.FailedRecipients) +
                 QStringLiteral(" recipient(s) failed; ") + QString::number(t.Reports) +
                 QStringLiteral(" workbook(s), ") + QString::number(t.FailedReports) +
                 QStringLiteral(" report(s) failed, ") + QString::number(t.Skipped) +
                 QStringLiteral(" skipped"));
    return t.FailedRecipients == 0 && served == recipients.size() ? BatchDone : BatchSomeFailed;
}
