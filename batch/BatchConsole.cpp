#include "batch/BatchConsole.h"

TBatchConsole::TBatchConsole(QTextStream &Out, QTextStream &Err, bool Progress)
    : out_(Out), err_(Err), progress_(Progress),
      previous_(
          SetErrorSink([this](const QString &First, const QString &Last) { Error(First, Last); }))
{
}

TBatchConsole::~TBatchConsole()
{
    endProgress();
    SetErrorSink(std::move(previous_));
}

void TBatchConsole::Line(const QString &Text)
{
    endProgress();
    out_ << Text << '\n';
    out_.flush();
}

void TBatchConsole::Error(const QString &Text)
{
    endProgress();
    err_ << Text << '\n';
    err_.flush();
}

void TBatchConsole::Error(const QString &Text, const QString &Detail)
{
    Error(Detail.isEmpty() ? Text : Text + QStringLiteral("\n") + Detail);
}

void TBatchConsole::Progress(const QString &Text)
{
    if (!progress_)
        return;
    // Carriage return and erase to the end of the line: the note stays on one line.
    err_ << "\r\x1b[K" << Text;
    err_.flush();
    progressShown_ = true;
}

void TBatchConsole::endProgress()
{
    if (!progressShown_)
        return;
    err_ << "\r\x1b[K";
    err_.flush();
    progressShown_ = false;
}
