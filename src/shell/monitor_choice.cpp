#include "monitor_choice.h"

#include <algorithm>

namespace {

bool holds(const screen_rect& r, int x, int y) {
    return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
}

}  // namespace

screen_rect choose_monitor(const std::vector<monitor_rect>& monitors, int pointer_x, int pointer_y,
                           screen_rect whole) {
    const auto first = [&](auto wanted) {
        return std::find_if(monitors.begin(), monitors.end(), wanted);
    };
    auto it = first([](const monitor_rect& m) { return m.primary && m.at.w > 0 && m.at.h > 0; });
    if (it == monitors.end()) {
        it = first([&](const monitor_rect& m) { return holds(m.at, pointer_x, pointer_y); });
    }
    if (it == monitors.end()) {
        it = first([](const monitor_rect& m) { return m.at.w > 0 && m.at.h > 0; });
    }
    return it == monitors.end() ? whole : it->at;
}

screen_rect usable_area(screen_rect monitor, const screen_rect* work_area) {
    if (work_area == nullptr) {
        return monitor;
    }
    const int left = std::max(monitor.x, work_area->x);
    const int top = std::max(monitor.y, work_area->y);
    const int right = std::min(monitor.x + monitor.w, work_area->x + work_area->w);
    const int bottom = std::min(monitor.y + monitor.h, work_area->y + work_area->h);
    if (right <= left || bottom <= top) {
        return monitor;
    }
    return {left, top, right - left, bottom - top};
}
