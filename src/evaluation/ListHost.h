#pragma once
// What the non-modal time range and filter dialogs need of the main window that shows the lists.
// The main window implements it; tests can implement it without a window.

class ListHost {
public:
    virtual ~ListHost() = default;

    // 0-based line of the list (`listView`) that holds the text cursor: 0 is the header line,
    // 1 the empty line, 2 the first data line.
    virtual int ListCursorLine() const = 0;
    // `ShowVehicleList`: the vehicle list from record 1.
    virtual void ShowVehicleList() = 0;
    // `RenderVehiclePage` from `VehicleListTop`: the page stays where it was.
    virtual void RedrawVehiclePage() = 0;
    // `ShowIntervalList`: the interval list from record 1.
    virtual void ShowIntervalList() = 0;
    // The interval selection of the interval tool button: 1, 3, 6 or 12.
    virtual int IntervalFactor() const = 0;
    // Sets the interval selection (and the button's picture) without joining anything.
    virtual void SetIntervalFactor(int factor) = 0;
    // Shows or hides the main tool bar `mainToolBar`.
    virtual void SetMainToolBarVisible(bool visible) = 0;
};
