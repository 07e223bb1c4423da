#include "catalog/RunProgress.h"

#include "catalog/QuorvelUtil.h"
#include "common/MessageDialogs.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace {
// Events are processed at most this often, so the window costs the fetch next to nothing.
constexpr qint64 eventIntervalMs = 50;
} // namespace

TRunProgress::TRunProgress(QWidget *Parent, int ShowAfterMs)
    : parent_(Parent), showAfterMs_(ShowAfterMs)
{
    started_.start();
}

TRunProgress::~TRunProgress()
{
    delete dialog_;
}

QString TRunProgress::RowsText(int Rows)
{
    return QStringLiteral("Получено строк: ") + QString::number(Rows);
}

bool TRunProgress::Fetched(int Rows)
{
    if (cancelled_)
        return false;
    const qint64 now = started_.elapsed();
    if (lastEventsMs_ >= 0 && now - lastEventsMs_ < eventIntervalMs)
        return true;
    lastEventsMs_ = now;
    if (now < showAfterMs_) {
        // Until the window shows, the other windows are painted and their timers run, but take
        // no input that could start anything during the run.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return true;
    }
    if (!dialog_) {
        dialog_ = new QProgressDialog(parent_);
        dialog_->setObjectName(QStringLiteral("RunProgress"));
        dialog_->setWindowTitle(QStringLiteral("Формирование отчета"));
        dialog_->setCancelButtonText(QStringLiteral("Прервать"));
        dialog_->setWindowModality(Qt::WindowModal);
        // The number of rows is not known in advance: a busy bar.
        dialog_->setRange(0, 0);
        dialog_->setMinimumDuration(0);
        dialog_->show();
    }
    dialog_->setLabelText(RowsText(Rows));
    QCoreApplication::processEvents();
    cancelled_ = dialog_ && dialog_->wasCanceled();
    return !cancelled_;
}

void ReportRunOutcome(const TExecResult &Result)
{
    if (!Result.Cancelled)
        return;
    MyMessageDlg(QStringLiteral("Формирование отчета прервано. Показаны полученные строки: ") +
                     QString::number(Result.Rows) + QStringLiteral("."),
                 TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK}, 0);
}
