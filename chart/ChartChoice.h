#pragma once

#include "chart/ChartData.h"

#include <QStringList>

enum class TChartKind { Line, Bar };

// The chart a user chose for a report: its kind, the titles of the series shown and the title
// of the column that splits them (empty for none).
struct TChartChoice {
    TChartKind Kind = TChartKind::Line;
    QStringList Shown;
    QString SplitBy;
    bool operator==(const TChartChoice &) const = default;
};

// Lines over a time axis or row numbers, bars over categories; every series shown, or of split
// data the series of the first numeric column.
TChartChoice DefaultChartChoice(const TChartData &Data);

// Whether a series is shown by the choice.
bool ChartShows(const TChartChoice &Choice, const TChartSeries &Series);

// The choice kept in TmpFile for the report with this catalog id (a section of its own, shared
// by the window and the unattended program), or the default when none is kept. Titles of
// series the result no longer has are dropped; the split is the data's.
TChartChoice LoadChartChoice(int ReportId, const TChartData &Data);

// The chart of a report's result as kept for it (ReportId below 0: nothing kept): split by the
// column kept, else by the suggested one (SuggestedChartSplit), with the kind and series kept,
// else the default ones.
struct TChartPlan {
    TChartData Data;
    TChartChoice Choice;
};
TChartPlan PlanChart(const TReportResult &Result, int ReportId);
// Keeps the choice for the report; raises EIniFileException when the file refuses the write.
void SaveChartChoice(int ReportId, const TChartChoice &Choice);
