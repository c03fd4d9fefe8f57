// The picture shown bigger: where it goes on a display and how it is
// scaled, on memory bitmaps at 15 and 16 bits.
#include <gtest/gtest.h>

#include <allegro.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <utility>

#include "frame_scaling.h"

namespace {

std::uint16_t pixel(const BITMAP* b, int x, int y) {
    return reinterpret_cast<const std::uint16_t*>(b->line[y])[x];
}

// A picture of noise, so any pixel taken from the wrong place shows.
BITMAP* noise(int depth, unsigned seed) {
    BITMAP* b = create_bitmap_ex(depth, picture_w, picture_h);
    std::mt19937 random(seed);
    for (int y = 0; y < picture_h; ++y) {
        for (int x = 0; x < picture_w; ++x) {
            putpixel(b, x, y, makecol_depth(depth, random() & 255, random() & 255, random() & 255));
        }
    }
    return b;
}

TEST(frame_scaling, places_the_picture_as_large_as_the_display_allows) {
    const struct {
        int w, h;
        bool sharp;
        picture_area want;
    } cases[] = {
        {1920, 1080, false, {240, 0, 1440, 1080}},  // bars left and right
        {1920, 1080, true, {560, 240, 800, 600}},
        {3840, 2160, true, {720, 180, 2400, 1800}},
        {3840, 2160, false, {480, 0, 2880, 2160}},
        {1600, 1200, false, {0, 0, 1600, 1200}},
        {1280, 1024, false, {0, 32, 1280, 960}},  // bars above and below
        {800, 600, false, {0, 0, 800, 600}},
        {640, 480, false, {0, 0, 800, 600}},  // smaller: 1x, what fits shows
    };
    for (const auto& c : cases) {
        const picture_area got = fit_picture(c.w, c.h, c.sharp);
        EXPECT_EQ(std::to_string(got.x) + "," + std::to_string(got.y) + " " +
                      std::to_string(got.w) + "x" + std::to_string(got.h),
                  std::to_string(c.want.x) + "," + std::to_string(c.want.y) + " " +
                      std::to_string(c.want.w) + "x" + std::to_string(c.want.h))
            << c.w << "x" << c.h << (c.sharp ? " sharp" : "");
    }
}

TEST(frame_scaling, a_window_takes_the_largest_multiple_that_fits_or_the_one_asked) {
    const struct {
        int asked, w, h, want;
        bool warned;
    } cases[] = {
        {0, 1920, 1026, 1, false}, {0, 2560, 1368, 2, false}, {0, 3840, 2052, 3, false},
        {2, 3840, 2052, 2, false}, {3, 3840, 2052, 3, false}, {4, 3840, 2052, 3, true},
        {2, 1920, 1026, 1, true},  {0, 640, 456, 1, false},   {2, 640, 456, 1, true},
    };
    for (const auto& c : cases) {
        std::string warning;
        EXPECT_EQ(window_multiple(c.asked, c.w, c.h, warning), c.want)
            << c.asked << " on " << c.w << "x" << c.h;
        EXPECT_EQ(!warning.empty(), c.warned) << warning;
    }
}

// Each source pixel becomes a k by k square of itself, nothing blended.
TEST(frame_scaling, whole_multiples_copy_every_pixel_exactly) {
    for (const int depth : {16, 15}) {
        BITMAP* from = noise(depth, 7);
        for (const int k : {1, 2, 3}) {
            BITMAP* to = create_bitmap_ex(depth, picture_w * k, picture_h * k);
            clear_bitmap(to);
            const scaling_plan plan = plan_scaling(picture_w, picture_h, to->w, to->h);
            ASSERT_EQ(plan.multiple, k);
            scale_picture(from, to, plan, {0, 0, picture_w, picture_h});
            int wrong = 0;
            for (int y = 0; y < to->h; ++y) {
                for (int x = 0; x < to->w; ++x) {
                    wrong += pixel(to, x, y) != pixel(from, x / k, y / k);
                }
            }
            EXPECT_EQ(wrong, 0) << k << "x at " << depth << " bits";
            destroy_bitmap(to);
        }
        destroy_bitmap(from);
    }
}

// Only a changed part is scaled again on each frame: the result must be
// the picture scaled whole, or the display keeps stale pixels at its edges.
TEST(frame_scaling, a_part_scaled_again_gives_the_picture_scaled_whole) {
    const struct { int w, h; } sizes[] = {{1440, 1080}, {1600, 1200}, {1000, 750}};
    const picture_area parts[] = {{0, 0, 1, 1}, {799, 599, 1, 1}, {300, 17, 211, 40}};
    for (const int depth : {16, 15}) {
        for (const auto& size : sizes) {
            BITMAP* from = noise(depth, 1);
            BITMAP* part = create_bitmap_ex(depth, size.w, size.h);
            BITMAP* whole = create_bitmap_ex(depth, size.w, size.h);
            const scaling_plan plan = plan_scaling(picture_w, picture_h, size.w, size.h);
            scale_picture(from, part, plan, {0, 0, picture_w, picture_h});
            BITMAP* changed = noise(depth, 2);
            for (const picture_area& p : parts) {
                blit(changed, from, p.x, p.y, p.x, p.y, p.w, p.h);
                const picture_area out = scale_picture(from, part, plan, p);
                EXPECT_TRUE(out.x <= p.x * size.w / picture_w && out.w > 0 &&
                            out.x + out.w <= size.w && out.y + out.h <= size.h)
                    << out.x << "," << out.y << " " << out.w << "x" << out.h;
            }
            scale_picture(from, whole, plan, {0, 0, picture_w, picture_h});
            int wrong = 0;
            for (int y = 0; y < size.h; ++y) {
                wrong += std::memcmp(part->line[y], whole->line[y],
                                     static_cast<std::size_t>(size.w) * 2) != 0;
            }
            EXPECT_EQ(wrong, 0) << size.w << "x" << size.h << " at " << depth << " bits";
            for (BITMAP* b : {from, part, whole, changed}) {
                destroy_bitmap(b);
            }
        }
    }
}

// A 32-bit display shows what a 16- or 15-bit one would, each field widened
// by repeating its top bits (full scale stays full scale), whether the
// scaler copies or blends.
TEST(frame_scaling, a_32_bit_display_shows_the_same_colours_widened) {
    for (const int depth : {16, 15}) {
        const int green_bits = depth == 16 ? 6 : 5;
        const int r_at = depth == 16 ? _rgb_r_shift_16 : _rgb_r_shift_15;
        const int g_at = depth == 16 ? _rgb_g_shift_16 : _rgb_g_shift_15;
        const int b_at = depth == 16 ? _rgb_b_shift_16 : _rgb_b_shift_15;
        const auto widen = [](std::uint32_t v, int bits) {
            return (v << (8 - bits)) | (v >> (2 * bits - 8));
        };
        BITMAP* from = noise(depth, 3);
        for (const auto& size : {std::make_pair(1440, 1080), std::make_pair(1600, 1200)}) {
            const scaling_plan plan = plan_scaling(picture_w, picture_h, size.first, size.second);
            BITMAP* narrow = create_bitmap_ex(depth, size.first, size.second);
            BITMAP* wide = create_bitmap_ex(32, size.first, size.second);
            scale_picture(from, narrow, plan, {0, 0, picture_w, picture_h});
            scale_picture(from, wide, plan, {0, 0, picture_w, picture_h});
            int wrong = 0;
            for (int y = 0; y < size.second; ++y) {
                const auto* out = reinterpret_cast<const std::uint32_t*>(wide->line[y]);
                for (int x = 0; x < size.first; ++x) {
                    const std::uint32_t c = pixel(narrow, x, y);
                    const std::uint32_t want =
                        (widen((c >> r_at) & 31, 5) << _rgb_r_shift_32) |
                        (widen((c >> g_at) & ((1u << green_bits) - 1), green_bits)
                         << _rgb_g_shift_32) |
                        (widen((c >> b_at) & 31, 5) << _rgb_b_shift_32);
                    wrong += (out[x] & 0xFFFFFFu) != want;
                }
            }
            EXPECT_EQ(wrong, 0) << size.first << "x" << size.second << " at " << depth << " bits";
            destroy_bitmap(narrow);
            destroy_bitmap(wide);
        }
        destroy_bitmap(from);
    }
}

// The eight-wide loops, where the processor has them, give the plain
// loops' pixels: at sizes whose columns reach past eight source pixels or
// barely move, for a part and for the whole, at both depths.
TEST(frame_scaling, the_wide_loops_give_the_plain_loops_pixels) {
    for (const int depth : {16, 15}) {
        BITMAP* from = noise(depth, 11);
        for (const auto& size :
             {std::make_pair(1440, 1080), std::make_pair(801, 601), std::make_pair(2880, 2160)}) {
            for (const picture_area part : {picture_area{}, picture_area{3, 5, 97, 41}}) {
                const scaling_plan plan =
                    plan_scaling(picture_w, picture_h, size.first, size.second);
                BITMAP* out[2] = {create_bitmap_ex(32, size.first, size.second),
                                  create_bitmap_ex(32, size.first, size.second)};
                for (int wide = 0; wide < 2; ++wide) {
                    clear_bitmap(out[wide]);
                    allow_wide_scaling(wide == 1);
                    scale_picture(from, out[wide], plan, part);
                }
                int rows_differing = 0;
                for (int y = 0; y < size.second; ++y) {
                    rows_differing += std::memcmp(out[0]->line[y], out[1]->line[y],
                                                  static_cast<std::size_t>(size.first) * 4) != 0;
                }
                EXPECT_EQ(rows_differing, 0) << size.first << "x" << size.second << ", part "
                                             << part.w << " wide, at " << depth << " bits";
                destroy_bitmap(out[0]);
                destroy_bitmap(out[1]);
            }
        }
        destroy_bitmap(from);
    }
}

// Smooth scaling keeps a flat colour flat and puts an edge where it was,
// with blends only on the one or two pixels across it.
TEST(frame_scaling, smooth_scaling_blends_only_across_edges) {
    for (const int depth : {16, 15}) {
        BITMAP* from = create_bitmap_ex(depth, picture_w, picture_h);
        const int dark = makecol_depth(depth, 16, 32, 200);
        const int light = makecol_depth(depth, 240, 200, 8);
        clear_to_color(from, dark);
        rectfill(from, 400, 0, 799, 599, light);  // an edge at x = 400
        BITMAP* to = create_bitmap_ex(depth, 1440, 1080);
        scale_picture(from, to, plan_scaling(picture_w, picture_h, 1440, 1080),
                      {0, 0, picture_w, picture_h});
        int blended = 0;
        for (int x = 0; x < 1440; ++x) {
            const int c = pixel(to, x, 540);
            if (x < 718) {
                EXPECT_EQ(c, dark) << x;
            } else if (x > 721) {
                EXPECT_EQ(c, light) << x;
            } else if (c != dark && c != light) {
                ++blended;
                EXPECT_GT(getr_depth(depth, c), getr_depth(depth, dark)) << x;
                EXPECT_LT(getr_depth(depth, c), getr_depth(depth, light)) << x;
            }
        }
        EXPECT_GE(blended, 1) << "the edge is smoothed";
        for (int y = 0; y < 1080; ++y) {
            EXPECT_EQ(pixel(to, 0, y), dark) << y;
            EXPECT_EQ(pixel(to, 1439, y), light) << y;
        }
        destroy_bitmap(from);
        destroy_bitmap(to);
    }
}

}  // namespace
