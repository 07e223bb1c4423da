#pragma once

#include "chart/ChartData.h"

#include <QStringList>

enum class TChartKind { Line, Bar };

// The chart a user chose for a report: its kind and the titles of the series shown.
struct TChartChoice {
    TChartKind Kind = TChartKind::Line;
    QStringList Shown;
    bool operator==(const TChartChoice &) const = default;
};

// Lines over a time axis or row numbers, bars over categories; every series shown.
TChartChoice DefaultChartChoice(const TChartData &Data);

// Whether a series is shown by the choice.
bool ChartShows(const TChartChoice &Choice, const TChartSeries &Series);

// The choice kept in TmpFile for the report with this catalog id (a section of its own, shared
// by the window and the unattended program), or the default when none is kept. Titles of
// series the result no longer has are dropped.
TChartChoice LoadChartChoice(int ReportId, const TChartData &Data);
// Keeps the choice for the report; raises EIniFileException when the file refuses the write.
void SaveChartChoice(int ReportId, const TChartChoice &Choice);
