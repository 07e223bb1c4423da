#include "login/SessionVariables.h"
#include "login/UserRights.h"

#include <gtest/gtest.h>

#include <set>

namespace {
// Code, flag: the vocabulary of property codes as the user administration hands them out.
const std::vector<std::pair<int, bool *>> grantedFlags = {
    {0, &Prop_Vis},
    {1, &Prop_Edit},
    {2, &Act_Edit},
    {3, &OutForm_Edit},
    {4, &Graph_Edit},
    {5, &TU_Edit},
    {6, &Instr_Edit},
    {7, &TM_Control},
    {8, &Fiction_TS},
    {9, &Hand_Input},
    {10, &Hand_Update},
    {11, &Hand_Update_TS},
    {12, &BMControl_Visible},
    {13, &SHADOW_},
    {14, &Admin},
    {15, &Kvit},
    {16, &Connect_User},
    {17, &Kvit_Enable},
    {18, &Change_Hand},
    {19, &SetAlterChange},
    {20, &GraphHandEdit},
    {21, &EditTIT},
    {22, &ChangeSetForm},
    {23, &ChangeDayRep},
    {24, &FarUser},
    {25, &EditAllHour_Rep},
    {26, &SaveSetPrint},
    {29, &Prop_Create},
    {30, &EditDayRep},
    {31, &Hand_Input_TS},
    {32, &ChangeStateSrv},
    {33, &ChangeWorkPrg},
    {34, &Alarm_Edit},
    {35, &Alarm_Work},
    {36, &Addtemplate},
    {37, &HandCP_Update},
    {38, &HandPR_Update},
    {39, &ControlTU},
    {40, &PasspPropManager},
    {41, &PasspPropEdit},
    {42, &UpdateSrvPPD},
    {43, &BMEditMessage},
    {44, &BMEditGoToMessage},
    {45, &BMEditSound},
    {46, &TU_Password},
    {47, &SMViewPowerDis},
    {48, &TU_ViewOneRow},
    {49, &ChShieldIndBr},
    {50, &SwitchingLock},
    {51, &SwitchBlankCreate},
    {52, &SwitchBlankView},
    {53, &ValidStatesDefine},
    {54, &NeedPsTsComment},
    {55, &TU_ALL},
    {56, &CanSelServer},
};

void setAll(bool value)
{
    for (const auto &[code, flag] : grantedFlags)
        *flag = value;
}
} // namespace

TEST(RightCodes, EachCodeGrantsItsOwnFlag)
{
    std::set<bool *> distinct;
    for (const auto &[code, flag] : grantedFlags) {
        EXPECT_EQ(RightFlagOfCode(code), flag) << "code " << code;
        distinct.insert(flag);
    }
    EXPECT_EQ(distinct.size(), 55u);
    for (int code : {27, 28, -1, 57, 1000})
        EXPECT_EQ(RightFlagOfCode(code), nullptr) << "code " << code;
}

TEST(RightCodes, ClearingLeavesEveryFlagFalse)
{
    setAll(true);
    ClearRightFlags();
    for (const auto &[code, flag] : grantedFlags)
        EXPECT_FALSE(*flag) << "code " << code;
}

TEST(RightCodes, FarUserProfileKeepsOnlyTheConnectionRights)
{
    setAll(true);
    Admin = false;
    UpdateSrvPPD = false;
    ApplyFarUserProfile();
    const std::set<bool *> on = {&BMControl_Visible, &SHADOW_,      &SMViewPowerDis,
                                 &Connect_User,      &CanSelServer, &FarUser};
    for (const auto &[code, flag] : grantedFlags)
        EXPECT_EQ(*flag, on.count(flag) == 1) << "code " << code;
    ClearRightFlags();
}
