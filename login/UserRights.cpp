#include "login/UserRights.h"

#include "db/OracleSession.h"
#include "db/OracleStatement.h"
#include "db/ServerStatus.h"
#include "login/SessionVariables.h"

#include <array>

namespace {
// Indexed by property code.
const std::array<bool *, PropertyCodeCount> rightFlags = {
    &Prop_Vis,
    &Prop_Edit,
    &Act_Edit,
    &OutForm_Edit,
    &Graph_Edit,
    &TU_Edit,
    &Instr_Edit,
    &TM_Control,
    &Fiction_TS,
    &Hand_Input,
    &Hand_Update,
    &Hand_Update_TS,
    &BMControl_Visible,
    &SHADOW_,
    &Admin,
    &Kvit,
    &Connect_User,
    &Kvit_Enable,
    &Change_Hand,
    &SetAlterChange,
    &GraphHandEdit,
    &EditTIT,
    &ChangeSetForm,
    &ChangeDayRep,
    &FarUser,
    &EditAllHour_Rep,
    &SaveSetPrint,
    nullptr,
    nullptr,
    &Prop_Create,
    &EditDayRep,
    &Hand_Input_TS,
    &ChangeStateSrv,
    &ChangeWorkPrg,
    &Alarm_Edit,
    &Alarm_Work,
    &Addtemplate,
    &HandCP_Update,
    &HandPR_Update,
    &ControlTU,
    &PasspPropManager,
    &PasspPropEdit,
    &UpdateSrvPPD,
    &BMEditMessage,
    &BMEditGoToMessage,
    &BMEditSound,
    &TU_Password,
    &SMViewPowerDis,
    &TU_ViewOneRow,
    &ChShieldIndBr,
    &SwitchingLock,
    &SwitchBlankCreate,
    &SwitchBlankView,
    &ValidStatesDefine,
    &NeedPsTsComment,
    &TU_ALL,
    &CanSelServer,
};

bool isT(TOracleStatement &Query, const QString &Column)
{
    return Query.FieldByName(Column).AsString() == QLatin1String("T");
}

int integerOf(TOracleStatement &Query, const QString &Column)
{
    return int(Query.FieldByName(Column).AsInteger());
}

// A code of the group statements: NULL is a failed conversion, which stops them.
int codeOf(TOracleStatement &Query, const QString &Column)
{
    return int(IntegerOfValue(Query.Field(Column)));
}

// The group's property codes, then its row. A group identifier that is not a number cannot
// name a group (a statement with it pasted in would not even parse), so nothing is read.
void readGroupRights(TOracleStatement &Query)
{
    bool numeric = false;
    const qlonglong group = User_GroupID.trimmed().toLongLong(&numeric);
    if (!numeric)
        return;
    TOracleQuery q;
    q.SetSession(Query.Session());
    q.DeclareVariable(QStringLiteral("GROUPID"), otInteger);
    q.SetVariable(QStringLiteral("GROUPID"), group);

    q.SQL = QStringList{QStringLiteral("SELECT USER_PROP FROM USER_G_P"),
                        QStringLiteral("WHERE USER_GROUP = :GROUPID")};
    q.Execute();
    for (; !q.Eof(); q.Next())
        if (bool *flag = RightFlagOfCode(codeOf(q, QStringLiteral("USER_PROP"))))
            *flag = true;
    q.Close();

    q.SQL = QStringList{QStringLiteral("SELECT ACTIONID, QUALITY_MASK FROM USER_GROUP"),
                        QStringLiteral("WHERE ID = :GROUPID")};
    q.Execute();
    // Without its group row the group is as good as unreadable: what follows is not applied.
    if (q.Eof())
        return;
    QualityMask = codeOf(q, QStringLiteral("QUALITY_MASK"));
    if (FarUser)
        ApplyFarUserProfile();
    else
        ActionID = codeOf(q, QStringLiteral("ACTIONID"));
}
} // namespace

bool *RightFlagOfCode(int Code)
{
    return Code >= 0 && Code < PropertyCodeCount ? rightFlags[size_t(Code)] : nullptr;
}

void ClearRightFlags()
{
    for (bool *flag : rightFlags)
        if (flag)
            *flag = false;
}

void ApplyFarUserProfile()
{
    const bool admin = Admin;
    const bool connectUser = Connect_User;
    const bool updateSrvPPD = UpdateSrvPPD;
    const bool canSelServer = CanSelServer;
    const bool farUser = FarUser;
    ClearRightFlags();
    Admin = admin;
    Connect_User = connectUser;
    UpdateSrvPPD = updateSrvPPD;
    CanSelServer = canSelServer;
    FarUser = farUser;
    BMControl_Visible = true;
    SHADOW_ = true;
    SMViewPowerDis = true;
}

int ReadUserMeanings(TOracleStatement &Query)
{
    Tab_Num = integerOf(Query, QStringLiteral("TABNUM"));
    User_Name = Query.FieldByName(QStringLiteral("NAME")).AsString();
    User_Psw = Query.FieldByName(QStringLiteral("PWD")).AsString();
    User_All_Name = Query.FieldByName(QStringLiteral("ALLNAME")).AsString();
    User_GroupID = Query.FieldByName(QStringLiteral("GROUPID")).AsString();
    Shema = integerOf(Query, QStringLiteral("SHEMA"));
    BMMessage = isT(Query, QStringLiteral("BMMESSAGE"));
    BMGoToMessage = isT(Query, QStringLiteral("BMGOTOMESSAGE"));
    BMRegl = isT(Query, QStringLiteral("BMREGL"));
    BMSound = isT(Query, QStringLiteral("BMSOUND"));
    BMChWind = isT(Query, QStringLiteral("BMCHWIND"));
    BMZklTop = isT(Query, QStringLiteral("BMZKLTOP"));

    ClearRightFlags();
    try {
        readGroupRights(Query);
    } catch (const std::exception &) {
        // The rights stay as far as they were read; the login goes on without a word.
    }
    return 1;
}
