#pragma once

#include "catalog/ExportGrid.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>

// The command line of quorvel-batch, apart from running anything.

enum class TBatchCommand { Run, Send, Log };

// One file a run writes.
struct TBatchOutput {
    std::optional<TExportKind> Format; // none: the report's chart as a PNG picture
    QString File;
    bool operator==(const TBatchOutput &) const = default;
};

struct TBatchOptions {
    TBatchCommand Command = TBatchCommand::Run;
    // name@alias with the password from PasswordFile or QUORVEL_PASSWORD, or (visible to
    // every user of the machine) name/password@alias as the windows program takes it.
    QString Login;
    QString PasswordFile;
    // Folder of viri.ini; empty for the program's folder.
    QString Workspace;
    // The period; by default yesterday to today, as the main window's pickers open.
    QDate From;
    QDate To;
    // run: the report (identifier or name) and the files to write.
    QString Report;
    QList<TBatchOutput> Outputs;
    // send: only the recipients whose address list holds this address; empty for all.
    QString Only;
    // send: write the workbooks into DryRunFolder and send nothing.
    bool DryRun = false;
    QString DryRunFolder;
    // send: only what the last logged attempt failed to deliver, for that attempt's period.
    bool RetryFailed = false;
    // log: the rows from this day on; invalid for all.
    QDate Since;
};

// A command line that cannot be run; the text says why.
class EBatchUsage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The arguments after the program name. Today gives the default period. Throws EBatchUsage.
TBatchOptions ParseBatchArguments(const QStringList &Args, const QDate &Today);

// A date as DD.MM.YYYY (day and month may have one digit); an invalid date when it is not one.
QDate ParseBatchDate(const QString &Text);

// Whether the arguments ask for a picture or pages (--png, --pdf): drawing needs Qt Gui's fonts,
// so the program then runs as a QGuiApplication on the offscreen platform, still without a
// display.
bool BatchNeedsGui(const QStringList &Args);

// The usage text printed with a usage error.
QString BatchUsageText();
