#include "batch/BatchOptions.h"

#include <gtest/gtest.h>

namespace {

const QDate Today(2015, 3, 3);

TEST(BatchOptions, RunTakesItsFilesInOrderAndDefaultsToYesterdayAndToday)
{
    const TBatchOptions o =
        ParseBatchArguments({"run", "u/p@A", "--report", "Сутки", "--xls", "a.xls", "--rtf",
                             "b.rtf", "--xls", "c.xls", "--workspace", "/w"},
                            Today);
    EXPECT_EQ(o.Command, TBatchCommand::Run);
    EXPECT_EQ(o.Login, "u/p@A");
    EXPECT_EQ(o.Report, "Сутки");
    EXPECT_EQ(o.Workspace, "/w");
    EXPECT_EQ(o.From, QDate(2015, 3, 2));
    EXPECT_EQ(o.To, Today);
    EXPECT_EQ(o.Outputs, (QList<TBatchOutput>{{TExportKind::Xls, "a.xls"},
                                              {TExportKind::Rtf, "b.rtf"},
                                              {TExportKind::Xls, "c.xls"}}));
}

TEST(BatchOptions, EveryFormatIsAnOutputAndPicturesAndPagesNeedQtGui)
{
    const QStringList args{"run",   "u/p",    "--report", "1",     "--xls", "a.xls", "--png",
                           "c.png", "--xlsx", "d.xlsx",   "--csv", "e.csv", "--pdf", "f.pdf"};
    EXPECT_EQ(ParseBatchArguments(args, Today).Outputs,
              (QList<TBatchOutput>{{TExportKind::Xls, "a.xls"},
                                   {std::nullopt, "c.png"},
                                   {TExportKind::Xlsx, "d.xlsx"},
                                   {TExportKind::Csv, "e.csv"},
                                   {TExportKind::Pdf, "f.pdf"}}));
    EXPECT_TRUE(BatchNeedsGui(args));
    EXPECT_TRUE(BatchNeedsGui({"run", "u/p", "--report", "1", "--pdf", "f.pdf"}));
    EXPECT_FALSE(BatchNeedsGui(
        {"run", "u/p", "--report", "1", "--xls", "png", "--xlsx", "x", "--csv", "c"}));
}

TEST(BatchOptions, SendTakesPeriodAddressAndDryRunFolder)
{
    const TBatchOptions o = ParseBatchArguments({"send", "u/p", "--from", "1.3.2015", "--to",
                                                 "31.03.2015", "--only", "a@b", "--dry-run", "d"},
                                                Today);
    EXPECT_EQ(o.Command, TBatchCommand::Send);
    EXPECT_EQ(o.From, QDate(2015, 3, 1));
    EXPECT_EQ(o.To, QDate(2015, 3, 31));
    EXPECT_EQ(o.Only, "a@b");
    EXPECT_TRUE(o.DryRun);
    EXPECT_EQ(o.DryRunFolder, "d");
}

TEST(BatchOptions, RetryLogAndPasswordFile)
{
    const TBatchOptions send =
        ParseBatchArguments({"send", "u@A", "--retry-failed", "--password-file", "/etc/pw"}, Today);
    EXPECT_TRUE(send.RetryFailed);
    EXPECT_EQ(send.PasswordFile, "/etc/pw");
    const TBatchOptions log = ParseBatchArguments({"log", "u@A", "--since", "01.03.2015"}, Today);
    EXPECT_EQ(log.Command, TBatchCommand::Log);
    EXPECT_EQ(log.Since, QDate(2015, 3, 1));
    EXPECT_FALSE(ParseBatchArguments({"log", "u@A"}, Today).Since.isValid());
}

struct BadLine {
    const char *name;
    QStringList args;
    const char *says;
};

class BatchOptionsRefused : public ::testing::TestWithParam<BadLine> {};

TEST_P(BatchOptionsRefused, WithTheReason)
{
    try {
        ParseBatchArguments(GetParam().args, Today);
        FAIL() << "accepted";
    } catch (const EBatchUsage &e) {
        EXPECT_EQ(QString::fromStdString(e.what()), QString::fromUtf8(GetParam().says));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BatchOptionsRefused,
    ::testing::Values(
        BadLine{"NoLogin", {"send"}, "a command and a login are needed"},
        BadLine{"UnknownCommand", {"mail", "u/p"}, "unknown command \"mail\""},
        BadLine{"RunWithoutReport", {"run", "u/p", "--xls", "a"}, "run needs --report"},
        BadLine{"RunWithoutFile",
                {"run", "u/p", "--report", "1"},
                "run needs at least one file: --xls, --xlsx, --rtf, --csv, --pdf or --png"},
        BadLine{"MissingValue", {"run", "u/p", "--report"}, "--report needs a value"},
        BadLine{
            "OptionAsValue", {"send", "u/p", "--only", "--dry-run", "d"}, "--only needs a value"},
        BadLine{"NotADate",
                {"send", "u/p", "--from", "2015-03-01"},
                "--from takes a date as DD.MM.YYYY, not \"2015-03-01\""},
        BadLine{"NoSuchDay",
                {"send", "u/p", "--to", "31.02.2015"},
                "--to takes a date as DD.MM.YYYY, not \"31.02.2015\""},
        BadLine{"SendOptionForRun",
                {"run", "u/p", "--report", "1", "--xls", "a", "--only", "x"},
                "unknown option \"--only\" for run"},
        BadLine{
            "RunOptionForSend", {"send", "u/p", "--xls", "a"}, "unknown option \"--xls\" for send"},
        BadLine{"PdfForSend", {"send", "u/p", "--pdf", "a"}, "unknown option \"--pdf\" for send"},
        BadLine{"RetryForRun",
                {"run", "u/p", "--report", "1", "--xls", "a", "--retry-failed"},
                "unknown option \"--retry-failed\" for run"},
        BadLine{"SinceForSend",
                {"send", "u/p", "--since", "1.1.2015"},
                "unknown option \"--since\" for send"},
        BadLine{"PeriodForLog",
                {"log", "u/p", "--from", "1.1.2015"},
                "unknown option \"--from\" for log"}),
    [](const auto &c) { return std::string(c.param.name); });

} // namespace
