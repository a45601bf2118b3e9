#include "session/EvaluationContext.h"

#include "base/TextNames.h"
#include "cards/CardTestFiles.h"
#include "data/DataFileTestSupport.h"
#include "evaluation/RecordFilter.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {
const std::string Resources = std::string(KORVELAN_RESOURCES) + "/";
const std::string Sample = Resources + "sample.lng";

void WriteText(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

// A context started on the shipped language files with a settings file of the test's own.
class StartedContext : public ::testing::Test {
protected:
    void Start(const std::string& ini, const std::string& language = {}) {
        WriteText(folder / "korvelan2.ini", ini);
        warning = context.Start(StartupOptions{Resources, language, (folder / "korvelan2.ini").string()});
    }

    TempFolder folder;
    EvaluationContext context;
    std::optional<CoreError> warning;
};

using ContextStart = StartedContext;
using ContextSelection = StartedContext;
using ContextOutput = StartedContext;
} // namespace

TEST_F(ContextStart, ReadsTheSettingsAndTheirLanguageFile) {
    Start("[Language]\nLFile=english.cty\n[Calculation]\nVLow=V10\nVHigh=V90\n");
    EXPECT_FALSE(warning);
    EXPECT_EQ(context.settings.LanguageFile, "english.cty");
    EXPECT_EQ(context.texts[Text::VehicleListHeader].empty(), false);
    EXPECT_EQ(context.view.LowerPercentile, 10);
    EXPECT_EQ(context.view.UpperPercentile, 90);

    EvaluationContext german;
    german.Start(StartupOptions{Resources, "deutsch.cty", (folder / "korvelan2.ini").string()});
    EXPECT_NE(german.texts[Text::VehicleListHeader], context.texts[Text::VehicleListHeader])
        << "the language option wins over the settings";
}

TEST_F(ContextStart, BadLengthsAreAWarningAndAMissingLanguageFileEndsTheStart) {
    Start("[Length]\nPKW=1.5\n");
    ASSERT_TRUE(warning);
    EXPECT_EQ(context.settings.Lengths.PkwMinLength, LengthThresholds{}.PkwMinLength);

    EvaluationContext lost;
    try {
        lost.Start(StartupOptions{Resources, "klingonisch.cty", (folder / "korvelan2.ini").string()});
        FAIL() << "a missing language file must end the start";
    } catch (const CoreError& error) {
        EXPECT_EQ(error.Message(lost.texts).rfind("Fehler!", 0), 0u) << error.Message(lost.texts);
    }
}

TEST_F(ContextSelection, OpensVehiclesOnTheirListAndNarrowsThem) {
    Start("");
    context.Load(InputFile{Sample, false});
    ASSERT_TRUE(context.HasVehicles());
    EXPECT_EQ(context.ListView(), View::VehicleList);
    EXPECT_FALSE(context.imported);
    const int loaded = context.data.WorkVehicleCount;
    // The header, an empty line and one line per vehicle.
    EXPECT_EQ(context.Lines(View::VehicleList).size(), static_cast<std::size_t>(loaded) + 2);

    Selection selection;
    selection.Minutes = 60;
    selection.Limit = 30;
    selection.Marks = {"speed>50"};
    selection.DropMarked = true;
    selection.Range = std::pair{2, 5};
    context.Select(selection, true);
    EXPECT_LT(context.data.WorkVehicleCount, loaded);
    for (int n = 1; n <= context.data.WorkVehicleCount; ++n)
        ASSERT_LE(context.data.WorkVehicles[n].Speed, 50);
    EXPECT_EQ(context.view.IntervalFactor, 12);
    EXPECT_EQ(context.view.SpeedLimitIndex, 3);
    EXPECT_TRUE(context.view.LimitDisplayOn);
    EXPECT_EQ(context.data.WorkIntervalCount, 4);
    EXPECT_EQ(context.Lines(View::IntervalList).size(), 4u + 2);
    EXPECT_TRUE(context.Lines(View::Chart).empty());
    EXPECT_TRUE(context.Lines(View::None).empty());
}

