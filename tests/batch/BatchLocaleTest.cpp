#include "tests/batch/BatchDb.h"
#include "tests/support/Readers.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

// The program reads the decimal separator and the date and time formats of the system locale
// at start-up; under a Russian locale the texts are those the system has always written.
namespace {
struct LocaleCase {
    const char *name;
    const char *locale;
    QStringList midnight; // the row of 01.03.2015 00:00
    QStringList withTime; // the row of 01.03.2015 08:30:05
};

class BatchLocale_Sqlite_Readers : public ::testing::TestWithParam<LocaleCase> {};

const LocaleCase localeCases[] = {
    {"russian", "ru_RU.UTF-8", {"1", "01.03.2015", "2,5"}, {"2", "01.03.2015 8:30:05", "1,25"}},
    {"british", "en_GB.UTF-8", {"1", "01/03/2015", "2.5"}, {"2", "01/03/2015 08:30:05", "1.25"}},
};
} // namespace

TEST_P(BatchLocale_Sqlite_Readers, ValueTextsFollowTheSystemLocale)
{
    BatchDb db;
    db.exec("INSERT INTO DATA VALUES ('2015-03-01 08:30:05', 5, 'утро');"
            "INSERT INTO QUORVEL_CAT VALUES (5, 'Доли', 1, 0);"
            "INSERT INTO QUORVEL VALUES (5, 'select dt d, v * 0.25 q from data where dt < "
            "''2015-03-02'' order by dt', 'Дата,Доля', '90,60', 'C,R', '', '')");
    const TempDir out;
    QString err;
    ASSERT_EQ(
        runProgramIn({{"LC_ALL", QString::fromLatin1(GetParam().locale)}}, QUORVEL_BATCH_PROGRAM,
                     {"run", BatchDb::login(), "--report", "5", "--from", "01.03.2015", "--to",
                      "01.03.2015", "--xls", out.file("a.xls"), "--workspace", db.folder()},
                     nullptr, &err),
        0)
        << err.toStdString();
    const XlsBookView book = readXlsWithXlrd(out.file("a.xls"));
    ASSERT_EQ(book.sheets.size(), 1) << book.error.toStdString();
    const QList<QStringList> rows = book.sheets[0].rows;
    ASSERT_GE(rows.size(), 3);
    EXPECT_EQ(rows[rows.size() - 2], GetParam().midnight);
    EXPECT_EQ(rows[rows.size() - 1], GetParam().withTime);
}

INSTANTIATE_TEST_SUITE_P(Locales, BatchLocale_Sqlite_Readers, ::testing::ValuesIn(localeCases),
                         [](const ::testing::TestParamInfo<LocaleCase> &param) {
                             return std::string(param.param.name);
                         });
