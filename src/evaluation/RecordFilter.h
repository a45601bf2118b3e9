#pragma once
// The record filter on the single-vehicle working set: marks the vehicles of a run that meet
// conditions on direction, length and speed, then removes the marked vehicles or keeps only them;
// "Datenfilter löschen" brings back every loaded vehicle. RecordFilterDialog is the dialog; the CLI's
// `--mark`, `--drop-marked` and `--keep-marked` call the same functions.

#include "data/MeasurementData.h"

#include <string>
#include <string_view>
#include <vector>

class LanguageTexts;

// The items of `speedComparison` and `lengthComparison`: " ", ">", "=", "<" (item indexes 0..3).
// NoItem is a box that shows none of its items: it lets no vehicle pass.
enum class ValueTest { Any = 0, Greater = 1, Equal = 2, Less = 3, NoItem = -1 };

// The items of `directionChoice`: "<=>", "==>", "<==" (item indexes 0..2).
enum class DirectionChoice { Both = 0, Direction1 = 1, Direction2 = 2, NoItem = -1 };

struct ValueCondition {
    ValueTest Compare = ValueTest::Any;
    int Value = 0; // whole km/h or metres; read only when Compare is >, = or <
};

// One "Daten markieren": a vehicle passes when all three tests pass.
struct MarkCondition {
    DirectionChoice Direction = DirectionChoice::Both;
    ValueCondition Length;
    ValueCondition Speed;
};

// Item index of a drop-down list (-1 or out of range: no item) to its choice.
ValueTest ValueTestOfItem(int itemIndex);
DirectionChoice DirectionOfItem(int itemIndex);

// The condition from the dialog's fields. A value field whose condition needs it must hold a whole
// number (blanks around it are allowed): else CoreError 441 (speed) or 442 (length).
MarkCondition MarkConditionFromFields(int speedItem, std::string_view speedText, int lengthItem,
                                      std::string_view lengthText, int directionItem);

// Adds one condition of the form speed>N, speed=N, speed<N, length>N, length=N, length<N, dir=1,
// dir=2 to a condition. CoreError 443 for any other text, 444 when that quantity already has one.
void AddMarkCondition(MarkCondition& condition, std::string_view text);
// All conditions together (every one must hold); no text gives the condition that passes all.
MarkCondition MarkConditionFromTexts(const std::vector<std::string>& texts);

// Whether one vehicle passes the three tests, tried in the order direction, length, speed.
bool PassesMarkCondition(const VehicleRecord& vehicle, const MarkCondition& condition);

// The run that "Daten markieren" examines.
struct FilterRun {
    int FilterStart = 1;
    int FilterStop = 0;
    friend bool operator==(const FilterRun&, const FilterRun&) = default;
};

// The whole working set: 1..WorkVehicleCount.
FilterRun WholeWorkingSet(const MeasurementData& data);

// Record number of the vehicle-list line that holds the cursor (0-based memo line: 0 header,
// 1 empty line, 2 the first data line showing VehicleListTop). Header and empty line give
// VehicleListTop; the result lies within 1..WorkVehicleCount (1 when there are no records).
int VehicleRecordAtLine(const MeasurementData& data, int cursorLine);

// `StartLabelClick`: FilterStart = record, but not after FilterStop.
FilterRun TakeFilterStart(FilterRun run, int record);
// `StopLabelClick`: FilterStop = record, but not before FilterStart.
FilterRun TakeFilterStop(FilterRun run, int record);

// "Daten markieren": marks the vehicles of the run (clamped to the working set) that pass;
// already marked ones stay marked, others keep their marks. Returns how many became marked
// (MarkedCount rose by that). CoreError 445 unless single-vehicle data are loaded.
int MarkVehicles(MeasurementData& data, const MarkCondition& condition, FilterRun run);

// "Markierte Daten löschen": keeps the unmarked vehicles, packed in order. "Markierte Daten
// verwenden": keeps only the marked ones, and does nothing (returns false) without marks. Both
// clear the marks, set MarkedCount 0 and IntervalRebuildPending 1; the caller then sets the
// interval selection to 5 minutes. CoreError 445 unless single-vehicle data are loaded.
void EraseMarkedVehicles(MeasurementData& data);
bool UseMarkedVehicles(MeasurementData& data);

// "Datenfilter löschen": the working set becomes all loaded vehicles again (with the marks they
// were loaded with), IntervalRebuildPending 1; the caller sets the interval selection to 5 minutes.
// CoreError 445 unless single-vehicle data are loaded.
void ClearVehicleFilter(MeasurementData& data);

struct FilterButtonStates {
    bool markButton = true;
    bool clearMarksButton = false;
    bool eraseMarkedButton = false;
    bool useMarkedButton = false;
    friend bool operator==(const FilterButtonStates&, const FilterButtonStates&) = default;
};

// `UpdateFilterButtons`: "Datenfilter löschen" when vehicles were removed or some are marked; the
// two commands on marked vehicles when at least one is marked.
FilterButtonStates UpdateFilterButtons(const MeasurementData& data);

// Counter when the dialog becomes active: "<marked> <text 260> <working> <text 261>".
std::string MarkedCounterText(const MeasurementData& data, const LanguageTexts& texts);
// Counter after each command and after a mark set in the list: "<marked> <text 262> <working>
// <text 263>" ("3 von 500 markiert" in German).
std::string MarkedCounterAfterCommand(const MeasurementData& data, const LanguageTexts& texts);
