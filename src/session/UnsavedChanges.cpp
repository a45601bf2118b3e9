#include "session/UnsavedChanges.h"

#include "session/ShellTexts.h"

void UnsavedChanges::Restart(UnsavedReason reason) {
    *this = UnsavedChanges();
    allDataReason_ = reason;
}

namespace {
// A data file pads its comment with blanks, and the comment dialog shows it without them: blanks
// at the end never make a comment read differently.
std::string_view WithoutTrailingBlanks(std::string_view comment) {
    return comment.substr(0, comment.find_last_not_of(' ') + 1);
}
} // namespace

void UnsavedChanges::CommentEdited(const std::string& before, const std::string& after) {
    if (WithoutTrailingBlanks(before) != WithoutTrailingBlanks(after) &&
        allDataReason_ == UnsavedReason::None)
        allDataReason_ = UnsavedReason::CommentChanged;
}

void UnsavedChanges::WorkingSetIs(int workingCount, int loadedCount) {
    if (workingCount == workingCount_)
        return;
    workingCount_ = workingCount;
    recordsRemoved_ = workingCount < loadedCount;
    workingDataUnsaved_ = recordsRemoved_;
}

void UnsavedChanges::Saved(SavedContent content) {
    switch (content) {
    case SavedContent::AllRecords:
        allDataReason_ = UnsavedReason::None;
        // Without removed vehicles the working set is the measurement that was just saved.
        if (!recordsRemoved_)
            workingDataUnsaved_ = false;
        break;
    case SavedContent::WorkingRecords:
        workingDataUnsaved_ = false;
        break;
    case SavedContent::Partial:
        break;
    }
}

UnsavedData UnsavedChanges::Pending() const {
    if (allDataReason_ != UnsavedReason::None)
        return {PendingSave::AllData, allDataReason_};
    if (workingDataUnsaved_)
        return {PendingSave::WorkingData, UnsavedReason::RecordsRemoved};
    return {};
}

SavedContent ContentOfSave(const MeasurementData& data, View view, SaveScope scope, bool rangeInForce) {
    const bool vehicles = data.DataMode == DataMode::SingleVehicle;
    if (vehicles && view == View::VehicleList) {
        if (scope == SaveScope::All || data.WorkVehicleCount == data.LoadedCount)
            return SavedContent::AllRecords;
        return SavedContent::WorkingRecords;
    }
    if (!vehicles && data.DataMode != DataMode::None && view == View::IntervalList) {
        if (scope == SaveScope::All || !rangeInForce)
            return SavedContent::AllRecords;
    }
    return SavedContent::Partial;
}

FittingSave SaveThatFits(const MeasurementData& data, PendingSave pending) {
    if (pending == PendingSave::None || data.DataMode == DataMode::None)
        return {};
    const bool vehicles = data.DataMode == DataMode::SingleVehicle;
    return {vehicles ? View::VehicleList : View::IntervalList,
            pending == PendingSave::WorkingData ? SaveScope::Filtered : SaveScope::All,
            vehicles ? "lng" : "sht"};
}

std::string UnsavedQuestion(UnsavedReason reason, const LanguageTexts& texts) {
    switch (reason) {
    case UnsavedReason::CardRead:
        return ShellTextOf(texts, ShellText::CardDataUnsaved);
    case UnsavedReason::Imported:
        return ShellTextOf(texts, ShellText::ImportUnsaved);
    case UnsavedReason::CommentChanged:
        return ShellTextOf(texts, ShellText::CommentUnsaved);
    case UnsavedReason::RecordsRemoved:
        return ShellTextOf(texts, ShellText::FilteredUnsaved);
    case UnsavedReason::None:
        break;
    }
    return {};
}
