#pragma once
// The one measurement in memory: record layouts (also the layouts of the own data files),
// the class rules and MeasurementData with its working copies.

#include "data/RecordArray.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

static_assert(std::endian::native == std::endian::little,
              "records are written to files byte for byte and must be little-endian");

inline constexpr int MaxVehicles = 500000;
inline constexpr int MaxIntervals = 60000;
inline constexpr int MaxImportCodes = 20;
inline constexpr int SpeedClassCount = 29;
inline constexpr int GapClassCount = 31; // classes 0..30

// One passing vehicle (16 bytes; own file kind "LNG").
struct VehicleRecord {
    double Time;         // day count since 1899-12-30, fraction = time of day
    std::uint8_t Speed;  // km/h
    std::uint8_t Length; // whole metres
    char Direction;      // '1' or '2'
    std::uint8_t Reserved1[2];
    std::uint8_t Marked; // 0 or 1
    std::uint8_t Reserved2[2];
};
static_assert(sizeof(VehicleRecord) == 16);
static_assert(offsetof(VehicleRecord, Time) == 0);
static_assert(offsetof(VehicleRecord, Speed) == 8);
static_assert(offsetof(VehicleRecord, Length) == 9);
static_assert(offsetof(VehicleRecord, Direction) == 10);
static_assert(offsetof(VehicleRecord, Marked) == 13);

// A slot of an interval record: one value per direction. Directions are addressed 1 and 2.
struct DirectionPair {
    std::int32_t Dir1;
    std::int32_t Dir2;

    std::int32_t& operator[](int direction) { return direction == 2 ? Dir2 : Dir1; }
    std::int32_t operator[](int direction) const { return direction == 2 ? Dir2 : Dir1; }
};
static_assert(sizeof(DirectionPair) == 8);

enum class VehicleClass { Pkw = 0, Lkw = 1, Lz = 2 };

// Slot numbers of IntervalRecord.
namespace Slot {
inline constexpr int Total = 0;
inline constexpr int MeanSpeed = 1;
inline constexpr int HeavyTotal = 2;
inline constexpr int HeavyShareFlag = 3;
inline constexpr int PkwBlock = 4; // count, 29 speed classes, max speed
inline constexpr int LkwBlock = 35;
inline constexpr int LzBlock = 66;
inline constexpr int ClassBlockSize = 31;
inline constexpr int GapClasses = 97; // classes 0..30
inline constexpr int Spare = 128;
inline constexpr int Count = 129;
inline constexpr int Cleared = 128; // slots 0..127 hold counts; Spare is never written and stays 0

constexpr int ClassBlock(VehicleClass c) {
    return PkwBlock + ClassBlockSize * static_cast<int>(c);
}
} // namespace Slot

// One 5-minute (or joined) interval (1040 bytes; own file kind "SHT").
struct IntervalRecord {
    double StartTime;
    DirectionPair Slots[Slot::Count];

    DirectionPair& Total() { return Slots[Slot::Total]; }
    DirectionPair& MeanSpeed() { return Slots[Slot::MeanSpeed]; }
    DirectionPair& HeavyTotal() { return Slots[Slot::HeavyTotal]; }
    DirectionPair& HeavyShareFlag() { return Slots[Slot::HeavyShareFlag]; }
    DirectionPair& ClassCount(VehicleClass c) { return Slots[Slot::ClassBlock(c)]; }
    DirectionPair& SpeedClasses(VehicleClass c, int k) { return Slots[Slot::ClassBlock(c) + k]; } // k 1..29
    DirectionPair& MaxSpeed(VehicleClass c) { return Slots[Slot::ClassBlock(c) + 30]; }
    DirectionPair& PkwCount() { return ClassCount(VehicleClass::Pkw); }
    DirectionPair& LkwCount() { return ClassCount(VehicleClass::Lkw); }
    DirectionPair& LzCount() { return ClassCount(VehicleClass::Lz); }
    DirectionPair& PkwSpeedClasses(int k) { return SpeedClasses(VehicleClass::Pkw, k); }
    DirectionPair& LkwSpeedClasses(int k) { return SpeedClasses(VehicleClass::Lkw, k); }
    DirectionPair& LzSpeedClasses(int k) { return SpeedClasses(VehicleClass::Lz, k); }
    DirectionPair& PkwMaxSpeed() { return MaxSpeed(VehicleClass::Pkw); }
    DirectionPair& LkwMaxSpeed() { return MaxSpeed(VehicleClass::Lkw); }
    DirectionPair& LzMaxSpeed() { return MaxSpeed(VehicleClass::Lz); }
    DirectionPair& GapClasses(int d) { return Slots[Slot::GapClasses + d]; } // d 0..30
    DirectionPair& Spare() { return Slots[Slot::Spare]; }

