#include "app/F_Quorvel.h"
#include "db/OracleBase.h"
#include "db/OracleSession.h"
#include "db/StatusBarPainting.h"
#include "tests/db/SupervisionFixture.h"

#include <QApplication>
#include <QLabel>
#include <QStatusBar>

#include <gtest/gtest.h>

// The main window's status bar over a server pair follows the supervision's steps.

namespace {
class MainWindowStatus_Gui_Postgres : public TwoServers {};

QString panelText(QStatusBar *bar)
{
    return StatusPanel0(bar)->text();
}
} // namespace

TEST_F(MainWindowStatus_Gui_Postgres, TheReserveTakingOverIsShownAtTheNextStep)
{
    const QString q = QStringLiteral("\"");
    setSrv(a(), 0, 1, 0);
    setSrv(b(), 1, 0, 0);
    TFOracleBase *base = start(a().connectString(), b().connectString());
    TF_Quorvel window;
    window.show();
    QStatusBar *bar = window.statusBar();
    EXPECT_EQ(panelText(bar), "   Два сервера. Основной: " + q + a().connectString() + q + "   ");
    EXPECT_EQ(bar->palette().color(QPalette::Window),
              QApplication::palette().color(QPalette::Button));

    a().stop();
    // The site's switch-over: the reserve now records itself as the main server.
    setSrv(b(), 0, 1, 0);
    int steps = 0;
    while (base->ADatabase->LogonDatabase() != b().connectString() && steps < 10) {
        ++steps;
        base->TimerAutoConnectTimer();
        ASSERT_TRUE(waitUntil(probesQuiet));
    }
    ASSERT_EQ(base->ADatabase->LogonDatabase(), b().connectString()) << steps << " steps";
    EXPECT_EQ(panelText(bar),
              "   Нет горячего резерва. Работаю с: " + q + b().connectString() + q + "   ");
    EXPECT_EQ(bar->currentMessage(), "");

    // No main server at all: the search is shown in red.
    setSrv(b(), 1, 1, 0);
    base->TimerAutoConnectTimer();
    ASSERT_TRUE(waitUntil(probesQuiet));
    EXPECT_EQ(bar->currentMessage(), "Идет поиск основного сервера!");
    EXPECT_EQ(bar->palette().color(QPalette::Window), QColor(255, 0, 0));
}
