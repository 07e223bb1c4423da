#include "login/SessionVariables.h"
#include "db/ProcessState.h"
#include "login/UserRights.h"

#include <gtest/gtest.h>

namespace {

// The login's names are the members of the process state, so one reset covers them: the
// text, number and flag variables, the group's mask and the right flags alike.
TEST(SessionVariables, AreMembersOfTheProcessStateAndResetWithIt)
{
    EXPECT_EQ(&User_Name, &ProcessState.login.User_Name);
    EXPECT_EQ(&Val_smena, &ProcessState.login.Val_smena);
    EXPECT_EQ(&CanSelServer, &ProcessState.login.CanSelServer);

    User_Name = "ivanov";
    Pass = "secret";
    User_Psw = "5ebe2294ecd0e0f08eab7690d2a6ee69";
    Val_smena = 42000.5;
    Tab_Num = 5;
    User_GroupID = "3";
    Shema = 1;
    BMZklTop = true;
    QualityMask = 7;
    ActionID = 2;
    Admin = true;
    TU_ALL = true;
    ResetProcessState();
    EXPECT_TRUE(User_Name.isEmpty());
    EXPECT_TRUE(Pass.isEmpty());
    EXPECT_TRUE(User_Psw.isEmpty());
    EXPECT_EQ(Val_smena, 0);
    EXPECT_EQ(Tab_Num, 0);
    EXPECT_TRUE(User_GroupID.isEmpty());
    EXPECT_EQ(Shema, 0);
    EXPECT_FALSE(BMZklTop);
    EXPECT_EQ(QualityMask, 0x3FFFFFFF);
    EXPECT_EQ(ActionID, 0);
    EXPECT_FALSE(Admin);
    EXPECT_FALSE(TU_ALL);
}

} // namespace
