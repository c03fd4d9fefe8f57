#include "frame_scaling.h"

#include <allegro.h>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include <algorithm>
#include <cstddef>
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

// The loops over every pixel of a row, also built for AVX2 where the
// processor has it: eight pixels at a time, with the same results.
#if defined(__x86_64__) && defined(__GNUC__)
#define REFUEL_WIDE_LOOPS __attribute__((target_clones("avx2", "default")))
#else
#define REFUEL_WIDE_LOOPS
#endif

REFUEL_WIDE_LOOPS
void blend_rows(const std::uint32_t* a, const std::uint32_t* b, std::uint32_t* out, int n, int w,
                std::uint32_t mask) {
    for (int i = 0; i < n; ++i) {
        out[i] = blend(a[i], b[i], w, mask);
    }
}

// Output column i blends source columns from[i] and from[i] + 1 of `row`.
void blend_across(const std::uint32_t* row, const int* from, const int* weight, std::uint32_t* out,
                  int from_i, int n, std::uint32_t mask) {
    for (int i = from_i; i < n; ++i) {
        out[i] = blend(row[from[i]], row[from[i] + 1], weight[i], mask);
    }
}

#if defined(__x86_64__) && defined(__GNUC__)
// The same, eight columns at a time where their sources lie within eight
// pixels in a row (any upscaling but the very slightest): those eight are
// loaded once and each column's pair picked out of them, where the plain
// loop fetches every pixel on its own. `row` has 7 pixels to spare.
__attribute__((target("avx2"))) void blend_across_avx2(const std::uint32_t* row, const int* from,
                                                       const int* weight, std::uint32_t* out, int n,
                                                       std::uint32_t mask) {
    const __m256i fields = _mm256_set1_epi32(static_cast<int>(mask));
    const __m256i one = _mm256_set1_epi32(1);
    const __m256i whole = _mm256_set1_epi32(32);
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const int base = from[i];
        if (from[i + 7] - base >= 7) {
            blend_across(row, from, weight, out, i, i + 8, mask);
            continue;
        }
        const __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + base));
        const __m256i at =
            _mm256_sub_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + i)),
                             _mm256_set1_epi32(base));
        const __m256i a = _mm256_permutevar8x32_epi32(pixels, at);
        const __m256i b = _mm256_permutevar8x32_epi32(pixels, _mm256_add_epi32(at, one));
        const __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weight + i));
        const __m256i sum = _mm256_add_epi32(_mm256_mullo_epi32(a, _mm256_sub_epi32(whole, w)),
                                             _mm256_mullo_epi32(b, w));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                            _mm256_and_si256(_mm256_srli_epi32(sum, 5), fields));
    }
    blend_across(row, from, weight, out, i, n, mask);
}
#endif

bool wide_allowed = true;

void blend_across_row(const std::uint32_t* row, const int* from, const int* weight,
                      std::uint32_t* out, int n, std::uint32_t mask) {
#if defined(__x86_64__) && defined(__GNUC__)
    static const bool avx2 = __builtin_cpu_supports("avx2") != 0;
    if (avx2 && wide_allowed) {
        blend_across_avx2(row, from, weight, out, n, mask);
        return;
    }
#endif
    blend_across(row, from, weight, out, 0, n, mask);
}

// Spread 15- or 16-bit colours as 8-bit fields of a 32-bit display, in
// the library's order of the fields at both depths; each field's top bits
// repeat below it, so full scale stays full scale.
REFUEL_WIDE_LOOPS
void to_display(const std::uint32_t* v, std::uint32_t* out, int n, int depth) {
    const int green_bits = depth == 15 ? 5 : 6;
    const int high_at = depth == 15 ? 10 : 11;
    const bool red_low = (depth == 15 ? _rgb_r_shift_15 : _rgb_r_shift_16) == 0;
    const int r_at = _rgb_r_shift_32;
    const int g_at = _rgb_g_shift_32;
    const int b_at = _rgb_b_shift_32;
    for (int i = 0; i < n; ++i) {
        const std::uint32_t c = v[i];
        const std::uint32_t low = c & 31;
        const std::uint32_t high = (c >> high_at) & 31;
        const std::uint32_t r = red_low ? low : high;
        const std::uint32_t b = red_low ? high : low;
        const std::uint32_t g = (c >> (16 + 5)) & ((1u << green_bits) - 1);
        const std::uint32_t g8 = green_bits == 6 ? (g << 2) | (g >> 4) : (g << 3) | (g >> 2);
        out[i] = (((r << 3) | (r >> 2)) << r_at) | (g8 << g_at) | (((b << 3) | (b >> 2)) << b_at);
    }
}

