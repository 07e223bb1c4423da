#include "batch/BatchOptions.h"

namespace {

[[noreturn]] void usage(const QString &text)
{
    throw EBatchUsage(text.toStdString());
}

// The value after an option; the option's name in the error when there is none.
QString valueOf(const QStringList &Args, qsizetype &i)
{
    if (i + 1 >= Args.size() || Args[i + 1].startsWith(QStringLiteral("--")))
        usage(Args[i] + QStringLiteral(" needs a value"));
    return Args[++i];
}

QDate dateOf(const QStringList &Args, qsizetype &i)
{
    const QString option = Args[i];
    const QString text = valueOf(Args, i);
    const QDate date = ParseBatchDate(text);
    if (!date.isValid())
        usage(option + QStringLiteral(" takes a date as DD.MM.YYYY, not \"") + text +
              QStringLiteral("\""));
    return date;
}

// The file options of run; nothing for any other argument.
std::optional<TBatchOutput> outputOption(const QString &Arg)
{
    static const std::pair<const char *, std::optional<TExportKind>> options[] = {
        {"--xls", TExportKind::Xls}, {"--rtf", TExportKind::Rtf}, {"--xlsx", TExportKind::Xlsx},
        {"--csv", TExportKind::Csv}, {"--pdf", TExportKind::Pdf}, {"--png", std::nullopt}};
    for (const auto &[name, format] : options)
        if (Arg == QLatin1String(name))
            return TBatchOutput{format, QString()};
    return std::nullopt;
}

TBatchCommand commandOf(const QString &Name)
{
    if (Name == QLatin1String("run"))
        return TBatchCommand::Run;
    if (Name == QLatin1String("send"))
        return TBatchCommand::Send;
    if (Name == QLatin1String("log"))
        return TBatchCommand::Log;
    usage(QStringLiteral("unknown command \"") + Name + QStringLiteral("\""));
}

} // namespace

QDate ParseBatchDate(const QString &Text)
{
    return QDate::fromString(Text, QStringLiteral("d.M.yyyy"));
}

TBatchOptions ParseBatchArguments(const QStringList &Args, const QDate &Today)
{
    if (Args.size() < 2)
        usage(QStringLiteral("a command and a login are needed"));
    TBatchOptions o;
    o.Command = commandOf(Args[0]);
    o.Login = Args[1];
    o.From = Today.addDays(-1);
    o.To = Today;
    const bool run = o.Command == TBatchCommand::Run;
    const bool send = o.Command == TBatchCommand::Send;
    for (qsizetype i = 2; i < Args.size(); ++i) {
        const QString &a = Args[i];
        if (a == QLatin1String("--workspace"))
            o.Workspace = valueOf(Args, i);
        else if (a == QLatin1String("--password-file"))
            o.PasswordFile = valueOf(Args, i);
        else if (o.Command == TBatchCommand::Log && a == QLatin1String("--since"))
            o.Since = dateOf(Args, i);
        else if ((run || send) && a == QLatin1String("--from"))
            o.From = dateOf(Args, i);
        else if ((run || send) && a == QLatin1String("--to"))
            o.To = dateOf(Args, i);
        else if (run && a == QLatin1String("--report"))
            o.Report = valueOf(Args, i);
        else if (const std::optional<TBatchOutput> out = run ? outputOption(a) : std::nullopt)
            o.Outputs.append({out->Format, valueOf(Args, i)});
        else if (send && a == QLatin1String("--only"))
            o.Only = valueOf(Args, i);
        else if (send && a == QLatin1String("--retry-failed"))
            o.RetryFailed = true;
        else if (send && a == QLatin1String("--dry-run")) {
            o.DryRun = true;
            o.DryRunFolder = valueOf(Args, i);
        } else
            usage(QStringLiteral("unknown option \"") + a + QStringLiteral("\" for ") + Args[0]);
    }
    if (run && o.Report.isEmpty())
        usage(QStringLiteral("run needs --report"));
    if (run && o.Outputs.isEmpty())
        usage(QStringLiteral("run needs at least one file: --xls, --xlsx, --rtf, --csv, --pdf or "
                             "--png"));
    return o;
}

bool BatchNeedsGui(const QStringList &Args)
{
    return Args.contains(QStringLiteral("--png")) || Args.contains(QStringLiteral("--pdf"));
}

QString BatchUsageText()
{
    return QStringLiteral(
        "usage:\n"
        "  quorvel-batch run NAME@ALIAS --report ID-OR-NAME [--from DD.MM.YYYY]\n"
        "                [--to DD.MM.YYYY] (--xls FILE | --xlsx FILE | --rtf FILE | --csv FILE\n"
        "                | --pdf FILE | --png FILE)... [--workspace DIR]\n"
        "  quorvel-batch send NAME@ALIAS [--from DD.MM.YYYY] [--to DD.MM.YYYY]\n"
        "                [--only ADDRESS] [--retry-failed] [--dry-run DIR] [--workspace DIR]\n"
        "  quorvel-batch log NAME@ALIAS [--since DD.MM.YYYY] [--workspace DIR]\n"
        "Every command also takes --password-file FILE: the password is its first line, and\n"
        "the file must not be readable by group or others. Without it the password is taken\n"
        "from the environment variable QUORVEL_PASSWORD. NAME/PASSWORD@ALIAS still works but\n"
        "shows the password to every user of the machine.\n"
        "The period is yesterday to today unless given. viri.ini is read from DIR of\n"
        "--workspace, else from the program's folder.\n"
        "--png draws the report's chart as the main window's chart pane keeps it. CSV takes its\n"
        "separator and encoding from viri.ini [Export] CSV_SEPARATOR and CSV_ENCODING; send\n"
        "attaches workbooks in the format of [Mail] ATTACH_FORMAT (xls or xlsx).\n"
        "Exit codes: 0 all done, 1 some deliveries failed, 2 usage or connection error.\n");
}
