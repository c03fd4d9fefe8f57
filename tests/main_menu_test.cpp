#include <gtest/gtest.h>

#include <allegro.h>

#include "drawing_kit.h"
#include "main_menu.h"
#include "menu_test_support.h"
#include "settings_menus.h"

namespace {

using strings = std::vector<std::string>;

class main_menu_screen : public screen_test {
   protected:
    // The choice whose highlight a presented frame shows, 0 for none. The
    // highlight frame's top-left corner is at (180, 112 * choice - 60).
    static int highlighted_choice(BITMAP* frame) {
        int found = 0;
        for (int choice = 1; choice <= 5; ++choice) {
            const int y = 112 * choice - 60;
            if (pixel_is(frame, 180, y, test_colors::highlight) &&
                pixel_is(frame, 619, y + 95, test_colors::highlight)) {
                EXPECT_EQ(found, 0) << "two highlights";
                found = choice;
            }
            // Mask-colour pixels of the highlight are left out.
            EXPECT_TRUE(pixel_is(frame, 300, y + 40, test_colors::menu));
            EXPECT_TRUE(pixel_is(frame, 179, y, test_colors::menu));
            EXPECT_TRUE(pixel_is(frame, 620, y, test_colors::menu));
        }
        return found;
    }

    // Runs the menu with the given keys per pass, recording the highlighted
    // choice that each pass shows when it reads the keys.
    int run(std::vector<std::set<int>> passes) {
        fake().on_look = [this, passes](int n) {
            // Passes of the screens the menu opens are not menu passes.
            if (pixel_is(fake().screen, 0, 0, test_colors::menu)) {
                shown.push_back(highlighted_choice(fake().screen));
            }
            for (bool& h : fake().held)
                h = false;
            if (n < static_cast<int>(passes.size())) {
                for (int k : passes[static_cast<std::size_t>(n)])
                    fake().held[k] = true;
            }
        };
        return main_menu();
    }

    std::vector<int> shown;
};

TEST_F(main_menu_screen, opens_after_a_pause_with_choice_one) {
    EXPECT_EQ(run({{KEY_5}, {KEY_ENTER}}), 0);
    ASSERT_GE(fake().events.size(), 2u);
    EXPECT_EQ(fake().events[0], "rest 200");
    EXPECT_EQ(fake().events[1], "present");
    EXPECT_EQ(shown.front(), 1);
}

TEST_F(main_menu_screen, exit_choice_confirms_pauses_and_ends) {
    EXPECT_EQ(run({{KEY_5}, {KEY_ENTER}}), 0);
    EXPECT_EQ(sounds_and_rests(), (strings{"rest 200", "menu_confirm/127", "rest 500"}));
}

TEST_F(main_menu_screen, no_selection_ends_at_once_without_the_pause) {
    EXPECT_EQ(run({{KEY_0}, {KEY_ENTER}}), 0);
    EXPECT_EQ(shown, (std::vector<int>{1, 0}));
    EXPECT_EQ(sounds_and_rests(), (strings{"rest 200", "menu_confirm/127"}));
}

TEST_F(main_menu_screen, arrows_wrap_and_move_once_per_press) {
    run({{KEY_DOWN}, {KEY_DOWN}, {KEY_DOWN}, {},       {KEY_DOWN}, {},         {KEY_UP},
         {},         {KEY_UP},   {},         {KEY_UP}, {},         {KEY_DOWN}, {},
         {KEY_DOWN}, {},         {KEY_DOWN}, {},       {KEY_DOWN}, {KEY_5},    {KEY_ENTER}});
    // Held for three passes it moves once; the latch needs a pass with the
    // key up before the next press counts.
    EXPECT_EQ(shown,
              (std::vector<int>{1, 2, 2, 2, 2, 3, 3, 2, 2, 1, 1, 5, 5, 1, 1, 2, 2, 3, 3, 4, 5}));
}

TEST_F(main_menu_screen, one_pass_released_rearms_the_arrow) {
    run({{KEY_DOWN}, {}, {KEY_DOWN}, {}, {}, {KEY_DOWN}, {KEY_5}, {KEY_ENTER}});
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 2, 3, 3, 3, 4, 5}));
}

TEST_F(main_menu_screen, from_no_selection_down_gives_one_and_up_gives_four) {
    run({{KEY_0}, {KEY_DOWN}, {}, {}, {KEY_0}, {KEY_UP}, {}, {}, {KEY_5}, {KEY_ENTER}});
    EXPECT_EQ(shown, (std::vector<int>{1, 0, 1, 1, 1, 0, 4, 4, 4, 5}));
}

TEST_F(main_menu_screen, down_wins_over_up_on_the_same_pass) {
    run({{KEY_DOWN, KEY_UP}, {}, {}, {KEY_5}, {KEY_ENTER}});
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 2, 2, 5}));
}

TEST_F(main_menu_screen, other_keys_change_nothing) {
    run({{KEY_2},
         {KEY_6},
         {KEY_9},
         {KEY_SPACE},
         {KEY_ESC},
         {KEY_A},
         {KEY_2_PAD},
         {KEY_ENTER_PAD},
         {KEY_5},
         {KEY_ENTER}});
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 2, 2, 2, 2, 2, 2, 2, 5}));
    EXPECT_EQ(fake().count_events("sound"), 1);
}

TEST_F(main_menu_screen, enter_beats_a_digit_held_with_it) {
    EXPECT_EQ(run({{KEY_ENTER, KEY_5}, {KEY_ESC}}), 1) << "choice 1 starts a game";
}

TEST_F(main_menu_screen, enter_held_through_the_pause_closes_the_high_scores_at_once) {
    run({{KEY_2}, {KEY_ENTER}, {KEY_ENTER}});
    fake().on_look = nullptr;
    // The key stays down through the pause: the table is drawn once and
    // closed by the same press.
    EXPECT_EQ(sounds_and_rests(),
              (strings{"rest 200", "menu_confirm/127", "rest 500", "rest 500"}));
    EXPECT_TRUE(pixel_is(fake().screen, 5, 5, test_colors::highscore));
}

TEST_F(main_menu_screen, guide_opens_from_choice_three_and_returns_one) {
    fake().on_look = [](int n) {
        for (bool& h : fake().held)
            h = false;
        if (n == 0)
            fake().held[KEY_3] = true;
        if (n >= 1)
            fake().held[KEY_ENTER] = true;
    };
    EXPECT_EQ(main_menu(), 1);
    EXPECT_EQ(getpixel(fake().screen, 2, 2), makecol(255, 255, 255)) << "the guide page";
}

TEST_F(main_menu_screen, enter_held_runs_through_both_settings_menus) {
    difficulty = 3;
    topic = 2;
    fake().on_look = [](int n) {
        for (bool& h : fake().held)
            h = false;
        if (n == 0)
            fake().held[KEY_4] = true;
        if (n >= 1)
            fake().held[KEY_ENTER] = true;
    };
    EXPECT_EQ(main_menu(), 1);
    // Each menu confirms its highlighted row, which is the current setting.
    EXPECT_EQ(difficulty, 3);
    EXPECT_EQ(topic, 2);
    EXPECT_EQ(sounds_and_rests(),
              (strings{"rest 200", "menu_confirm/127", "rest 500", "menu_confirm/127", "rest 500",
                       "menu_confirm/127", "rest 500"}));
    difficulty = 1;
    topic = 1;
}

}  // namespace
