#include "charts/ChartViews.h"

#include "base/LanguageTexts.h"
#include "data/DateTime.h"
#include "lang/LanguageFile.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <memory>

namespace {

// The German language file as the program ships it.
LanguageTexts GermanTexts() {
    LanguageTexts texts;
    LoadLanguageFile(std::string(KORVELAN_RESOURCES) + "/deutsch.cty", texts);
    return texts;
}

class ChartTest : public ::testing::Test {
protected:
    std::unique_ptr<MeasurementData> data = std::make_unique<MeasurementData>();
    ViewSelections view;
    LanguageTexts texts = GermanTexts();
    LocaleFormat german = GermanLocaleFormat();
    LocaleFormat english = EnglishLocaleFormat();
    ChartScaleState scale;

    // 5-minute intervals from 7 March 2005 (a Monday), 08:00 on.
    IntervalRecord& AddInterval() {
        const int n = ++data->WorkIntervalCount;
        data->WorkIntervals.EnsureSize(n);
        IntervalRecord& record = data->WorkIntervals[n];
        record = IntervalRecord{};
        record.StartTime = IncMinute(*TryEncodeDateTime(2005, 3, 7, 8, 0, 0), 5LL * (n - 1));
        return record;
    }
    void AddIntervals(int count) {
        for (int i = 0; i < count; ++i)
            AddInterval();
    }
    // Vehicles of a class at a speed class in one direction, with the class count kept consistent.
    static void AddVehicles(IntervalRecord& record, VehicleClass c, int speedClass, int direction,
                            int count) {
        record.SpeedClasses(c, speedClass)[direction] += count;
        record.ClassCount(c)[direction] += count;
    }
    ChartDescription Draw(const ChartRequest& request, const LocaleFormat& locale) {
        return DrawSelectedChart(request, scale, *data, view, texts, locale);
    }
    ChartViewContext Context(const LocaleFormat& locale) {
        return ChartViewContext{*data, view, texts, locale, scale};
    }
};

} // namespace

TEST(ChartScaling, AutomaticStepsAndGrowthBeyondTheTables) {
    ChartScaleState s;
    EXPECT_EQ(ScaleCountAxis(s, 0), 5);
    EXPECT_EQ(s.CountScaleIndex, 1);
    EXPECT_EQ(ScaleCountAxis(s, 5), 5);
    EXPECT_EQ(ScaleCountAxis(s, 6), 10);
    EXPECT_EQ(s.CountScaleIndex, 2);
    EXPECT_EQ(ScaleCountAxis(s, 100000), 100000);
    EXPECT_EQ(s.CountScaleIndex, 14);
    EXPECT_EQ(s.CountScaleTopIndex, 14);
    // Beyond the table the index follows the grown steps, so the step it names is the axis.
    EXPECT_EQ(ScaleCountAxis(s, 100001), 200000);
    EXPECT_EQ(s.CountScaleIndex, 15);
    EXPECT_EQ(CountScaleStep(s.CountScaleIndex), 200000);
    EXPECT_EQ(ScaleCountAxis(s, 250000), 500000);
    EXPECT_EQ(ScaleCountAxis(s, 500001), 1000000);
    EXPECT_EQ(ScaleCountAxis(s, 1500000), 2000000);
    EXPECT_EQ(s.CountScaleIndex, 18);
    EXPECT_EQ(s.CountScaleTopIndex, 18);
    EXPECT_EQ(ScaleCountAxis(s, 2147483647.0), 5e9); // the largest 32-bit count still fits

    EXPECT_EQ(ScaleSpeedAxis(s, 0), 40);
    EXPECT_EQ(ScaleSpeedAxis(s, 40.1), 60);
    EXPECT_EQ(ScaleSpeedAxis(s, 250), 250);
    EXPECT_EQ(s.SpeedScaleIndex, 8);
    EXPECT_EQ(ScaleSpeedAxis(s, 251), 300);
    EXPECT_EQ(s.SpeedScaleIndex, 9);
    EXPECT_EQ(ScaleSpeedAxis(s, 300), 300);
    EXPECT_EQ(ScaleSpeedAxis(s, 301), 400);
    EXPECT_EQ(SpeedScaleStep(s.SpeedScaleIndex), 400);
    EXPECT_EQ(ScaleSpeedAxis(s, 2147483647.0), 2147483700.0);
}

