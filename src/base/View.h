#pragma once
// The four views of a measurement: the vehicle list, the interval list, the chart and the summary.
// Saving, exporting, printing and the main window's controls all go by the view that is shown.

enum class View { None, VehicleList, IntervalList, Chart, Summary };
