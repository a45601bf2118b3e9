#include "evaluation/StatisticsJson.h"

#include "data/DateTime.h"

#include <nlohmann/json.hpp>

#include <cstdio>

namespace {
using Json = nlohmann::ordered_json;

constexpr const char* DirectionKeys[DirectionGroups] = {"1", "2", "both"};
constexpr const char* ClassKeys[StatisticsClassCount] = {"all", "pkw", "lkw", "lz"};

template <typename T> Json OrNull(const std::optional<T>& v) {
    return v ? Json(*v) : Json(nullptr);
}

// Speeds of single vehicles are whole km/h and are written as such.
Json Speed(const std::optional<double>& v, bool whole) {
    if (!v)
        return nullptr;
    return whole ? Json(static_cast<long long>(*v)) : Json(*v);
}

Json Range(const std::optional<Interval95>& ci, bool whole) {
    if (!ci)
        return nullptr;
    return Json::array({Speed(ci->Lower, whole), Speed(ci->Upper, whole)});
}

Json GroupJson(const SpeedGroupFigures& g, bool whole) {
    Json j;
    j["direction"] = DirectionKeys[g.DirectionGroup];
    j["class"] = ClassKeys[static_cast<int>(g.Class)];
    j["n"] = OrNull(g.Count);
    j["mean"] = OrNull(g.Mean);
    j["sd"] = OrNull(g.StandardDeviation);
    j["v15"] = Speed(g.V15, whole);
    j["v50"] = Speed(g.V50, whole);
    j["v85"] = Speed(g.V85, whole);
    j["v95"] = Speed(g.V95, whole);
    j["vLower"] = Speed(g.VLower, whole);
    j["vUpper"] = Speed(g.VUpper, whole);
    j["v50Ci"] = Range(g.V50Interval, whole);
    j["v85Ci"] = Range(g.V85Interval, whole);
    j["pace"] = g.Pace ? Json{{"from", g.Pace->From},
                              {"to", g.Pace->From + 9},
                              {"n", g.Pace->Count},
                              {"share", g.Pace->Share}}
                       : Json(nullptr);
    if (g.Above) {
        j["above"] = Json::array();
        for (const ThresholdShare& a : *g.Above) {
            Json ci = a.Interval ? Json::array({a.Interval->Lower, a.Interval->Upper}) : Json(nullptr);
            j["above"].push_back(
                {{"threshold", a.Threshold}, {"n", a.Count}, {"share", OrNull(a.Share)}, {"ci", ci}});
        }
    } else {
        j["above"] = nullptr;
    }
    if (g.FreeFlow) {
        const FreeFlowFigures& f = *g.FreeFlow;
        j["freeFlow"] = {{"n", f.Count},
                         {"v85", Speed(f.V85, whole)},
                         {"v85Ci", Range(f.V85Interval, whole)},
                         {"shareAboveLimit", OrNull(f.ShareAboveLimit)}};
    } else {
        j["freeFlow"] = nullptr;
    }
    return j;
}

std::string IsoDate(double t) {
    const DateTimeParts p = DecodeDateTime(t);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", p.Year, p.Month, p.Day);
    return text;
}

Json DirectionCounts(const std::optional<double> (&values)[DirectionGroups]) {
    Json j;
    for (int d = 0; d < DirectionGroups; ++d)
        j[DirectionKeys[d]] = OrNull(values[d]);
    return j;
}

Json ProfileJson(const std::array<ProfileHour, 24>& hours) {
    Json j = Json::array();
    for (const ProfileHour& h : hours) {
        Json hour = DirectionCounts(h.Mean);
        hour["heavyShare"] = OrNull(h.HeavyShare);
        j.push_back(hour);
    }
    return j;
}
} // namespace

std::string IsoDateTime(double t) {
    const DateTimeParts p = DecodeDateTime(t);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", p.Year, p.Month, p.Day, p.Hour,
                  p.Minute, p.Second);
    return text;
}

std::string StatisticsJson(const TrafficStatistics& s, const StatisticsSource& source,
                           const LengthThresholds& lengths) {
    const bool whole = s.SingleVehicles;
    Json j;
    j["file"] = source.FileName;
    j["sha256"] = source.Sha256;
    j["dataMode"] = s.SingleVehicles ? "vehicles" : "intervals";
    j["vehicles"] = s.Vehicles;
    j["settings"] = {{"pkw", lengths.PkwMinLength}, {"lkw", lengths.LkwMinLength},
                     {"lz", lengths.LzMinLength},   {"limit", s.Limit},
                     {"thresholds", s.Thresholds},  {"freeFlowGap", s.FreeFlowGapSeconds}};
    j["groups"] = Json::array();
    for (const SpeedGroupFigures& g : s.Groups)
        j["groups"].push_back(GroupJson(g, whole));
    j["days"] = Json::array();
    for (const DayFigures& d : s.Days) {
        j["days"].push_back({{"date", IsoDate(d.Date)},
                             {"weekday", d.Weekday},
                             {"complete", d.Complete},
                             {"n", {{"1", d.Count[0]}, {"2", d.Count[1]}, {"both", d.Count[2]}}},
                             {"heavy", d.Heavy},
                             {"v85", Speed(d.V85, whole)},
                             {"shareAboveLimit", OrNull(d.ShareAboveLimit)}});
    }
    constexpr const char* AdtKeys[3] = {"all", "workdays", "weekend"};
    for (int a = 0; a < 3; ++a) {
        Json adt = DirectionCounts(s.Adt[a].Mean);
        adt["days"] = s.Adt[a].Days;
        j["adt"][AdtKeys[a]] = adt;
    }
    constexpr const char* ProfileKeys[DayGroupCount] = {"workdays", "saturday", "sunday", "weekend", "all"};
    for (int g = 0; g < DayGroupCount; ++g)
        j["profile"][ProfileKeys[g]] = ProfileJson(s.Profile[static_cast<std::size_t>(g)]);
    j["hourly"] = Json::array();
    for (const HourFigures& h : s.Hourly)
        j["hourly"].push_back(
            {{"n", h.Count}, {"v85", Speed(h.V85, whole)}, {"shareAboveLimit", OrNull(h.ShareAboveLimit)}});
    j["peakHours"] = Json::array();
    for (const PeakHour& p : s.PeakHours)
        j["peakHours"].push_back({{"direction", DirectionKeys[p.DirectionGroup]},
                                  {"part", p.Afternoon ? "pm" : "am"},
                                  {"start", IsoDateTime(p.Start)},
                                  {"n", p.Count},
                                  {"phf", p.Factor}});
    Json gaps = Json::array();
    for (const DataGap& g : s.Quality.Gaps)
        gaps.push_back({{"from", IsoDateTime(g.From)}, {"to", IsoDateTime(g.To)}, {"minutes", g.Minutes}});
    j["quality"] = {{"gaps", gaps},
                    {"implausible", OrNull(s.Quality.Implausible)},
                    {"shortHeadways", OrNull(s.Quality.ShortHeadways)},
                    {"outOfOrder", OrNull(s.Quality.OutOfOrder)}};
    return j.dump();
}