TEST(ChartScaling, ManualStepsReachTheGrownStepsTheDataNeeds) {
    ChartScaleState s;
    EXPECT_EQ(ScaleCountAxis(s, 700), 1000); // automatic first: index 8
    s.AutoCountScale = false;
    EXPECT_EQ(ScaleCountAxis(s, 3), 1000);    // the chosen step stays in manual mode
    EXPECT_EQ(ScaleCountAxis(s, 5000), 1000); // even when bars are cut
    StepCountScale(s, -1);
    EXPECT_EQ(ScaleCountAxis(s, 5000), 500);

    s.CountScaleIndex = 1;
    StepCountScale(s, -1);
    EXPECT_EQ(s.CountScaleIndex, 1);
    s.CountScaleIndex = 14;
    StepCountScale(s, +1);
    EXPECT_EQ(s.CountScaleIndex, 14); // small data: the table's last step is the top

    // An axis that grew to 200000 steps down to 100000, then 50000, and up again to 200000.
    s.AutoCountScale = true;
    EXPECT_EQ(ScaleCountAxis(s, 150000), 200000);
    s.AutoCountScale = false;
    StepCountScale(s, -1);
    EXPECT_EQ(ScaleCountAxis(s, 150000), 100000); // manual: the bars are cut like at any step
    StepCountScale(s, -1);
    EXPECT_EQ(CountScaleStep(s.CountScaleIndex), 50000);
    StepCountScale(s, +5);
    EXPECT_EQ(ScaleCountAxis(s, 150000), 200000);
    // A manual grown step survives a chart with less data and steps down from there.
    EXPECT_EQ(ScaleCountAxis(s, 10), 200000);
    StepCountScale(s, +1);
    EXPECT_EQ(CountScaleStep(s.CountScaleIndex), 200000);
    StepCountScale(s, -1);
    EXPECT_EQ(CountScaleStep(s.CountScaleIndex), 100000);

    s.AutoSpeedScale = false;
    s.SpeedScaleIndex = 0; // never drawn: reads as the first step
    EXPECT_EQ(ScaleSpeedAxis(s, 100), 40);
    StepSpeedScale(s, 20);
    EXPECT_EQ(s.SpeedScaleIndex, 8);
    EXPECT_EQ(SpeedScaleStep(s.SpeedScaleIndex), 250);
    EXPECT_EQ(ScaleSpeedAxis(s, 420), 250);
    StepSpeedScale(s, 20);
    EXPECT_EQ(SpeedScaleStep(s.SpeedScaleIndex), 500);

    SetAutomaticScaling(s);
    EXPECT_TRUE(s.AutoCountScale);
    EXPECT_TRUE(s.AutoSpeedScale);
}

TEST(ChartBasics, DirectionCycleSymbolsAndColourText) {
    EXPECT_EQ(NextDirectionSelection(3), 1);
    EXPECT_EQ(NextDirectionSelection(1), 2);
    EXPECT_EQ(NextDirectionSelection(2), 3);
    EXPECT_EQ(NextDirectionSelection(NextDirectionSelection(NextDirectionSelection(3))), 3);
    EXPECT_EQ(DirectionSymbol(1), "==>");
    EXPECT_EQ(DirectionSymbol(2), "<==");
    EXPECT_EQ(DirectionSymbol(3), "<=>");
    EXPECT_EQ(DirectionSymbol(7), "==>");

    EXPECT_EQ(HexColour(Rgb{0, 10, 255}), "#000aff");
}

