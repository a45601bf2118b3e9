#pragma once
// The comparison of two measurements as one JSON object (the batch front's `compare --json`).

#include "evaluation/Comparison.h"
#include "evaluation/StatisticsJson.h"

#include <string>

// One line of JSON; each compared figure is [before, after, difference, lower, upper, clear], or
// null when a side lacks it.
std::string ComparisonJson(const Comparison& comparison, const StatisticsSource& before,
                           const StatisticsSource& after);
