#include "evaluation/ToolWindowPlacement.h"

#include <algorithm>

namespace {
constexpr int Gap = 8;

int ClampToScreen(int position, int size, int screenStart, int screenSize) {
    return std::max(screenStart, std::min(position, screenStart + screenSize - size));
}
} // namespace

ScreenPoint PlaceToolWindow(const ToolWindowSpace& space) {
    const int width = space.DialogWidth;
    const ScreenRect& screen = space.Screen;
    int x = space.List.Right() - width - 2;
    if (x < space.TextRight + Gap) {
        if (space.Window.Right() + Gap + width <= screen.Right())
            x = space.Window.Right() + Gap;
        else if (space.Window.Left - Gap - width >= screen.Left)
            x = space.Window.Left - Gap - width;
        else
            x = (space.TextLeft + space.TextRight - width) / 2;
    }
    const int y = space.List.Top + 42;
    return {ClampToScreen(x, width, screen.Left, screen.Width),
            ClampToScreen(y, space.DialogHeight, screen.Top, screen.Height)};
}
