#include "data/MeasurementData.h"
#include "base/FileSystem.h"
#include "data/DateTime.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include <gtest/gtest.h>

TEST(Classes, SpeedClassBoundaries) {
    EXPECT_EQ(SpeedClass(0), 1);
    EXPECT_EQ(SpeedClass(15), 1);
    EXPECT_EQ(SpeedClass(16), 2);
    EXPECT_EQ(SpeedClass(20), 2);
    EXPECT_EQ(SpeedClass(21), 3);
    EXPECT_EQ(SpeedClass(150), 28);
    EXPECT_EQ(SpeedClass(151), 29);
    EXPECT_EQ(SpeedClass(255), 29);
}

TEST(Classes, GapClassRoundsSinglePrecisionGapsTiesToEven) {
    const double second = 1.0 / 86400.0;
    const double base = *TryEncodeDateTime(2026, 3, 1, 12, 0, 0);
    auto gapAfter = [&](double seconds) { return GapClass((base + seconds * second) - base); };
    EXPECT_EQ(gapAfter(0.2), 0);
    EXPECT_EQ(gapAfter(0.0), 0);
    EXPECT_EQ(gapAfter(3.0), 14);
    EXPECT_EQ(gapAfter(6.2), 30);
    EXPECT_EQ(gapAfter(10.0), 30);
    EXPECT_EQ(gapAfter(3600.0), 30);
    // 0.3 s is 1.5 units: ties to even gives 2, class 1; 0.5 s is 2.5 units: 2, class 1.
    EXPECT_EQ(GapClass(0.3 / 86400.0), 1);
    EXPECT_EQ(GapClass(0.5 / 86400.0), 1);
}

// Every unit count from below zero to past the last class, exact ties included, against the C
// library's rounding; and differences far outside the classes.
TEST(Classes, GapClassAgreesWithLibraryRoundingEverywhere) {
    for (int tenths = -700; tenths <= 700; ++tenths) {
        const double units = tenths / 10.0;
        const double days = units / 432000.0;
        const double exact = static_cast<double>(static_cast<float>(days)) * 432000.0;
        const long long expected = std::clamp<long long>(std::llrint(exact) - 1, 0, GapClassCount - 1);
        ASSERT_EQ(GapClass(days), expected) << units << " units";
    }
    EXPECT_EQ(GapClass(1e9), GapClassCount - 1);
    EXPECT_EQ(GapClass(-1e9), 0);
    EXPECT_EQ(GapClass(std::numeric_limits<double>::infinity()), GapClassCount - 1);
}

TEST(Classes, VehicleClassByLength) {
    const LengthThresholds t{1, 8, 12};
    EXPECT_FALSE(IsCounted(0, t));
    EXPECT_TRUE(IsCounted(1, t));
    EXPECT_EQ(ClassOfLength(1, t), VehicleClass::Pkw);
    EXPECT_EQ(ClassOfLength(7, t), VehicleClass::Pkw);
    EXPECT_EQ(ClassOfLength(8, t), VehicleClass::Lkw);
    EXPECT_EQ(ClassOfLength(11, t), VehicleClass::Lkw);
    EXPECT_EQ(ClassOfLength(12, t), VehicleClass::Lz);
    // Out-of-order thresholds are taken as they are: the LZ test comes first.
    const LengthThresholds odd{1, 20, 10};
    EXPECT_EQ(ClassOfLength(15, odd), VehicleClass::Lz);
}

TEST(Classes, HeavyShareFlagAtSixtyPercent) {
    EXPECT_EQ(HeavyShareFlagOf(6, 10), 1);
    EXPECT_EQ(HeavyShareFlagOf(7, 10), 1);
    EXPECT_EQ(HeavyShareFlagOf(5, 10), 0);
    EXPECT_EQ(HeavyShareFlagOf(0, 0), 0);
    EXPECT_EQ(DirectionIndex('1'), 1);
    EXPECT_EQ(DirectionIndex('2'), 2);
    EXPECT_EQ(DirectionIndex('3'), 0);
}

TEST(IntervalRecordLayout, SlotsLieWhereTheFileFormatPutsThem) {
    IntervalRecord r{};
    r.LzSpeedClasses(29)[2] = 7;
    r.GapClasses(30)[1] = 9;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&r);
    EXPECT_EQ(bytes[12 + 8 * 95], 7); // slot 95, direction 2
    EXPECT_EQ(bytes[8 + 8 * 127], 9); // slot 127, direction 1
    EXPECT_EQ(&r.Spare(), &r.Slots[128]);
}