// Each 15- or 16-bit colour as to_display shows it, made once.
const std::vector<std::uint32_t>& colours_32(int depth) {
    static std::vector<std::uint32_t> tables[2];
    std::vector<std::uint32_t>& t = tables[depth == 15 ? 1 : 0];
    if (t.empty()) {
        t.resize(65536);
        const std::uint32_t mask = field_mask(depth);
        for (std::uint32_t c = 0; c < 65536; ++c) {
            const std::uint32_t v = spread(static_cast<std::uint16_t>(c), mask);
            to_display(&v, &t[c], 1, depth);
        }
    }
    return t;
}

}  // namespace

void allow_wide_scaling(bool allowed) {
    wide_allowed = allowed;
}

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
    const int depth = from->vtable->color_depth;
    const bool wide = to->vtable->color_depth == 32;
    const std::uint32_t* to_32 = wide ? colours_32(depth).data() : nullptr;
    if (plan.multiple > 0) {
        const int k = plan.multiple;
        const picture_area out = {changed.x * k, changed.y * k, changed.w * k, changed.h * k};
        const std::size_t row_bytes = static_cast<std::size_t>(out.w) * (wide ? 4 : 2);
        for (int sy = changed.y; sy < changed.y + changed.h; ++sy) {
            const std::uint16_t* in = row_of(from, sy) + changed.x;
            // The first of the k rows is made, the others copied from it.
            void* first = to->line[static_cast<std::size_t>(sy) * static_cast<std::size_t>(k)] +
                          static_cast<std::size_t>(out.x) * (wide ? 4 : 2);
            if (wide) {
                auto* row = static_cast<std::uint32_t*>(first);
                for (int i = 0; i < changed.w; ++i) {
                    std::fill_n(row + static_cast<std::ptrdiff_t>(i) * k, k, to_32[in[i]]);
                }
            } else {
                auto* row = static_cast<std::uint16_t*>(first);
                for (int i = 0; i < changed.w; ++i) {
                    std::fill_n(row + static_cast<std::ptrdiff_t>(i) * k, k, in[i]);
                }
            }
            for (int r = 1; r < k; ++r) {
                std::memcpy(to->line[static_cast<std::size_t>(sy * k + r)] +
                                static_cast<std::size_t>(out.x) * (wide ? 4 : 2),
                            first, row_bytes);
            }
        }
        return out;
    }
    int x0 = 0;
    int x1 = 0;
    int y0 = 0;
    int y1 = 0;
    reach(plan.from_x, changed.x, changed.x + changed.w, x0, x1);
    reach(plan.from_y, changed.y, changed.y + changed.h, y0, y1);
    const std::uint32_t mask = field_mask(depth);
    const int last_y = from->h - 1;
    const int n = x1 - x0;
    if (n <= 0 || y1 <= y0) {
        return {x0, y0, std::max(0, n), std::max(0, y1 - y0)};
    }
    const int* fx = plan.from_x.data() + x0;
    const int* wx = plan.weight_x.data() + x0;
    // The source columns these output columns read: one more on the right
    // for the blend, the last column blending with itself.
    const int sx0 = fx[0];
    const int sx1 = std::min(fx[n - 1] + 2, from->w + 1);
    // Source rows spread and scaled across: each is made once and used by
    // every output row between it and the next.
    std::vector<std::uint32_t> spread_row(static_cast<std::size_t>(from->w) + 8);
    std::vector<std::uint32_t> across[2] = {
        std::vector<std::uint32_t>(static_cast<std::size_t>(n)),
        std::vector<std::uint32_t>(static_cast<std::size_t>(n))};
    std::vector<std::uint32_t> blended(static_cast<std::size_t>(n));
    int made[2] = {-1, -1};
    const auto scaled_across = [&](int sy) -> const std::uint32_t* {
        const int slot = sy & 1;
        if (made[slot] != sy) {
            const std::uint16_t* in = row_of(from, sy);
            std::uint32_t* sp = spread_row.data();
            const int end = std::min(sx1, from->w);
            for (int x = sx0; x < end; ++x) {
                sp[x] = spread(in[x], mask);
            }
            sp[from->w] = sp[from->w - 1];
            blend_across_row(sp, fx, wx, across[slot].data(), n, mask);
            made[slot] = sy;
        }
        return across[slot].data();
    };
    for (int y = y0; y < y1; ++y) {
        const int fy = plan.from_y[static_cast<std::size_t>(y)];
        const int wy = plan.weight_y[static_cast<std::size_t>(y)];
        const std::uint32_t* v = scaled_across(fy);
        if (wy != 0) {
            // A row on a source row is that row; the others blend two.
            const std::uint32_t* bottom = scaled_across(std::min(fy + 1, last_y));
            blend_rows(v, bottom, blended.data(), n, wy, mask);
            v = blended.data();
        }
        if (wide) {
            to_display(v, reinterpret_cast<std::uint32_t*>(to->line[y]) + x0, n, depth);
        } else {
            auto* row = reinterpret_cast<std::uint16_t*>(to->line[y]) + x0;
            for (int i = 0; i < n; ++i) {
                row[i] = fold(v[i]);
            }
        }
    }
    return {x0, y0, n, y1 - y0};
}
