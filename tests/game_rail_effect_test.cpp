// The rails: which pixels are tinted, the stripes from the canister's depth,
// the blend, and that the direct path paints the very same frames as the
// pixel calls.

#include <vector>

#include "game_test_support.h"
#include "rail_effect.h"

namespace {

// Rail membership worked out from the rails' edges as rational lines: the
// left rail runs from 500 - 26y/25 (rounded outward) to the inner edge
// 500 - y, the right one from 300 + y to 300 + 26y/25.
bool in_left_rail(int x, int y) {
    return y >= 101 && y <= 399 && x <= 500 - y && 25 * (499 - x) < 26 * y;
}
bool in_right_rail(int x, int y) {
    return y >= 101 && y <= 399 && x >= 300 + y && 25 * (x - 300) <= 26 * y;
}

class rail_effect_test : public game_test {
   protected:
    void SetUp() override {
        game_test::SetUp();
        saved_buffer = back_buffer;
    }
    void TearDown() override {
        back_buffer = saved_buffer;
        set_color_depth(16);
        set_draw_target(back_buffer);
        for (BITMAP* b : made) {
            destroy_bitmap(b);
        }
        game_test::TearDown();
    }

    // A true-colour buffer keeps every 8-bit component, so the blend's
    // integer arithmetic shows exactly.
    BITMAP* use_buffer(int depth) {
        set_color_depth(depth);
        back_buffer = create_bitmap(800, 600);
        made.push_back(back_buffer);
        set_draw_target(back_buffer);
        return back_buffer;
    }
    BITMAP* copy_of(BITMAP* b) {
        BITMAP* c = create_bitmap(b->w, b->h);
        made.push_back(c);
        blit(b, c, 0, 0, 0, 0, b->w, b->h);
        return c;
    }
    static void fill_noise(BITMAP* b, unsigned seed) {
        for (int y = 0; y < b->h; ++y) {
            for (int x = 0; x < b->w; ++x) {
                seed = seed * 1103515245u + 12345u;
                putpixel(b, x, y,
                         makecol((seed >> 8) & 255, (seed >> 16) & 255, (seed >> 24) & 255));
            }
        }
    }
    static std::vector<int> changed_columns(BITMAP* before, BITMAP* after, int y) {
        std::vector<int> xs;
        for (int x = 0; x < 800; ++x) {
            if (getpixel(before, x, y) != getpixel(after, x, y)) {
                xs.push_back(x);
            }
        }
        return xs;
    }
    static std::vector<int> span(int from, int to) {
        std::vector<int> xs;
        for (int x = from; x <= to; ++x) {
            xs.push_back(x);
        }
        return xs;
    }
    static std::vector<int> spans(int a, int b, int c, int d) {
        std::vector<int> xs = span(a, b);
        for (int x : span(c, d)) {
            xs.push_back(x);
        }
        return xs;
    }
    static void expect_rgb(BITMAP* b, int x, int y, int r, int g, int bl) {
        const int c = getpixel(b, x, y);
        EXPECT_EQ(getr(c), r) << "at " << x << "," << y;
        EXPECT_EQ(getg(c), g) << "at " << x << "," << y;
        EXPECT_EQ(getb(c), bl) << "at " << x << "," << y;
    }

    BITMAP* saved_buffer = nullptr;
    std::vector<BITMAP*> made;
};

TEST_F(rail_effect_test, edge_rows_cover_exactly_the_rail_columns) {
    BITMAP* b = use_buffer(32);
    clear_to_color(b, makecol(255, 255, 255));
    BITMAP* before = copy_of(b);
    canister_distance = 6000;
    draw_rails();
    EXPECT_EQ(changed_columns(before, b, 101), spans(394, 399, 401, 405));
    EXPECT_EQ(changed_columns(before, b, 250), spans(240, 250, 550, 560));
    EXPECT_EQ(changed_columns(before, b, 399), spans(85, 101, 699, 714));
    // Rows that are multiples of 25 give both rails the same width; the
    // others give the left rail one pixel more.
    EXPECT_EQ(changed_columns(before, b, 300), spans(188, 200, 600, 612));
    EXPECT_EQ(changed_columns(before, b, 301), spans(186, 199, 601, 613));
    EXPECT_TRUE(changed_columns(before, b, 100).empty());
    EXPECT_TRUE(changed_columns(before, b, 400).empty());
}

TEST_F(rail_effect_test, every_rail_pixel_changes_and_nothing_else_does) {
    BITMAP* b = use_buffer(32);
    fill_noise(b, 7);
    // White rails so that every rail pixel is bound to change.
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            if (in_left_rail(x, y) || in_right_rail(x, y)) {
                putpixel(b, x, y, makecol(255, 255, 255));
            }
        }
    }
    BITMAP* before = copy_of(b);
    canister_distance = 3456;
    draw_rails();
    int changed = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            const bool rail = in_left_rail(x, y) || in_right_rail(x, y);
            const bool differs = getpixel(b, x, y) != getpixel(before, x, y);
            ASSERT_EQ(differs, rail) << "at " << x << "," << y;
            changed += differs ? 1 : 0;
        }
    }
    EXPECT_EQ(changed, 6578);
    EXPECT_FALSE(in_left_rail(400, 100) || in_right_rail(400, 100));
}

