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

// Shows the chart the graph source draws on and sets `type` to match:
// sources 0 and 1 the raw chart, any other the normalised one.
void ShowChartOfGraphSource();
