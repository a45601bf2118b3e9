#include "evaluation/RecordFilter.h"

#include "base/CoreError.h"
#include "base/LanguageTexts.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {
struct Vehicle {
    int Speed;
    int Length;
    char Direction;
    int Marked = 0;
};

// Single-vehicle data loaded with these vehicles, one second apart.
std::unique_ptr<MeasurementData> Loaded(const std::vector<Vehicle>& vehicles) {
    auto data = std::make_unique<MeasurementData>();
    data->Vehicles.EnsureSize(static_cast<int>(vehicles.size()));
    for (std::size_t i = 0; i < vehicles.size(); ++i) {
        VehicleRecord& r = data->Vehicles[static_cast<int>(i) + 1];
        r = VehicleRecord{};
        r.Time = 45000.0 + static_cast<double>(i) / 86400.0;
        r.Speed = static_cast<std::uint8_t>(vehicles[i].Speed);
        r.Length = static_cast<std::uint8_t>(vehicles[i].Length);
        r.Direction = vehicles[i].Direction;
        r.Marked = static_cast<std::uint8_t>(vehicles[i].Marked);
    }
    data->LoadedCount = static_cast<int>(vehicles.size());
    data->DataMode = DataMode::SingleVehicle;
    CopyVehiclesToWork(*data);
    return data;
}

std::vector<int> MarkedRecords(const MeasurementData& data) {
    std::vector<int> marked;
    for (int n = 1; n <= data.WorkVehicleCount; ++n)
        if (data.WorkVehicles[n].Marked == 1)
            marked.push_back(n);
    return marked;
}

std::vector<int> WorkSpeeds(const MeasurementData& data) {
    std::vector<int> speeds;
    for (int n = 1; n <= data.WorkVehicleCount; ++n)
        speeds.push_back(data.WorkVehicles[n].Speed);
    return speeds;
}

int ErrorNumberOf(auto&& action) {
    try {
        action();
    } catch (const CoreError& error) {
        return error.textNumber();
    }
    return 0;
}

MarkCondition Condition(DirectionChoice direction, ValueCondition length, ValueCondition speed) {
    return MarkCondition{direction, length, speed};
}
} // namespace

TEST(RecordFilter, MarkingAppliesDirectionLengthAndSpeedToTheRun) {
    auto data =
        Loaded({{50, 5, '1'}, {51, 12, '2'}, {30, 12, '1'}, {70, 12, '2'}, {51, 4, '2'}, {49, 12, '2'}});
    const FilterRun whole = WholeWorkingSet(*data);

    // No condition and both directions: every vehicle of the run.
    auto all = Loaded({{50, 5, '1'}, {51, 12, '2'}, {30, 12, '1'}});
    EXPECT_EQ(MarkVehicles(*all, MarkCondition{}, WholeWorkingSet(*all)), 3);
    EXPECT_EQ(all->MarkedCount, 3);

    // Speed > 50: 50 stays unmarked, 51 is marked.
    EXPECT_EQ(MarkVehicles(*data, Condition(DirectionChoice::Both, {}, {ValueTest::Greater, 50}), {1, 2}), 1);
    EXPECT_EQ(MarkedRecords(*data), (std::vector<int>{2}));

    // Length = 12 in direction 2 only; already marked record 2 stays marked and is not counted again.
    EXPECT_EQ(MarkVehicles(*data, Condition(DirectionChoice::Direction2, {ValueTest::Equal, 12}, {}), whole),
              2);
    EXPECT_EQ(MarkedRecords(*data), (std::vector<int>{2, 4, 6}));
    EXPECT_EQ(data->MarkedCount, 3);

    // The same command again changes nothing.
    EXPECT_EQ(MarkVehicles(*data, Condition(DirectionChoice::Direction2, {ValueTest::Equal, 12}, {}), whole),
              0);
    EXPECT_EQ(data->MarkedCount, 3);

    // Speed < 50 within records 3..5 only: record 3 (30); record 6 (49) lies outside the run.
    EXPECT_EQ(MarkVehicles(*data, Condition(DirectionChoice::Both, {}, {ValueTest::Less, 50}), {3, 5}), 1);
    EXPECT_EQ(MarkedRecords(*data), (std::vector<int>{2, 3, 4, 6}));

    // A box that shows no item lets nothing pass; an empty run and a run beyond the data mark nothing.
    auto fresh = Loaded({{60, 5, '1'}, {60, 5, '2'}});
    EXPECT_EQ(MarkVehicles(*fresh, Condition(DirectionChoice::NoItem, {}, {}), WholeWorkingSet(*fresh)), 0);
    EXPECT_EQ(MarkVehicles(*fresh, Condition(DirectionChoice::Both, {ValueTest::NoItem, 0}, {}), {1, 2}), 0);
    EXPECT_EQ(MarkVehicles(*fresh, MarkCondition{}, {2, 1}), 0);
    EXPECT_EQ(MarkVehicles(*fresh, MarkCondition{}, {0, 99}), 2);
    EXPECT_EQ(fresh->MarkedCount, 2);
}

