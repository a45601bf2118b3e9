#pragma once
// Whether the measurement in memory holds data that exist nowhere else, and which save keeps them.
// Data read from a card or imported exist only in memory until they are saved; so does a changed
// comment. Vehicles removed by the record filter leave a working set that no file holds. A time
// range loses nothing: the whole measurement can always be joined again.

#include "base/View.h"
#include "data/DataFileWriter.h"
#include "data/MeasurementData.h"

#include <string>
#include <string_view>

class LanguageTexts;

// The save that keeps what would be lost: "alles speichern" or "gefiltert speichern".
enum class PendingSave { None, AllData, WorkingData };

// Why the data would be lost; the question names it.
enum class UnsavedReason { None, CardRead, Imported, CommentChanged, RecordsRemoved };

struct UnsavedData {
    PendingSave Save = PendingSave::None;
    UnsavedReason Reason = UnsavedReason::None;
    friend bool operator==(const UnsavedData&, const UnsavedData&) = default;
};

// What a save wrote, as far as losing data goes.
enum class SavedContent {
    AllRecords,     // every record of the measurement, in its own kind of file, with the comment
    WorkingRecords, // the vehicles the filter left
    Partial,        // anything else: a time range, intervals of single vehicles, a chart, a text
};

class UnsavedChanges {
public:
    // A data file was opened: everything is in that file.
    void LoadedFromFile() { *this = UnsavedChanges(); }
    void ReadFromCard() { Restart(UnsavedReason::CardRead); }
    void Imported() { Restart(UnsavedReason::Imported); }
    // Only a comment that reads differently counts.
    void CommentEdited(const std::string& before, const std::string& after);
    // The size of the working set, after the filter removed or restored vehicles: a working set
    // smaller than the measurement exists nowhere else; the whole one again loses nothing. May be
    // told whenever the vehicle list is shown: only a change of the count counts.
    void WorkingSetIs(int workingCount, int loadedCount);
    void Saved(SavedContent content);

    // The most important save still missing: all data before the working data.
    UnsavedData Pending() const;
    bool Any() const { return Pending().Save != PendingSave::None; }

private:
    void Restart(UnsavedReason reason);

    UnsavedReason allDataReason_ = UnsavedReason::None; // None: all data are in a file
    bool recordsRemoved_ = false;                       // the working set is smaller
    bool workingDataUnsaved_ = false;
    int workingCount_ = -1; // as last told; -1 before the first time
};

// What a save of the view wrote: the whole measurement only from the list of its own kind of
// records; "gefiltert speichern" of vehicles writes the working set (all of it while the filter
// removed none), of intervals the time range (all of it while no range is set).
SavedContent ContentOfSave(const MeasurementData& data, View view, SaveScope scope, bool rangeInForce);

// The save "speichern" in the question runs: its list view (which decides the kind of file and its
// extension) and scope, whatever view is shown.
struct FittingSave {
    View ListView = View::None;
    SaveScope Scope = SaveScope::All;
    std::string_view Extension; // "lng" or "sht"
    friend bool operator==(const FittingSave&, const FittingSave&) = default;
};
FittingSave SaveThatFits(const MeasurementData& data, PendingSave pending);

// The question asked before the data are replaced, in the language of the texts.
std::string UnsavedQuestion(UnsavedReason reason, const LanguageTexts& texts);
