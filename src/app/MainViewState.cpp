#include "app/MainViewState.h"

ViewControls ControlsOfView(View view) {
    ViewControls c;
    switch (view) {
    case View::None:
        break;
    case View::VehicleList:
        c.ListShown = true;
        c.FilterRangeEnabled = true;
        c.SaveMenuEnabled = true;
        c.FilteredSaveEnabled = true;
        break;
    case View::IntervalList:
        c.ListShown = true;
        c.FilterRangeEnabled = true;
        c.IntervalEnabled = true;
        c.SaveMenuEnabled = true;
        c.FilteredSaveEnabled = true;
        break;
    case View::Chart:
        c.ChartShown = true;
        c.IntervalEnabled = true;
        c.SaveMenuEnabled = true;
        break;
    case View::Summary:
        c.SummaryShown = true;
        c.SaveMenuEnabled = true;
        break;
    }
    return c;
}
