// The monitor the game opens on and the room a window has there, from the
// rectangles a display server reports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor_choice.h"

namespace {

std::string text(const screen_rect& r) {
    return std::to_string(r.w) + "x" + std::to_string(r.h) + "+" + std::to_string(r.x) + "+" +
           std::to_string(r.y);
}

const screen_rect left_hd = {0, 0, 1920, 1080};
const screen_rect right_4k = {1920, 0, 3840, 2160};
const screen_rect whole = {0, 0, 5760, 2160};

TEST(monitor_choice, the_primary_monitor_else_the_pointers_else_the_first) {
    const struct {
        const char* why;
        std::vector<monitor_rect> monitors;
        int pointer_x, pointer_y;
        screen_rect want;
    } cases[] = {
        {"primary on the right", {{left_hd, false}, {right_4k, true}}, 10, 10, right_4k},
        {"primary on the left", {{left_hd, true}, {right_4k, false}}, 3000, 10, left_hd},
        {"no primary: the pointer's", {{left_hd, false}, {right_4k, false}}, 3000, 10, right_4k},
        {"pointer on the left edge", {{left_hd, false}, {right_4k, false}}, 1919, 1079, left_hd},
        {"pointer below the short one", {{left_hd, false}, {right_4k, false}}, 100, 1500, left_hd},
        {"one monitor", {{left_hd, false}}, 0, 0, left_hd},
        {"none listed: the screen", {}, 0, 0, whole},
        {"an empty primary is passed over",
         {{{0, 0, 0, 0}, true}, {right_4k, false}},
         0,
         0,
         right_4k},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text(choose_monitor(c.monitors, c.pointer_x, c.pointer_y, whole)), text(c.want))
            << c.why;
    }
}

TEST(monitor_choice, a_window_has_the_work_area_on_its_monitor) {
    const screen_rect panel_below = {0, 0, 5760, 2100};
    const screen_rect panel_left_of_4k = {1984, 0, 3776, 2160};
    const screen_rect elsewhere = {6000, 0, 100, 100};
    const struct {
        const char* why;
        screen_rect monitor;
        const screen_rect* work_area;
        screen_rect want;
    } cases[] = {
        {"no window manager", right_4k, nullptr, right_4k},
        {"a panel along the bottom", right_4k, &panel_below, {1920, 0, 3840, 2100}},
        {"the same on the short monitor", left_hd, &panel_below, left_hd},
        {"a panel on the left of the 4K", right_4k, &panel_left_of_4k, {1984, 0, 3776, 2160}},
        {"a work area off the monitor", left_hd, &elsewhere, left_hd},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text(usable_area(c.monitor, c.work_area)), text(c.want)) << c.why;
    }
}

}  // namespace