TEST(RecordArray, GrowsWithTheDataAndRefusesBeyondCapacity) {
    MeasurementData data;
    EXPECT_EQ(data.Vehicles.allocated(), 0);
    data.Vehicles.EnsureSize(3);
    data.Vehicles[3].Speed = 42;
    const auto* before = data.Vehicles.data();
    data.Vehicles.EnsureSize(2); // never shrinks: a new, smaller load reuses the memory
    EXPECT_EQ(data.Vehicles.data(), before);
    EXPECT_EQ(data.Vehicles[3].Speed, 42);
    EXPECT_THROW(data.Vehicles.EnsureSize(MaxVehicles + 1), CoreError);
    // Growing keeps what was there.
    data.Vehicles.EnsureSize(100000);
    EXPECT_EQ(data.Vehicles[3].Speed, 42);
}

TEST(RecordArray, LargeArraysStartOnAHugePage) {
    MeasurementData data;
    data.Vehicles.EnsureSize(MaxVehicles);
    data.Intervals.EnsureSize(MaxIntervals);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(data.Vehicles.data()) % FileSystem::HugePageSize, 0u);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(data.Intervals.data()) % FileSystem::HugePageSize, 0u);
    data.Vehicles[MaxVehicles].Speed = 7; // the whole array is usable
    EXPECT_EQ(data.Vehicles[MaxVehicles].Speed, 7);
}

namespace {
const VehicleRecord* Records(const MeasurementData& data, bool working) {
    return working ? data.WorkVehicles.data() : data.Vehicles.data();
}

void LoadThreeVehicles(MeasurementData& data) {
    data.Vehicles.EnsureSize(3);
    for (int n = 1; n <= 3; ++n)
        data.Vehicles[n] = VehicleRecord{40000.0 + n, static_cast<std::uint8_t>(40 + n), 5, '1', {}, 0, {}};
    data.LoadedCount = 3;
    CopyVehiclesToWork(data);
}
} // namespace

TEST(RecordArray, WorkingVehiclesShareTheLoadedOnesUntilEitherChanges) {
    MeasurementData data;
    LoadThreeVehicles(data);
    EXPECT_EQ(Records(data, true), Records(data, false)); // not copied
    EXPECT_EQ(data.WorkVehicleCount, 3);

    // Marking a working vehicle copies the working set; the loaded vehicles stay as they were.
    data.WorkVehicles[2].Marked = 1;
    EXPECT_NE(Records(data, true), Records(data, false));
    EXPECT_EQ(data.Vehicles[2].Marked, 0);
    EXPECT_EQ(std::as_const(data).WorkVehicles[3].Speed, 43);
    EXPECT_EQ(CountMarked(data), 1);

    // Restoring shares again; a change to the loaded side then leaves the working side alone.
    CopyVehiclesToWork(data);
    EXPECT_EQ(CountMarked(data), 0);
    data.Vehicles[1].Speed = 99;
    EXPECT_EQ(std::as_const(data).WorkVehicles[1].Speed, 41);

    // A copy of the whole measurement is independent of the original.
    CopyVehiclesToWork(data);
    MeasurementData copy = data;
    copy.WorkVehicles[1].Speed = 7;
    copy.Vehicles[2].Speed = 8;
    EXPECT_EQ(std::as_const(data).WorkVehicles[1].Speed, 99);
    EXPECT_EQ(std::as_const(data).Vehicles[2].Speed, 42);
    EXPECT_EQ(std::as_const(copy).WorkVehicles[2].Speed, 42);
}

TEST(RecordArray, DroppingASharedArrayLetsTheOtherBeOverwrittenInPlace) {
    MeasurementData data;
    LoadThreeVehicles(data);
    const VehicleRecord* loaded = Records(data, false);
    data.WorkVehicles.DropShared(); // as a new load does before it writes
    EXPECT_EQ(data.WorkVehicles.allocated(), 0);
    data.Vehicles[1].Speed = 60;
    EXPECT_EQ(Records(data, false), loaded); // written in place, no copy

    // Intervals: the working intervals share the built ones the same way.
    data.Intervals.EnsureSize(2);
    data.Intervals[2].Total()[1] = 5;
    data.IntervalCount = 2;
    CopyIntervalsToWork(data);
    EXPECT_EQ(std::as_const(data).WorkIntervals.data(), std::as_const(data).Intervals.data());
    data.WorkIntervals[2].Total()[1] = 6;
    EXPECT_EQ(data.Intervals[2].Total()[1], 5);
}
