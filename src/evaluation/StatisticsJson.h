#pragma once
// The traffic statistics as one JSON object (the batch front's `stats --json`).

#include "evaluation/TrafficStatistics.h"

#include <string>

struct StatisticsSource {
    std::string FileName; // without its folder
    std::string Sha256;   // of the file's bytes
};

// One line of JSON; figures that do not exist are null, shares are fractions, times local ISO 8601.
std::string StatisticsJson(const TrafficStatistics& statistics, const StatisticsSource& source,
                           const LengthThresholds& lengths);

// A day count as local "YYYY-MM-DDThh:mm:ss".
std::string IsoDateTime(double t);
