#include "db/MesConnect.h"
#include "db/OracleBase.h"
#include "db/OracleSession.h"
#include "db/ServerStatus.h"
#include "db/StatusBarPainting.h"
#include "db/Supervision.h"
#include "db/UiThread.h"
#include "tests/db/SupervisionFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include <iostream>

// The waiting window while no main server is found, and the texts of the timer step.

namespace {
const QString autoConnect = QStringLiteral("[Timer_1]\nAutoConnect=1\n");

// Counts how often a window is shown.
class ShowCounter : public QObject {
public:
    int shows = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Show)
            ++shows;
        return false;
    }
};

class WaitingWindow_Gui_Postgres : public TwoServers {
protected:
    // Both servers say they are reserves: no main server.
    TFOracleBase *startWithoutMain()
    {
        setSrv(a(), 1, 1, 0);
        setSrv(b(), 1, 1, 0);
        TFOracleBase *base =
            start(a().connectString(), b().connectString(), QString(), autoConnect);
        EXPECT_TRUE(base->AutoConnect);
        EXPECT_FALSE(base->Is_Connect_A);
        EXPECT_TRUE(base->TimerAutoConnect->isActive());
        EXPECT_EQ(base->TimerAutoConnect->interval(), 1000);
        // Short steps for the test; the program's period stays one second.
        base->TimerAutoConnect->setInterval(20);
        return base;
    }
};

QColor statusColour(const QStatusBar &sb)
{
    return sb.palette().color(QPalette::Window);
}
} // namespace

