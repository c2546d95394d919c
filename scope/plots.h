// Chart refreshes of the live scope: one per answer, from the words in pp.
#pragma once

// Appends the newest raw record and redraws PANEL_RAWCHART.
void PlotRAWValues();
// Appends the newest band record to the 600-double history (arrayNORM) and
// redraws PANEL_NORMCHART.
void PlotNORMValues(double *history);

// The tolerance inputs back on tolA and tolB once the band is no longer
// drawn, so that nothing that reads the panel takes the band's tolerance.
void ShowParameterTolerances();

// The chart a graph source draws on: 0 the raw chart (sources 0 and 1),
// 1 the normalised one (any other source).
int ChartOfGraphSource(int source);
// Shows the chart the graph source draws on and sets `type` to match.
void ShowChartOfGraphSource();
// The refresh of chart 0 (PlotRAWValues) or 1 (PlotNORMValues of arrayNORM).
void PlotChart(int chart);
