#include "catalog/QuorvelUtil.h"
#include "catalog/ReportResult.h"
#include "catalog/RunObserver.h"
#include "db/OracleBase.h"
#include "db/OracleSession.h"
#include "tests/db/SupervisionFixture.h"

#include <gtest/gtest.h>

// A report run while the working server is lost: the run is never cut short silently, and
// the supervision makes the reserve the working server only after the run.

namespace {
const QDate day(2015, 3, 5);
constexpr int runRows = 100000;

// Between batches the run's progress window lets the supervision's timer step run; here the
// step runs directly, and the first one finds the main server stopped abruptly.
class TStepsDuringRun : public TRunObserver {
public:
    explicit TStepsDuringRun(std::function<void()> Lose) : lose_(std::move(Lose)) {}

    bool Fetched(int) override
    {
        if (steps++ == 0)
            lose_();
        supervisionStep();
        if (FOracleBase->ADatabase->LogonDatabase() != working)
            switchedDuringRun = true;
        return true;
    }

    QString working;
    int steps = 0;
    bool switchedDuringRun = false;

private:
    std::function<void()> lose_;
};

class RunFailover_Postgres : public TwoServers {};
} // namespace

TEST_F(RunFailover_Postgres, MainLostMidRunNeverCutsTheGridShortAndTheSwitchFollowsTheRun)
{
    setSrv(a(), 0, 1, 0);
    setSrv(b(), 1, 0, 0);
    TFOracleBase *base = start(a().connectString(), b().connectString());
    ASSERT_TRUE(WriteToSRV && WriteToRezerv);

    TStepsDuringRun steps([this] {
        a().kill();
        // The site's switch-over: the reserve now records itself as the main server.
        setSrv(b(), 0, 1, 0);
    });
    steps.working = a().connectString();
    TReportResult grid;
    const TExecResult run =
        Exec_SQL(QStringLiteral("select n from generate_series(1, %1) as g(n)").arg(runRows),
                 nullptr, grid, day, day, &steps);

    ASSERT_TRUE(run.Opened);
    EXPECT_GT(steps.steps, 10);
    if (run.StepFailed) {
        EXPECT_TRUE(run.Error.IsError());
        EXPECT_FALSE(run.Error.Text.isEmpty());
    } else {
        EXPECT_EQ(run.Rows, runRows) << "a partial grid without an error";
        EXPECT_EQ(grid.Cells(1, runRows), QString::number(runRows));
    }
    EXPECT_EQ(grid.RowCount(), run.Rows + 1);
    EXPECT_FALSE(steps.switchedDuringRun);
    EXPECT_EQ(base->ADatabase->LogonDatabase(), a().connectString());

    int after = 0;
    while (base->ADatabase->LogonDatabase() != b().connectString() && after < 10) {
        ++after;
        supervisionStep();
    }
    ASSERT_EQ(base->ADatabase->LogonDatabase(), b().connectString())
        << "no switch in " << after << " steps after the run";
    TReportResult next;
    const TExecResult again = Exec_SQL(
        QStringLiteral("select n from generate_series(1, 3) as g(n)"), nullptr, next, day, day);
    EXPECT_FALSE(again.StepFailed);
    EXPECT_EQ(again.Rows, 3);
}
