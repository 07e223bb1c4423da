#include "db/OracleBase.h"
#include "db/OracleSession.h"
#include "db/Supervision.h"
#include "tests/db/DbFixture.h"

#include <gtest/gtest.h>

// An SRV row with a NULL code is a value that is not an integer: the probe logs the server
// off and finds no state, as for any failed probe.

namespace {
struct NullSrvCase {
    const char *name;
    const char *row;
};

const NullSrvCase nullSrvCases[] = {
    {"MainNull", "NULL, 1, 0"},
    {"SecondNull", "0, NULL, 0"},
    {"RoNull", "0, 1, NULL"},
    {"AllNull", "NULL, NULL, NULL"},
};

class NullSrvCodes : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override { ResetProcessState(); }
    void TearDown() override { ResetProcessState(); }
};
} // namespace

TEST_P(NullSrvCodes, AreABadValueTheServerIsLoggedOffWithoutState)
{
    TestDb db(GetParam(), "main");
    // A site's table without the constraints of ours.
    db.exec("DROP TABLE SRV; CREATE TABLE SRV (MAIN INTEGER, SECOND INTEGER, RO INTEGER)");
    for (const NullSrvCase &c : nullSrvCases) {
        SCOPED_TRACE(c.name);
        db.exec(QStringLiteral("DELETE FROM SRV; INSERT INTO SRV (MAIN, SECOND, RO) VALUES (%1)")
                    .arg(QLatin1String(c.row)));
        TempDir dir;
        writeViriIni(dir.path(), db);
        TFOracleBase base(nullptr, dir.path());
        EXPECT_FALSE(base.Is_Connect_A);
        EXPECT_FALSE(WriteToSRV);
        EXPECT_FALSE(base.ADatabase->Connected());

        int sa = 5;
        int sb = 5;
        int ro = 7;
        EXPECT_FALSE(ConditionServer(base.ADatabase, sa, sb, ro));
        EXPECT_EQ(sa, -10);
        EXPECT_EQ(sb, -10);
        EXPECT_EQ(ro, 7) << "RO keeps its value";
        EXPECT_FALSE(base.ADatabase->Connected());
    }
}

INSTANTIATE_TEST_SUITE_P(On_Sqlite, NullSrvCodes, ::testing::Values(TestEngine::SQLite),
                         EngineParamName());
INSTANTIATE_TEST_SUITE_P(On_Postgres, NullSrvCodes, ::testing::Values(TestEngine::PostgreSQL),
                         EngineParamName());