TEST_F(WaitingWindow_Gui_Postgres, NoMainServerShowsTheWindowUntilTheMainServerIsFound)
{
    TFOracleBase *base = startWithoutMain();
    ASSERT_NE(FMesConnect, nullptr);
    EXPECT_FALSE(FMesConnect->isVisible());
    ASSERT_TRUE(waitUntil([] { return FMesConnect->isVisible(); }));
    EXPECT_EQ(FMesConnect->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(QApplication::activeModalWidget(), FMesConnect);

    // The look of the window.
    EXPECT_EQ(FMesConnect->size(), QSize(332, 138));
    EXPECT_EQ(FMesConnect->windowTitle(), "Обмен с сервером");
    EXPECT_TRUE(FMesConnect->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(FMesConnect->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(FMesConnect->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(FMesConnect->lNoMainSrv->text(), "Отсутсвует основной сервер баз данных ");
    EXPECT_EQ(FMesConnect->lNoMainSrv->palette().color(QPalette::WindowText), QColor(0, 255, 255));
    EXPECT_TRUE(FMesConnect->lNoMainSrv->font().bold());
    EXPECT_EQ(FMesConnect->Label2->text(), "Пожалуйста, подождите...");
    EXPECT_EQ(FMesConnect->Label2->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    EXPECT_EQ(FMesConnect->Label3->text(),
              "За дополнительной информацией обращайтесь к администратору ОИК! ");
    EXPECT_TRUE(FMesConnect->Label3->wordWrap());
    EXPECT_EQ(FMesConnect->Button1->text(), "Выход с программы");

    // The timer keeps probing while the window is up: a main server appears and is found.
    QElapsedTimer clock;
    clock.start();
    setSrv(a(), 0, 1, 0);
    ASSERT_TRUE(waitUntil([] { return !FMesConnect->isVisible(); }));
    std::cout << "[waiting window] closed " << clock.elapsed()
              << " ms after the main server appeared (steps every 20 ms)" << std::endl;
    EXPECT_TRUE(base->Is_Connect_A);
    EXPECT_TRUE(WriteToSRV);
    EXPECT_FALSE(FMesConnect->FshM);
}

TEST_F(WaitingWindow_Gui_Postgres, WindowNotActiveIsNotShownTwiceAndStillCloses)
{
    startWithoutMain();
    ShowCounter counter;
    FMesConnect->installEventFilter(&counter);
    ASSERT_TRUE(waitUntil([] { return FMesConnect->isVisible(); }));
    QWidget other;
    other.show();
    other.activateWindow();
    // The user switched to another window: the waiting window is visible but not active.
    ASSERT_TRUE(waitUntil([] { return !FMesConnect->FshM; }));
    int steps = 0;
    ASSERT_TRUE(waitUntil([&] {
        TimerConditionSRV(nullptr);
        return ++steps >= 5;
    }));
    EXPECT_TRUE(FMesConnect->isVisible());
    EXPECT_EQ(counter.shows, 1);
    setSrv(a(), 0, 1, 0);
    ASSERT_TRUE(waitUntil([] { return !FMesConnect->isVisible(); }));
    EXPECT_EQ(counter.shows, 1);
    FMesConnect->removeEventFilter(&counter);
}

TEST_F(WaitingWindow_Gui_Postgres, ExitButtonEndsTheProgram)
{
    startWithoutMain();
    ASSERT_TRUE(waitUntil([] { return FMesConnect->isVisible(); }));
    FMesConnect->Button1->click();
    EXPECT_TRUE(TerminateRequested());
}

TEST_F(WaitingWindow_Gui_Postgres, TimerStepTextsAndColours)
{
    setSrv(a(), 0, 1, 0);
    setSrv(b(), 1, 0, 0);
    TFOracleBase *base = start(a().connectString(), b().connectString());
    QStatusBar sb;
    const QString q = QStringLiteral("\"");
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);

    // Restarting: no probe, only the text.
    base->ResetPowerDB = true;
    TimerConditionSRV(&sb);
    EXPECT_EQ(sb.currentMessage(), "Программа в режиме перезагрузки!");
    base->ResetPowerDB = false;

    // Working, mirrored: the search and view texts go, the colour is the button face.
    sb.showMessage(QStringLiteral("Идет поиск основного сервера!"));
    TimerConditionSRV(&sb);
    EXPECT_EQ(sb.currentMessage(), "");
    EXPECT_EQ(statusColour(sb), buttonFace);
    const QString panel = "   Два сервера. Основной: " + q + a().connectString() + q + "   ";
    EXPECT_EQ(StatusPanel0(&sb)->text(), panel);
    EXPECT_EQ(StatusPanel0(&sb)->width(), QFontMetrics(sb.font()).horizontalAdvance(panel));
    // Another text stays.
    sb.showMessage(QStringLiteral("Отчет сформирован"));
    TimerConditionSRV(&sb);
    EXPECT_EQ(sb.currentMessage(), "Отчет сформирован");

    // View mode.
    setSrv(a(), 0, 1, 2);
    TimerConditionSRV(&sb);
    EXPECT_FALSE(WriteToSRV);
    EXPECT_EQ(sb.currentMessage(), "Программа в режиме просмотра!");
    EXPECT_EQ(statusColour(sb), QColor(0, 128, 0));
    // The panel was written before the step's probe; the next writing shows the new state.
    EXPECT_EQ(StatusPanel0(&sb)->text(), panel);
    NameSRVToSB(&sb);
    EXPECT_EQ(StatusPanel0(&sb)->text(),
              "   Нет горячего резерва. Работаю с: " + q + a().connectString() + q + "   ");
    setSrv(a(), 0, 1, 0);
    TimerConditionSRV(&sb);
    EXPECT_EQ(sb.currentMessage(), "");

    // Searching: no main server (no waiting window without AutoConnect).
    setSrv(a(), 1, 1, 0);
    setSrv(b(), 1, 1, 0);
    TimerConditionSRV(&sb);
    EXPECT_EQ(sb.currentMessage(), "Идет поиск основного сервера!");
    EXPECT_EQ(statusColour(sb), QColor(255, 0, 0));
    EXPECT_EQ(FMesConnect, nullptr);

    // The user part, and the second form.
    User_All_Name = QStringLiteral("Иванов И. И.");
    NameSRVToSB(&sb);
    EXPECT_EQ(StatusPanel0(&sb)->text(), "   Нет горячего резерва. Работаю с: " + q +
                                             a().connectString() + q + "   Пользователь: " + q +
                                             "Иванов И. И." + q + "   ");
    User_All_Name = QString();
    NameSRVToSB(&sb, QStringLiteral("не используется"));
    EXPECT_EQ(StatusPanel0(&sb)->text(), "   Два сервера. Основной: " + q + a().connectString() +
                                             q + "   Пользователь: " + q + q + "   ");
}