TEST(ChartBasics, PagingButtonsOfferOnlyStepsThatKeepTheWindowInsideTheData) {
    using B = std::array<bool, 6>; // -24 -6 -1 +1 +6 +24
    EXPECT_EQ(UpdatePagingButtons(0, 30).Enabled, (B{false, false, false, true, true, false}));
    EXPECT_EQ(UpdatePagingButtons(6, 30).Enabled, (B{false, true, true, false, false, false}));
    EXPECT_EQ(UpdatePagingButtons(0, 24).Enabled, B{});
    EXPECT_EQ(UpdatePagingButtons(0, 10).Enabled, B{});
    EXPECT_EQ(UpdatePagingButtons(24, 72).Enabled, (B{true, true, true, true, true, true}));
    EXPECT_EQ(UpdatePagingButtons(25, 72).Enabled, (B{true, true, true, true, true, false}));
    EXPECT_EQ(UpdatePagingButtons(23, 72).Enabled, (B{false, true, true, true, true, true}));

    EXPECT_EQ(ScrolledChartOffset(0, 30, 6), 6);
    EXPECT_EQ(ScrolledChartOffset(6, 30, 24), 6); // never past the last full window
    EXPECT_EQ(ScrolledChartOffset(6, 30, -24), 0);
    EXPECT_EQ(ScrolledChartOffset(0, 10, 1), 0); // less than a window: nowhere to go
}

TEST_F(ChartTest, SpeedDistributionStacksClassesAndLabelsTotals) {
    IntervalRecord& a = AddInterval();
    AddVehicles(a, VehicleClass::Pkw, 1, 1, 4);
    AddVehicles(a, VehicleClass::Lkw, 1, 2, 2);
    AddVehicles(a, VehicleClass::Lz, 29, 1, 1);
    IntervalRecord& b = AddInterval();
    AddVehicles(b, VehicleClass::Pkw, 1, 2, 3);
    AddVehicles(b, VehicleClass::Lz, 10, 2, 5);

    const SpeedClassTotals totals = BuildSpeedClassTotals(*data);
    EXPECT_EQ(totals.At(1, 1, 1), 4);
    EXPECT_EQ(totals.At(1, 1, 3), 7);
    EXPECT_EQ(totals.At(1, 4, 2), 2);
    EXPECT_EQ(totals.At(1, 5, 3), 9);
    EXPECT_EQ(totals.At(10, 4, 3), 5);

    ChartRequest request;
    request.Quantity = ChartQuantity::Speed;
    request.VehicleGroup = StackedGroup;
    ChartDescription chart = Draw(request, german);
    ASSERT_EQ(chart.Series.size(), 3u);
    EXPECT_EQ(chart.Series[0].Colour, GroupColour(3)); // LZ at the bottom
    EXPECT_EQ(chart.Series[1].Colour, GroupColour(2));
    EXPECT_EQ(chart.Series[2].Colour, GroupColour(1)); // PKW on top
    EXPECT_EQ(chart.Series[0].Values[9], 5);
    EXPECT_EQ(chart.Series[1].Values[0], 2);
    EXPECT_EQ(chart.Series[2].Values[0], 7);
    EXPECT_EQ(chart.ValueLabels[0], "9");
    EXPECT_EQ(chart.ValueLabels[28], "1");
    EXPECT_EQ(chart.LeftAxisMax, 10); // the largest total, 9
    ASSERT_EQ(chart.Labels.size(), 29u);
    EXPECT_EQ(chart.Labels[0], "<15");
    EXPECT_EQ(chart.Labels[1], "20");
    EXPECT_EQ(chart.Labels[27], "150");
    EXPECT_EQ(chart.Labels[28], ">150");
    EXPECT_EQ(chart.Title, texts[102] + " - " + texts[103]);
    EXPECT_FALSE(chart.PagingButtonsVisible);
    EXPECT_FALSE(chart.RightAxisVisible);

    request.VehicleGroup = 1;
    request.DirectionSelection = 2;
    chart = Draw(request, german);
    ASSERT_EQ(chart.Series.size(), 1u);
    EXPECT_EQ(chart.Series[0].Values[0], 3);
    EXPECT_EQ(chart.Series[0].Colour, GroupColour(1));
    EXPECT_EQ(chart.LeftAxisMax, 5);
    EXPECT_EQ(chart.Title, "Geschwindigkeitsverteilung - PKW");
    EXPECT_EQ(chart.Foot[1], "Zeitraum: 07.03.2005  08:00  -  07.03.2005  08:05   Richtung: <==");
}

