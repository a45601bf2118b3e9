#include "evaluation/ChartButtonRules.h"

#include <gtest/gtest.h>

namespace {
using G = VehicleGroup;

// The enabled group buttons as a readable set, in the order of AllVehicleGroups.
std::array<bool, 6> Groups(std::initializer_list<G> enabled) {
    std::array<bool, 6> states{};
    for (G g : enabled)
        for (std::size_t i = 0; i < AllVehicleGroups.size(); ++i)
            if (AllVehicleGroups[i] == g)
                states[i] = true;
    return states;
}
} // namespace

TEST(ChartButtonRules, QuantityButtonsFollowTheKindOfData) {
    using namespace Quantity;
    // Readable form of the table: Speed, Gap, VehicleCount, Länge, V1..V4.
    struct Row {
        DataMode Mode;
        bool Speed, Gap, Count, Length, Percentiles;
    };
    for (const Row& row : {Row{DataMode::SingleVehicle, true, true, true, false, true},
                           Row{DataMode::Interval, true, false, true, false, true},
                           Row{DataMode::Imported, true, false, true, true, true},
                           Row{DataMode::None, false, false, false, false, false}}) {
        const auto states = QuantityButtonStates(row.Mode);
        const int mode = static_cast<int>(row.Mode);
        EXPECT_EQ(states[Speed], row.Speed) << mode;
        EXPECT_EQ(states[Gap], row.Gap) << mode;
        EXPECT_EQ(states[VehicleCount], row.Count) << mode;
        EXPECT_EQ(states[Length], row.Length) << mode;
        for (int q : {V1, V2, V3, V4})
            EXPECT_EQ(states[static_cast<std::size_t>(q)], row.Percentiles) << mode << " " << q;
    }
    EXPECT_FALSE(QuantityEnabled(DataMode::SingleVehicle, 0));
    EXPECT_FALSE(QuantityEnabled(DataMode::SingleVehicle, 9));
    EXPECT_FALSE(QuantityEnabled(static_cast<DataMode>(7), VehicleCount));
}

TEST(ChartButtonRules, GroupButtonsFollowDataAndQuantity) {
    using namespace Quantity;
    const auto allSix = Groups({G::AllVehicles, G::SumOfAll, G::Pkw, G::Lkw, G::Lz, G::LkwAndLz});
    const auto allButAllVehicles = Groups({G::SumOfAll, G::Pkw, G::Lkw, G::Lz, G::LkwAndLz});
    const auto sumOnly = Groups({G::SumOfAll});
    const auto none = Groups({});

    for (DataMode mode : {DataMode::SingleVehicle, DataMode::Interval}) {
        for (int q : {V1, V2, V3, V4})
            EXPECT_EQ(GroupButtonStates(mode, q), allButAllVehicles);
        EXPECT_EQ(GroupButtonStates(mode, Length), none);
        EXPECT_EQ(GroupButtonStates(mode, VehicleCount), allSix);
        EXPECT_EQ(GroupButtonStates(mode, Speed), allSix);
    }
    EXPECT_EQ(GroupButtonStates(DataMode::SingleVehicle, Gap), sumOnly);
    EXPECT_EQ(GroupButtonStates(DataMode::Interval, Gap), none);

    for (int q : {V1, V2, V3, V4, Length, Speed})
        EXPECT_EQ(GroupButtonStates(DataMode::Imported, q), sumOnly) << q;
    EXPECT_EQ(GroupButtonStates(DataMode::Imported, VehicleCount), Groups({G::SumOfAll, G::Lkw}));
    EXPECT_EQ(GroupButtonStates(DataMode::Imported, Gap), none);
    EXPECT_EQ(GroupButtonStates(DataMode::None, VehicleCount), none);
    EXPECT_FALSE(GroupEnabled(DataMode::SingleVehicle, 0, G::SumOfAll));
}

TEST(ChartButtonRules, SelectedQuantityLetsTheLaterButtonWin) {
    using namespace Quantity;
    EXPECT_EQ(SelectedQuantity({}), VehicleCount);
    EXPECT_EQ(SelectedQuantity({.VehicleCount = true}), VehicleCount);
    EXPECT_EQ(SelectedQuantity({.Speed = true}), Speed);
    EXPECT_EQ(SelectedQuantity({.Gap = true}), Gap);
    EXPECT_EQ(SelectedQuantity({.Length = true}), Length);
    EXPECT_EQ(SelectedQuantity({.V1 = true}), V1);
    EXPECT_EQ(SelectedQuantity({.V2 = true}), V2);
    EXPECT_EQ(SelectedQuantity({.V3 = true}), V3);
    EXPECT_EQ(SelectedQuantity({.V4 = true}), V4);
    // Two buttons down (a radio group never does this, but the order decides).
    EXPECT_EQ(SelectedQuantity({.Speed = true, .V1 = true}), V1);
    EXPECT_EQ(SelectedQuantity({.Gap = true, .VehicleCount = true}), Gap);
    EXPECT_EQ(SelectedQuantity({.Length = true, .V4 = true}), Length);
}
