#pragma once
// The single-vehicle list: its pages, the mark toggled by a double click and the record label
// shown while the scroll thumb is dragged (for both lists).

#include "data/LocaleFormat.h"
#include "data/MeasurementData.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class LanguageTexts;

// One line of the vehicle list: record number n, time, speed, length, direction, mark.
std::string VehicleLine(const VehicleRecord& record, int n,
                        const LocaleFormat& locale = SystemLocaleFormat());

// The vehicle list page from record `first`: text 81, an empty line, then records
// The page rule both lists follow: the header, an empty line, then the lines of records
// first..min(first + linesPerPage, count); a start beyond the data gives the header only.
std::vector<std::string> RenderListPage(const std::string& header, int first, int linesPerPage, int count,
                                        const std::function<std::string(int)>& lineOf);

// first..min(first + linesPerPage, WorkVehicleCount).
std::vector<std::string> RenderVehiclePage(const MeasurementData& data, int first, int linesPerPage,
                                           const LanguageTexts& texts,
                                           const LocaleFormat& locale = SystemLocaleFormat());

// The record shown on memo line `memoLine` (0-based: 0 header, 1 empty line, 2 the first data
// line = VehicleListTop). nullopt for the header, the empty line and lines beyond the data.
std::optional<int> RecordOfListLine(const MeasurementData& data, int memoLine);

// Marks or unmarks WorkVehicles[record] and keeps MarkedCount in step. Returns false (and changes
// nothing) when the record is not in 1..WorkVehicleCount.
bool ToggleMark(MeasurementData& data, int record);

// Text of the label `recordNumberLabel` while the scroll thumb is at `position`: the record number and
// the time of WorkIntervals[position] (interval list) or WorkVehicles[position] (vehicle list).
// A position outside the data shows the number only.
std::string RecordNumberText(const MeasurementData& data, int position, bool intervalList,
                             const LocaleFormat& locale = SystemLocaleFormat());