TEST_F(ContextStart, NamesTheSettingsFileItReadAndTheLanguageFileItMissed) {
    // The desktop program writes its settings back to the file the start read.
    Start("");
    EXPECT_EQ(context.settingsLocation.path, (folder / "korvelan2.ini").string());

    EvaluationContext lost;
    try {
        lost.Start(StartupOptions{Resources, "fehlt.cty", (folder / "korvelan2.ini").string()});
        FAIL() << "a missing language file must end the start";
    } catch (const CoreError& error) {
        EXPECT_NE(error.detail().find("fehlt.cty"), std::string::npos) << error.detail();
    }
}

TEST_F(ContextSelection, IntervalsAreBuiltAgainOnlyAfterTheVehiclesChanged) {
    Start("");
    context.Load(InputFile{Sample, false});
    context.Select(Selection{}, true);
    const auto counted = [this] {
        long total = 0;
        for (int i = 1; i <= context.data.WorkIntervalCount; ++i)
            total += context.data.WorkIntervals[i].Total().Dir1 + context.data.WorkIntervals[i].Total().Dir2;
        return total;
    };
    const int fiveMinuteIntervals = context.data.WorkIntervalCount;
    const long vehicles = counted();
    ASSERT_GT(fiveMinuteIntervals, 3);
    EXPECT_FALSE(context.BuildPendingIntervals()) << "nothing changed since they were built";

    context.JoinIntervals(3);
    EXPECT_EQ(context.view.IntervalFactor, 3);
    EXPECT_LT(context.data.WorkIntervalCount, fiveMinuteIntervals);
    EXPECT_EQ(counted(), vehicles);

    MarkVehicles(context.data, MarkConditionFromTexts({"speed>50"}), WholeWorkingSet(context.data));
    ASSERT_GT(context.data.MarkedCount, 0);
    EraseMarkedVehicles(context.data);
    EXPECT_TRUE(context.BuildPendingIntervals());
    EXPECT_FALSE(context.BuildPendingIntervals());
    context.JoinIntervals(1);
    EXPECT_LT(counted(), vehicles) << "the erased vehicles are no longer counted";
}

TEST_F(ContextSelection, ARangeBeyondTheIntervalsIsRefused) {
    Start("");
    context.Load(InputFile{Sample, false});
    Selection selection;
    selection.Range = std::pair{5, 2};
    EXPECT_THROW(context.Select(selection, true), CoreError);
}

