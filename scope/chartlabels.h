// What the live charts tell the operator besides their traces: a legend
// naming each trace for the graph source, the unit of the y axis, and a time
// axis from the measured time between refreshes.
#pragma once

// Names the traces and the y axis of the chart the graph source draws on.
void LabelChartsOfGraphSource();
// Takes the time of a refresh of PANEL_RAWCHART or PANEL_NORMCHART and
// labels its x axis: seconds before now once the time between refreshes is
// known, points before that.
void NoteChartRefresh(int chart);
