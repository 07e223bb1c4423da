#include "catalog/ExportProgress.h"

#include <QCoreApplication>

namespace {
// The window is brought up to date at most this often, so it costs the export next to nothing.
constexpr qint64 updateIntervalMs = 50;
} // namespace

TExportProgress::TExportProgress(QWidget *Parent, int Total, int ShowAfterMs)
    : parent_(Parent), total_(Total), showAfterMs_(ShowAfterMs)
{
    started_.start();
}

TExportProgress::~TExportProgress()
{
    delete dialog_;
}

QString TExportProgress::RowsText(int Rows, int Total)
{
    return QStringLiteral("Записано строк: %1 из %2").arg(Rows).arg(Total);
}

void TExportProgress::Written(int Rows)
{
    const qint64 now = started_.elapsed();
    if (now < showAfterMs_ ||
        (lastShownMs_ >= 0 && now - lastShownMs_ < updateIntervalMs && Rows < total_))
        return;
    if (!dialog_) {
        dialog_ = new QProgressDialog(parent_);
        dialog_->setObjectName(QStringLiteral("ExportProgress"));
        dialog_->setWindowTitle(QStringLiteral("Экспорт отчета"));
        dialog_->setCancelButton(nullptr);
        dialog_->setWindowModality(Qt::WindowModal);
        dialog_->setRange(0, total_);
        // The last count stays readable until the export is over.
        dialog_->setAutoReset(false);
        dialog_->setAutoClose(false);
        dialog_->setMinimumDuration(0);
        dialog_->show();
    }
    dialog_->setLabelText(RowsText(Rows, total_));
    dialog_->setValue(Rows);
    lastShownMs_ = now;
    QCoreApplication::processEvents();
}