TEST_F(ChartTest, GapAndLengthViewsLabelTheirClasses) {
    IntervalRecord& a = AddInterval();
    a.GapClasses(0)[1] = 3;
    a.GapClasses(30)[2] = 12;
    a.GapClasses(2)[1] = 7;
    a.GapClasses(3)[2] = 1;

    const ChartDescription de = GapDistributionView(Context(german), 3);
    ASSERT_EQ(de.Labels.size(), 31u);
    EXPECT_EQ(de.Labels[0], "..0,2");
    EXPECT_EQ(de.Labels[1], "0,4");
    EXPECT_EQ(de.Labels[2], "0,6"); // not the last bits of 0.2 * 2 + 0.2
    EXPECT_EQ(de.Labels[28], "5,8");
    EXPECT_EQ(de.Labels[30], ">6");
    EXPECT_EQ(de.Series[0].Values[0], 3);
    EXPECT_EQ(de.Series[0].Values[30], 12);
    EXPECT_EQ(de.ValueLabels[2], "7");
    EXPECT_EQ(de.Series[0].Colour, GroupColour(5));
    EXPECT_EQ(de.LeftAxisMax, 20);
    EXPECT_EQ(de.Title, texts[111] + " - " + texts[108]);
    EXPECT_EQ(de.BottomAxisTitle, texts[110]);

    const ChartDescription en = GapDistributionView(Context(english), 1);
    EXPECT_EQ(en.Labels[0], "..0.2");
    EXPECT_EQ(en.Labels[13], "2.8");
    EXPECT_EQ(en.Series[0].Values[30], 0); // direction 1 only
    EXPECT_EQ(en.LeftAxisMax, 10);

    // Imported intervals keep category counts in the same slots; 3 categories were imported.
    data->DataMode = DataMode::Imported;
    data->ImportCodeCount = 3;
    data->ImportCodes[1] = 50;
    data->ImportCodes[2] = 125;
    data->ImportCodes[3] = 180;
    ChartRequest request;
    request.Quantity = ChartQuantity::Length;
    request.VehicleGroup = 1; // the length view always shows the sum
    const ChartDescription length = Draw(request, german);
    ASSERT_EQ(length.Labels.size(), 15u);
    EXPECT_EQ(length.Labels[0], "5");
    EXPECT_EQ(length.Labels[1], "12");
    EXPECT_EQ(length.Labels[2], "18");
    for (int n = 3; n < 15; ++n)
        EXPECT_EQ(length.Labels[static_cast<std::size_t>(n)], " ");
    EXPECT_EQ(length.Series[0].Values[1], 7); // category 2
    EXPECT_EQ(length.ValueLabels[2], "1");
    EXPECT_EQ(length.ValueLabels[14], "0");
    EXPECT_EQ(length.Title, texts[113] + " - " + texts[108]);
}

