// The canister label: the picture by variant, drawn from x = -30, and the
// problem in nine copies one pixel apart, centred on (140, 99).
#include "game_test_support.h"

namespace {

// Rows of the label unlike the expected one; pictures whose every column has
// a colour of its own show where they were drawn from.
int wrong_rows(int variant, int operation, const char* text) {
    static BITMAP* pictures[2] = {create_bitmap(320, 200), create_bitmap(320, 200)};
    static BITMAP* expected = create_bitmap(280, 200);
    for (int x = 0; x < 320; ++x) {
        vline(pictures[0], x, 0, 199, makecol(x % 200, x / 8 * 6, 40));
        vline(pictures[1], x, 0, 199, makecol(x % 200, x / 8 * 6, 200));
    }
    install_test_assets();
    canister_picture_1 = pictures[0];
    canister_picture_2 = pictures[1];
    problem = {12, 4, operation, 0};
    canister_variant = variant;
    set_draw_target(label_bitmap);
    render_label();
    blit(pictures[variant == 2 ? 1 : 0], expected, 30, 0, 0, 0, 280, 200);
    const int left = 140 - text_length(font_label, text) / 2;
    const int top = 99 - text_height(font_label) / 2;
    for (int d = 0; d < 9; ++d) {
        textout_ex(expected, font_label, text, left + d % 3 - 1, top + d / 3 - 1,
                   makecol(255, 192, 128), -1);
    }
    return (draw_target == back_buffer ? 0 : 1000) + differing_rows(label_bitmap, expected);
}

TEST(canister_label, picture_by_variant_and_the_problem_in_the_centre) {
    EXPECT_EQ(wrong_rows(1, 1, "12+4"), 0);
    EXPECT_EQ(wrong_rows(2, 2, "12-4"), 0);
    EXPECT_EQ(wrong_rows(3, 3, "12x4"), 0);
    EXPECT_EQ(wrong_rows(5, 4, "12/4"), 0);
    EXPECT_EQ(wrong_rows(4, 5, ""), 0) << "no sign, no text";
}

}  // namespace
