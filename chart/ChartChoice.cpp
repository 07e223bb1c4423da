#include "chart/ChartChoice.h"

#include "common/TempTmp.h"

#include <QObject>

namespace {

const QString KindKey = QStringLiteral("Kind");
const QString CountKey = QStringLiteral("Series");
const QString SplitKey = QStringLiteral("SplitBy");

QString seriesKey(int k)
{
    return CountKey + QString::number(k + 1);
}

// The report's section: named by its id alone, so that both programs read the same one.
class TChartSection {
public:
    explicit TChartSection(int ReportId) : tmp_(&anchor_)
    {
        tmp_.setSectionName(QStringLiteral("Chart.") + QString::number(ReportId));
    }
    TTempTmp &operator*() { return tmp_; }
    TTempTmp *operator->() { return &tmp_; }

private:
    QObject anchor_;
    TTempTmp tmp_;
};

} // namespace

TChartChoice DefaultChartChoice(const TChartData &Data)
{
    TChartChoice choice;
    choice.Kind = Data.Axis == TChartAxis::Category ? TChartKind::Bar : TChartKind::Line;
    // Split, a column's values make many series: those of the first column come first.
    for (const TChartSeries &s : Data.Series)
        if (Data.SplitColumn < 0 || s.Column == Data.Series.front().Column)
            choice.Shown << s.Title;
    choice.SplitBy = Data.SplitBy;
    return choice;
}

bool ChartShows(const TChartChoice &Choice, const TChartSeries &Series)
{
    return Choice.Shown.contains(Series.Title);
}

TChartChoice LoadChartChoice(int ReportId, const TChartData &Data)
{
    TChartSection section(ReportId);
    const QString kind = section->ReadString(KindKey, QString());
    if (kind.isEmpty())
        return DefaultChartChoice(Data);
    TChartChoice choice;
    choice.Kind = kind == QLatin1String("Bar") ? TChartKind::Bar : TChartKind::Line;
    choice.SplitBy = Data.SplitBy;
    const int count = section->ReadInteger(CountKey, 0);
    for (int k = 0; k < count; ++k) {
        const QString title = section->ReadString(seriesKey(k), QString());
        for (const TChartSeries &s : Data.Series)
            if (s.Title == title && !choice.Shown.contains(title))
                choice.Shown << title;
    }
    return choice;
}

void SaveChartChoice(int ReportId, const TChartChoice &Choice)
{
    TChartSection section(ReportId);
    section->EraseSection();
    section->WriteString(KindKey, Choice.Kind == TChartKind::Bar ? QStringLiteral("Bar")
                                                                 : QStringLiteral("Line"));
    section->WriteInteger(CountKey, int(Choice.Shown.size()));
    for (int k = 0; k < Choice.Shown.size(); ++k)
        section->WriteString(seriesKey(k), Choice.Shown[k]);
    section->WriteString(SplitKey, Choice.SplitBy);
}

TChartPlan PlanChart(const TReportResult &Result, int ReportId)
{
    TChartData data = ReadChartData(Result);
    QString split = SuggestedChartSplit(data);
    if (ReportId >= 0) {
        TChartSection section(ReportId);
        // A kept choice keeps its split, none included.
        if (!section->ReadString(KindKey, QString()).isEmpty())
            split = section->ReadString(SplitKey, QString());
    }
    data = SplitChartData(Result, std::move(data), split);
    TChartChoice choice =
        ReportId >= 0 ? LoadChartChoice(ReportId, data) : DefaultChartChoice(data);
    return {std::move(data), std::move(choice)};
}
