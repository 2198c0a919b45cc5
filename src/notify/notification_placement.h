// Where a new alarm or memo window opens, so that windows that open together never cover one another
// completely: beside those already open where the screen has room, else offset from the newest one.
#pragma once

#include <vector>

namespace velloran {

struct Box {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int right() const { return x + width; }   // one past the last column
    int bottom() const { return y + height; } // one past the last row
    bool operator==(const Box&) const = default;
};

struct Spot {
    int x = 0;
    int y = 0;
    bool operator==(const Spot&) const = default;
};

// The top-left corner for a window of width x height on the screen's free area. open lists the windows
// already shown, oldest first. With none open the window goes to the middle of the screen; otherwise to
// the place nearest the newest window that overlaps none of them, or, where the screen has no such
// place, one that covers as few of them completely as can be (none, while that is possible) and as
// little of the others. Of many open windows the newest two dozen count. The window lies on the screen
// as far as its size allows.
Spot placeNotification(int width, int height, const Box& screen, const std::vector<Box>& open);

} // namespace velloran
