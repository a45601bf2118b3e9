#include "evaluation/RecordFilter.h"

#include "base/CoreError.h"
#include "base/LanguageTexts.h"
#include "base/TextNames.h"
#include "data/TextFormat.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {
constexpr int FirstDataLine = 2; // header and empty line come first

bool NeedsValue(ValueTest c) {
    return c == ValueTest::Greater || c == ValueTest::Equal || c == ValueTest::Less;
}

ValueCondition ReadValueCondition(int item, std::string_view text, int errorText) {
    ValueCondition condition{ValueTestOfItem(item), 0};
    if (!NeedsValue(condition.Compare))
        return condition;
    const auto value = StrToIntStrict(text);
    if (!value)
        throw CoreError(errorText, std::string(text));
    condition.Value = *value;
    return condition;
}

bool PassesValue(int actual, const ValueCondition& condition) {
    switch (condition.Compare) {
    case ValueTest::Any:
        return true;
    case ValueTest::Greater:
        return actual > condition.Value;
    case ValueTest::Equal:
        return actual == condition.Value;
    case ValueTest::Less:
        return actual < condition.Value;
    case ValueTest::NoItem:
        break;
    }
    return false;
}

bool PassesDirection(char direction, DirectionChoice choice) {
    switch (choice) {
    case DirectionChoice::Both:
        return true;
    case DirectionChoice::Direction1:
        return direction == '1';
    case DirectionChoice::Direction2:
        return direction == '2';
    case DirectionChoice::NoItem:
        break;
    }
    return false;
}

// The filter works on vehicle records only; a non-modal dialog may still be open when interval
// data have been loaded, and Vehicles then no longer holds LoadedCount records.
void RequireVehicleData(const MeasurementData& data) {
    if (data.DataMode != ::DataMode::SingleVehicle)
        throw CoreError(ProgramMessage::NoVehicleData);
}

// Packs the working vehicles whose mark equals `keepMarked` to the front, clearing their marks.
void KeepVehicles(MeasurementData& data, std::uint8_t keepMarked) {
    const int count = std::max(0, data.WorkVehicleCount);
    // Unmarked vehicles that stay where they are need no write; working vehicles that share the
    // loaded ones are copied only when something changes (when there is anything to erase).
    const VehicleRecord* const readable = std::as_const(data.WorkVehicles).data();
    int kept = 0;
    while (keepMarked == 0 && kept < count && readable[kept].Marked == 0)
        ++kept;
    VehicleRecord* const records = kept < count ? data.WorkVehicles.data() : nullptr;
    for (int i = kept; i < count; ++i) {
        if (records[i].Marked != keepMarked)
            continue;
        records[kept] = records[i];
        records[kept].Marked = 0;
        ++kept;
    }
    data.WorkVehicleCount = kept;
    data.MarkedCount = 0;
    data.VehicleListTop = 1;
    data.IntervalRebuildPending = 1;
}

// The three tests as bounds, so that marking tests every vehicle without branching on its values
// (passing and failing vehicles alternate at random, and mispredicted branches would cost more
// than the tests). Equivalent to PassesMarkCondition.
struct MarkBounds {
    bool AnyDirection = true;
    int Direction = 0; // the one direction character that passes otherwise; -1 none
    long long LengthMin = 0, LengthMax = 0;
    long long SpeedMin = 0, SpeedMax = 0;

    bool Passes(const VehicleRecord& v) const {
        const bool direction = AnyDirection | (static_cast<unsigned char>(v.Direction) == Direction);
        return direction & (v.Length >= LengthMin) & (v.Length <= LengthMax) & (v.Speed >= SpeedMin) &
               (v.Speed <= SpeedMax);
    }
};

void SetBounds(const ValueCondition& c, long long& min, long long& max) {
    constexpr long long Lowest = -(1LL << 40), Highest = 1LL << 40;
    const long long v = c.Value;
    switch (c.Compare) {
    case ValueTest::Any:
        min = Lowest, max = Highest;
        return;
    case ValueTest::Greater:
        min = v + 1, max = Highest;
        return;
    case ValueTest::Equal:
        min = v, max = v;
        return;
    case ValueTest::Less:
        min = Lowest, max = v - 1;
        return;
    case ValueTest::NoItem:
        break;
    }
    min = 1, max = 0; // nothing passes
}

MarkBounds BoundsOf(const MarkCondition& condition) {
    MarkBounds bounds;
    bounds.AnyDirection = condition.Direction == DirectionChoice::Both;
    bounds.Direction = condition.Direction == DirectionChoice::Direction1   ? '1'
                       : condition.Direction == DirectionChoice::Direction2 ? '2'
                                                                            : -1;
    SetBounds(condition.Length, bounds.LengthMin, bounds.LengthMax);
    SetBounds(condition.Speed, bounds.SpeedMin, bounds.SpeedMax);
    return bounds;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}
} // namespace

ValueTest ValueTestOfItem(int itemIndex) {
    return itemIndex >= 0 && itemIndex <= 3 ? static_cast<ValueTest>(itemIndex) : ValueTest::NoItem;
}

DirectionChoice DirectionOfItem(int itemIndex) {
    return itemIndex >= 0 && itemIndex <= 2 ? static_cast<DirectionChoice>(itemIndex)
                                            : DirectionChoice::NoItem;
}

MarkCondition MarkConditionFromFields(int speedItem, std::string_view speedText, int lengthItem,
                                      std::string_view lengthText, int directionItem) {
    MarkCondition condition;
    condition.Direction = DirectionOfItem(directionItem);
    condition.Length = ReadValueCondition(lengthItem, lengthText, ProgramMessage::LengthNotWhole);
    condition.Speed = ReadValueCondition(speedItem, speedText, ProgramMessage::SpeedNotWhole);
    return condition;
}

