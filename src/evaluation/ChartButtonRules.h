#pragma once
// Which buttons of the chart tool bar apply to which data: the quantity buttons by DataMode, the
// vehicle-group buttons by DataMode and the chosen quantity. Both tables are bit sets.

#include "data/MeasurementData.h"

#include <array>
#include <cstdint>

// Quantity index of each quantity button; in QuantityEnableTable the quantity q is bit q - 1.
namespace Quantity {
inline constexpr int V4 = 1;           // v4Button
inline constexpr int V3 = 2;           // v3Button
inline constexpr int V2 = 3;           // v2Button
inline constexpr int V1 = 4;           // v1Button
inline constexpr int Length = 5;       // lengthButton "Länge"
inline constexpr int VehicleCount = 6; // countButton
inline constexpr int Gap = 7;          // gapButton
inline constexpr int Speed = 8;        // speedButton
inline constexpr int Count = 8;
} // namespace Quantity

// The vehicle-group buttons; the value is the button's bit in GroupEnableTable.
enum class VehicleGroup {
    AllVehicles = 5, // allVehiclesButton
    SumOfAll = 4,    // sumOfAllButton
    Pkw = 3,         // pkwButton
    Lkw = 2,         // lkwButton
    Lz = 1,          // lzButton
    LkwAndLz = 0     // lkwAndLzButton "SummeLKW-LZ"
};
inline constexpr std::array<VehicleGroup, 6> AllVehicleGroups{
    VehicleGroup::AllVehicles, VehicleGroup::SumOfAll, VehicleGroup::Pkw,
    VehicleGroup::Lkw,         VehicleGroup::Lz,       VehicleGroup::LkwAndLz};

// One byte per DataMode (None, SingleVehicle, Interval, Imported); bit 7 .. bit 0:
// "Geschwindigkeit", "Abstand", "Anzahl", "Länge", "V1", "V2", "V3", "V4".
inline constexpr std::array<std::uint8_t, 4> QuantityEnableTable{0x00, 0xEF, 0xAF, 0xBF};

// One byte per DataMode and quantity index 1..8 (column 0 unused); bit 5 .. bit 0:
// "AlleFahrzeuge", "SummeAllerFahrzeuge", "PKW", "LKW", "Lastzug", "SummeLKW-LZ".
inline constexpr std::array<std::array<std::uint8_t, 9>, 4> GroupEnableTable{{
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, // None
    {0x00, 0x1F, 0x1F, 0x1F, 0x1F, 0x00, 0x3F, 0x10, 0x3F}, // SingleVehicle
    {0x00, 0x1F, 0x1F, 0x1F, 0x1F, 0x00, 0x3F, 0x00, 0x3F}, // Interval
    {0x00, 0x10, 0x10, 0x10, 0x10, 0x10, 0x14, 0x00, 0x10}, // Imported
}};

// Whether the quantity button with this index (1..8) is enabled for the data; false outside.
bool QuantityEnabled(::DataMode mode, int quantity);
// Whether the group button is enabled for the data and the quantity index; false outside.
bool GroupEnabled(::DataMode mode, int quantity, VehicleGroup group);

// `EnableQuantityButtons`: enabled state by quantity index (element 0 unused).
std::array<bool, Quantity::Count + 1> QuantityButtonStates(::DataMode mode);
// `EnableGroupButtons`: enabled state of each group button, in the order of AllVehicleGroups.
// The caller then presses "SummeAllerFahrzeuge".
std::array<bool, 6> GroupButtonStates(::DataMode mode, int quantity);

// Which quantity buttons are down.
struct QuantityButtonsDown {
    bool Speed = false;
    bool Gap = false;
    bool VehicleCount = false;
    bool Length = false;
    bool V1 = false;
    bool V2 = false;
    bool V3 = false;
    bool V4 = false;
};

// `SelectedQuantity`: starts from "Anzahl" (6) and tests "Geschwindigkeit", "Abstand", "V1", "V2",
// "V3", "V4", "Länge" in this order; each that is down sets its index, so a later one wins.
int SelectedQuantity(const QuantityButtonsDown& down);