TEST_F(ChartTest, TimeWindowLabelsPositionsBeyondTheDataAndMidnight) {
    AddIntervals(10);
    data->WorkIntervals[3].StartTime = *TryEncodeDateTime(2005, 3, 8, 0, 0, 0);
    AddVehicles(data->WorkIntervals[1], VehicleClass::Pkw, 10, 1, 6);
    AddVehicles(data->WorkIntervals[1], VehicleClass::Lkw, 10, 2, 2);
    AddVehicles(data->WorkIntervals[1], VehicleClass::Lz, 10, 2, 3);

    ChartRequest request; // "Anzahl", the sum of all vehicles, both directions
    ChartDescription chart = Draw(request, german);
    ASSERT_EQ(chart.Labels.size(), 24u);
    EXPECT_EQ(chart.Labels[0], "08:00");
    EXPECT_EQ(chart.Labels[1], "08:05");
    EXPECT_EQ(chart.Labels[2], "08.03.");
    EXPECT_EQ(chart.Labels[9], "08:45");
    // Beyond the data: no bar and blank labels, where a measured empty interval reads "0".
    EXPECT_EQ(chart.ValueLabels[9], "0");
    for (int r = 10; r < 24; ++r) {
        EXPECT_EQ(chart.Labels[static_cast<std::size_t>(r)], " ");
        EXPECT_EQ(chart.ValueLabels[static_cast<std::size_t>(r)], " ");
        EXPECT_EQ(chart.Series[0].Values[static_cast<std::size_t>(r)], 0);
    }
    EXPECT_EQ(chart.Series[0].Values[0], 11);
    EXPECT_EQ(chart.ValueLabels[0], "11");
    EXPECT_EQ(chart.LeftAxisMax, 20);
    EXPECT_TRUE(chart.PagingButtonsVisible);
    EXPECT_FALSE(chart.RightAxisVisible);
    EXPECT_EQ(chart.Title, "Anzahl je Intervall - Summe aller Fahrzeuge");
    EXPECT_EQ(chart.Foot[1], "Beginn: Mo  07.03.2005  08:00   Richtung: <=>");
    EXPECT_EQ(scale.ChartAxisKind, 1);

    request.VehicleGroup = StackedGroup;
    request.DirectionSelection = 2;
    chart = Draw(request, german);
    ASSERT_EQ(chart.Series.size(), 3u);
    EXPECT_EQ(chart.Series[0].Values[0], 3); // LZ
    EXPECT_EQ(chart.Series[1].Values[0], 2); // LKW
    EXPECT_EQ(chart.Series[2].Values[0], 0); // PKW went the other way
    EXPECT_EQ(chart.ValueLabels[0], "5");
    EXPECT_EQ(chart.ValueLabels[10], " ");

    // An offset past the data (possible from the command line) shows an empty window.
    view.ChartOffset = 40;
    chart = Draw(request, german);
    EXPECT_EQ(chart.Labels[0], " ");
    EXPECT_EQ(chart.Foot[1], "Beginn:    Richtung: <==");
}

TEST_F(ChartTest, PercentileInterpolatesInsideTheClassAndRoundsLikeTheLists) {
    IntervalWindowRow row;
    auto set = [&](int k, int count) {
        row.Count[k][5][1] = count;
        row.Count[0][5][1] += count;
    };
    set(2, 20);
    EXPECT_DOUBLE_EQ(PercentileSpeed(row, 5, 1, 0.5f), 15.5); // 18 - 5 * 10 / 20
    EXPECT_DOUBLE_EQ(PercentileSpeed(row, 5, 1, 1.0f), 18);   // no excess: the class speed

    row = IntervalWindowRow{};
    set(2, 20);
    set(3, 18); // target 19, excess 1: 18 - 0.25 = 17.75, whose exact second decimal 5 rounds down
    EXPECT_DOUBLE_EQ(PercentileSpeed(row, 5, 1, 0.5f), 17.7);

    row = IntervalWindowRow{};
    set(5, 3);
    set(7, 17); // target 17 (in single precision a little more), excess 3 in class 7: 43 - 15 / 17
    EXPECT_DOUBLE_EQ(PercentileSpeed(row, 5, 1, PercentileFraction(85)), 42.1);
    EXPECT_EQ(PercentileSpeed(IntervalWindowRow{}, 5, 1, 0.5f), 0); // no vehicles

    // A count the classes fall short of (vehicles the device did not classify): the percentile is
    // that of the classified vehicles, and without any it is 0 like an empty interval.
    row = IntervalWindowRow{};
    row.Count[0][5][1] = 10;
    EXPECT_EQ(PercentileSpeed(row, 5, 1, 0.5f), 0);
    row.Count[9][5][1] = 4;
    EXPECT_DOUBLE_EQ(PercentileSpeed(row, 5, 1, 0.5f), 50.5); // 53 - 5 * 2 / 4

    EXPECT_EQ(PercentileFraction(85), 0.85f);
    EXPECT_EQ(PercentileFraction(5), 0.05f);
}