void AddMarkCondition(MarkCondition& condition, std::string_view text) {
    const auto unknown = [&] { return CoreError(ProgramMessage::UnknownCondition, std::string(text)); };
    const auto repeated = [&] { return CoreError(ProgramMessage::RepeatedCondition, std::string(text)); };
    if (text == "dir=1" || text == "dir=2") {
        if (condition.Direction != DirectionChoice::Both)
            throw repeated();
        condition.Direction = text.back() == '1' ? DirectionChoice::Direction1 : DirectionChoice::Direction2;
        return;
    }
    ValueCondition* target = nullptr;
    std::string_view rest;
    if (StartsWith(text, "speed")) {
        target = &condition.Speed;
        rest = text.substr(5);
    } else if (StartsWith(text, "length")) {
        target = &condition.Length;
        rest = text.substr(6);
    } else {
        throw unknown();
    }
    if (rest.empty())
        throw unknown();
    ValueTest compare = ValueTest::NoItem;
    switch (rest.front()) {
    case '>':
        compare = ValueTest::Greater;
        break;
    case '=':
        compare = ValueTest::Equal;
        break;
    case '<':
        compare = ValueTest::Less;
        break;
    default:
        throw unknown();
    }
    const auto value = StrToIntStrict(rest.substr(1));
    if (!value)
        throw unknown();
    if (target->Compare != ValueTest::Any)
        throw repeated();
    *target = ValueCondition{compare, *value};
}

MarkCondition MarkConditionFromTexts(const std::vector<std::string>& texts) {
    MarkCondition condition;
    for (const auto& text : texts)
        AddMarkCondition(condition, text);
    return condition;
}

bool PassesMarkCondition(const VehicleRecord& vehicle, const MarkCondition& condition) {
    return PassesDirection(vehicle.Direction, condition.Direction) &&
           PassesValue(vehicle.Length, condition.Length) && PassesValue(vehicle.Speed, condition.Speed);
}

FilterRun WholeWorkingSet(const MeasurementData& data) {
    return {1, data.WorkVehicleCount};
}

int VehicleRecordAtLine(const MeasurementData& data, int cursorLine) {
    const int record = data.VehicleListTop + std::max(0, cursorLine - FirstDataLine);
    return std::clamp(record, 1, std::max(1, data.WorkVehicleCount));
}

FilterRun TakeFilterStart(FilterRun run, int record) {
    run.FilterStart = std::min(record, run.FilterStop);
    return run;
}

FilterRun TakeFilterStop(FilterRun run, int record) {
    run.FilterStop = std::max(record, run.FilterStart);
    return run;
}

int MarkVehicles(MeasurementData& data, const MarkCondition& condition, FilterRun run) {
    RequireVehicleData(data);
    const int first = std::max(run.FilterStart, 1);
    const int last = std::min(run.FilterStop, data.WorkVehicleCount);
    if (last < first)
        return 0;
    const MarkBounds bounds = BoundsOf(condition);
    // Writing to working vehicles that still share the loaded ones copies them all, so the records
    // are taken for writing only once a vehicle is to be marked: a condition that marks nothing
    // copies nothing.
    const VehicleRecord* const readable = std::as_const(data.WorkVehicles).data();
    int i = first - 1;
    while (i < last && (readable[i].Marked == 1 || !bounds.Passes(readable[i])))
        ++i;
    if (i == last)
        return 0;
    VehicleRecord* const records = data.WorkVehicles.data();
    int newlyMarked = 0;
    for (; i < last; ++i) {
        VehicleRecord& vehicle = records[i];
        const bool mark = (vehicle.Marked != 1) & bounds.Passes(vehicle);
        vehicle.Marked = mark ? std::uint8_t{1} : vehicle.Marked;
        newlyMarked += mark ? 1 : 0;
    }
    data.MarkedCount += newlyMarked;
    return newlyMarked;
}

void EraseMarkedVehicles(MeasurementData& data) {
    RequireVehicleData(data);
    KeepVehicles(data, 0);
}

bool UseMarkedVehicles(MeasurementData& data) {
    RequireVehicleData(data);
    if (data.MarkedCount <= 0)
        return false;
    KeepVehicles(data, 1);
    return true;
}

void ClearVehicleFilter(MeasurementData& data) {
    RequireVehicleData(data);
    CopyVehiclesToWork(data);
    data.VehicleListTop = 1;
    data.IntervalRebuildPending = 1;
}

FilterButtonStates UpdateFilterButtons(const MeasurementData& data) {
    FilterButtonStates states;
    states.clearMarksButton = data.WorkVehicleCount < data.LoadedCount || data.MarkedCount > 0;
    states.eraseMarkedButton = data.MarkedCount >= 1;
    states.useMarkedButton = data.MarkedCount >= 1;
    return states;
}

std::string MarkedCounterText(const MeasurementData& data, const LanguageTexts& texts) {
    // Without a language file the counter still reads as a sentence.
    const std::string of = texts[Text::Of].empty() ? std::string("von") : texts[Text::Of];
    const std::string marked = texts[Text::Marked].empty() ? std::string("markiert") : texts[Text::Marked];
    return IntToStr(data.MarkedCount) + " " + of + " " + IntToStr(data.WorkVehicleCount) + " " + marked;
}

std::string MarkedCounterAfterCommand(const MeasurementData& data, const LanguageTexts& texts) {
    const std::string of = texts[262].empty() ? std::string("von") : texts[262];
    const std::string marked = texts[263].empty() ? std::string("markiert") : texts[263];
    return IntToStr(data.MarkedCount) + " " + of + " " + IntToStr(data.WorkVehicleCount) + " " + marked;
}
