#pragma once
// What a chart view puts into the chart: a plain description that the chart widget, the printer,
// the picture writers and `korvelan2-cli chart --json` all draw or print from.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct Rgb {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// "#rrggbb"
std::string HexColour(const Rgb& colour);

struct ChartSeries {
    std::vector<double> Values; // one per bar
    Rgb Colour;
};

// How bar values are labelled (chart options "nein", "Rand", "Balken").
enum class ValueLabelMode { None, Edge, Bars };

// Appearance that belongs to the chart, not to a view: it survives every redraw.
struct ChartAppearance {
    bool View3D = true;
    ValueLabelMode ValueLabels = ValueLabelMode::None;
};

struct ChartDescription {
    int AxisKind = 1; // 1: the left axis counts vehicles, 2: it is a speed in km/h
    std::string Title;
    std::vector<std::string> Foot; // two lines, left-aligned
    double LeftAxisMax = 172;
    std::string LeftAxisTitle;
    bool RightAxisVisible = false; // the speed-limit line and its label
    std::optional<double> Limit;   // km/h, when the right axis is visible and the limit lies
                                   // inside the left axis range (else no line is drawn)
    std::string RightAxisTitle;
    std::string BottomAxisTitle;
    std::vector<std::string> Labels;      // bottom-axis label of each bar (Series1 point labels)
    std::vector<std::string> ValueLabels; // value label of each bar (Series4 point labels)
    std::vector<ChartSeries> Series;      // Series1, Series2, Series3 as the view fills them, stacked
    Rgb ValueSeriesColour;                // Series4's colour
    bool PagingButtonsVisible = false;    // the time views page through the intervals
};

// The description as `korvelan2-cli chart --json` prints it: one object, no trailing newline.
std::string ChartDescriptionToJson(const ChartDescription& chart);
