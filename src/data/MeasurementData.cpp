#include "data/MeasurementData.h"

#include <algorithm>
#include <cmath>
#include <utility>

int SpeedClass(int speed) {
    const int k = (speed - 6) / 5; // C++ division truncates toward zero
    return std::clamp(k, 1, SpeedClassCount);
}

int GapClass(double deltaDays) {
    // The time difference is taken in single precision; the product with 432000 is exact in
    // double and rounded to nearest with ties to even.
    const double units = static_cast<double>(static_cast<float>(deltaDays)) * 432000.0;
    if (!(units < 64.0)) // far beyond the last class (or not a number)
        return GapClassCount - 1;
    if (units <= -64.0)
        return 0;
    // Adding and taking away 1.5 * 2^52 rounds to a whole number, ties to even, as llrint does;
    // but inline, where llrint is a library call for each of up to 500000 vehicles.
    constexpr double RoundingShift = 6755399441055744.0;
    const double rounded = (units + RoundingShift) - RoundingShift;
    return static_cast<int>(std::clamp(rounded - 1.0, 0.0, static_cast<double>(GapClassCount - 1)));
}

bool IsCounted(int length, const LengthThresholds& t) {
    return length >= t.PkwMinLength;
}

VehicleClass ClassOfLength(int length, const LengthThresholds& t) {
    if (length >= t.LzMinLength)
        return VehicleClass::Lz;
    if (length >= t.LkwMinLength)
        return VehicleClass::Lkw;
    return VehicleClass::Pkw;
}

std::int32_t HeavyShareFlagOf(std::int32_t heavyTotal, std::int32_t total) {
    if (total <= 0)
        return 0;
    return static_cast<std::int32_t>(std::trunc(static_cast<double>(heavyTotal) / total + 0.4));
}

void CopyVehiclesToWork(MeasurementData& data) {
    data.Vehicles.EnsureSize(data.LoadedCount);
    data.WorkVehicles.ShareFrom(data.Vehicles);
    data.WorkVehicleCount = data.LoadedCount;
    data.MarkedCount = CountMarked(data);
}

void CopyIntervalsToWork(MeasurementData& data) {
    data.Intervals.EnsureSize(data.IntervalCount);
    data.WorkIntervals.ShareFrom(data.Intervals);
    data.WorkIntervalCount = data.IntervalCount;
}

std::int32_t CountMarked(const MeasurementData& data) {
    std::int32_t marked = 0;
    const VehicleRecord* const vehicles = std::as_const(data.WorkVehicles).data();
    for (int n = 0; n < data.WorkVehicleCount; ++n)
        marked += vehicles[n].Marked == 1 ? 1 : 0;
    return marked;
}
