#include "evaluation/ComparisonJson.h"

#include <nlohmann/json.hpp>

#include <cmath>

namespace {
using Json = nlohmann::ordered_json;

constexpr const char* DirectionKeys[DirectionGroups] = {"1", "2", "both"};
constexpr const char* ClassKeys[StatisticsClassCount] = {"all", "pkw", "lkw", "lz"};
constexpr const char* AdtKeys[3] = {"all", "workdays", "weekend"};

template <typename T> Json OrNull(const std::optional<T>& v) {
    return v ? Json(*v) : Json(nullptr);
}

// Speeds of single vehicles are whole km/h, and so are their differences: written as such.
Json FigureJson(const std::optional<ComparedFigure>& f, bool whole = false) {
    if (!f)
        return nullptr;
    const auto number = [whole](double v) { return whole ? Json(std::llround(v)) : Json(v); };
    return Json::array({number(f->Before), number(f->After), number(f->Difference), number(f->Lower),
                        number(f->Upper), f->Clear});
}

Json SideJson(const StatisticsSource& source, long long vehicles) {
    return {{"file", source.FileName}, {"sha256", source.Sha256}, {"vehicles", vehicles}};
}

Json GroupJson(const GroupComparison& g, bool wholeSpeeds) {
    Json j;
    j["direction"] = DirectionKeys[g.DirectionGroup];
    j["class"] = ClassKeys[static_cast<int>(g.Class)];
    j["nBefore"] = OrNull(g.CountBefore);
    j["nAfter"] = OrNull(g.CountAfter);
    Json above = Json::array();
    for (const ComparedThreshold& t : g.Above)
        above.push_back({{"threshold", t.Threshold}, {"figure", FigureJson(t.Figure)}});
    j["raw"] = {{"v50", FigureJson(g.V50, wholeSpeeds)},
                {"v85", FigureJson(g.V85, wholeSpeeds)},
                {"freeFlowV85", FigureJson(g.FreeFlowV85, wholeSpeeds)},
                {"shareAboveLimit", FigureJson(g.ShareAboveLimit)},
                {"above", above}};
    j["matched"] = {{"v50", FigureJson(g.MatchedV50, wholeSpeeds)},
                    {"v85", FigureJson(g.MatchedV85, wholeSpeeds)},
                    {"shareAboveLimit", FigureJson(g.MatchedShareAboveLimit)},
                    {"droppedHours", g.DroppedHours}};
    return j;
}
} // namespace

std::string ComparisonJson(const Comparison& c, const StatisticsSource& before,
                           const StatisticsSource& after) {
    Json j;
    j["before"] = SideJson(before, c.VehiclesBefore);
    j["after"] = SideJson(after, c.VehiclesAfter);
    j["limit"] = c.Limit;
    j["thresholds"] = c.Thresholds;
    j["classBased"] = c.ClassBased;
    Json adt;
    for (int k = 0; k < 3; ++k) {
        Json kind;
        for (int d = 0; d < DirectionGroups; ++d) {
            const AdtComparison& a = c.Adt[static_cast<std::size_t>(k)][static_cast<std::size_t>(d)];
            kind[DirectionKeys[d]] = {
                {"before", OrNull(a.Before)}, {"after", OrNull(a.After)}, {"change", OrNull(a.Change)}};
        }
        adt[AdtKeys[k]] = kind;
    }
    j["adt"] = adt;
    j["groups"] = Json::array();
    for (const GroupComparison& g : c.Groups)
        j["groups"].push_back(GroupJson(g, !c.ClassBased));
    return j.dump();
}
