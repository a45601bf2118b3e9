#pragma once
// Where the filter and time range tool windows go: beside the list's text, so that the record
// numbers, the direction and the marks being worked on stay in view.

struct ScreenRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int Right() const { return Left + Width; } // one past the last column
    int Bottom() const { return Top + Height; }
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

struct ScreenPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// Everything in the same (screen) coordinates.
struct ToolWindowSpace {
    ScreenRect List;   // the list control
    int TextLeft = 0;  // where its lines begin
    int TextRight = 0; // where its widest line ends
    ScreenRect Window; // the main window's frame
    ScreenRect Screen; // the screen's available area
    int DialogWidth = 0;
    int DialogHeight = 0;
};

// The top-left corner for the tool window. Its top is 42 pixels below the list's top. Tried in
// order: inside the list right of the text (flush with the list's right edge, 2 pixels in);
// right of the main window; left of it; and where none has room, centred over the text, which
// leaves its first columns (the record numbers) and its last (direction and marks) in view. The
// window never leaves the screen.
ScreenPoint PlaceToolWindow(const ToolWindowSpace& space);
