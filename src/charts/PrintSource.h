#pragma once
// What the printout of a view reads: the measurement and texts of the evaluation context, the chart
// as drawn and the summary lines. Both fronts fill it from their context, so the printer and the
// PDF of the command line print the same.

#include "charts/ChartDescription.h"
#include "data/MeasurementData.h"

#include <string>
#include <vector>

class LanguageTexts;

struct PrintSource {
    const MeasurementData& Data;
    const LanguageTexts& Texts;
    const ChartDescription& Chart;
    ChartAppearance Appearance;
    std::vector<std::string> SummaryLines; // the summary's lines when the summary is printed
};
