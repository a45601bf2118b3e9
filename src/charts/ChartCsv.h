#pragma once
// A chart as drawn, as a table: each bar's label, its stacked values and its value label.

#include "charts/ChartDescription.h"
#include "evaluation/CsvTables.h"

CsvTable ChartCsv(const ChartDescription& chart, CsvStyle style);
