#include "data/MeasurementData.h"
#include "data/DateTime.h"

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
    data.Intervals.EnsureSize(2);
    EXPECT_EQ(data.Intervals[2].Spare()[1], 0);
    EXPECT_EQ(data.Intervals[2].Total()[2], 0);
}
