// The loops that wait for the player sleep until the next tick instead of
// spinning. Nothing the player sees or does may change: the same keys per
// tick give the same game, tick by tick and frame by frame, whether the
// loop sleeps or spins; late frames are caught up tick for tick; menus and
// screens read the keys once a tick and send a picture only when it changed.

#include <cstring>
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "game_frame.h"
#include "game_test_support.h"
#include "guide_screen.h"
#include "high_scores.h"
#include "main_menu.h"
#include "menu_test_support.h"
#include "settings_menus.h"

namespace {

// What a frame shows and the state behind it, at the moment it is presented.
struct frame_record {
    int tick;  // clock ticks since the game started
    std::string state;
    unsigned long pixels;

    bool operator==(const frame_record& o) const {
        return tick == o.tick && state == o.state && pixels == o.pixels;
    }
};

// Every pixel counts: four 16-bit pixels at a time.
unsigned long checksum(BITMAP* b) {
    unsigned long h = 1469598103u;
    for (int y = 0; y < b->h; ++y) {
        for (int x = 0; x < b->w; x += 4) {
            unsigned long four;
            std::memcpy(&four, b->line[y] + 2 * x, sizeof four);
            h = (h ^ four) * 1099511628211u;
        }
    }
    return h;
}

std::string game_state() {
    return std::to_string(level) + " " + std::to_string(fuel) + " " + std::to_string(fuel_pending) +
           " " + std::to_string(score) + " " + std::to_string(score_pending) + " " +
           std::to_string(phase) + " " + std::to_string(canister_distance) + " " +
           std::to_string(canister_lane) + " " + std::to_string(answer_state) + " " +
           std::to_string(answer_timer) + " " + std::to_string(view_offset_y) + " " +
           std::to_string(recoil_index) + " " + typed_answer;
}

class paced_game : public game_test {
   protected:
    void SetUp() override {
        game_test::SetUp();
        high_scores[4] = 1000000;  // no name to ask: the game ends with Escape
    }
    void TearDown() override {
        decode_high_scores(nullptr, 0);
        game_test::TearDown();
    }

    // A fresh game with the same random numbers as the last one.
    static void same_start() {
        seed_rand15(4242);
        std::memset(problem_history, 0, sizeof problem_history);
        reset_game();
        current_key = -1;
        previous_key = -1;
        backspace_latch = 0;
        set_draw_target(back_buffer);
    }

    // A player who answers two right, one wrong, two right and so on, presses Space when the
    // tank is full, deciding at each tick from what the game holds then;
    // Escape once `ticks` have passed.
    void play_by_ticks(int ticks) {
        start = tick_count.load();
        keys.clear();
        answers = 0;
        fake().on_look = [this, ticks](int) {
            fake().hold_only({});
            if (tick_count.load() - start >= ticks || out_of_fuel != 0) {
                // Enter closes the table should the game be lost.
                fake().hold_only({KEY_ESC, KEY_ENTER});
                return;
            }
            if (keys.empty()) {
                decide();
            }
            if (!keys.empty()) {
                for (int k : keys.front())
                    fake().held[k] = true;
                keys.pop_front();
            }
        };
        fake().on_present = [this](int) {
            frames.push_back({tick_count.load() - start, game_state(), checksum(fake().screen)});
        };
        play_game();
    }

    void decide() { keys = next_player_keys(answers); }

