#include "db/OracleBase.h"
#include "db/OracleSession.h"
#include "db/ServerStatus.h"
#include "db/Supervision.h"
#include "tests/db/SupervisionFixture.h"

// The state the supervision finds at start, for each combination of what the servers' SRV
// tables say.

namespace {
// What one server is for a case: unreachable, reachable without an SRV row, or its row.
struct Srv {
    bool reachable;
    bool row;
    int main, second, ro;
};
constexpr Srv dead{false, false, 0, 0, 0};
constexpr Srv noRow{true, false, 0, 0, 0};
constexpr Srv row(int main, int second, int ro)
{
    return {true, true, main, second, ro};
}

enum class Text { TwoServers, NoReserve, OneServer };

struct StateCase {
    const char *name;
    int servers;
    int cServer;
    Srv first, second;
    // Expected after start.
    bool isConnectA, writeToSRV, writeToRezerv, writeToHour;
    bool swapped;
    Text text;
};

const StateCase stateCases[] = {
    {"MainAndReserveMirrored", 2, 0, row(0, 1, 0), row(1, 0, 0), true, true, true, true, false,
     Text::TwoServers},
    {"FirstAnswersReserveSwaps", 2, 0, row(1, 0, 0), row(0, 1, 0), true, true, true, true, true,
     Text::TwoServers},
    {"FirstUnreachableSecondMainSwapsWithoutMirror", 2, 0, dead, row(0, 1, 0), true, true, false,
     true, true, Text::NoReserve},
    {"FirstWithoutRowSecondMainSwaps", 2, 0, noRow, row(0, 1, 0), true, true, false, true, true,
     Text::NoReserve},
    {"BothReserveIsSearching", 2, 0, row(1, 1, 0), row(1, 1, 0), false, false, false, false, false,
     Text::NoReserve},
    {"BothMainMirrored", 2, 0, row(0, 0, 0), row(0, 0, 0), true, true, true, true, false,
     Text::TwoServers},
    {"BothUnreachable", 2, 0, dead, dead, false, false, false, false, false, Text::NoReserve},
    {"Ro1WritesWithoutHourlyData", 2, 0, row(0, 1, 1), row(1, 0, 1), true, true, true, false, false,
     Text::TwoServers},
    {"Ro2IsViewMode", 2, 0, row(0, 1, 2), row(1, 0, 0), true, false, false, false, false,
     Text::NoReserve},
    {"OneServerAtMain2Works", 1, 0, row(2, 0, 0), dead, true, true, false, true, false,
     Text::OneServer},
    {"OneServerRo1", 1, 0, row(0, 1, 1), dead, true, true, false, false, false, Text::OneServer},
    {"OneServerWithoutRowIsReadOnly", 1, 0, noRow, dead, true, false, false, false, false,
     Text::OneServer},
    {"OneServerUnreachable", 1, 0, dead, dead, false, false, false, false, false, Text::OneServer},
    {"AutonomousSecondAt2Works", 2, 2, row(0, 1, 0), row(2, 0, 0), true, true, false, true, true,
     Text::NoReserve},
    {"AutonomousFirstAt2Works", 2, 2, row(2, 0, 1), row(0, 1, 0), true, true, false, false, false,
     Text::NoReserve},
};

class SupervisionStates_Postgres : public TwoServers {
protected:
    QString prepare(const PgServer &server, const Srv &srv)
    {
        if (!srv.reachable)
            return deadServer();
        if (srv.row)
            setSrv(server, srv.main, srv.second, srv.ro);
        return server.connectString();
    }
    void check(const StateCase &c);
};
} // namespace

// One test over the table: the two servers are started once for all rows.
TEST_F(SupervisionStates_Postgres, StartFindsTheStateOfEveryRow)
{
    for (const StateCase &c : stateCases) {
        SCOPED_TRACE(c.name);
        check(c);
    }
}

void SupervisionStates_Postgres::check(const StateCase &c)
{
    clearSrv(a());
    clearSrv(b());
    const QString connA = prepare(a(), c.first);
    const QString connB = c.servers == 2 ? prepare(b(), c.second) : QString();
    TFOracleBase *base = start(connA, connB, QStringLiteral("C_Server=%1\n").arg(c.cServer));

    EXPECT_FALSE(base->ResetPowerDB);
    EXPECT_EQ(base->IsCountServer, c.servers - 1);
    EXPECT_EQ(base->Is_Connect_A, c.isConnectA);
    EXPECT_EQ(base->Is_Connect_, c.isConnectA);
    EXPECT_EQ(WriteToSRV, c.writeToSRV);
    EXPECT_EQ(WriteToRezerv, c.writeToRezerv);
    EXPECT_EQ(WriteToHour, c.writeToHour);
    EXPECT_EQ(base->ADatabase->LogonDatabase(), c.swapped ? connB : connA);
    if (c.servers == 2) {
        EXPECT_EQ(base->BDatabase->LogonDatabase(), c.swapped ? connA : connB);
    }
    // Mirrored means the reserve's session is open for the second runs.
    EXPECT_EQ(base->Is_Connect_B, c.writeToRezerv);
    EXPECT_EQ(base->BDatabase->Connected(), c.writeToRezerv);
    EXPECT_EQ(base->SyncObj != nullptr, true);
    EXPECT_EQ(base->ReservThread != nullptr, c.servers == 2);

    const QString working = base->ADatabase->LogonDatabase();
    const QString q = QStringLiteral("\"");
    switch (c.text) {
    case Text::TwoServers:
        EXPECT_EQ(ServerStatusText(), "   Два сервера. Основной: " + q + working + q + "   ");
        break;
    case Text::NoReserve:
        EXPECT_EQ(ServerStatusText(),
                  "   Нет горячего резерва. Работаю с: " + q + working + q + "   ");
        break;
    case Text::OneServer:
        EXPECT_EQ(ServerStatusText(), "   postgres@" + working + "   ");
        break;
    }

    // A step on the state found changes nothing.
    EXPECT_EQ(supervisionStep(), c.isConnectA);
    EXPECT_EQ(WriteToSRV, c.writeToSRV);
    EXPECT_EQ(WriteToRezerv, c.writeToRezerv);
    EXPECT_EQ(base->ADatabase->LogonDatabase(), c.swapped ? connB : connA);
    stop();
}
