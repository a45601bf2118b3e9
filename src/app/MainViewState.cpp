#include "app/MainViewState.h"

ViewControls ControlsOfView(MainView view) {
    ViewControls c;
    switch (view) {
    case MainView::None:
        break;
    case MainView::VehicleList:
        c.ListShown = true;
        c.FilterRangeEnabled = true;
        c.SaveMenuEnabled = true;
        c.FilteredSaveEnabled = true;
        break;
    case MainView::IntervalList:
        c.ListShown = true;
        c.FilterRangeEnabled = true;
        c.IntervalEnabled = true;
        c.SaveMenuEnabled = true;
        c.FilteredSaveEnabled = true;
        break;
    case MainView::Chart:
        c.ChartShown = true;
        c.IntervalEnabled = true;
        c.SaveMenuEnabled = true;
        break;
    case MainView::Summary:
        c.SummaryShown = true;
        c.SaveMenuEnabled = true;
        break;
    }
    return c;
}
