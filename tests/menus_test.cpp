// The menus and the screens they open, driven through the fake device layer.
#include <gtest/gtest.h>

#include <allegro.h>
#include <allegro/internal/aintern.h>  // _drawing_mode

#include <sstream>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "guide_screen.h"
#include "high_scores.h"
#include "main_menu.h"
#include "menu_test_support.h"
#include "scratch_folder.h"
#include "settings_menus.h"

namespace {

// Read before any test changes them: what a player starts with.
const int difficulty_at_start = difficulty;
const int topic_at_start = topic;

struct menu_case {
    int (*menu)();
    int settings;  // difficulty and topic as two digits, at the start
    // Keys held on each pass, one word a pass: D Down, U Up, E Enter,
    // P keypad Enter, S Space, X Escape, K keypad 2, digits; _ nothing.
    const char* keys;
    const char* seen;   // screen_tag at each pass
    const char* heard;  // sounds and rests
    int result, settings_after;
};

const menu_case menu_cases[] = {
    {main_menu, 11, "D D D _ D _ D _ D _ D _ U _ U _ U _ U _ U _ 0 E",
     "1 2 2 2 2 3 3 4 4 5 5 1 1 5 5 4 4 3 3 2 2 1 1 0", "200 confirm", 0, 11},
    {main_menu, 11, "0 D _ 0 U _ DU _ 5 E", "1 0 1 1 0 4 4 5 5 5", "200 confirm 500", 0, 11},
    {main_menu, 11, "2 6 9 S X K P 0 E", "1 2 2 2 2 2 2 2 0", "200 confirm", 0, 11},
    // The game looks at the keys once before its first frame.
    {main_menu, 11, "E5 X", "1 1", "200 confirm 500 game_start/255", 1, 11},
    {main_menu, 11, "2 E E", "1 2 H", "200 confirm 500 500", 1, 11},
    {main_menu, 11, "3 E _ S 1 E", "1 3 G G G G", "200 confirm 500 500", 1, 11},
    {main_menu, 11, "4 E _ 2 E E", "1 4 d1 d1 d2 t1", "200 confirm 500 confirm 500 confirm 500", 1,
     21},
    {difficulty_menu, 11, "D D _ D _ D _ D _ D _ U _ U _ 0 E",
     "d1 d2 d2 d2 d3 d3 d4 d4 d0 d0 d1 d1 d0 d0 d4 d4 d0", "confirm", 0, 11},
    {topic_menu, 14, "D _ D _ U _ 3 5 E", "t4 t5 t5 t0 t0 t5 t5 t3 t5", "confirm 500", 1, 15},
    {difficulty_menu, 21, "5 9 S X K P 0 E", "d2 d2 d2 d2 d2 d2 d2 d0", "confirm", 0, 21},
    {difficulty_menu, 11, "4 E E", "d1 d4 t1", "confirm 500 confirm 500", 1, 41},
    // The topic menu's back row: the pass that confirmed the difficulty goes
    // on after a pause, reading the arrows with the topic menu still shown.
    {difficulty_menu, 12, "3 E 0 E _ D 0 E", "d1 d3 t2 t0 t0 d3 d4 d0",
     "confirm 500 confirm 500 confirm", 0, 32},
};

std::vector<std::set<int>> keys_per_pass(const char* words) {
    const int codes[] = {KEY_DOWN, KEY_UP, KEY_ENTER, KEY_ENTER_PAD, KEY_SPACE, KEY_ESC, KEY_2_PAD};
    std::vector<std::set<int>> passes;
    std::istringstream in(words);
    for (std::string word; in >> word;) {
        passes.emplace_back();
        for (char k : word) {
            const std::size_t i = std::string("DUEPSXK0123456789").find(k);
            if (i != std::string::npos) {
                passes.back().insert(i < 7 ? codes[i] : KEY_0 + static_cast<int>(i) - 7);
            }
        }
    }
    return passes;
}

class menus : public screen_test, public testing::WithParamInterface<menu_case> {
   protected:
    // The main menu: its lit choice, 0 for none; a settings menu: "d" or "t"
    // and the inverted row, 0 for the back row; "H" the high-score table;
    // "G" the guide; "?" anything else.
    static std::string screen_tag(BITMAP* s) {
        if (pixel_is(s, 0, 0, test_colors::menu)) {
            int lit = 0;
            for (int choice = 1; choice <= 5; ++choice) {
                const int y = 112 * choice - 60;  // a frame with a mask-colour middle
                if (pixel_is(s, 180, y, test_colors::highlight) &&
                    pixel_is(s, 179, y, test_colors::menu) &&
                    pixel_is(s, 300, y + 40, test_colors::menu)) {
                    lit = choice;
                }
            }
            return std::to_string(lit);
        }
        for (const int* bg : {test_colors::difficulty, test_colors::topic}) {
            const int inverted = makecol(bg[0], bg[1], bg[2]) ^ makecol(255, 255, 255);
            for (int row = 0; row <= 5 && pixel_is(s, 5, 5, bg); ++row) {
                const int y = row > 0 ? 60 * row + 84 : 504;  // bands 720x60 from x = 50
                if (getpixel(s, 50, y) == inverted && getpixel(s, 769, y + 59) == inverted &&
                    pixel_is(s, 49, y, bg)) {
                    return (bg == test_colors::topic ? "t" : "d") + std::to_string(row);
                }
            }
        }
        const bool guide = getpixel(s, 0, 0) == makecol(255, 255, 255) && getpixel(s, 31, 121) == 0;
        return pixel_is(s, 5, 5, test_colors::highscore) ? "H" : guide ? "G" : "?";
    }
};

TEST_P(menus, keys_give_these_screens_sounds_and_settings) {
    const menu_case& c = GetParam();
    SCOPED_TRACE(c.keys);
    difficulty = c.settings / 10;
    topic = c.settings % 10;
    fake().script_per_look(keys_per_pass(c.keys));
    std::string seen;
    fake().on_look = [script = fake().on_look, &seen](int n) {
        seen += (n > 0 ? " " : "") + screen_tag(fake().screen);
        script(n);
    };
    EXPECT_EQ(c.menu(), c.result);
    std::string heard;  // "rest 500" as "500"
    for (const std::string& e : sounds_and_rests()) {
        heard += (heard.empty() ? "" : " ") +
                 (e == "menu_confirm/127" ? "confirm" : e.substr(e.rfind(' ') + 1));
    }
    EXPECT_EQ(seen, c.seen);
    EXPECT_EQ(heard, c.heard);
    EXPECT_EQ(difficulty * 10 + topic, c.settings_after);
    EXPECT_EQ(_drawing_mode, DRAW_MODE_SOLID);
    difficulty = topic = 1;
}

INSTANTIATE_TEST_SUITE_P(cases, menus, testing::ValuesIn(menu_cases));

TEST_F(menus, an_idle_menu_presents_once_and_reads_the_keys_once_a_tick) {
    EXPECT_EQ(difficulty_at_start * 10 + topic_at_start, 11) << "difficulty 1, topic 1 at start";
    std::vector<std::set<int>> passes(50);
    passes.push_back({KEY_0});
    passes.push_back({KEY_ENTER});
    fake().script_per_look(passes);
    EXPECT_EQ(main_menu(), 0);
    EXPECT_EQ(fake().presents, 3);  // the entry frame, choice 1, no choice
    EXPECT_EQ(fake().waits, 51);
}

TEST_F(menus, the_table_shows_five_names_and_zero_padded_scores_and_once_a_score_unsaved) {
    decode_high_scores(nullptr, 0);
    fake().hold_only({KEY_ENTER});
    marked_score_unsaved = true;  // its line goes below the prompt, once
    show_high_scores();
    BITMAP* told = create_bitmap(800, 600);
    blit(fake().screen, told, 0, 0, 0, 0, 800, 600);
    show_high_scores();
    BITMAP* want = create_bitmap(800, 600);
    const int* bg = test_colors::highscore;
    clear_to_color(want, makecol(bg[0], bg[1], bg[2]));
    const char* scores[5] = {"016000", "008000", "004000", "002000", "001000"};
    for (int i = 0; i < 5; ++i) {
        textout_ex(want, font_readout, "HALBREK", 150, 160 + 70 * i, makecol(255, 255, 255), -1);
        textout_ex(want, font_readout, scores[i], 550, 160 + 70 * i, makecol(255, 255, 255), -1);
    }
    EXPECT_EQ(differing_rows(want, fake().screen), 0);
    EXPECT_GT(differing_rows(told, fake().screen), 0);
    destroy_bitmap(want);
    destroy_bitmap(told);
}

TEST_F(menus, the_name_box_takes_keys_once_the_enter_that_ended_the_game_is_up) {
    const scratch_folder folder;
    decode_high_scores(nullptr, 0);
    const int enter = KEY_ENTER << 8 | 13;
    // Enter is held for five ticks, its repeats queued before the box opens
    // and after; then the player types.
    fake().hold_only({KEY_ENTER});
    fake().readkey_queue = fake().typed_after_clear = {enter, enter};
    fake().on_tick = [enter, ticks = 0](int) mutable {
        if (++ticks == 5) {
            fake().hold_only({});
            // Seven letters fill the box: the eighth is not taken.
            const int backspace = KEY_BACKSPACE << 8 | 8;  // nothing to take back at first
            fake().typed_after_clear = {backspace, KEY_A << 8 | 'a', KEY_X << 8 | 'x', backspace};
            for (const char c : std::string("CDEFG9ZQ")) {
                fake().typed_after_clear.push_back(c);
            }
            fake().typed_after_clear.push_back(enter);
        }
    };
    EXPECT_FALSE(is_high_score(1000));
    EXPECT_EQ(enter_high_score(1001), 4);
    EXPECT_STREQ(high_score_names[4], "ACDEFG9");
    // A full box shows no cursor: its gold is the name alone.
    const int gold = makecol(255, 220, 64);
    BITMAP* name = create_bitmap(400, 110);
    clear_to_color(name, 0);
    textout_ex(name, font_readout, "ACDEFG9", 0, 0, gold, -1);
    int golden[2] = {};
    for (int i = 0; i < 400 * 110; ++i) {
        golden[0] += getpixel(name, i % 400, i / 400) == gold;
        golden[1] += getpixel(fake().screen, 200 + i % 400, 270 + i / 400) == gold;
    }
    destroy_bitmap(name);
    EXPECT_EQ(golden[1], golden[0]);
    decode_high_scores(nullptr, 0);
}

TEST_F(menus, screens_look_the_same_whatever_font_and_colour_came_before) {
    const scratch_folder folder;
    decode_high_scores(nullptr, 0);
    void (*const screens[])() = {show_guide, show_high_scores, [] { enter_high_score(99999); }};
    BITMAP* first = create_bitmap(800, 600);
    for (auto* screen : screens) {
        int changed = 0;
        for (FONT* before : {font_banner, font_label}) {
            install_fake_platform();
            fake().hold_only({KEY_ENTER});  // the guide and the table close on Enter
            fake().typed_after_clear = {KEY_ENTER << 8 | 13};
            fake().on_rest = [](int) { fake().hold_only({}); };
            clear_to_color(back_buffer, 0);
            marked_high_score = -1;  // the name box marks its entry
            set_draw_font(before);
            set_draw_color(before == font_banner ? 10 : 200, 90, 40);
            screen();
            changed += before == font_label ? differing_rows(first, fake().screen) : 0;
            blit(fake().screen, first, 0, 0, 0, 0, 800, 600);
        }
        EXPECT_EQ(changed, 0) << (screen == show_guide         ? "guide"
                                  : screen == show_high_scores ? "table"
                                                               : "name box");
    }
    destroy_bitmap(first);
    decode_high_scores(nullptr, 0);
}

}  // namespace
