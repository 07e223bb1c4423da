#include "db/OracleBase.h"

#include "common/IniFile.h"
#include "common/TextHelpers.h"
#include "db/ApplicationInfo.h"
#include "db/EngineConnection.h"
#include "db/NoteQuery.h"
#include "db/OracleError.h"
#include "db/OracleSession.h"
#include "db/Password.h"
#include "db/QueryHelpers.h"
#include "db/Supervision.h"
#include "db/UiThread.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimer>

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

TFOracleBase *FOracleBase = nullptr;
QString &CurrDir = ProcessState.module.CurrDir;
std::atomic<int> &N_SRV = ProcessState.module.N_SRV;
std::atomic<int> &N_SRV_PPD = ProcessState.module.N_SRV_PPD;
std::atomic<int> &C_SRV = ProcessState.module.C_SRV;
std::atomic<bool> &SHOW_SMENA_PASSWORD = ProcessState.module.SHOW_SMENA_PASSWORD;
std::atomic<bool> &WriteToSRV = ProcessState.supervision.WriteToSRV;
std::atomic<bool> &WriteToRezerv = ProcessState.supervision.WriteToRezerv;
std::atomic<bool> &WriteToHour = ProcessState.supervision.WriteToHour;
std::atomic<bool> &WorkResSrv = ProcessState.supervision.WorkResSrv;
std::atomic<bool> &Debug_ = ProcessState.module.Debug_;
std::atomic<bool> &PassCoded = ProcessState.module.PassCoded;
std::atomic<bool> &F_NEW_CP = ProcessState.module.F_NEW_CP;
TSharedText &Hard_CP_Off = ProcessState.module.Hard_CP_Off;
TSharedText &UserIP = ProcessState.module.UserIP;

namespace {
const QString unknownAddress = QStringLiteral("Неизвестный");

QString withoutTrailingSeparator(QString dir)
{
    dir = QDir::toNativeSeparators(dir);
    while (dir.size() > 1 && dir.endsWith(QDir::separator()))
        dir.chop(1);
    return dir;
}

} // namespace

IniFile ViriIni()
{
    return IniFile(CurrDir + QDir::separator() + QStringLiteral("viri.ini"));
}

TFOracleBase::TFOracleBase(QObject *Owner, const QString &Folder)
    : QObject(Owner), ADatabase(new TOracleSession(this)), BDatabase(new TOracleSession(this)),
      TimerAutoConnect(new QTimer(this))
{
    CurrDir = withoutTrailingSeparator(Folder.isEmpty() ? ProgramFolder() : Folder);
    TmpFile = CurrDir + QDir::separator() + QStringLiteral("Temp.tmp");

    for (TOracleSession *s : {ADatabase, BDatabase}) {
        s->ThreadSafe = true;
        s->Preferences.ConvertUTF = cuUTF8ToUTF16;
        s->Cursor = crDefault;
    }
    ADatabase->AfterLogOn = [this](TOracleSession *Sender) { ADatabaseAfterLogOn(Sender); };
    BDatabase->SetLogonPassword(QStringLiteral(" "));

    UserTabNum = 0;
    IntervalConditionServer = 3000;
    AllStateSRV = {QStringLiteral("Основной"), QStringLiteral("Резерв"),
                   QStringLiteral("Автономный")};
    AutoConnect = false;
    TimerAutoConnect->setInterval(1000);
    connect(TimerAutoConnect, &QTimer::timeout, this,
            [this] { RunAtThreadEdge([this] { TimerAutoConnectTimer(); }); });

    FOracleBase = this;
    OnCreateProc();
}

TFOracleBase::~TFOracleBase()
{
    EndWorkDB();
    delete TimerAutoConnect;
    TimerAutoConnect = nullptr;
    AllStateSRV.clear();
    FOracleBase = nullptr;
}

void TFOracleBase::OnCreateProc()
{
    const IniFile ini = ViriIni();
    const QString mode = QStringLiteral("Mode");
    N_SRV = ini.readInteger(mode, QStringLiteral("N_Server"), 1) == 2 ? 1 : 0;
    N_SRV_PPD = ini.readInteger(mode, QStringLiteral("N_ServerPPD"), 1) == 2 ? 1 : 0;
    C_SRV = ini.readInteger(mode, QStringLiteral("C_Server"), 0) == 2 ? 2 : 0;
    SHOW_SMENA_PASSWORD = ini.readBool(mode, QStringLiteral("SHOW_SMENA_PASSWORD"), false);
    Get_Alias(ADatabase, 0);
    if (N_SRV > 0)
        Get_Alias(BDatabase, 1);
    StartWorkDB(N_SRV);
}

void TFOracleBase::Get_Alias(TOracleSession *Dbs, int N)
{
    Dis_Connect(Dbs);
    const QString suffix = N == 0 ? QString() : QStringLiteral("_") + QString::number(N);
    const IniFile ini = ViriIni();
    const QString alias = QStringLiteral("Alias") + suffix;
    Dbs->SetLogonUsername(
        ini.readString(alias, QStringLiteral("USER_NAME"), QStringLiteral("USER_ZUD")));
    Dbs->SetLogonDatabase(
        ini.readString(alias, QStringLiteral("SERVER_NAME"), QStringLiteral("SERVER_ZUD")));
    Dbs->SetLogonPassword(
        _Pwd(ini.readString(alias, QStringLiteral("PASSWORD_"), DefaultEncodedPassword)));
    Dbs->SetLogonFolder(CurrDir);
    AutoConnect =
        ini.readBool(QStringLiteral("Timer") + suffix, QStringLiteral("AutoConnect"), false);
}

