#include <gtest/gtest.h>

#include <allegro.h>

#include "drawing_kit.h"
#include "menu_test_support.h"
#include "settings_menus.h"

namespace {

using strings = std::vector<std::string>;

class settings_menu_screen : public screen_test {
   protected:
    void SetUp() override {
        screen_test::SetUp();
        difficulty = 1;
        topic = 1;
    }
    void TearDown() override {
        difficulty = 1;
        topic = 1;
        screen_test::TearDown();
    }

    // The row whose band a frame shows inverted: 1..5, 0 for the back row,
    // -1 for none. Bands are 720x60 at x = 50, y = 60 * row + 84, back row
    // at 504.
    static int inverted_row(BITMAP* frame, const int bg[3]) {
        const int normal = makecol(bg[0], bg[1], bg[2]);
        const int inverted = normal ^ 0xFFFF;
        int found = -1;
        for (int row = 0; row <= 5; ++row) {
            const int y = row > 0 ? 60 * row + 84 : 504;
            const int corners[4][2] = {{50, y}, {769, y}, {50, y + 59}, {769, y + 59}};
            int hits = 0;
            for (auto& c : corners) {
                hits += getpixel(frame, c[0], c[1]) == inverted ? 1 : 0;
            }
            if (hits == 4) {
                EXPECT_EQ(found, -1) << "two bands inverted";
                found = row;
            }
            // The band ends exactly at its edges.
            EXPECT_EQ(getpixel(frame, 49, y), normal);
            EXPECT_EQ(getpixel(frame, 770, y), normal);
        }
        return found;
    }

    // Runs one menu (the topic menu when `topic_only`) with keys per pass of
    // whichever menu is up, recording the inverted row each pass shows when
    // it reads the keys.
    int run(std::vector<std::set<int>> passes, bool topic_only) {
        fake().looks = 0;
        fake().look_pending = true;
        fake().on_look = [this, passes](int n) {
            BITMAP* s = fake().screen;
            const bool difficulty_frame = pixel_is(s, 5, 5, test_colors::difficulty);
            const bool topic_frame = pixel_is(s, 5, 5, test_colors::topic);
            if (difficulty_frame || topic_frame) {
                const int row =
                    inverted_row(s, topic_frame ? test_colors::topic : test_colors::difficulty);
                EXPECT_GE(row, 0) << "a pass reads keys with its highlight shown";
                shown.push_back((topic_frame ? "t" : "d") + std::to_string(row));
            }
            for (bool& h : fake().held)
                h = false;
            if (n < static_cast<int>(passes.size())) {
                for (int k : passes[static_cast<std::size_t>(n)])
                    fake().held[k] = true;
            }
        };
        return topic_only ? topic_menu() : difficulty_menu();
    }

    strings shown;
};

TEST_F(settings_menu_screen, difficulty_rows_cycle_through_the_back_row) {
    EXPECT_EQ(run({{KEY_DOWN},
                   {},
                   {KEY_DOWN},
                   {},
                   {KEY_DOWN},
                   {},
                   {KEY_DOWN},
                   {},
                   {KEY_DOWN},
                   {},
                   {KEY_UP},
                   {},
                   {KEY_UP},
                   {},
                   {KEY_0},
                   {KEY_ENTER}},
                  false),
              0);
    EXPECT_EQ(shown, (strings{"d1", "d2", "d2", "d3", "d3", "d4", "d4", "d0", "d0", "d1", "d1",
                              "d0", "d0", "d4", "d4", "d0"}));
    EXPECT_EQ(sounds_and_rests(), (strings{"menu_confirm/127"})) << "back row: no pause";
    EXPECT_EQ(difficulty, 1);
}

TEST_F(settings_menu_screen, topic_menu_reaches_mixed_by_digit_and_arrow) {
    topic = 4;
    EXPECT_EQ(run({{KEY_DOWN},
                   {},
                   {KEY_DOWN},
                   {},
                   {KEY_DOWN},
                   {},
                   {KEY_UP},
                   {},
                   {KEY_3},
                   {KEY_5},
                   {KEY_ENTER}},
                  true),
              1);
    EXPECT_EQ(shown, (strings{"t4", "t5", "t5", "t0", "t0", "t1", "t1", "t0", "t0", "t3", "t5"}));
    EXPECT_EQ(topic, 5);
    EXPECT_EQ(sounds_and_rests(), (strings{"menu_confirm/127", "rest 500"}));
}

TEST_F(settings_menu_screen, digits_beyond_the_rows_and_other_keys_change_nothing) {
    difficulty = 2;
    run({{KEY_5}, {KEY_9}, {KEY_SPACE}, {KEY_ESC}, {KEY_3_PAD}, {KEY_0}, {KEY_ENTER}}, false);
    EXPECT_EQ(shown, (strings{"d2", "d2", "d2", "d2", "d2", "d2", "d0"}));
    EXPECT_EQ(difficulty, 2);
}

TEST_F(settings_menu_screen, a_difficulty_is_kept_when_the_topic_menu_is_left_by_its_back_row) {
    topic = 2;
    // The pause after the topic menu is a look of its own: the rest of
    // that pass reads the arrows with the topic menu still on the screen.
    run({{KEY_3}, {KEY_ENTER}, {KEY_0}, {KEY_ENTER}, {}, {}, {}, {KEY_0}, {KEY_ENTER}}, false);
    EXPECT_EQ(difficulty, 3);
    EXPECT_EQ(topic, 2);
    // Back from the topic menu the difficulty menu still shows row 3.
    EXPECT_EQ(shown, (strings{"d1", "d3", "t2", "t0", "t0", "d3", "d3", "d3", "d0"}));
    EXPECT_EQ(sounds_and_rests(), (strings{"menu_confirm/127", "rest 500", "menu_confirm/127",
                                           "rest 500", "menu_confirm/127"}));
}

TEST_F(settings_menu_screen, enter_held_confirms_the_topic_too) {
    topic = 3;
    // The topic menu's first pass still sees the Enter of the difficulty.
    EXPECT_EQ(run({{KEY_4}, {KEY_ENTER}, {KEY_ENTER}}, false), 1);
    EXPECT_EQ(difficulty, 4);
    EXPECT_EQ(topic, 3);
}

TEST_F(settings_menu_screen, opens_on_the_current_setting) {
    difficulty = 4;
    run({{KEY_0}, {KEY_ENTER}}, false);
    EXPECT_EQ(shown.front(), "d4");
    shown.clear();
    topic = 5;
    run({{KEY_0}, {KEY_ENTER}}, true);
    EXPECT_EQ(shown.front(), "t5");
}

TEST_F(settings_menu_screen, the_highlight_leaves_the_drawing_mode_solid) {
    run({{KEY_0}, {KEY_ENTER}}, false);
    BITMAP* probe = create_bitmap(4, 4);
    clear_to_color(probe, makecol(255, 0, 0));
    set_draw_target(probe);
    set_draw_color(255, 255, 255);
    draw_box(0, 0, 4, 4, 1);
    EXPECT_EQ(getpixel(probe, 1, 1), makecol(255, 255, 255)) << "still drawing in XOR";
    destroy_bitmap(probe);
}

}  // namespace
