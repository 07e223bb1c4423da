#pragma once

#include "catalog/RunObserver.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>
#include <QString>

class QWidget;
struct TExecResult;

// The progress of a long report run. Rows are appended on the user-interface thread, so between
// batches the run tells this object how many rows it has, and events are processed every 50 ms
// so the windows stay alive (without user input until the progress window shows); once the
// run has lasted ShowAfterMs a progress window shows that count with a cancel button.
class TRunProgress : public TRunObserver {
public:
    explicit TRunProgress(QWidget *Parent, int ShowAfterMs = 1000);
    ~TRunProgress() override;
    TRunProgress(const TRunProgress &) = delete;
    TRunProgress &operator=(const TRunProgress &) = delete;

    // Between batches: false once the user has cancelled.
    bool Fetched(int Rows) override;
    bool Cancelled() const { return cancelled_; }
    // The progress window while it is shown (null before).
    QProgressDialog *Dialog() const { return dialog_; }

    // The label of the window for a count of rows.
    static QString RowsText(int Rows);

private:
    QWidget *parent_;
    int showAfterMs_;
    QElapsedTimer started_;
    qint64 lastEventsMs_ = -1;
    QPointer<QProgressDialog> dialog_;
    bool cancelled_ = false;
};

// Tells the user that a run was cancelled and how many rows it kept; nothing otherwise.
void ReportRunOutcome(const TExecResult &Result);
