#include "session/FileDrop.h"
#include "session/ShellTexts.h"
#include "session/UnsavedChanges.h"
#include "session/WindowTexts.h"

#include "base/LanguageTexts.h"
#include "evaluation/EvaluationTestData.h"
#include "evaluation/IntervalList.h"
#include "evaluation/RecordFilter.h"
#include "evaluation/TimeRange.h"
#include "lang/LanguageFile.h"

#include <gtest/gtest.h>

namespace {
const std::string Resources = std::string(KORVELAN_RESOURCES) + "/";

LanguageTexts Texts(const std::string& file) {
    LanguageTexts texts;
    LoadLanguageFile(Resources + file, texts);
    return texts;
}

// One vehicle a minute from 07:00:20 on 9 March 2026, built into 5-minute intervals and shown
// joined by `factor`.
void LoadVehicles(MeasurementData& data, int count, int factor = 1) {
    data.Vehicles.EnsureSize(count);
    for (int n = 1; n <= count; ++n) {
        VehicleRecord v{};
        v.Time = At(9, 7, n - 1, 20);
        v.Speed = 50;
        v.Length = 5;
        v.Direction = '1';
        data.Vehicles[n] = v;
    }
    data.LoadedCount = count;
    data.DataMode = DataMode::SingleVehicle;
    CopyVehiclesToWork(data);
    BuildFiveMinuteIntervals(data, LengthThresholds{});
    AggregateIntervals(data, factor);
}

std::string Unsaved(const UnsavedChanges& changes) {
    const UnsavedData pending = changes.Pending();
    const char* save[] = {"none", "all", "working"};
    const char* reason[] = {"", " card", " import", " comment", " removed"};
    return std::string(save[static_cast<int>(pending.Save)]) + reason[static_cast<int>(pending.Reason)];
}
} // namespace

TEST(UnsavedChanges, DataThatExistNowhereElseWaitForTheFittingSave) {
    UnsavedChanges changes;
    EXPECT_EQ(Unsaved(changes), "none");
    changes.ReadFromCard();
    EXPECT_EQ(Unsaved(changes), "all card");
    changes.CommentEdited("Nord", "Süd");
    EXPECT_EQ(Unsaved(changes), "all card") << "the first reason is the one the user is told";
    changes.WorkingSetIs(800, 1000);
    EXPECT_EQ(Unsaved(changes), "all card") << "all data come before the working data";
    changes.Saved(SavedContent::AllRecords);
    EXPECT_EQ(Unsaved(changes), "working removed") << "the removed vehicles are in no file yet";
    changes.Saved(SavedContent::Partial); // a chart picture, a text, a time range
    EXPECT_EQ(Unsaved(changes), "working removed");
    changes.Saved(SavedContent::WorkingRecords);
    EXPECT_EQ(Unsaved(changes), "none");
    changes.WorkingSetIs(800, 1000); // the list shown again
    EXPECT_FALSE(changes.Any()) << "the same working set is still saved";

    // A file opened: nothing to lose. Only a comment that reads differently counts.
    changes.LoadedFromFile();
    changes.CommentEdited("Nord", "Nord");
    EXPECT_EQ(Unsaved(changes), "none");
    changes.CommentEdited("Nord      ", "Nord"); // a file's padding, dropped by the dialog
    EXPECT_EQ(Unsaved(changes), "none");
    changes.CommentEdited("Nord", " Nord");
    EXPECT_EQ(Unsaved(changes), "all comment");
    // Saving the working data while the filter removed nothing saves them all.
    changes.WorkingSetIs(1000, 1000);
    changes.Saved(SavedContent::WorkingRecords);
    EXPECT_EQ(Unsaved(changes), "all comment") << "the caller says what the save held";

    // The filter restored: the working set is the measurement again.
    changes.LoadedFromFile();
    changes.WorkingSetIs(10, 1000);
    EXPECT_EQ(Unsaved(changes), "working removed");
    changes.WorkingSetIs(1000, 1000);
    EXPECT_EQ(Unsaved(changes), "none");

    changes.Imported();
    EXPECT_EQ(Unsaved(changes), "all import");
    changes.ReadFromCard(); // a new measurement replaces the old one's state
    changes.Saved(SavedContent::AllRecords);
    EXPECT_EQ(Unsaved(changes), "none");
}