    int start = 0;
    int answers = 0;
    std::deque<std::set<int>> keys;
    std::vector<frame_record> frames;
};

TEST_F(paced_game, sleeping_and_spinning_loops_play_the_same_game) {
    // Sleeping: every wait lasts until the next tick.
    same_start();
    play_by_ticks(1000);
    const std::vector<frame_record> slept = frames;
    const int slept_waits = fake().waits;
    const int slept_looks = fake().looks;

    // Spinning: a wait returns at once; the clock moves only after one to
    // four turns of the loop, as on a machine that draws faster than it
    // ticks.
    install_fake_platform();
    fake().stall_polls = INT_MAX;
    fake().waits_are_noops = true;
    const int turns[] = {1, 3, 2, 4, 1, 1, 2};
    int turn = 0;
    int spun = 0;
    fake().on_wait = [&](int) {
        if (++spun >= turns[turn % 7]) {
            spun = 0;
            ++turn;
            count_tick();
        }
    };
    frames.clear();
    same_start();
    play_by_ticks(1000);

    // The look at tick 1000 sees Escape: no frame after it.
    ASSERT_EQ(slept.size(), 999u);
    EXPECT_EQ(out_of_fuel, 0);
    EXPECT_GE(level, 2) << "the player reached the next level";
    EXPECT_EQ(slept.size(), frames.size());
    for (std::size_t i = 0; i < slept.size() && i < frames.size(); ++i) {
        ASSERT_EQ(slept[i], frames[i])
            << "frame " << i << ": " << slept[i].state << " / " << frames[i].state;
    }
    // One frame per tick and no frame without one.
    for (std::size_t i = 0; i < slept.size(); ++i) {
        ASSERT_EQ(slept[i].tick, static_cast<int>(i) + 1) << i;
    }
    // Sleeping, each wait was ended by a tick and each tick was looked at once.
    EXPECT_EQ(slept_waits, static_cast<int>(slept.size()) + 1);
    EXPECT_EQ(slept_looks, slept_waits);
    EXPECT_GT(fake().waits, 2 * static_cast<int>(frames.size())) << "the loop spun";
}

TEST_F(paced_game, a_slow_frame_is_followed_by_its_missed_ticks_in_one_batch) {
    same_start();
    std::vector<int> phases;
    std::vector<int> waits_at_frame;
    fake().on_present = [&](int n) {
        phases.push_back(phase);
        waits_at_frame.push_back(fake().waits);
        // Frame 10 takes 57 ms: the clock runs on by five whole ticks.
        if (n == 10) {
            for (int i = 0; i < 5; ++i)
                count_tick();
        }
        // Frame 20 takes 10 ms: one tick.
        if (n == 20) {
            count_tick();
        }
        if (n == 30) {
            fake().hold_only({KEY_ESC});
        }
    };
    play_game();
    ASSERT_EQ(phases.size(), 31u);
    for (int n = 1; n <= 30; ++n) {
        const int ran = (phases[n] - phases[n - 1]) / 2;
        const int waited = waits_at_frame[n] - waits_at_frame[n - 1];
        if (n == 11) {
            EXPECT_EQ(ran, 5) << "the five ticks missed during frame 10";
            EXPECT_EQ(waited, 0) << "they are run at once";
        } else if (n == 21) {
            EXPECT_EQ(ran, 1);
            EXPECT_EQ(waited, 0);
        } else {
            EXPECT_EQ(ran, 1) << n;
            EXPECT_EQ(waited, 1) << n;
        }
    }
    // No tick was lost or run twice.
    // Frames 11 and 21 ran the late ticks in place of a wait's tick.
    EXPECT_EQ(phases[30], 2 * (29 + 5 + 1));
    EXPECT_EQ(last_tick, tick_count.load());
}

TEST_F(paced_game, ticks_run_match_clock_ticks_whatever_the_frame_times) {
    // Frames take 0 to 3 ticks in a fixed jumble; over 2000 frames every
    // clock tick is run exactly once, in order.
    same_start();
    const int start_tick = tick_count.load();
    const int lateness[] = {0, 0, 1, 0, 3, 0, 2, 0, 0, 1, 1};
    fake().on_present = [&](int n) {
        for (int i = 0; i < lateness[n % 11]; ++i)
            count_tick();
        if (n == 2000)
            fake().hold_only({KEY_ESC});
    };
    play_game();
    EXPECT_EQ(fake().presents, 2001);
    EXPECT_EQ(phase, 2 * (tick_count.load() - start_tick));
    EXPECT_EQ(last_tick, tick_count.load());
}

// Menus and screens.

class paced_screen : public screen_test {
   protected:
    void TearDown() override {
        difficulty = 1;
        topic = 1;
        screen_test::TearDown();
    }
};

TEST_F(paced_screen, an_idle_menu_sends_its_picture_once_and_reads_the_keys_every_tick) {
    // Down for one tick after 100 idle ticks, 100 more, then choice 5.
    std::vector<std::set<int>> passes(250);
    passes[100] = {KEY_DOWN};
    passes[248] = {KEY_5};
    passes[249] = {KEY_ENTER};
    fake().script_per_look(passes);
    std::vector<int> presents_at_pass;
    fake().on_wait = [&](int) { presents_at_pass.push_back(fake().presents); };
    EXPECT_EQ(main_menu(), 0);
    ASSERT_EQ(presents_at_pass.size(), 249u);
    // The entry frame and the first pass's, then one for the Down: seen on
    // the pass it was held, drawn on the next.
    EXPECT_EQ(presents_at_pass[0], 2);
    EXPECT_EQ(presents_at_pass[100], 2);
    EXPECT_EQ(presents_at_pass[101], 3);
    EXPECT_EQ(presents_at_pass[248], 3);
    EXPECT_EQ(fake().presents, 4) << "choice 5, on the pass that reads Enter";
    EXPECT_EQ(fake().looks, 250);
}

TEST_F(paced_screen, the_arrow_latch_still_counts_passes) {
    // Held for three ticks: one step. Released for one tick: armed again.
    fake().script_per_look(
        {{KEY_DOWN}, {KEY_DOWN}, {KEY_DOWN}, {}, {KEY_DOWN}, {}, {KEY_0}, {KEY_ENTER}});
    std::vector<int> shown;
    fake().on_present = [&](int) {
        for (int choice = 1; choice <= 5; ++choice) {
            if (pixel_is(fake().screen, 180, 112 * choice - 60, test_colors::highlight)) {
                shown.push_back(choice);
            }
        }
    };
    EXPECT_EQ(main_menu(), 0);
    EXPECT_EQ(fake().waits, 7);
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 3})) << "then the frame with no choice";
    EXPECT_EQ(fake().presents, 5);
    EXPECT_EQ(fake().sounds.size(), 1u);
}