// The working vehicles share the loaded ones until they change: marking nothing must not copy them,
// marking something must leave the loaded vehicles as they were.
TEST(RecordFilter, MarkingCopiesTheSharedVehiclesOnlyWhenItMarks) {
    auto data = Loaded({{50, 5, '1'}, {51, 12, '2'}, {30, 12, '1'}});
    const VehicleRecord* const loaded = std::as_const(data->Vehicles).data();
    ASSERT_EQ(std::as_const(data->WorkVehicles).data(), loaded);

    EXPECT_EQ(MarkVehicles(*data, Condition(DirectionChoice::Both, {}, {ValueTest::Greater, 90}),
                           WholeWorkingSet(*data)),
              0);
    EXPECT_EQ(std::as_const(data->WorkVehicles).data(), loaded) << "nothing marked, nothing copied";
    EraseMarkedVehicles(*data);
    EXPECT_EQ(data->WorkVehicleCount, 3);
    EXPECT_EQ(std::as_const(data->WorkVehicles).data(), loaded) << "nothing erased, nothing copied";

    EXPECT_EQ(MarkVehicles(*data, Condition(DirectionChoice::Both, {}, {ValueTest::Less, 40}),
                           WholeWorkingSet(*data)),
              1);
    EXPECT_EQ(MarkedRecords(*data), (std::vector<int>{3}));
    EXPECT_NE(std::as_const(data->WorkVehicles).data(), loaded);
    EXPECT_EQ(std::as_const(data->Vehicles)[3].Marked, 0) << "the loaded vehicles keep their marks";
}

TEST(RecordFilter, ValueFieldsAreReadOnlyWhenTheirConditionNeedsThem) {
    // Items: 0 " ", 1 ">", 2 "=", 3 "<"; direction 0 "<=>", 1 "==>", 2 "<==".
    const MarkCondition c = MarkConditionFromFields(1, " 50 ", 3, "8", 2);
    EXPECT_EQ(c.Speed.Compare, ValueTest::Greater);
    EXPECT_EQ(c.Speed.Value, 50);
    EXPECT_EQ(c.Length.Compare, ValueTest::Less);
    EXPECT_EQ(c.Length.Value, 8);
    EXPECT_EQ(c.Direction, DirectionChoice::Direction2);

    // A condition " " does not read its field, whatever it holds.
    EXPECT_NO_THROW(MarkConditionFromFields(0, "abc", 0, "", 0));
    EXPECT_EQ(MarkConditionFromFields(-1, "", 7, "", 5).Speed.Compare, ValueTest::NoItem);
    EXPECT_EQ(MarkConditionFromFields(0, "", 0, "", 5).Direction, DirectionChoice::NoItem);

    EXPECT_EQ(ErrorNumberOf([] { MarkConditionFromFields(1, "5x", 0, "", 0); }), 441);
    EXPECT_EQ(ErrorNumberOf([] { MarkConditionFromFields(2, "", 0, "", 0); }), 441);
    EXPECT_EQ(ErrorNumberOf([] { MarkConditionFromFields(0, "", 2, "1,5", 0); }), 442);
    EXPECT_EQ(ErrorNumberOf([] { MarkConditionFromFields(0, "", 3, "99999999999", 0); }), 442);
    try {
        MarkConditionFromFields(1, "fünfzig", 0, "", 0);
        FAIL() << "no error for a speed that is no number";
    } catch (const CoreError& error) {
        EXPECT_NE(std::string(error.what()).find("„fünfzig“"), std::string::npos) << error.what();
    }
}

TEST(RecordFilter, ConditionTextsOfTheCommandLine) {
    const MarkCondition c = MarkConditionFromTexts({"speed>50", "length=12", "dir=2"});
    EXPECT_EQ(c.Speed.Compare, ValueTest::Greater);
    EXPECT_EQ(c.Speed.Value, 50);
    EXPECT_EQ(c.Length.Compare, ValueTest::Equal);
    EXPECT_EQ(c.Length.Value, 12);
    EXPECT_EQ(c.Direction, DirectionChoice::Direction2);
    EXPECT_EQ(MarkConditionFromTexts({"length<3"}).Length.Compare, ValueTest::Less);
    EXPECT_EQ(MarkConditionFromTexts({"dir=1"}).Direction, DirectionChoice::Direction1);

    for (const char* bad :
         {"speed", "speed>", "speed>>5", "speed>x", "speed!5", "velocity>5", "dir=3", "dir>1", ""})
        EXPECT_EQ(ErrorNumberOf([&] { MarkConditionFromTexts({bad}); }), 443) << bad;
    EXPECT_EQ(ErrorNumberOf([] { MarkConditionFromTexts({"speed>50", "speed<80"}); }), 444);
    EXPECT_EQ(ErrorNumberOf([] { MarkConditionFromTexts({"dir=1", "dir=2"}); }), 444);

    // The command line marks exactly what the dialog marks with the same choices.
    auto data = Loaded({{55, 12, '2'}, {55, 12, '1'}, {45, 12, '2'}, {55, 11, '2'}});
    MarkVehicles(*data, MarkConditionFromTexts({"speed>50", "length=12", "dir=2"}), WholeWorkingSet(*data));
    EXPECT_EQ(MarkedRecords(*data), (std::vector<int>{1}));
}