TEST_F(rail_effect_test, stripes_follow_the_depth_of_each_row_and_the_canister) {
    BITMAP* b = use_buffer(32);
    // Row 121 keeps 279/300 of black and takes 21/300 of the stripe: at
    // depth 6000 its stripe index is 5017 (odd: bright 255), at 1000 it is
    // 5042 (even: dark 127).
    clear_to_color(b, makecol(0, 0, 0));
    canister_distance = 6000;
    draw_rails();
    expect_rgb(b, 376, 121, 17, 0, 0);
    expect_rgb(b, 423, 121, 17, 0, 0);
    clear_to_color(b, makecol(0, 0, 0));
    canister_distance = 1000;
    draw_rails();
    expect_rgb(b, 376, 121, 8, 0, 0);
    expect_rgb(b, 423, 121, 8, 0, 0);
}

TEST_F(rail_effect_test, black_near_the_viewer_and_white_near_the_horizon) {
    BITMAP* b = use_buffer(32);
    clear_to_color(b, makecol(0, 0, 0));
    // Row 399: stripe 4973 at depth 6000 (bright), 4974 at 5800 (dark).
    canister_distance = 6000;
    draw_rails();
    expect_rgb(b, 85, 399, 254, 0, 0);
    expect_rgb(b, 714, 399, 254, 0, 0);
    clear_to_color(b, makecol(0, 0, 0));
    canister_distance = 5800;
    draw_rails();
    expect_rgb(b, 101, 399, 126, 0, 0);

    // Row 101: stripe 5995 at depth 1000 (bright), 5970 at 6000 (dark).
    clear_to_color(b, makecol(255, 255, 255));
    canister_distance = 1000;
    draw_rails();
    expect_rgb(b, 396, 101, 255, 254, 254);
    clear_to_color(b, makecol(255, 255, 255));
    canister_distance = 6000;
    draw_rails();
    expect_rgb(b, 403, 101, 254, 254, 254);
}

TEST_F(rail_effect_test, the_blend_keeps_weight_of_the_scenery_and_darkens_green_and_blue) {
    BITMAP* b = use_buffer(32);
    clear_to_color(b, makecol(100, 200, 50));
    canister_distance = 5800;  // row 250: stripe index 4977, bright
    draw_rails();
    // w = 150: red (100*150 + 255*150)/300, green and blue halved.
    expect_rgb(b, 245, 250, 177, 100, 25);
    expect_rgb(b, 555, 250, 177, 100, 25);
    // The last pixel's colour is left as the current colour.
    EXPECT_EQ(draw_color, getpixel(b, 714, 399));
}

TEST_F(rail_effect_test, direct_path_paints_the_same_frames_as_the_pixel_calls) {
    for (int depth : {16, 15}) {
        BITMAP* b = use_buffer(depth);
        for (int distance : {1000, 1001, 2500, 4321, 5999, 6000}) {
            fill_noise(b, static_cast<unsigned>(distance * depth));
            BITMAP* reference = copy_of(b);
            canister_distance = distance;

            draw_rails();
            const int direct_color = draw_color;

            back_buffer = reference;
            set_draw_target(reference);
            draw_color = 0;
            draw_rails_by_pixel();
            back_buffer = b;
            set_draw_target(b);

            EXPECT_EQ(direct_color, draw_color) << depth << " bpp, depth " << distance;
            int differing = 0;
            for (int y = 0; y < 600; ++y) {
                for (int x = 0; x < 800; ++x) {
                    differing += getpixel(b, x, y) != getpixel(reference, x, y) ? 1 : 0;
                }
            }
            EXPECT_EQ(differing, 0) << depth << " bpp, depth " << distance;
        }
    }
}

TEST_F(rail_effect_test, pixel_calls_serve_a_target_in_another_drawing_mode) {
    // In XOR mode the written colour is mixed with the scenery, which only
    // the pixel calls do; the direct path must stand aside.
    BITMAP* b = use_buffer(16);
    clear_to_color(b, makecol(0, 0, 0));
    BITMAP* reference = copy_of(b);
    canister_distance = 6000;
    drawing_mode(DRAW_MODE_XOR, nullptr, 0, 0);
    draw_rails();
    back_buffer = reference;
    set_draw_target(reference);
    draw_rails_by_pixel();
    drawing_mode(DRAW_MODE_SOLID, nullptr, 0, 0);
    back_buffer = b;
    for (int y = 101; y <= 399; ++y) {
        for (int x = 0; x < 800; ++x) {
            ASSERT_EQ(getpixel(b, x, y), getpixel(reference, x, y)) << x << "," << y;
        }
    }
}

}  // namespace
