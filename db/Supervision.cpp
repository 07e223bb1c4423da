#include "db/Supervision.h"

#include "common/IniFile.h"
#include "db/ManualResetEvent.h"
#include "db/MesConnect.h"
#include "db/OracleBase.h"
#include "db/OracleSession.h"
#include "db/ProbeThreads.h"
#include "db/ServerStatus.h"
#include "db/UiThread.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>

// Start and stop of the supervision, its steps, the timer step with the waiting window.

namespace {
void clearFlags(TFOracleBase &base)
{
    WriteToRezerv = false;
    WriteToSRV = false;
    WriteToHour = false;
    base.Is_Connect_ = false;
    base.Is_Connect_A = false;
    base.Is_Connect_B = false;
}

void setStatusColour(QStatusBar *Sb, const QColor &colour)
{
    QPalette palette = Sb->palette();
    palette.setColor(QPalette::Window, colour);
    Sb->setPalette(palette);
    Sb->setAutoFillBackground(true);
}

// Shows the waiting window without blocking the caller: a blocking modal loop inside a
// timer's handler would hold that timer, and the steps must go on probing meanwhile.
void showWaitingWindow(TFMesConnect *window)
{
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->raise();
    window->activateWindow();
}
} // namespace

void StartWorkDB(int CountSrv)
{
    TFOracleBase &base = *FOracleBase;
    base.ResetPowerDB = true;
    clearFlags(base);
    base.IsCountServer = CountSrv;
    base.CheckEndReservEvent = new TManualResetEvent();
    base.CheckEndReservEvent->SetEvent();

    base.Is_Connect_A = SetMainReservServer();
    if (WriteToRezerv)
        base.Is_Connect_B = ConnectReservServer();
    WriteToRezerv = base.Is_Connect_B.load();
    RunAtThreadEdge([&base] { base.CheckUserAccess(); });

    base.SyncObj = new TBaseMainThread();
    base.SyncObj->StartProbing();
    if (CountSrv > 0) {
        base.ReservThread = new TBaseReservThread();
        base.ReservThread->StartProbing();
    }
    base.Is_Connect_ = base.Is_Connect_A.load();
    base.ResetPowerDB = false;

    if (base.AutoConnect) {
        if (!FMesConnect)
            FMesConnect = new TFMesConnect();
        base.TimerAutoConnect->setInterval(1000);
        base.TimerAutoConnect->start();
    }
}

void EndWorkDB()
{
    TFOracleBase &base = *FOracleBase;
    base.ResetPowerDB = true;
    clearFlags(base);
    for (TProbeThread *thread : {static_cast<TProbeThread *>(base.SyncObj),
                                 static_cast<TProbeThread *>(base.ReservThread)}) {
        if (thread)
            thread->TerminateThread();
    }
    // The threads use the module, its sessions and the event until they leave their loops.
    delete base.SyncObj;
    base.SyncObj = nullptr;
    delete base.ReservThread;
    base.ReservThread = nullptr;
    // A probe that ended meanwhile may have set them again.
    clearFlags(base);
    delete base.CheckEndReservEvent;
    base.CheckEndReservEvent = nullptr;
    delete FMesConnect;
    FMesConnect = nullptr;
    base.Dis_Connect(base.ADatabase);
    base.Dis_Connect(base.BDatabase);
}

bool ConnectAllServer()
{
    TFOracleBase &base = *FOracleBase;
    if (base.ResetPowerDB)
        return false;
    bool result = false;
    if (base.Is_Connect_A) {
        base.Is_Connect_A = SetMainReservServer();
        result = base.Is_Connect_A;
        if (WriteToRezerv) {
            if (base.Is_Connect_B)
                base.Is_Connect_B = ConnectReservServer();
            else if (base.ReservThread)
                base.ReservThread->Pulse();
            WriteToRezerv = WriteToRezerv && base.Is_Connect_B;
        }
    }
    if (!base.Is_Connect_A) {
        // The main thread's probe sets Is_Connect_A when it ends; a later step sees it.
        if (base.SyncObj)
            base.SyncObj->Pulse();
        result = false;
    }
    return result;
}

void TimerConditionSRV(QStatusBar *Sb)
{
    const QPointer<QStatusBar> bar(Sb);
    if (bar && FOracleBase)
        NameSRVToSB(bar);
    if (!FOracleBase || FOracleBase->ResetPowerDB) {
        if (bar)
            bar->showMessage(QStringLiteral("Программа в режиме перезагрузки!"));
        return;
    }
    const bool stateC = ConnectAllServer();
    if (TFMesConnect *window = FMesConnect) {
        // Visible but not active reads FshM false: it is closed all the same and never
        // shown twice.
        if (stateC && (window->FshM || window->isVisible()))
            window->close();
        else if (!stateC && !window->FshM && !window->isVisible())
            showWaitingWindow(window);
    }
    if (!bar)
        return;
    if (!stateC) {
        setStatusColour(bar, QColor(255, 0, 0));
        bar->showMessage(QStringLiteral("Идет поиск основного сервера!"));
    } else if (!WriteToSRV) {
        setStatusColour(bar, QColor(0, 128, 0));
        bar->showMessage(QStringLiteral("Программа в режиме просмотра!"));
    } else {
        const QString text = bar->currentMessage();
        if (text.contains(QStringLiteral("Идет поиск основного")) ||
            text.contains(QStringLiteral("Программа в режиме п")))
            bar->clearMessage();
        setStatusColour(bar, QApplication::palette().color(QPalette::Button));
    }
}

void StartConditionSRV(QTimer *Timer1)
{
    TFOracleBase &base = *FOracleBase;
    if (!FMesConnect) {
        FMesConnect = new TFMesConnect();
        FMesConnect->setWindowTitle(QStringLiteral("Программа \"") +
                                    QGuiApplication::applicationDisplayName() +
                                    QStringLiteral("\""));
    }
    const IniFile ini(CurrDir + QDir::separator() + QStringLiteral("viri.ini"));
    base.IntervalConditionServer =
        ini.readInteger(QStringLiteral("Timer"), QStringLiteral("IntervalConditionServer"), 3000);
    Timer1->setInterval(base.IntervalConditionServer);
    Timer1->start();
}

void IsConnect_()
{
    WriteToRezerv = false;
    WriteToSRV = false;
    FOracleBase->Is_Connect_ = ConnectAllServer();
}

bool Test_Time_Alias()
{
    FOracleBase->Is_Connect_ = ConnectAllServer();
    return FOracleBase->Is_Connect_;
}

void DisConnect_()
{
    TFOracleBase &base = *FOracleBase;
    base.Is_Connect_ = false;
    base.Dis_Connect(base.ADatabase);
    if (base.IsCountServer > 0)
        base.Dis_Connect(base.BDatabase);
}
