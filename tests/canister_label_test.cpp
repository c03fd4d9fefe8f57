// The canister label: which picture, where it lands, and the bold problem
// text centred on it, checked pixel by pixel with the library's 8x8 font.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstring>

#include "asset_catalogue.h"
#include "canister_label.h"
#include "drawing_kit.h"
#include "problem_generator.h"
#include "test_assets.h"

namespace {

constexpr int label_w = 280;
constexpr int label_h = 200;
constexpr int picture_w = 320;

// A picture whose every column has its own colour, with a magenta block, so
// a pixel of the label tells which picture and which column it came from.
BITMAP* striped_picture(int blue) {
    BITMAP* b = create_bitmap(picture_w, label_h);
    for (int x = 0; x < picture_w; ++x) {
        vline(b, x, 0, label_h - 1, makecol(x % 200, (x / 8) * 6 % 256, blue));
    }
    rectfill(b, 200, 150, 239, 189, makecol(255, 0, 255));
    return b;
}

class CanisterLabel : public testing::Test {
   protected:
    void SetUp() override {
        install_test_assets();
        saved_1 = canister_picture_1;
        saved_2 = canister_picture_2;
        saved_font = font_label;
        if (picture_1 == nullptr) {
            picture_1 = striped_picture(40);
            picture_2 = striped_picture(200);
        }
        canister_picture_1 = picture_1;
        canister_picture_2 = picture_2;
        font_label = font;
        clear_to_color(label_bitmap, makecol(0, 255, 0));
        set_draw_target(back_buffer);
    }
    void TearDown() override {
        canister_picture_1 = saved_1;
        canister_picture_2 = saved_2;
        font_label = saved_font;
    }

    static BITMAP* picture_1;
    static BITMAP* picture_2;
    BITMAP* saved_1 = nullptr;
    BITMAP* saved_2 = nullptr;
    FONT* saved_font = nullptr;
};

BITMAP* CanisterLabel::picture_1 = nullptr;
BITMAP* CanisterLabel::picture_2 = nullptr;

void set_problem(int a, int operation, int b, int variant) {
    problem.operand_a = a;
    problem.operand_b = b;
    problem.problem_operation = operation;
    canister_variant = variant;
}

// Counts label pixels that differ from the picture drawn 30 pixels to the
// left, outside the given ink.
int picture_mismatches(BITMAP* picture, const bool ink[label_h][label_w]) {
    int wrong = 0;
    for (int y = 0; y < label_h; ++y) {
        for (int x = 0; x < label_w; ++x) {
            if (ink == nullptr || !ink[y][x]) {
                wrong += getpixel(label_bitmap, x, y) != getpixel(picture, x + 30, y);
            }
        }
    }
    return wrong;
}

TEST_F(CanisterLabel, VariantTwoTakesTheSecondPictureTheOthersTheFirst) {
    for (int variant = 1; variant <= 5; ++variant) {
        set_problem(0, 0, 0, variant);
        render_label();
        BITMAP* expected = variant == 2 ? picture_2 : picture_1;
        EXPECT_EQ(picture_mismatches(expected, nullptr), 0) << "variant " << variant;
    }
}

TEST_F(CanisterLabel, PictureIsCopiedWholeFromThirtyPixelsLeft) {
    set_problem(0, 0, 0, 1);
    render_label();
    // Column 0 of the label is column 30 of the picture.
    EXPECT_EQ(getpixel(label_bitmap, 0, 10), getpixel(picture_1, 30, 10));
    EXPECT_EQ(getpixel(label_bitmap, 279, 199), getpixel(picture_1, 309, 199));
    // A plain copy: the mask colour arrives on the label too (picture
    // columns 200..239 are label columns 170..209).
    EXPECT_EQ(getpixel(label_bitmap, 170, 150), makecol(255, 0, 255));
    EXPECT_EQ(getpixel(label_bitmap, 209, 189), makecol(255, 0, 255));
}

TEST_F(CanisterLabel, UncoveredPartKeepsTheEarlierLabel) {
    BITMAP* small = create_bitmap(100, 50);
    clear_to_color(small, makecol(9, 9, 200));
    canister_picture_1 = small;
    set_problem(0, 0, 0, 3);
    render_label();
    EXPECT_EQ(getpixel(label_bitmap, 0, 0), makecol(9, 9, 200));
    EXPECT_EQ(getpixel(label_bitmap, 69, 49), makecol(9, 9, 200));
    EXPECT_EQ(getpixel(label_bitmap, 70, 0), makecol(0, 255, 0));
    EXPECT_EQ(getpixel(label_bitmap, 0, 50), makecol(0, 255, 0));
    canister_picture_1 = picture_1;
    destroy_bitmap(small);
}

// Where the problem text should be inked: the text is rendered once with
// the 8x8 font at its centred place, 140 - 8 * length / 2 across and
// 99 - 8 / 2 = 95 down, and every pixel of it is spread to its eight
// neighbours by the nine copies one pixel apart.
void expected_ink(const char* text, bool ink[label_h][label_w]) {
    const int length = static_cast<int>(std::strlen(text));
    BITMAP* single = create_bitmap(8 * length, 8);
    clear_to_color(single, 0);
    textout_ex(single, font, text, 0, 0, 1, -1);
    const int left = 140 - 8 * length / 2;
    const int top = 95;
    std::memset(ink, 0, sizeof(bool) * label_h * label_w);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8 * length; ++x) {
            if (getpixel(single, x, y) == 0) {
                continue;
            }
            for (int dx = -1; dx <= 1; ++dx) {
                for (int dy = -1; dy <= 1; ++dy) {
                    ink[top + y + dy][left + x + dx] = true;
                }
            }
        }
    }
    destroy_bitmap(single);
}