TEST(UnsavedChanges, WhatASaveHeldDependsOnTheViewScopeAndRange) {
    MeasurementData vehicles;
    LoadVehicles(vehicles, 30);
    EXPECT_EQ(ContentOfSave(vehicles, View::VehicleList, SaveScope::All, false), SavedContent::AllRecords);
    EXPECT_EQ(ContentOfSave(vehicles, View::VehicleList, SaveScope::Filtered, false),
              SavedContent::AllRecords)
        << "nothing filtered: the working set is the measurement";
    vehicles.WorkVehicleCount = 20;
    EXPECT_EQ(ContentOfSave(vehicles, View::VehicleList, SaveScope::Filtered, false),
              SavedContent::WorkingRecords);
    EXPECT_EQ(ContentOfSave(vehicles, View::IntervalList, SaveScope::All, false), SavedContent::Partial)
        << "intervals of single vehicles lose the vehicles";
    EXPECT_EQ(ContentOfSave(vehicles, View::Chart, SaveScope::All, false), SavedContent::Partial);

    MeasurementData intervals;
    intervals.DataMode = DataMode::Interval;
    EXPECT_EQ(ContentOfSave(intervals, View::IntervalList, SaveScope::All, true), SavedContent::AllRecords);
    EXPECT_EQ(ContentOfSave(intervals, View::IntervalList, SaveScope::Filtered, false),
              SavedContent::AllRecords);
    EXPECT_EQ(ContentOfSave(intervals, View::IntervalList, SaveScope::Filtered, true), SavedContent::Partial);
    EXPECT_EQ(ContentOfSave(intervals, View::Summary, SaveScope::All, false), SavedContent::Partial);

    // "Speichern" in the question saves in the list of the measurement's own records.
    EXPECT_EQ(SaveThatFits(vehicles, PendingSave::AllData),
              (FittingSave{View::VehicleList, SaveScope::All, "lng"}));
    EXPECT_EQ(SaveThatFits(vehicles, PendingSave::WorkingData),
              (FittingSave{View::VehicleList, SaveScope::Filtered, "lng"}));
    intervals.DataMode = DataMode::Imported;
    EXPECT_EQ(SaveThatFits(intervals, PendingSave::AllData),
              (FittingSave{View::IntervalList, SaveScope::All, "sht"}));
    EXPECT_EQ(SaveThatFits(intervals, PendingSave::None), FittingSave{});
}

TEST(WindowTexts, TitleNamesTheMeasurementAndMarksUnsavedChanges) {
    const LanguageTexts german = Texts("deutsch.cty");
    EXPECT_EQ(WindowTitle({}, false, german), "Korvelan II");
    EXPECT_EQ(WindowTitle({DataOrigin::DataFile, "/daten/sample.lng"}, false, german),
              "sample.lng – Korvelan II");
    EXPECT_EQ(WindowTitle({DataOrigin::DataFile, "/daten/sample.lng"}, true, german),
              "*sample.lng – Korvelan II");
    EXPECT_EQ(WindowTitle({DataOrigin::CardFile, "/media/sd/K001.TXT"}, true, german),
              "*Kartendaten – Korvelan II");
    EXPECT_EQ(WindowTitle({DataOrigin::Import, "/p/zaehlung.pel"}, true, german),
              "*zaehlung.pel – Korvelan II");
    EXPECT_EQ(WindowTitle({DataOrigin::SmartMediaCard, ""}, true, Texts("english.cty")),
              "*Card data – Korvelan II");
}