    const DirectionPair& Total() const { return Slots[Slot::Total]; }
    const DirectionPair& MeanSpeed() const { return Slots[Slot::MeanSpeed]; }
    const DirectionPair& HeavyTotal() const { return Slots[Slot::HeavyTotal]; }
    const DirectionPair& HeavyShareFlag() const { return Slots[Slot::HeavyShareFlag]; }
    const DirectionPair& ClassCount(VehicleClass c) const { return Slots[Slot::ClassBlock(c)]; }
    const DirectionPair& SpeedClasses(VehicleClass c, int k) const { return Slots[Slot::ClassBlock(c) + k]; }
    const DirectionPair& MaxSpeed(VehicleClass c) const { return Slots[Slot::ClassBlock(c) + 30]; }
    const DirectionPair& PkwCount() const { return ClassCount(VehicleClass::Pkw); }
    const DirectionPair& LkwCount() const { return ClassCount(VehicleClass::Lkw); }
    const DirectionPair& LzCount() const { return ClassCount(VehicleClass::Lz); }
    const DirectionPair& PkwSpeedClasses(int k) const { return SpeedClasses(VehicleClass::Pkw, k); }
    const DirectionPair& LkwSpeedClasses(int k) const { return SpeedClasses(VehicleClass::Lkw, k); }
    const DirectionPair& LzSpeedClasses(int k) const { return SpeedClasses(VehicleClass::Lz, k); }
    const DirectionPair& PkwMaxSpeed() const { return MaxSpeed(VehicleClass::Pkw); }
    const DirectionPair& LkwMaxSpeed() const { return MaxSpeed(VehicleClass::Lkw); }
    const DirectionPair& LzMaxSpeed() const { return MaxSpeed(VehicleClass::Lz); }
    const DirectionPair& GapClasses(int d) const { return Slots[Slot::GapClasses + d]; }
    const DirectionPair& Spare() const { return Slots[Slot::Spare]; }
};
static_assert(sizeof(IntervalRecord) == 1040);
static_assert(offsetof(IntervalRecord, StartTime) == 0);
static_assert(offsetof(IntervalRecord, Slots) == 8);

enum class DataMode : std::int32_t { None = 0, SingleVehicle = 1, Interval = 2, Imported = 3 };

// Speed class 1..29 of a speed in km/h: class 1 holds 0..15, class k holds 5k+6..5k+10, 29 holds 151+.
int SpeedClass(int speed);

// Gap class 0..30 from the time since the previous vehicle (days); the unit is 0.2 s.
int GapClass(double deltaDays);
inline constexpr int FirstVehicleGapClass = 14;

// 1 or 2 for the direction characters '1' and '2'; 0 for anything else (never counted).
constexpr int DirectionIndex(char direction) {
    return direction == '1' ? 1 : direction == '2' ? 2 : 0;
}

struct LengthThresholds {
    std::int32_t PkwMinLength = 1;
    std::int32_t LkwMinLength = 8;
    std::int32_t LzMinLength = 12;
};

// Vehicle class by length; nullopt-like false when the vehicle is too short to be counted.
bool IsCounted(int length, const LengthThresholds& t);
VehicleClass ClassOfLength(int length, const LengthThresholds& t); // only for counted vehicles

// Trunc(heavy / total + 0.4) when total > 0, else 0.
std::int32_t HeavyShareFlagOf(std::int32_t heavyTotal, std::int32_t total);

struct MeasurementData {
    RecordArray<VehicleRecord, MaxVehicles> Vehicles;
    RecordArray<IntervalRecord, MaxIntervals> Intervals;
    RecordArray<VehicleRecord, MaxVehicles> WorkVehicles;
    RecordArray<IntervalRecord, MaxIntervals> WorkIntervals;
    std::int32_t LoadedCount = 0;
    std::int32_t IntervalCount = 0;
    std::int32_t WorkVehicleCount = 0;
    std::int32_t WorkIntervalCount = 0;
    std::int32_t MarkedCount = 0;
    std::int32_t VehicleListTop = 1;
    std::int32_t IntervalListTop = 1;
    std::uint8_t IntervalRebuildPending = 0;
    std::string Comment; // UTF-8, at most 78 characters
    ::DataMode DataMode = ::DataMode::None;
    std::int32_t ImportCodes[MaxImportCodes + 1] = {}; // 1-based
    std::int32_t ImportCodeCount = 0;
};

inline constexpr std::size_t MaxCommentLength = 78;

// Makes Vehicles[1..LoadedCount] the working set and counts the marks they carry. The working
// records share the loaded ones until either is changed.
void CopyVehiclesToWork(MeasurementData& data);
// Makes Intervals[1..IntervalCount] the working intervals, shared until either is changed.
void CopyIntervalsToWork(MeasurementData& data);
// Number of records in WorkVehicles[1..WorkVehicleCount] with Marked = 1.
std::int32_t CountMarked(const MeasurementData& data);