void TFOracleBase::ADatabaseAfterLogOn(TOracleSession *Sender)
{
    if (!Sender->Connected())
        return;
    {
        TOracleQuery q;
        q.SetSession(Sender);
        try {
            q.SQL = QStringList{
                QStringLiteral("SELECT 1 FROM SCRIPT_HISTORY WHERE SCRIPT_VERSION='SHIFRPSWMD5'")};
            q.Execute();
            PassCoded = !q.Eof();
            q.Close();
            q.SQL = QStringList{
                QStringLiteral("SELECT COLTYPE FROM COL WHERE TNAME='NAME_CP' AND CNAME='CP'")};
            q.Execute();
            if (!q.Eof()) {
                F_NEW_CP = q.FieldAsString(QStringLiteral("COLTYPE")) == QLatin1String("NUMBER");
                Hard_CP_Off = F_NEW_CP ? QStringLiteral("0") : QStringLiteral("000");
            }
            q.Close();
            q.SQL.clear();
            const int major = ExtrMajorVer(Sender->ServerVersion());
            SetSessionPar(QStringLiteral("NLS_SORT"),
                          major < 10 ? QStringLiteral("'BINARY'") : QStringLiteral("'BINARY_CI'"));
        } catch (const std::exception &e) {
            ShowErrorOnUiThread(ExceptionText(e), q.SQLText());
        }
    }
    // The registration's errors may not leave the logon (which can run on a probe thread).
    RunAtThreadEdge([this] { CheckUserAccess(); });
}

void TFOracleBase::CheckUserAccess()
{
    if (!ADatabase->Connected())
        return;
    {
        TNoteQuery q;
        if (UserTabNum > 0) {
            q.SQL =
                QStringList{QStringLiteral("SELECT * FROM USER_PSW WHERE (TABNUM =") +
                            QString::number(UserTabNum) + QStringLiteral(") AND (WENABLED = 'F')")};
            try {
                q.Execute();
                if (!q.Eof()) {
                    ShowErrorThenTerminate(
                        QStringLiteral("Вам запрещена работа с сервером. Сеанс прекращен."),
                        QStringLiteral("Обратитесь к администратору ОИК за допуском к работе."));
                    return;
                }
            } catch (const std::exception &e) {
                ShowErrorOnUiThread(ExceptionText(e), q.SQLText());
            }
        }
    }
    UserIP = GetIPAddr();
    TDBMS_Application_Info info(ADatabase, QStringLiteral("DBMS_Application_Info"));
    info.Set_Module(QCoreApplication::applicationName(), UserIP);
    info.Set_Client_Info(QString::number(UserTabNum));
}

QString TFOracleBase::GetIPAddr()
{
    char name[257] = {};
    if (gethostname(name, 256) != 0)
        name[0] = '\0';
    return GetIPAddrOf(QString::fromLocal8Bit(name));
}

QString TFOracleBase::GetIPAddrOf(const QString &HostName)
{
    if (HostName.isEmpty())
        return unknownAddress;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo *found = nullptr;
    if (getaddrinfo(HostName.toLocal8Bit().constData(), nullptr, &hints, &found) != 0 || !found)
        return unknownAddress;
    const auto *in = reinterpret_cast<const sockaddr_in *>(found->ai_addr);
    const quint32 a = ntohl(in->sin_addr.s_addr);
    freeaddrinfo(found);
    return QStringLiteral("%1.%2.%3.%4")
        .arg((a >> 24) & 0xFF)
        .arg((a >> 16) & 0xFF)
        .arg((a >> 8) & 0xFF)
        .arg(a & 0xFF);
}

void TFOracleBase::Commit_()
{
    if (!WriteToSRV)
        return;
    if (ADatabase->InTransaction())
        ADatabase->Commit();
    if (WriteToRezerv && BDatabase->InTransaction())
        BDatabase->Commit();
}

void TFOracleBase::Rollback_()
{
    if (!WriteToSRV)
        return;
    if (ADatabase->InTransaction())
        ADatabase->Rollback();
    if (WriteToRezerv && BDatabase->InTransaction())
        BDatabase->Rollback();
}

void TFOracleBase::Dis_Connect(TOracleSession *Dbs)
{
    if (!Dbs->Connected())
        return;
    try {
        Dbs->LogOff();
    } catch (const std::exception &) {
        // Logging off a connection that is already broken has nothing left to report.
    }
}

bool TFOracleBase::If_Connect(TOracleSession *Dbs)
{
    if (Dbs->Connected())
        return true;
    try {
        Dbs->LogOn();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

int TFOracleBase::CheckConnection(bool)
{
    return ADatabase->CheckConnection(true) == ccError ? -1 : 0;
}

void TFOracleBase::TimerAutoConnectTimer()
{
    const std::optional<bool> found = SupervisionTimerStep();
    // The module may have been destroyed while the waiting window held the step.
    if (FOracleBase == this)
        emit ConditionStepped(found);
}