TEST(RecordFilter, EraseUseAndClearChangeTheWorkingSet) {
    auto data = Loaded({{10, 5, '1'},
                        {11, 5, '1'},
                        {12, 5, '1'},
                        {13, 5, '1'},
                        {14, 5, '1'},
                        {15, 5, '1'},
                        {16, 5, '1'},
                        {17, 5, '1'},
                        {18, 5, '1'},
                        {19, 5, '1'}});
    data->VehicleListTop = 7;

    // "verwenden" without marks does nothing at all.
    EXPECT_FALSE(UseMarkedVehicles(*data));
    EXPECT_EQ(data->WorkVehicleCount, 10);
    EXPECT_EQ(data->IntervalRebuildPending, 0);

    // 3 of 10 marked, then "löschen": 7 left in their order, none marked, intervals to be rebuilt.
    MarkVehicles(*data, Condition(DirectionChoice::Both, {}, {ValueTest::Greater, 16}),
                 WholeWorkingSet(*data));
    ASSERT_EQ(data->MarkedCount, 3);
    EraseMarkedVehicles(*data);
    EXPECT_EQ(WorkSpeeds(*data), (std::vector<int>{10, 11, 12, 13, 14, 15, 16}));
    EXPECT_TRUE(MarkedRecords(*data).empty());
    EXPECT_EQ(data->MarkedCount, 0);
    EXPECT_EQ(data->IntervalRebuildPending, 1);
    EXPECT_EQ(data->VehicleListTop, 1);
    EXPECT_EQ(data->LoadedCount, 10);
    EXPECT_EQ(data->Vehicles[10].Speed, 19); // the loaded records stay as they were

    // "verwenden" keeps the marked ones only, unmarked.
    data->IntervalRebuildPending = 0;
    MarkVehicles(*data, Condition(DirectionChoice::Both, {}, {ValueTest::Less, 12}), WholeWorkingSet(*data));
    EXPECT_TRUE(UseMarkedVehicles(*data));
    EXPECT_EQ(WorkSpeeds(*data), (std::vector<int>{10, 11}));
    EXPECT_TRUE(MarkedRecords(*data).empty());
    EXPECT_EQ(data->IntervalRebuildPending, 1);

    // Marking everything and removing it leaves an empty working set.
    MarkVehicles(*data, MarkCondition{}, WholeWorkingSet(*data));
    EraseMarkedVehicles(*data);
    EXPECT_EQ(data->WorkVehicleCount, 0);
    EXPECT_EQ(MarkVehicles(*data, MarkCondition{}, WholeWorkingSet(*data)), 0);

    // "Datenfilter löschen" brings back every loaded vehicle, with the marks they were loaded with.
    data->IntervalRebuildPending = 0;
    data->Vehicles[4].Marked = 1;
    ClearVehicleFilter(*data);
    EXPECT_EQ(WorkSpeeds(*data), (std::vector<int>{10, 11, 12, 13, 14, 15, 16, 17, 18, 19}));
    EXPECT_EQ(data->MarkedCount, 1);
    EXPECT_EQ(MarkedRecords(*data), (std::vector<int>{4}));
    EXPECT_EQ(data->IntervalRebuildPending, 1);
}

TEST(RecordFilter, CommandsRefuseDataWithoutVehicleRecords) {
    auto data = Loaded({{50, 5, '1'}});
    data->DataMode = DataMode::Interval;
    data->LoadedCount = 300; // interval records, not vehicles
    EXPECT_EQ(ErrorNumberOf([&] { MarkVehicles(*data, MarkCondition{}, {1, 1}); }), 445);
    EXPECT_EQ(ErrorNumberOf([&] { EraseMarkedVehicles(*data); }), 445);
    EXPECT_EQ(ErrorNumberOf([&] { UseMarkedVehicles(*data); }), 445);
    EXPECT_EQ(ErrorNumberOf([&] { ClearVehicleFilter(*data); }), 445);
    EXPECT_EQ(data->WorkVehicleCount, 1);
    EXPECT_EQ(data->IntervalRebuildPending, 0);
}