TEST_F(ContextSelection, APeloFileIsImportedAsIntervals) {
    Start("");
    std::string text = PeloHeader("QT", 24, 1);
    for (int line = 0; line < 24; ++line)
        text += PeloValues({line, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    WriteText(folder / "day.pel", text);
    context.Load(InputFile{(folder / "day.pel").string(), true});
    EXPECT_TRUE(context.imported);
    EXPECT_EQ(context.loaded.RecordKind, "PEL");
    EXPECT_EQ(context.loaded.Count, context.data.IntervalCount);
    EXPECT_EQ(context.ListView(), View::IntervalList);

    context.Load(InputFile{Sample, false});
    EXPECT_FALSE(context.imported) << "a data file loaded after an import is no import";
}

// A window left behind by the intervals before would show nothing, or intervals that are gone.
TEST_F(ContextSelection, TheChartWindowStartsAgainWhenItsIntervalsChange) {
    Start("[Diagram]\nAboveLimit=Area\n");
    EXPECT_EQ(context.view.LimitColourShift, 5) << "exceedances drawn as areas get their own colour";
    context.Load(InputFile{Sample, false});
    context.Select(Selection{}, true);
    ASSERT_GT(context.data.WorkIntervalCount, 3);

    context.view.ChartOffset = 3;
    context.JoinIntervals(3);
    EXPECT_EQ(context.view.ChartOffset, 0);

    context.view.ChartOffset = 3;
    Selection range;
    range.Range = std::pair{2, 3};
    context.Select(range, true);
    EXPECT_EQ(context.data.WorkIntervalCount, 2);
    EXPECT_EQ(context.view.ChartOffset, 0);

    context.view.ChartOffset = 3;
    EXPECT_THROW(context.Load(InputFile{(folder / "missing.lng").string(), false}), CoreError);
    EXPECT_EQ(context.view.ChartOffset, 3) << "a failed load leaves the view as it was";
    context.Load(InputFile{Sample, false});
    EXPECT_EQ(context.view.ChartOffset, 0);

    std::string text = PeloHeader("QT", 24, 1);
    for (int line = 0; line < 24; ++line)
        text += PeloValues({line, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    WriteText(folder / "day.pel", text);
    context.view.ChartOffset = 3;
    context.Load(InputFile{(folder / "day.pel").string(), true});
    EXPECT_EQ(context.view.ChartOffset, 0);
}

TEST_F(ContextOutput, SavedListsReopenWithTheirRecords) {
    Start("");
    context.Load(InputFile{Sample, false});
    Selection selection;
    selection.Marks = {"dir=1"};
    selection.KeepMarked = true;
    context.Select(selection, true);
    context.Save(folder / "kept.lng", View::VehicleList, SaveScope::Filtered);
    context.Save(folder / "kept.sht", View::IntervalList, SaveScope::Filtered);

    EvaluationContext reopened;
    reopened.Start(StartupOptions{Resources, {}, (folder / "korvelan2.ini").string()});
    reopened.Load(InputFile{(folder / "kept.lng").string(), false});
    EXPECT_EQ(reopened.data.LoadedCount, context.data.WorkVehicleCount);
    reopened.Load(InputFile{(folder / "kept.sht").string(), false});
    EXPECT_EQ(reopened.ListView(), View::IntervalList);
    EXPECT_EQ(reopened.data.IntervalCount, context.data.WorkIntervalCount);
}

TEST_F(ContextOutput, TheSummaryExportHoldsTheSummaryLines) {
    Start("");
    context.Load(InputFile{Sample, false});
    context.Select(Selection{}, true);
    context.view.SummaryKind = 2;
    const std::vector<std::string> lines = context.Lines(View::Summary);
    ASSERT_FALSE(lines.empty());
    context.ExportAscii(folder / "summary.asc", View::Summary);
    const std::string exported = ReadBytes(folder / "summary.asc");
    EXPECT_NE(exported.find("\r\n"), std::string::npos);
    EXPECT_EQ(std::count(exported.begin(), exported.end(), '\n'), static_cast<long>(lines.size()) - 1);

    const CsvExportRequest request = context.CsvRequest(CsvStyle::Spreadsheet, Sample);
    EXPECT_EQ(request.Style, CsvStyle::Spreadsheet);
    EXPECT_EQ(request.Source.FileName, "sample.lng");
    EXPECT_EQ(request.Source.Sha256.size(), 64u);
    EXPECT_EQ(request.IntervalMinutes, 5);
}

// The printout reads the summary of the view choices in force, not lines kept from before.
TEST_F(ContextOutput, ThePrintoutOfTheSummaryFollowsTheViewChoices) {
    Start("");
    context.Load(InputFile{Sample, false});
    context.Select(Selection{}, true);
    const ChartDescription chart;
    const ChartAppearance appearance;

    context.view.SummaryKind = 2;
    const PrintSource plain = context.PrintSourceOf(View::Summary, chart, appearance);
    EXPECT_EQ(plain.SummaryLines, context.SummaryLines());
    context.view.LimitDisplayOn = true;
    context.view.SpeedLimitIndex = 3;
    const PrintSource withLimit = context.PrintSourceOf(View::Summary, chart, appearance);
    EXPECT_GT(withLimit.SummaryLines.size(), plain.SummaryLines.size()) << "the rows around the limit";
    EXPECT_NE(withLimit.SummaryLines[4].find("30"), std::string::npos) << withLimit.SummaryLines[4];

    const PrintSource list = context.PrintSourceOf(View::VehicleList, chart, appearance);
    EXPECT_TRUE(list.SummaryLines.empty());
    EXPECT_EQ(&list.Data, &context.data);
    EXPECT_EQ(&list.Chart, &chart);
}
