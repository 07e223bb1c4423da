#include "db/ProcessState.h"
#include "db/OracleBase.h"
#include "db/ServerStatus.h"
#include "db/UiThread.h"
#include "tests/db/DbFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace {

// One process-wide variable, changed through the name its callers use, and the test of its
// start value.
struct VariableCase {
    const char *name;
    std::function<void()> change;
    std::function<bool()> atStart;
};

void PrintTo(const VariableCase &c, std::ostream *os)
{
    *os << c.name;
}

class ProcessStateReset : public ::testing::TestWithParam<VariableCase> {
protected:
    void TearDown() override { ResetProcessState(); }
};

TEST_P(ProcessStateReset, BringsTheVariableBackToItsStartValue)
{
    ResetProcessState();
    ASSERT_TRUE(GetParam().atStart()) << "start value before the change";
    GetParam().change();
    ASSERT_FALSE(GetParam().atStart()) << "the change took";
    ResetProcessState();
    EXPECT_TRUE(GetParam().atStart());
}

const VariableCase variableCases[] = {
    {"CurrDir", [] { CurrDir = "/work"; }, [] { return CurrDir.isEmpty(); }},
    {"TmpFile", [] { TmpFile = "/work/Temp.tmp"; }, [] { return TmpFile.isEmpty(); }},
    {"N_SRV", [] { N_SRV = 1; }, [] { return N_SRV == 0; }},
    {"N_SRV_PPD", [] { N_SRV_PPD = 1; }, [] { return N_SRV_PPD == 0; }},
    {"C_SRV", [] { C_SRV = 2; }, [] { return C_SRV == 0; }},
    {"SHOW_SMENA_PASSWORD", [] { SHOW_SMENA_PASSWORD = true; },
     [] { return !SHOW_SMENA_PASSWORD; }},
    {"Debug", [] { Debug_ = true; }, [] { return !Debug_; }},
    {"PassCoded", [] { PassCoded = true; }, [] { return !PassCoded; }},
    {"F_NEW_CP", [] { F_NEW_CP = true; }, [] { return !F_NEW_CP; }},
    {"Hard_CP_Off", [] { Hard_CP_Off = QStringLiteral("0"); },
     [] { return Hard_CP_Off.Value() == "000"; }},
    {"UserIP", [] { UserIP = QStringLiteral("10.0.0.1"); },
     [] { return UserIP.Value().isEmpty(); }},
    {"TerminateRequest", [] { ProcessState.module.terminateRequested = true; },
     [] { return !TerminateRequested(); }},
    {"WriteToSRV", [] { WriteToSRV = true; }, [] { return !WriteToSRV; }},
    {"WriteToRezerv", [] { WriteToRezerv = true; }, [] { return !WriteToRezerv; }},
    {"WriteToHour", [] { WriteToHour = true; }, [] { return !WriteToHour; }},
    {"WorkResSrv", [] { WorkResSrv = true; }, [] { return !WorkResSrv; }},
    {"User_All_Name", [] { User_All_Name = QStringLiteral("Иванов И. И."); },
     [] { return User_All_Name.Value().isEmpty(); }},
    {"LoginUserName", [] { ProcessState.login.User_Name = "ivanov"; },
     [] { return ProcessState.login.User_Name.isEmpty(); }},
    {"LoginQualityMask", [] { ProcessState.login.QualityMask = 0; },
     [] { return ProcessState.login.QualityMask == 0x3FFFFFFF; }},
    {"LoginRightFlag", [] { ProcessState.login.Admin = true; },
     [] { return !ProcessState.login.Admin; }},
};

INSTANTIATE_TEST_SUITE_P(Variables, ProcessStateReset, ::testing::ValuesIn(variableCases),
                         CaseName());

} // namespace
