#pragma once
// Which monitor the game opens on, and how much of it a window may take,
// from the rectangles the display server reports: plain functions, so the
// choice is tested without a display.

#include <vector>

struct screen_rect {
    int x = 0, y = 0, w = 0, h = 0;
};

struct monitor_rect {
    screen_rect at;
    bool primary = false;
};

// The primary monitor; without one, the one holding the pointer; else the
// first. `whole` (the X screen) when none is listed.
screen_rect choose_monitor(const std::vector<monitor_rect>& monitors, int pointer_x, int pointer_y,
                           screen_rect whole);

// What a window may cover on `monitor`: its overlap with the desktop's work
// area (the screen less the panels), or all of it when there is no work
// area or the two do not overlap.
screen_rect usable_area(screen_rect monitor, const screen_rect* work_area);