TEST(WindowTexts, StatusLineCountsWhatTheRangeAndFilterLeave) {
    const LanguageTexts german = Texts("deutsch.cty");
    MeasurementData data;
    LoadVehicles(data, 60); // 07:00 .. 07:59, twelve 5-minute intervals
    EXPECT_FALSE(RangeInForce(data, 1));
    EXPECT_EQ(CountRecordsInForce(data, 1), (RecordCounts{true, 60, 60}));
    const DataSource file{DataOrigin::DataFile, "/daten/sample.lng"};
    EXPECT_EQ(StatusLineFor(file, false, CountRecordsInForce(data, 1), german).Text(),
              "/daten/sample.lng   60 Fahrzeuge");

    SetIntervalRange(data, 3, 5); // 07:10 .. 07:25
    EXPECT_TRUE(RangeInForce(data, 1));
    EXPECT_EQ(CountRecordsInForce(data, 1), (RecordCounts{true, 15, 60}));
    EXPECT_EQ(StatusLineFor(file, false, CountRecordsInForce(data, 1), german).Records,
              "15 von 60 Fahrzeugen");

    // Joined to 15 minutes, the second interval: 07:15 .. 07:30.
    AggregateIntervals(data, 3);
    EXPECT_FALSE(RangeInForce(data, 3)) << "the whole measurement joined anew";
    SetIntervalRange(data, 2, 2);
    EXPECT_EQ(CountRecordsInForce(data, 3), (RecordCounts{true, 15, 60}));
    // The last joined interval may reach past the data: it still shows everything.
    AggregateIntervals(data, 12);
    EXPECT_FALSE(RangeInForce(data, 12));

    // The filter removed vehicles; the intervals wait to be rebuilt.
    for (int n = 1; n <= 18; ++n)
        data.WorkVehicles[n].Marked = 1;
    data.MarkedCount = 18;
    EraseMarkedVehicles(data);
    EXPECT_EQ(CountRecordsInForce(data, 12), (RecordCounts{true, 42, 60}));
    const StatusLine line = StatusLineFor({DataOrigin::CardFile, "/media/sd/K.TXT"}, true,
                                          CountRecordsInForce(data, 1), Texts("english.cty"));
    EXPECT_EQ(line.Source, "Card data from /media/sd/K.TXT (not saved)");
    EXPECT_EQ(line.Records, "42 of 60 vehicles");
}

TEST(WindowTexts, IntervalDataAreCountedInFiveMinuteIntervals) {
    MeasurementData data;
    data.DataMode = DataMode::Interval;
    for (int n = 0; n < 24; ++n)
        AddBaseInterval(data, IncMinute(At(9, 8, 0), 5LL * n));
    AggregateIntervals(data, 6); // four half hours
    EXPECT_EQ(CountRecordsInForce(data, 6), (RecordCounts{false, 24, 24}));
    SetIntervalRange(data, 2, 3);
    EXPECT_EQ(CountRecordsInForce(data, 6), (RecordCounts{false, 12, 24}));
    EXPECT_EQ(StatusLineFor({DataOrigin::Import, "/p/z.pel"}, false, CountRecordsInForce(data, 6),
                            Texts("francais.cty"))
                  .Text(),
              "importé de /p/z.pel   12 intervalles de 5 minutes sur 24");
    EXPECT_EQ(StatusLineFor({}, false, {}, Texts("deutsch.cty")).Text(), "") << "nothing open, nothing said";
}

TEST(FileDrop, TheFirstFileIsOpenedAndFoldersAreNot) {
    const auto isFolder = [](const std::string& path) { return path.ends_with("/"); };
    EXPECT_EQ(DecideDrop({"/m/", "/m/a.lng", "/m/b.lng"}, isFolder), (DropDecision{"/m/a.lng", {"/m/"}}));
    EXPECT_EQ(DropMessage(DecideDrop({"/m/", "/m/a.lng"}, isFolder), LanguageTexts()), "")
        << "a file was opened: the folder beside it needs no message";
    const DropDecision folders = DecideDrop({"/m/", "/n/"}, isFolder);
    EXPECT_FALSE(folders.FileToOpen);
    EXPECT_EQ(DropMessage(folders, Texts("deutsch.cty")), "Ordner werden nicht geöffnet: /m/, /n/");
    EXPECT_EQ(DropMessage(DecideDrop({}, isFolder), LanguageTexts()), "");

    // The file system decides by default; a path that is not there is a file the loader reports.
    const std::string here = KORVELAN_RESOURCES;
    EXPECT_EQ(DecideDrop({here, here + "/missing.lng"}), (DropDecision{here + "/missing.lng", {here}}));
}

TEST(ShellTexts, EveryLanguageHasEveryTextWithTheSamePlaceholders) {
    const auto placeholders = [](const std::string& text) {
        std::string found;
        for (std::size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 2))
            found += text.substr(at, 2);
        return found;
    };
    for (const char* file : {"deutsch.cty", "english.cty", "francais.cty"}) {
        const LanguageTexts texts = Texts(file);
        for (const ShellTextDefault& text : ShellTextDefaults()) {
            EXPECT_FALSE(texts[text.number].empty()) << file << " " << text.number;
            EXPECT_EQ(placeholders(texts[text.number]), placeholders(std::string(text.german)))
                << file << " " << text.number;
        }
    }
    EXPECT_EQ(ShellTextOf(LanguageTexts(), ShellText::SaveButton), "Speichern") << "an older language file";
}
