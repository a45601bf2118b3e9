#include "charts/ChartDescription.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

std::string HexColour(const Rgb& colour) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text = "#";
    for (std::uint8_t part : {colour.R, colour.G, colour.B}) {
        text += digits[part >> 4];
        text += digits[part & 0x0F];
    }
    return text;
}

namespace {

using Json = nlohmann::ordered_json;

// Whole numbers as integers; others as the double nearest to their 15-digit form, so that a bar
// of 62.4 split at 50 reads 12.4 and not the last bits of the subtraction.
Json JsonNumber(double value) {
    if (!std::isfinite(value))
        return nullptr;
    if (value == std::trunc(value) && std::fabs(value) < 9.0e15)
        return static_cast<std::int64_t>(value);
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    double shortened = value;
    std::from_chars(buffer, written.ptr, shortened);
    return shortened;
}

Json JsonNumbers(const std::vector<double>& values) {
    Json array = Json::array();
    for (double v : values)
        array.push_back(JsonNumber(v));
    return array;
}

Json JsonScale(const ChartScale& scale) {
    return Json{{"min", JsonNumber(scale.Min)}, {"max", JsonNumber(scale.Max)}};
}

Json JsonPoint(const ChartPoint& point) {
    return Json::array({JsonNumber(point.X), JsonNumber(point.Y)});
}

Json JsonSeries(const ChartSeries& s) {
    Json series{{"values", JsonNumbers(s.Values)}, {"colour", HexColour(s.Colour)}};
    if (!s.Name.empty())
        series["name"] = s.Name;
    return series;
}

// The statistics views' additions, each only when present.
void AddStatisticsKeys(Json& object, const ChartDescription& chart) {
    if (chart.Arrangement == BarArrangement::SideBySide)
        object["bars"] = "sideBySide";
    if (chart.RightScale) {
        Json scale = JsonScale(*chart.RightScale);
        scale["title"] = chart.RightScaleTitle;
        object["rightScale"] = scale;
    }
    if (chart.BottomScale)
        object["bottomScale"] = JsonScale(*chart.BottomScale);
    if (!chart.Lines.empty()) {
        Json lines = Json::array();
        for (const ChartLine& line : chart.Lines) {
            Json points = Json::array();
            for (const ChartPoint& point : line.Points)
                points.push_back(JsonPoint(point));
            lines.push_back(Json{{"name", line.Name},
                                 {"colour", HexColour(line.Colour)},
                                 {"scale", line.OnRightScale ? "right" : "left"},
                                 {"points", points}});
        }
        object["lines"] = lines;
    }
    if (!chart.Marks.empty()) {
        Json marks = Json::array();
        for (const ChartMark& mark : chart.Marks)
            marks.push_back(
                Json{{"at", JsonPoint(mark.At)}, {"label", mark.Label}, {"colour", HexColour(mark.Colour)}});
        object["marks"] = marks;
    }
    if (chart.VerticalLine)
        object["verticalLine"] = Json{{"x", JsonNumber(chart.VerticalLine->X)},
                                      {"label", chart.VerticalLine->Label},
                                      {"colour", HexColour(chart.VerticalLine->Colour)}};
}

} // namespace

std::string ChartDescriptionToJson(const ChartDescription& chart) {
    Json series = Json::array();
    for (const ChartSeries& s : chart.Series)
        series.push_back(JsonSeries(s));

    Json object{
        {"axisKind", chart.AxisKind},
        {"title", chart.Title},
        {"foot", chart.Foot},
        {"leftAxis", Json{{"max", JsonNumber(chart.LeftAxisMax)}, {"title", chart.LeftAxisTitle}}},
        {"rightAxis", Json{{"visible", chart.RightAxisVisible},
                           {"limit", chart.Limit ? JsonNumber(*chart.Limit) : Json(nullptr)},
                           {"title", chart.RightAxisTitle}}},
        {"bottomAxisTitle", chart.BottomAxisTitle},
        {"labels", chart.Labels},
        {"valueLabels", chart.ValueLabels},
        {"series", series},
    };
    AddStatisticsKeys(object, chart);
    // Texts are UTF-8; a stray byte must not stop the output.
    return object.dump(-1, ' ', false, Json::error_handler_t::replace);
}