void expect_text(const char* text, BITMAP* picture) {
    static bool ink[label_h][label_w];
    expected_ink(text, ink);
    const int text_color = makecol(255, 192, 128);
    int inked = 0;
    int wrong_ink = 0;
    for (int y = 0; y < label_h; ++y) {
        for (int x = 0; x < label_w; ++x) {
            if (ink[y][x]) {
                ++inked;
                wrong_ink += getpixel(label_bitmap, x, y) != text_color;
            }
        }
    }
    EXPECT_GT(inked, 50) << text;
    EXPECT_EQ(wrong_ink, 0) << text;
    EXPECT_EQ(picture_mismatches(picture, ink), 0) << text;
}

TEST_F(CanisterLabel, ProblemTextIsDrawnBoldAndCentred) {
    const struct {
        int a, op, b;
        const char* text;
    } cases[] = {
        {9, 2, 4, "9-4"}, {9, 3, 4, "9x4"}, {144, 4, 12, "144/12"},
        {7, 1, 5, "7+5"}, {0, 1, 0, "0+0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        set_problem(c.a, c.op, c.b, 1);
        render_label();
        expect_text(c.text, picture_1);
    }
}

TEST_F(CanisterLabel, OperationOutsideOneToFourLeavesTheBarePicture) {
    const int operations[] = {0, 5, -1};
    for (int op : operations) {
        set_problem(9, op, 4, 1);
        render_label();
        EXPECT_EQ(picture_mismatches(picture_1, nullptr), 0) << "operation " << op;
    }
}

TEST_F(CanisterLabel, DrawsOnTheLabelOnlyAndLeavesTheTargetOnTheBackBuffer) {
    clear_to_color(back_buffer, makecol(1, 2, 3));
    BITMAP* other = create_bitmap(10, 10);
    set_draw_target(other);
    set_problem(12, 3, 3, 2);
    render_label();
    EXPECT_EQ(draw_target, back_buffer);
    EXPECT_EQ(draw_font, font_label);
    EXPECT_EQ(draw_color, makecol(255, 192, 128));
    int changed = 0;
    for (int y = 0; y < 600; y += 3) {
        for (int x = 0; x < 800; x += 3) {
            changed += getpixel(back_buffer, x, y) != makecol(1, 2, 3);
        }
    }
    EXPECT_EQ(changed, 0);
    destroy_bitmap(other);
}

}  // namespace