TEST_F(ChartTest, SpeedViewsSplitAtTheLimitAndDrawItsLine) {
    // Mean 62.4: seven vehicles at 63 km/h (class 11) and one at 58 (class 10).
    IntervalRecord& a = AddInterval();
    AddVehicles(a, VehicleClass::Pkw, 11, 1, 7);
    AddVehicles(a, VehicleClass::Pkw, 10, 1, 1);
    a.PkwMaxSpeed()[1] = 50;
    IntervalRecord& b = AddInterval();
    AddVehicles(b, VehicleClass::Pkw, 2, 1, 20);
    b.PkwMaxSpeed()[1] = 61;
    b.PkwMaxSpeed()[2] = 77;
    view.SpeedLimitIndex = 5;
    view.LimitDisplayOn = true;
    view.LimitColourShift = 5;

    ChartRequest request;
    request.Quantity = ChartQuantity::V2;
    request.CalcV50 = 1;
    request.VehicleGroup = 1;
    ChartDescription chart = Draw(request, german);
    EXPECT_EQ(chart.AxisKind, 2);
    EXPECT_EQ(scale.ChartAxisKind, 2);
    ASSERT_EQ(chart.Series.size(), 2u);
    EXPECT_EQ(chart.Series[0].Values[0], 50);
    EXPECT_NEAR(chart.Series[1].Values[0], 12.4, 1e-9);
    EXPECT_EQ(chart.Series[0].Colour, GroupColour(1));
    EXPECT_EQ(chart.Series[1].Colour, GroupColour(6));
    EXPECT_EQ(chart.ValueLabels[0], "62,4");
    EXPECT_EQ(chart.ValueLabels[2], " ");     // beyond the data
    EXPECT_EQ(chart.Series[0].Values[1], 18); // below the limit: whole
    EXPECT_EQ(chart.Series[1].Values[1], 0);
    EXPECT_EQ(chart.LeftAxisMax, 80);
    EXPECT_TRUE(chart.RightAxisVisible);
    EXPECT_EQ(chart.Limit, 50);
    EXPECT_EQ(chart.RightAxisTitle, texts[118]);
    EXPECT_EQ(chart.Title, texts[65] + " - " + texts[104]);

    const auto json = nlohmann::json::parse(ChartDescriptionToJson(chart));
    EXPECT_EQ(json["axisKind"], 2);
    EXPECT_EQ(json["leftAxis"]["max"], 80);
    EXPECT_EQ(json["rightAxis"]["limit"], 50);
    EXPECT_EQ(json["series"][1]["values"][0].get<double>(), 12.4);
    EXPECT_EQ(json["series"][1]["colour"], "#e05050");
    EXPECT_EQ(json["valueLabels"][0], "62,4");
    EXPECT_EQ(json["foot"].size(), 2u);
    EXPECT_EQ(json["labels"].size(), 24u);

    // Exactly at the limit nothing is split; "Linie" draws both parts in the group's colour.
    request.Quantity = ChartQuantity::V4;
    request.SingleVehicleData = true;
    view.LimitColourShift = 0;
    chart = Draw(request, german);
    EXPECT_EQ(chart.Series[0].Values[0], 50);
    EXPECT_EQ(chart.Series[1].Values[0], 0);
    EXPECT_EQ(chart.Series[1].Values[1], 27); // both directions: the higher maximum, 77
    EXPECT_EQ(chart.Series[1].Colour, GroupColour(1));
    EXPECT_EQ(chart.Title, texts[71] + " - " + texts[104]);

    // A limit above the axis: the right axis shows, the line does not.
    view.SpeedLimitIndex = 10;
    chart = Draw(request, german);
    EXPECT_TRUE(chart.RightAxisVisible);
    EXPECT_FALSE(chart.Limit.has_value());
    EXPECT_EQ(nlohmann::json::parse(ChartDescriptionToJson(chart))["rightAxis"]["limit"], nullptr);

    // The line belongs to the speed views only.
    request.Quantity = ChartQuantity::Count;
    chart = Draw(request, german);
    EXPECT_FALSE(chart.RightAxisVisible);
    ASSERT_EQ(chart.Series.size(), 1u);

    view.LimitDisplayOn = false;
    request.Quantity = ChartQuantity::V1;
    chart = Draw(request, german);
    EXPECT_FALSE(chart.RightAxisVisible);
    ASSERT_EQ(chart.Series.size(), 1u);
}