TEST(RecordFilter, ButtonsCountersAndRecordNumbersFromTheList) {
    std::vector<Vehicle> vehicles(500, Vehicle{50, 5, '1'});
    auto data = Loaded(vehicles);
    EXPECT_EQ(UpdateFilterButtons(*data), (FilterButtonStates{true, false, false, false}));

    MarkVehicles(*data, MarkCondition{}, {1, 3});
    EXPECT_EQ(UpdateFilterButtons(*data), (FilterButtonStates{true, true, true, true}));

    LanguageTexts texts;
    texts.Set(260, "of");
    texts.Set(261, "marked");
    EXPECT_EQ(MarkedCounterText(*data, texts), "3 of 500 marked");
    EXPECT_EQ(MarkedCounterText(*data, LanguageTexts{}), "3 von 500 markiert");
    EXPECT_EQ(MarkedCounterAfterCommand(*data, LanguageTexts{}), "3 von 500 markiert");
    texts.Set(262, "sur");
    texts.Set(263, "marqués");
    EXPECT_EQ(MarkedCounterAfterCommand(*data, texts), "3 sur 500 marqués");

    EraseMarkedVehicles(*data);
    EXPECT_EQ(UpdateFilterButtons(*data), (FilterButtonStates{true, true, false, false}));
    EXPECT_EQ(MarkedCounterAfterCommand(*data, LanguageTexts{}), "0 von 497 markiert");

    // Lines 0 and 1 are the header and the empty line; line 2 shows VehicleListTop.
    data->VehicleListTop = 101;
    EXPECT_EQ(VehicleRecordAtLine(*data, 0), 101);
    EXPECT_EQ(VehicleRecordAtLine(*data, 1), 101);
    EXPECT_EQ(VehicleRecordAtLine(*data, 2), 101);
    EXPECT_EQ(VehicleRecordAtLine(*data, 11), 110);
    data->VehicleListTop = 490;
    EXPECT_EQ(VehicleRecordAtLine(*data, 40), 497);

    const FilterRun run{20, 300};
    EXPECT_EQ(TakeFilterStart(run, 150), (FilterRun{150, 300}));
    EXPECT_EQ(TakeFilterStart(run, 400), (FilterRun{300, 300}));
    EXPECT_EQ(TakeFilterStop(run, 150), (FilterRun{20, 150}));
    EXPECT_EQ(TakeFilterStop(run, 5), (FilterRun{20, 20}));
}

TEST(RecordFilter, MarkingAgreesWithTheThreeTestsForEveryChoice) {
    // Vehicles at the edges of the values, with a direction character that is neither '1' nor '2'.
    std::vector<Vehicle> vehicles;
    for (int speed : {0, 49, 50, 51, 255})
        for (int length : {0, 11, 12, 13, 255})
            for (char direction : {'1', '2', '0'})
                vehicles.push_back({speed, length, direction});
    const std::vector<int> values{-1, 0, 12, 50, 255, 256, 2147483647, -2147483647 - 1};
    for (int d = -1; d <= 2; ++d)
        for (int lc = -1; lc <= 3; ++lc)
            for (int sc = -1; sc <= 3; ++sc)
                for (int value : values) {
                    const MarkCondition c{
                        DirectionOfItem(d), {ValueTestOfItem(lc), 12}, {ValueTestOfItem(sc), value}};
                    auto data = Loaded(vehicles);
                    const int marked = MarkVehicles(*data, c, WholeWorkingSet(*data));
                    int expected = 0;
                    for (int n = 1; n <= data->WorkVehicleCount; ++n) {
                        const bool passes = PassesMarkCondition(data->Vehicles[n], c);
                        expected += passes ? 1 : 0;
                        ASSERT_EQ(data->WorkVehicles[n].Marked, passes ? 1 : 0)
                            << "record " << n << " direction " << d << " length " << lc << " speed " << sc
                            << " value " << value;
                    }
                    ASSERT_EQ(marked, expected);
                }
    // The reference tests themselves, on a vehicle with an unknown direction.
    const VehicleRecord odd{0, 60, 12, '0', {}, 0, {}};
    EXPECT_TRUE(PassesMarkCondition(odd, MarkCondition{}));
    EXPECT_FALSE(PassesMarkCondition(odd, {DirectionChoice::Direction1, {}, {}}));
    EXPECT_FALSE(PassesMarkCondition(odd, {DirectionChoice::Direction2, {}, {}}));
    EXPECT_TRUE(
        PassesMarkCondition(odd, {DirectionChoice::Both, {ValueTest::Equal, 12}, {ValueTest::Less, 61}}));
    EXPECT_FALSE(PassesMarkCondition(odd, {DirectionChoice::Both, {ValueTest::Greater, 12}, {}}));
}
