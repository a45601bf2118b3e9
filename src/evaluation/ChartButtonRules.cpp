#include "evaluation/ChartButtonRules.h"

namespace {
// Row of the tables for a data mode; None (and anything unknown) is row 0, all off.
std::size_t RowOf(::DataMode mode) {
    const auto row = static_cast<int>(mode);
    return row >= 0 && row < static_cast<int>(QuantityEnableTable.size()) ? static_cast<std::size_t>(row) : 0;
}

bool IsQuantityIndex(int quantity) {
    return quantity >= 1 && quantity <= Quantity::Count;
}
} // namespace

bool QuantityEnabled(::DataMode mode, int quantity) {
    if (!IsQuantityIndex(quantity))
        return false;
    return ((QuantityEnableTable[RowOf(mode)] >> (quantity - 1)) & 1U) != 0;
}

bool GroupEnabled(::DataMode mode, int quantity, VehicleGroup group) {
    if (!IsQuantityIndex(quantity))
        return false;
    const std::uint8_t bits = GroupEnableTable[RowOf(mode)][static_cast<std::size_t>(quantity)];
    return ((bits >> static_cast<int>(group)) & 1U) != 0;
}

std::array<bool, Quantity::Count + 1> QuantityButtonStates(::DataMode mode) {
    std::array<bool, Quantity::Count + 1> states{};
    for (int q = 1; q <= Quantity::Count; ++q)
        states[static_cast<std::size_t>(q)] = QuantityEnabled(mode, q);
    return states;
}

std::array<bool, 6> GroupButtonStates(::DataMode mode, int quantity) {
    std::array<bool, 6> states{};
    for (std::size_t i = 0; i < AllVehicleGroups.size(); ++i)
        states[i] = GroupEnabled(mode, quantity, AllVehicleGroups[i]);
    return states;
}

int SelectedQuantity(const QuantityButtonsDown& down) {
    int quantity = Quantity::VehicleCount;
    if (down.Speed)
        quantity = Quantity::Speed;
    if (down.Gap)
        quantity = Quantity::Gap;
    if (down.V1)
        quantity = Quantity::V1;
    if (down.V2)
        quantity = Quantity::V2;
    if (down.V3)
        quantity = Quantity::V3;
    if (down.V4)
        quantity = Quantity::V4;
    if (down.Length)
        quantity = Quantity::Length;
    return quantity;
}
