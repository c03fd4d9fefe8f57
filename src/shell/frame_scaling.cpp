#include "frame_scaling.h"

#include <allegro.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// The three colour fields of a 15- or 16-bit pixel spread over 32 bits with
// room above each, so two pixels blend in one multiply-add per pair.
std::uint32_t field_mask(int depth) {
    return depth == 15 ? 0x03E07C1Fu : 0x07E0F81Fu;
}

std::uint32_t spread(std::uint16_t c, std::uint32_t mask) {
    return (c | (static_cast<std::uint32_t>(c) << 16)) & mask;
}

std::uint32_t blend(std::uint32_t a, std::uint32_t b, int w, std::uint32_t mask) {
    return ((a * static_cast<std::uint32_t>(32 - w) + b * static_cast<std::uint32_t>(w)) >> 5) &
           mask;
}

std::uint16_t fold(std::uint32_t v) {
    return static_cast<std::uint16_t>(v | (v >> 16));
}

const std::uint16_t* row_of(const BITMAP* b, int y) {
    return reinterpret_cast<const std::uint16_t*>(b->line[y]);
}

// Source pixel i lands on [i*k, (i+1)*k) for whole multiples; a blended
// column reads its pixel and the next, so one more on each side.
void axis_plan(int source, int size, std::vector<int>& from, std::vector<int>& weight) {
    from.resize(static_cast<std::size_t>(size));
    weight.resize(static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i) {
        // The centre of output pixel i, in source pixels, in 1/32 steps.
        const long long at = (2LL * i + 1) * source * 32 / (2LL * size) - 16;
        const long long clamped = std::max(0LL, std::min(at, (source - 1) * 32LL));
        from[static_cast<std::size_t>(i)] = static_cast<int>(clamped / 32);
        weight[static_cast<std::size_t>(i)] = static_cast<int>(clamped % 32);
    }
}

// The output span [first, last) whose pixels read any of source [lo, hi).
void reach(const std::vector<int>& from, int lo, int hi, int& first, int& last) {
    const auto begin = std::lower_bound(from.begin(), from.end(), lo - 1);
    const auto end = std::lower_bound(begin, from.end(), hi);
    first = static_cast<int>(begin - from.begin());
    last = static_cast<int>(end - from.begin());
}

}  // namespace

picture_area fit_picture(int display_w, int display_h, bool sharp) {
    picture_area a;
    if (display_w < picture_w || display_h < picture_h) {
        return a;
    }
    const int k = std::min(display_w / picture_w, display_h / picture_h);
    if (sharp || (picture_w * display_h == picture_h * display_w)) {
        a.w = picture_w * k;
        a.h = picture_h * k;
    } else if (display_w * picture_h > display_h * picture_w) {
        a.h = display_h;
        a.w = display_h * picture_w / picture_h;
    } else {
        a.w = display_w;
        a.h = display_w * picture_h / picture_w;
    }
    a.x = (display_w - a.w) / 2;
    a.y = (display_h - a.h) / 2;
    return a;
}

int window_multiple(int asked, int area_w, int area_h, std::string& warning) {
    const int fits = std::max(1, std::min(area_w / picture_w, area_h / picture_h));
    if (asked <= 0) {
        return fits;
    }
    if (asked > fits) {
        warning = "refuel: a window " + std::to_string(asked) + " times 800x600 does not fit " +
                  std::to_string(area_w) + "x" + std::to_string(area_h) + "; " +
                  std::to_string(fits) + " times it does";
        return fits;
    }
    return asked;
}

scaling_plan plan_scaling(int source_w, int source_h, int w, int h) {
    scaling_plan p;
    p.w = w;
    p.h = h;
    if (w % source_w == 0 && w / source_w == h / source_h && h % source_h == 0) {
        p.multiple = w / source_w;
    }
    axis_plan(source_w, w, p.from_x, p.weight_x);
    axis_plan(source_h, h, p.from_y, p.weight_y);
    return p;
}

picture_area scale_picture(const BITMAP* from, BITMAP* to, const scaling_plan& plan,
                           picture_area changed) {
    picture_area out;
    if (plan.multiple > 0) {
        const int k = plan.multiple;
        out = {changed.x * k, changed.y * k, changed.w * k, changed.h * k};
        for (int sy = changed.y; sy < changed.y + changed.h; ++sy) {
            const std::uint16_t* in = row_of(from, sy) + changed.x;
            auto* row = reinterpret_cast<std::uint16_t*>(to->line[sy * k]) + out.x;
            for (int i = 0; i < changed.w; ++i) {
                std::fill_n(row + i * k, k, in[i]);
            }
            for (int r = 1; r < k; ++r) {
                std::memcpy(to->line[sy * k + r] + out.x * 2, to->line[sy * k] + out.x * 2,
                            static_cast<std::size_t>(out.w) * 2);
            }
        }
        return out;
    }
    int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    reach(plan.from_x, changed.x, changed.x + changed.w, x0, x1);
    reach(plan.from_y, changed.y, changed.y + changed.h, y0, y1);
    const std::uint32_t mask = field_mask(from->vtable->color_depth);
    const int last_x = from->w - 1;
    const int last_y = from->h - 1;
    for (int y = y0; y < y1; ++y) {
        const int fy = plan.from_y[static_cast<std::size_t>(y)];
        const int wy = plan.weight_y[static_cast<std::size_t>(y)];
        const std::uint16_t* top = row_of(from, fy);
        const std::uint16_t* bottom = row_of(from, std::min(fy + 1, last_y));
        auto* row = reinterpret_cast<std::uint16_t*>(to->line[y]);
        for (int x = x0; x < x1; ++x) {
            const int fx = plan.from_x[static_cast<std::size_t>(x)];
            const int wx = plan.weight_x[static_cast<std::size_t>(x)];
            const int nx = std::min(fx + 1, last_x);
            const std::uint32_t t = blend(spread(top[fx], mask), spread(top[nx], mask), wx, mask);
            const std::uint32_t b =
                blend(spread(bottom[fx], mask), spread(bottom[nx], mask), wx, mask);
            row[x] = fold(blend(t, b, wy, mask));
        }
    }
    return {x0, y0, x1 - x0, y1 - y0};
}
