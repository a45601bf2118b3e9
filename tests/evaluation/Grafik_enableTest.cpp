#include "evaluation/Grafik_enable.h"

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

TEST(GrafikEnable, QuantityButtonsFollowTheKindOfData) {
    using namespace Quantity;
    // Readable form of the table: Geschwindigkeit, Abstand, Anzahl, Länge, V1..V4.
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
        EXPECT_EQ(states[Geschwindigkeit], row.Speed) << mode;
        EXPECT_EQ(states[Abstand], row.Gap) << mode;
        EXPECT_EQ(states[Anzahl], row.Count) << mode;
        EXPECT_EQ(states[Laenge], row.Length) << mode;
        for (int q : {V1, V2, V3, V4})
            EXPECT_EQ(states[static_cast<std::size_t>(q)], row.Percentiles) << mode << " " << q;
    }
    EXPECT_FALSE(QuantityEnabled(DataMode::SingleVehicle, 0));
    EXPECT_FALSE(QuantityEnabled(DataMode::SingleVehicle, 9));
    EXPECT_FALSE(QuantityEnabled(static_cast<DataMode>(7), Anzahl));
}

TEST(GrafikEnable, GroupButtonsFollowDataAndQuantity) {
    using namespace Quantity;
    const auto allSix =
        Groups({G::AlleFahrzeuge, G::SummeAllerFahrzeuge, G::PKW, G::LKW, G::Lastzug, G::SummeLkwLz});
    const auto allButAlle = Groups({G::SummeAllerFahrzeuge, G::PKW, G::LKW, G::Lastzug, G::SummeLkwLz});
    const auto sumOnly = Groups({G::SummeAllerFahrzeuge});
    const auto none = Groups({});

    for (DataMode mode : {DataMode::SingleVehicle, DataMode::Interval}) {
        for (int q : {V1, V2, V3, V4})
            EXPECT_EQ(GroupButtonStates(mode, q), allButAlle);
        EXPECT_EQ(GroupButtonStates(mode, Laenge), none);
        EXPECT_EQ(GroupButtonStates(mode, Anzahl), allSix);
        EXPECT_EQ(GroupButtonStates(mode, Geschwindigkeit), allSix);
    }
    EXPECT_EQ(GroupButtonStates(DataMode::SingleVehicle, Abstand), sumOnly);
    EXPECT_EQ(GroupButtonStates(DataMode::Interval, Abstand), none);

    for (int q : {V1, V2, V3, V4, Laenge, Geschwindigkeit})
        EXPECT_EQ(GroupButtonStates(DataMode::Imported, q), sumOnly) << q;
    EXPECT_EQ(GroupButtonStates(DataMode::Imported, Anzahl), Groups({G::SummeAllerFahrzeuge, G::LKW}));
    EXPECT_EQ(GroupButtonStates(DataMode::Imported, Abstand), none);
    EXPECT_EQ(GroupButtonStates(DataMode::None, Anzahl), none);
    EXPECT_FALSE(GroupEnabled(DataMode::SingleVehicle, 0, G::SummeAllerFahrzeuge));
}

TEST(GrafikEnable, SelectedQuantityLetsTheLaterButtonWin) {
    using namespace Quantity;
    EXPECT_EQ(SelectedQuantity({}), Anzahl);
    EXPECT_EQ(SelectedQuantity({.Anzahl = true}), Anzahl);
    EXPECT_EQ(SelectedQuantity({.Geschwindigkeit = true}), Geschwindigkeit);
    EXPECT_EQ(SelectedQuantity({.Abstand = true}), Abstand);
    EXPECT_EQ(SelectedQuantity({.Laenge = true}), Laenge);
    EXPECT_EQ(SelectedQuantity({.V1 = true}), V1);
    EXPECT_EQ(SelectedQuantity({.V2 = true}), V2);
    EXPECT_EQ(SelectedQuantity({.V3 = true}), V3);
    EXPECT_EQ(SelectedQuantity({.V4 = true}), V4);
    // Two buttons down (a radio group never does this, but the order decides).
    EXPECT_EQ(SelectedQuantity({.Geschwindigkeit = true, .V1 = true}), V1);
    EXPECT_EQ(SelectedQuantity({.Abstand = true, .Anzahl = true}), Abstand);
    EXPECT_EQ(SelectedQuantity({.Laenge = true, .V4 = true}), Laenge);
}