TEST_F(ChartTest, DispatcherPicksTheViewOfThePressedButton) {
    IntervalRecord& a = AddInterval();
    AddVehicles(a, VehicleClass::Lkw, 12, 1, 4);
    AddVehicles(a, VehicleClass::Lz, 14, 2, 1);
    a.LkwMaxSpeed()[1] = 71;
    a.LzMaxSpeed()[2] = 79;

    ChartRequest request;
    request.VehicleGroup = 4; // LKW + LZ
    request.Quantity = ChartQuantity::V4;
    request.SingleVehicleData = false; // interval data: estimated from the highest class
    ChartDescription chart = Draw(request, german);
    EXPECT_EQ(chart.Title, "Vmax " + texts[119] + " - " + texts[107]);
    EXPECT_EQ(chart.Series[0].Values[0], 78); // class 14
    request.SingleVehicleData = true;
    EXPECT_EQ(Draw(request, german).Series[0].Values[0], 79);
    request.DirectionSelection = 1;
    EXPECT_EQ(Draw(request, german).Series[0].Values[0], 71);

    request.DirectionSelection = 3;
    request.Quantity = ChartQuantity::V2;
    request.CalcV50 = 0;
    chart = Draw(request, german);
    EXPECT_EQ(chart.Title, "V 50% " + texts[119] + " - " + texts[107]);
    request.Quantity = ChartQuantity::V1;
    request.LowerPercentile = 5;
    EXPECT_EQ(Draw(request, german).Title, "V 05% " + texts[119] + " - " + texts[107]);
    request.Quantity = ChartQuantity::V3;
    EXPECT_EQ(Draw(request, german).Title.substr(0, 6), "V 85% ");

    // The speed views have no stacked group: it reads as the sum.
    request.VehicleGroup = StackedGroup;
    chart = Draw(request, german);
    EXPECT_EQ(chart.Series[0].Colour, GroupColour(5));
    EXPECT_EQ(chart.Title, "V 85% " + texts[119] + " - " + texts[108]);

    request.Quantity = ChartQuantity::Gap;
    EXPECT_EQ(Draw(request, german).Labels.size(), 31u);
    request.Quantity = 0; // no quantity button down reads as "Anzahl"
    EXPECT_EQ(Draw(request, german).Title.substr(0, texts[115].size()), texts[115]);
}

TEST_F(ChartTest, ImportedIntervalsShowTheirOwnTotalsAndMean) {
    data->DataMode = DataMode::Imported;
    IntervalRecord& a = AddInterval();
    a.Total() = {30, 10};
    a.HeavyTotal() = {4, 2};
    a.MeanSpeed() = {47, 0};

    const IntervalWindowTable table = BuildIntervalWindowTable(*data, 0);
    EXPECT_EQ(table.Row(1).Count[0][5][3], 40);
    EXPECT_EQ(table.Row(1).Count[0][2][3], 6);
    EXPECT_EQ(table.Row(1).Mean10[5][1], 470);
    EXPECT_EQ(table.Row(1).Mean10[5][3], 470); // the import fills the mean of direction 1 only
    EXPECT_FALSE(table.Row(2).InData);

    ChartRequest request;
    request.VehicleGroup = 2;
    EXPECT_EQ(Draw(request, german).Series[0].Values[0], 6);
    request.Quantity = ChartQuantity::V2;
    request.CalcV50 = 1;
    request.VehicleGroup = 5;
    EXPECT_EQ(Draw(request, german).Series[0].Values[0], 47);
}

TEST_F(ChartTest, EmptyDataGivesZeroBarsOnTheSmallestStep) {
    ChartRequest request;
    for (int q = ChartQuantity::V4; q <= ChartQuantity::Speed; ++q) {
        request.Quantity = q;
        const ChartDescription chart = Draw(request, german);
        ASSERT_FALSE(chart.Series.empty());
        for (double v : chart.Series[0].Values)
            EXPECT_EQ(v, 0);
        EXPECT_EQ(chart.LeftAxisMax, chart.AxisKind == 1 ? 5 : 40) << q;
        EXPECT_EQ(chart.Labels.size(), chart.Series[0].Values.size());
        EXPECT_EQ(chart.ValueLabels.size(), chart.Series[0].Values.size());
    }
}
