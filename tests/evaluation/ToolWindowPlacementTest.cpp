// Where the filter and time range windows go for wide and narrow main windows.

#include "evaluation/ToolWindowPlacement.h"

#include <gtest/gtest.h>

namespace {

// A list 64 characters of 8 px wide (plus margins) in a main window at (100, 50).
ToolWindowSpace Space(int windowWidth, int screenWidth) {
    ToolWindowSpace space;
    space.Window = {100, 50, windowWidth, 700};
    space.List = {105, 110, windowWidth - 40, 600};
    space.TextLeft = 105 + 4;
    space.TextRight = 105 + 4 + 64 * 8;
    space.Screen = {0, 0, screenWidth, 1000};
    space.DialogWidth = 300;
    space.DialogHeight = 380;
    return space;
}

// The window does not cover the text of the list.
bool ClearOfTheText(const ToolWindowSpace& space, ScreenPoint at) {
    const bool besideText = at.X >= space.TextRight;
    const bool leftOfList = at.X + space.DialogWidth <= space.List.Left;
    return besideText || leftOfList;
}

} // namespace

TEST(ToolWindowPlacement, BesideTheTextInsideAWideWindow) {
    const ToolWindowSpace space = Space(1200, 1920);
    const ScreenPoint at = PlaceToolWindow(space);
    EXPECT_EQ(at, (ScreenPoint{space.List.Right() - 300 - 2, 152}));
    EXPECT_TRUE(ClearOfTheText(space, at));
}

TEST(ToolWindowPlacement, OutsideANarrowWindowWhereTheScreenHasRoom) {
    // Right of the window when there is room there, else left of it.
    ToolWindowSpace space = Space(700, 1920);
    EXPECT_EQ(PlaceToolWindow(space), (ScreenPoint{808, 152}));
    EXPECT_TRUE(ClearOfTheText(space, PlaceToolWindow(space)));

    space.Window.Left = 1100;
    space.List.Left = 1105;
    space.TextLeft = 1105 + 4;
    space.TextRight = 1105 + 4 + 512;
    EXPECT_EQ(PlaceToolWindow(space), (ScreenPoint{1100 - 8 - 300, 152}));
    EXPECT_TRUE(ClearOfTheText(space, PlaceToolWindow(space)));
}

TEST(ToolWindowPlacement, StaysOnTheScreenWhenNothingHasRoom) {
    ToolWindowSpace space = Space(700, 900);
    space.Window.Left = 100;
    const ScreenPoint at = PlaceToolWindow(space);
    // Centred over the text: the record numbers (first 7 columns) and the direction and marks
    // (last 6) stay in view.
    EXPECT_EQ(at.X, 109 + (512 - 300) / 2);
    EXPECT_GE(at.X, space.TextLeft + 7 * 8);
    EXPECT_LE(at.X + 300, space.TextRight - 6 * 8);
    // A list near the bottom still keeps the whole window on the screen.
    space.List.Top = 800;
    EXPECT_EQ(PlaceToolWindow(space).Y, 1000 - 380);
}