TEST_F(paced_screen, a_settings_menu_draws_again_after_the_topic_menu) {
    // Difficulty 2, then the topic menu's back row: the difficulty menu must
    // put its own picture back although its row did not change.
    fake().script_per_look({{KEY_2}, {KEY_ENTER}, {KEY_0}, {KEY_ENTER}, {}, {}, {KEY_0}});
    std::vector<bool> difficulty_shown;
    auto script = fake().on_look;
    fake().on_look = [&](int n) {
        difficulty_shown.push_back(getpixel(fake().screen, 5, 5) ==
                                   makecol(test_colors::difficulty[0], test_colors::difficulty[1],
                                           test_colors::difficulty[2]));
        script(n);
        if (n == 7)
            fake().hold_only({KEY_ENTER});
    };
    EXPECT_EQ(difficulty_menu(), 0);
    EXPECT_EQ(difficulty_shown,
              (std::vector<bool>{true, true, false, false, false, true, true, true}));
}

TEST_F(paced_screen, guide_and_table_look_at_the_keys_once_a_tick_without_redrawing) {
    for (void (*screen)() : {show_guide, show_high_scores}) {
        install_fake_platform();
        std::vector<std::set<int>> passes(40, std::set<int>{KEY_SPACE});
        passes.push_back({KEY_ENTER});
        fake().script_per_look(passes);
        const int before = tick_count.load();
        screen();
        EXPECT_EQ(fake().count_events("present"), 1);
        EXPECT_EQ(fake().looks, 41);
        EXPECT_EQ(fake().waits, 40);
        // 40 ticks of waiting, then the 500 ms pause.
        EXPECT_EQ(tick_count.load() - before, 40 + 50);
        EXPECT_EQ(fake().events.back(), "rest 500");
    }
}

TEST_F(paced_screen, enter_held_through_a_pause_still_closes_a_screen_at_once) {
    fake().script_per_look({{KEY_2}, {KEY_ENTER}, {KEY_ENTER}});
    main_menu();
    EXPECT_EQ(fake().waits, 1) << "the table closed on its first look";
    EXPECT_EQ(fake().count_events("rest 500"), 2);
}

}  // namespace
