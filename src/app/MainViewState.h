#pragma once
// Which of the main window's areas and commands belong to which view. The window sets its
// controls from this table when a view button is pressed.

#include "base/View.h"

struct ViewControls {
    bool ChartShown = false;   // chart tool bar and chart
    bool ListShown = false;    // list and its scroll bar
    bool SummaryShown = false; // summary text
    bool FilterRangeEnabled = false;
    bool IntervalEnabled = false;
    bool SaveMenuEnabled = false;     // "Speichern" and the save button
    bool FilteredSaveEnabled = false; // "gefiltert speichern"
};

ViewControls ControlsOfView(View view);

// 5, 15, 30 or 60 minutes for the interval factors 1, 3, 6, 12.
constexpr int MinutesOfFactor(int intervalFactor) {
    return 5 * intervalFactor;
}
// True for the four factors the interval menu offers.
constexpr bool IsIntervalFactor(int factor) {
    return factor == 1 || factor == 3 || factor == 6 || factor == 12;
}
