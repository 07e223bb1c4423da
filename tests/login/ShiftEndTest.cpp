#include "login/ShiftEnd.h"
#include "db/OracleBase.h"
#include "login/SessionVariables.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QWidget>

#include <gtest/gtest.h>

namespace {
struct ShiftCase {
    QTime at;
    int dayOffset; // of the shift end from the day of the login
    QTime end;
};

const QDate loginDay(2015, 3, 5);

void PrintTo(const ShiftCase &c, std::ostream *os)
{
    *os << "At" << c.at.toString("HHmmss").toStdString();
}

class ShiftEnd : public ::testing::TestWithParam<ShiftCase> {};
} // namespace

TEST_P(ShiftEnd, EndsAtEightOrTwentyAfterTheNearestNoonOrMidnight)
{
    const ShiftCase &c = GetParam();
    for (const QDate day : {loginDay, loginDay.addDays(1)}) {
        const double end = ShiftEndOf(DateTimeToDays(QDateTime(day, c.at)));
        EXPECT_EQ(DaysToDateTime(end), QDateTime(day.addDays(c.dayOffset), c.end))
            << c.at.toString().toStdString() << " on " << day.toString().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Times, ShiftEnd,
                         ::testing::Values(ShiftCase{QTime(0, 0), 0, QTime(8, 0)},
                                           ShiftCase{QTime(5, 59, 59), 0, QTime(8, 0)},
                                           ShiftCase{QTime(6, 0), 0, QTime(8, 0)},
                                           ShiftCase{QTime(6, 0, 1), 0, QTime(20, 0)},
                                           ShiftCase{QTime(12, 0), 0, QTime(20, 0)},
                                           ShiftCase{QTime(17, 59, 59), 0, QTime(20, 0)},
                                           ShiftCase{QTime(18, 0), 1, QTime(8, 0)},
                                           ShiftCase{QTime(18, 0, 1), 1, QTime(8, 0)},
                                           ShiftCase{QTime(23, 59, 59), 1, QTime(8, 0)}),
                         [](const auto &p) {
                             return "At" + p.param.at.toString("HHmmss").toStdString();
                         });

TEST(ShiftDays, CountFromTheLastDayOf1899)
{
    EXPECT_EQ(DateTimeToDays(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_EQ(DateTimeToDays(QDateTime(loginDay, QTime(18, 0))), 42068.75);
    EXPECT_EQ(DaysToText(42068 + 20.0 / 24), "05.03.2015 20:00:00");
    EXPECT_EQ(DaysToText(42068), "05.03.2015");
}

namespace {
class ShiftCaption : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = TmpFile;
        TmpFile = dir_.file("Temp.tmp");
        form_.setWindowTitle("Регистрация");
    }
    void TearDown() override
    {
        TmpFile = saved_;
        SHOW_SMENA_PASSWORD = false;
        Val_smena = 0;
    }
    void writeTemp(const QByteArray &text)
    {
        QFile f(TmpFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    TempDir dir_;
    QString saved_;
    // As the login form shows it: the caption takes the text when there is one.
    void showShiftEnd(double N)
    {
        if (const std::optional<QString> title = Count_Val_smena(N))
            form_.setWindowTitle(*title);
    }

    QWidget form_;
};
} // namespace

TEST_F(ShiftCaption, ShiftPasswordsOnGiveTheShiftEnd)
{
    SHOW_SMENA_PASSWORD = true;
    showShiftEnd(DateTimeToDays(QDateTime(loginDay, QTime(9, 30))));
    EXPECT_EQ(DaysToDateTime(Val_smena), QDateTime(loginDay, QTime(20, 0)));
    EXPECT_EQ(form_.windowTitle(), "Регистрация") << "no SHOWTIME";
}

TEST_F(ShiftCaption, ShiftPasswordsOffPushTheEndTenThousandDaysAhead)
{
    SHOW_SMENA_PASSWORD = false;
    const double before = NowDays();
    showShiftEnd(DateTimeToDays(QDateTime(loginDay, QTime(9, 30))));
    EXPECT_GE(Val_smena, before + 10000);
    EXPECT_LE(Val_smena, NowDays() + 10000);
}

TEST_F(ShiftCaption, ShowTimePutsTheEndIntoTheCaption)
{
    writeTemp("[Login]\nNAME=ivanov\nSHOWTIME=1\n");
    SHOW_SMENA_PASSWORD = true;
    showShiftEnd(DateTimeToDays(QDateTime(loginDay, QTime(19, 0))));
    EXPECT_EQ(form_.windowTitle(), "06.03.2015 8:00:00");
}
