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
    std::string Name = {}; // legend entry; empty: the series has none
};

// How the series of a bar chart share a bar's slot.
enum class BarArrangement { Stacked, SideBySide };

struct ChartPoint {
    double X = 0; // bar charts: the bar index (0 is the first bar's centre); else a bottom-axis value
    double Y = 0; // on the axis the line belongs to
};

// A line drawn over the plot, on the left axis or on the right-hand value scale.
struct ChartLine {
    std::string Name; // legend entry
    Rgb Colour;
    bool OnRightScale = false;
    std::vector<ChartPoint> Points; // in drawing order; a gap in the data is a separate line
};

// A point marked on a line, with a short text beside it ("V85 = 62").
struct ChartMark {
    ChartPoint At;
    std::string Label;
    Rgb Colour;
};

// A line across the whole plot at one bottom-axis value (a speed limit on a speed axis).
struct ChartVerticalLine {
    double X = 0;
    std::string Label;
    Rgb Colour;
};

// The range of a numbered axis: the right-hand value scale, or a bottom axis of values instead of
// bar labels.
struct ChartScale {
    double Min = 0;
    double Max = 100;
};

// How bar values are labelled (chart options "nein", "Rand", "Balken").
enum class ValueLabelMode { None, Edge, Bars };

// Appearance that belongs to the chart, not to a view: it survives every redraw.
struct ChartAppearance {
    bool View3D = true;
    ValueLabelMode ValueLabels = ValueLabelMode::None;
};

struct ChartDescription {
    int AxisKind = 1; // 1: the left axis counts vehicles, 2: it is a speed in km/h, 3: percent
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

    // Used by the statistics views only; the defaults leave a chart as it always was.
    BarArrangement Arrangement = BarArrangement::Stacked;
    std::optional<ChartScale> RightScale; // values of lines on the right; not the limit's label
    std::string RightScaleTitle;
    std::optional<ChartScale> BottomScale; // a value axis at the bottom: lines only, no bars
    std::vector<ChartLine> Lines;
    std::vector<ChartMark> Marks;
    std::optional<ChartVerticalLine> VerticalLine;
};

// The left axis of a chart in percent (0..100) rather than a count or speed.
inline constexpr int PercentAxisKind = 3;

// The description as `korvelan2-cli chart --json` prints it: one object, no trailing newline.
// Keys of the statistics views' additions appear only when a chart uses them.
std::string ChartDescriptionToJson(const ChartDescription& chart);
