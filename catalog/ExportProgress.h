#pragma once

#include "catalog/ExportGrid.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>
#include <QString>

class QWidget;

// The progress of writing a long export. The rows are written on the user-interface thread;
// once the export has lasted ShowAfterMs a window shows how many of the Total rows are written
// and events are processed now and then so it stays painted. An export cannot be stopped
// half-way: that would leave a file that looks complete.
class TExportProgress : public TExportObserver {
public:
    TExportProgress(QWidget *Parent, int Total, int ShowAfterMs = 1000);
    ~TExportProgress() override;
    TExportProgress(const TExportProgress &) = delete;
    TExportProgress &operator=(const TExportProgress &) = delete;

    void Written(int Rows) override;
    // The progress window while it is shown (null before).
    QProgressDialog *Dialog() const { return dialog_; }

    static QString RowsText(int Rows, int Total);

private:
    QWidget *parent_;
    int total_;
    int showAfterMs_;
    QElapsedTimer started_;
    qint64 lastShownMs_ = -1;
    QPointer<QProgressDialog> dialog_;
};
