// Whole games through play_game on the fake device layer: one tick per
// presented frame, keys chosen by a scripted player that watches the game
// state after every frame, as a person watches the screen.

#include <cstdio>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "game_test_support.h"
#include "high_scores.h"
#include "scratch_folder.h"

namespace {

struct judgement {
    int level;
    char verdict;  // 'R' right, 'W' wrong
    int points;    // score_pending as assigned
    int fuel;      // fuel_pending as assigned
};

class game_loop_test : public game_test {
   protected:
    void SetUp() override {
        game_test::SetUp();
        // A qualifying game writes hiscores.dat: keep it out of the build
        // folder (see `folder`), and start from the default table.
        decode_high_scores(nullptr, 0);
        // The name asked after a high score: Enter keeps the default name.
        fake().typed_after_clear = {KEY_ENTER << 8 | 13};
        fake().ticks_per_present = 1;
        // Only the high-score screen polls without drawing: close it.
        fake().stall_polls = 5000;
        fake().on_stall = [] {
            fake().hold_only({KEY_ENTER});
            return true;
        };
        fake().on_present = [this](int n) { on_frame(n); };
        fake().tick_callback = [] { watch_rests(); };
        watched = this;
        screen_at_rest.clear();
    }
    void TearDown() override {
        decode_high_scores(nullptr, 0);
        for (BITMAP* b : screen_at_rest) {
            destroy_bitmap(b);
        }
        if (last_frame != nullptr) {
            destroy_bitmap(last_frame);
        }
        watched = nullptr;
        game_test::TearDown();
    }

    // The screen as it stood when each 5 s pause began.
    static void watch_rests() {
        count_tick();
        game_loop_test* t = watched;
        const std::vector<std::string>& e = fake().events;
        const std::size_t rests = static_cast<std::size_t>(fake().count_events("rest 5000"));
        if (!e.empty() && e.back() == "rest 5000" && t->screen_at_rest.size() < rests) {
            BITMAP* copy = create_bitmap(800, 600);
            blit(fake().screen, copy, 0, 0, 0, 0, 800, 600);
            t->screen_at_rest.push_back(copy);
            t->rested = true;
        }
    }

    void on_frame(int n) {
        // The high-score screen presents too; the game is over by then.
        if (rested || level > level_count) {
            return;
        }
        note_judgements();
        if (keep_last_frame) {
            if (last_frame == nullptr) {
                last_frame = create_bitmap(800, 600);
            }
            blit(fake().screen, last_frame, 0, 0, 0, 0, 800, 600);
        }
        if (watch && watch(n)) {
            return;
        }
        play();
    }

    // A right or wrong sound that came with no new hit is a judgement; the
    // frame after it follows exactly one tick, which moved one step of
    // points and one unit of fuel.
    void note_judgements() {
        while (sounds_seen < fake().sounds.size()) {
            const std::string name = sample_name(fake().sounds[sounds_seen++].sample);
            if ((name == "right" || name == "wrong") && canister_count == hits_seen + 1) {
                const int moved_fuel = fuel_pending > 0 ? 1 : -1;
                judged.push_back({level, name == "right" ? 'R' : 'W', score_pending + score_step,
                                  fuel_pending + moved_fuel});
            }
        }
        hits_seen = canister_count - 1;
    }

    // Answers by the plan, one letter per canister; Space as soon as the
    // tank reads full; Escape once the plan is used up. Keys chosen on a
    // frame are held on the very next tick.
    void play() {
        if (keys.empty()) {
            decide();
        }
        pump();
    }

    // Holds the next keys of the queue, or none.
    void pump() {
        fake().hold_only({});
        if (!keys.empty()) {
            for (int k : keys.front()) {
                fake().held[k] = true;
            }
            keys.pop_front();
        }
    }

    void decide() {
        if (space_when_full && fuel == full_tank && answer_timer != level_left_timer) {
            keys.push_back({KEY_SPACE});
            keys.push_back({});
            return;
        }
        if (fuel + fuel_pending >= full_tank && !answer_when_full) {
            return;  // waiting for the tank to fill
        }
        if (answer_state != 0 || typed_answer[0] != '\0') {
            return;
        }
        if (planned >= plan.size()) {
            if (escape_at_end) {
                keys.push_back({KEY_ESC});
            }
            return;
        }
        const char verdict = plan[planned++];
        const int answer = problem.problem_answer + (verdict == 'R' ? 0 : 1);
        submit(number_text(answer));
    }

    void submit(const std::string& text) {
        for (char c : text) {
            keys.push_back({KEY_0 + (c - '0')});
            keys.push_back({});
        }
        keys.push_back({KEY_ENTER});
        keys.push_back({});
    }

    std::vector<int> points_of(int lvl) const {
        std::vector<int> out;
        for (const judgement& j : judged) {
            if (j.level == lvl) {
                out.push_back(j.points);
            }
        }
        return out;
    }
    std::vector<int> fuel_of(int lvl) const {
        std::vector<int> out;
        for (const judgement& j : judged) {
            if (j.level == lvl) {
                out.push_back(j.fuel);
            }
        }
        return out;
    }

    static int count_of(const std::vector<std::string>& v, const std::string& s) {
        int n = 0;
        for (const std::string& x : v) {
            n += x == s ? 1 : 0;
        }
        return n;
    }

    static game_loop_test* watched;
    scratch_folder folder;
    std::string plan;
    std::size_t planned = 0;
    bool escape_at_end = true;
    bool answer_when_full = false;
    bool space_when_full = true;
    bool rested = false;
    bool keep_last_frame = false;
    std::deque<std::set<int>> keys;
    std::function<bool(int)> watch;  // runs first each frame; true skips the player
    std::vector<judgement> judged;
    std::size_t sounds_seen = 0;
    int hits_seen = 0;
    std::vector<BITMAP*> screen_at_rest;
    BITMAP* last_frame = nullptr;
};

game_loop_test* game_loop_test::watched = nullptr;

TEST_F(game_loop_test, escape_before_the_first_frame_returns_at_once) {
    fake().hold_only({KEY_ESC});
    fake().on_present = nullptr;
    play_game();
    EXPECT_EQ(fake().presents, 0);
    EXPECT_EQ(sounds_and_rests(), (std::vector<std::string>{"game_start/255"}));
}

TEST_F(game_loop_test, escape_in_play_skips_banner_sound_and_high_scores) {
    high_scores[4] = 0;  // any points would qualify
    plan = "RR";
    int escape_frame = -1;
    watch = [&](int n) {
        // Escape in the middle of the next canister's answer animation.
        if (judged.size() == 1 && score > 0 && answer_state == 2 && answer_timer > 100) {
            fake().hold_only({KEY_ESC});
            escape_frame = n;
            return true;
        }
        return false;
    };
    play_game();
    ASSERT_GE(escape_frame, 0);
    EXPECT_EQ(fake().presents, escape_frame + 1) << "no frame is drawn after Escape";
    EXPECT_EQ(sounds_and_rests(), (std::vector<std::string>{"game_start/255", "right/127"}));
    EXPECT_EQ(score, 10);
}

TEST_F(game_loop_test, streak_points_grow_by_level_and_wrong_answers_restart_them) {
    // Level 1: two right; level 2: three right; level 3 starts with a
    // wrong answer so that its streak starts from 10.
    plan =
        "RR"
        "RRR"
        "WRRRWR"
        "RRR";
    play_game();
    EXPECT_EQ(points_of(1), (std::vector<int>{10, 20}));
    EXPECT_EQ(points_of(2), (std::vector<int>{60, 80, 100}));
    EXPECT_EQ(points_of(3), (std::vector<int>{0, 30, 60, 90, 0, 30, 60, 90, 120}));
    EXPECT_EQ(fuel_of(1), (std::vector<int>{13, 13}));
    EXPECT_EQ(fuel_of(2), (std::vector<int>{12, 12, 12}));
    EXPECT_EQ(fuel_of(3), (std::vector<int>{-15, 11, 11, 11, -25, 11, 11, 11, 11}));
    EXPECT_EQ(level, 4);
    const std::vector<std::string> heard = sounds_and_rests();
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.front(), "game_start/255");
    EXPECT_EQ(count_of(heard, "game_start/255"), 1);
    EXPECT_EQ(count_of(heard, "level_start/255"), 3);  // levels 2, 3 and 4
    EXPECT_EQ(count_of(heard, "right/127"), 12);
    EXPECT_EQ(count_of(heard, "wrong/127"), 2);
    EXPECT_EQ(count_of(heard, "game_over/127"), 0);
}

TEST_F(game_loop_test, wrong_answers_cost_more_within_a_level_and_restart_at_15) {
    // Fuel at level 1: 35, 20, 33, 46, 21, 34, 47, 60.
    plan =
        "WRRWRRR"
        "W";
    play_game();
    EXPECT_EQ(fuel_of(1), (std::vector<int>{-15, 13, 13, -25, 13, 13, 13}));
    EXPECT_EQ(fuel_of(2), (std::vector<int>{-15}));
    EXPECT_EQ(wrong_penalty, 25);
}

TEST_F(game_loop_test, pending_fuel_and_points_carry_into_the_next_level) {
    // 48 + 13 reaches 60 with one unit still pending, and Space freezes it.
    plan = "RR";
    std::vector<int> level_two_fuel;
    std::vector<int> level_two_scores;
    int level_two_pending = 0;
    watch = [&](int) {
        if (level == 1 && fuel == full_tank && answer_timer != level_left_timer) {
            EXPECT_EQ(fuel_pending, 1);
            EXPECT_EQ(score, 30);
            score_pending = 50;  // as if points were still on their way
        }
        if (level == 2) {
            level_two_fuel.push_back(fuel);
            level_two_scores.push_back(score);
            level_two_pending = score_pending;
            if (level_two_scores.size() == 4) {
                fake().hold_only({KEY_ESC});
            } else {
                fake().hold_only({});
            }
            return true;
        }
        return false;
    };
    play_game();
    EXPECT_EQ(level_two_fuel, (std::vector<int>{31, 31, 31, 31}));
    // Moved at level 2's step of 20: the last step overshoots.
    EXPECT_EQ(level_two_scores, (std::vector<int>{50, 70, 90, 90}));
    EXPECT_EQ(level_two_pending, -10);
}

TEST_F(game_loop_test, judging_replaces_whatever_was_still_pending) {
    plan = "RW";
    watch = [&](int) {
        // One tick before each answer is judged, load up the pending amounts.
        if (answer_state == 2 && answer_timer == 296) {
            score_pending = 1000;
            fuel_pending = 20;
        }
        return false;
    };
    play_game();
    ASSERT_EQ(judged.size(), 2u);
    EXPECT_EQ(judged[0].points, 10);
    EXPECT_EQ(judged[0].fuel, 13);
    EXPECT_EQ(judged[1].points, 0);
    EXPECT_EQ(judged[1].fuel, -15);
    // The one step moved before the verdict is all that came of the 1000.
    EXPECT_EQ(score, 10 + 10 + 10);
}

TEST_F(game_loop_test, an_answer_submitted_with_a_full_tank_is_not_judged) {
    plan = "RRW";  // the wrong answer comes with the tank full
    answer_when_full = true;
    bool full_answer_done = false;
    watch = [&](int) {
        if (planned == 3 && !full_answer_done) {
            if (answer_state == 0 && typed_answer[0] == '\0' && keys.empty()) {
                full_answer_done = true;  // a new canister followed
                EXPECT_EQ(fuel, full_tank);
                EXPECT_EQ(fuel_pending, 0);
                EXPECT_EQ(streak_bonus, 30);
                EXPECT_EQ(wrong_penalty, 15);
                EXPECT_EQ(score_pending, 0);
            } else {
                pump();
                return true;  // no Space until the answer has gone
            }
        }
        return false;
    };
    play_game();
    EXPECT_TRUE(full_answer_done);
    EXPECT_EQ(judged.size(), 2u);
    EXPECT_EQ(level, 2);
}

TEST_F(game_loop_test, running_out_of_fuel_draws_that_frame_then_shows_game_over) {
    // 35, 20, 33, 8, 21, 34, then -35: the tank ends at -1.
    plan = "WRWRRW";
    escape_at_end = false;
    keep_last_frame = true;
    int frames_at_minus_one = 0;
    watch = [&](int) {
        frames_at_minus_one += fuel == -1 ? 1 : 0;
        return false;
    };
    play_game();
    EXPECT_EQ(frames_at_minus_one, 1);
    EXPECT_EQ(out_of_fuel, 1);
    const std::vector<std::string> heard = sounds_and_rests();
    ASSERT_GE(heard.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(heard.end() - 4, heard.end()),
              (std::vector<std::string>{"wrong/127", "game_over/127", "rest 5000", "rest 500"}))
        << "no high score: straight to the table";

    // The banner straight on the screen: red "GAME OVER" centred at
    // (400,200), its black copy 3 pixels up and left, the rest of the
    // last frame untouched.
    ASSERT_EQ(screen_at_rest.size(), 1u);
    BITMAP* shown = screen_at_rest[0];
    const auto red_text = glyph_pixels(font, "GAME OVER", 364, 196);
    const auto black_text = glyph_pixels(font, "GAME OVER", 361, 193);
    std::set<std::pair<int, int>> red(red_text.begin(), red_text.end());
    std::set<std::pair<int, int>> black(black_text.begin(), black_text.end());
    int differing = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            const int c = getpixel(shown, x, y);
            if (red.count({x, y}) != 0) {
                ASSERT_EQ(c, makecol(255, 96, 96)) << x << "," << y;
            } else if (black.count({x, y}) != 0) {
                ASSERT_EQ(c, makecol(0, 0, 0)) << x << "," << y;
            } else {
                differing += c != getpixel(last_frame, x, y) ? 1 : 0;
            }
        }
    }
    EXPECT_EQ(differing, 0);
}

TEST_F(game_loop_test, a_high_score_after_game_over_gets_the_message_box) {
    high_scores[4] = 39;
    plan = "WRWRRW";  // 10, then 10 and 20 after the wrong answer: 40 beats 39
    escape_at_end = false;
    play_game();
    const std::vector<std::string> heard = sounds_and_rests();
    EXPECT_EQ(std::vector<std::string>(heard.end() - 4, heard.end()),
              (std::vector<std::string>{"game_over/127", "rest 5000", "rest 5000", "rest 500"}));
    ASSERT_EQ(screen_at_rest.size(), 2u);
    BITMAP* box = screen_at_rest[1];
    EXPECT_TRUE(pixel_is(box, 200, 150, 255, 255, 255));
    EXPECT_TRUE(pixel_is(box, 599, 249, 255, 255, 255));
    EXPECT_TRUE(pixel_is(box, 599, 150, 255, 255, 255));
    EXPECT_TRUE(pixel_is(box, 201, 151, 32, 32, 32));
    EXPECT_TRUE(pixel_is(box, 598, 248, 32, 32, 32));
    EXPECT_FALSE(pixel_is(box, 600, 250, 32, 32, 32));
    EXPECT_FALSE(pixel_is(box, 600, 250, 255, 255, 255));
    // The text starts at x = 220 with its middle on row 185.
    for (const auto& p :
         glyph_pixels(font, "Congratulations! You've made a high score.", 220, 181)) {
        ASSERT_TRUE(pixel_is(box, p.first, p.second, 255, 255, 255)) << p.first << "," << p.second;
    }
    // Then the last game frame goes back on the screen before the table.
    std::size_t last_rest = 0;
    for (std::size_t i = 0; i < fake().events.size(); ++i) {
        if (fake().events[i] == "rest 5000") {
            last_rest = i;
        }
    }
    ASSERT_LT(last_rest + 2, fake().events.size());
    EXPECT_EQ(fake().events[last_rest + 1], "present");
    // Then the player's name is asked, and the score goes into the table.
    EXPECT_EQ(fake().events[last_rest + 2], "clear keys");
    EXPECT_EQ(high_scores[4], 40);
    EXPECT_STREQ(high_score_names[4], "HALBREK");
}

TEST_F(game_loop_test, a_score_equal_to_the_lowest_high_score_does_not_qualify) {
    high_scores[4] = 40;
    plan = "WRWRRW";
    escape_at_end = false;
    play_game();
    EXPECT_EQ(score, 40);
    EXPECT_EQ(fake().count_events("rest 5000"), 1);
}

// Hits are brought about by moving the canister to the ship's doorstep,
// and the fuel is topped up so that only the allowance can end the game.
class allowance_test : public game_loop_test {
   protected:
    void SetUp() override {
        game_loop_test::SetUp();
        plan = std::string(20, 'R');
        watch = [this](int) {
            if (canister_count - 1 < wanted_hits) {
                keys.clear();
                fake().hold_only({});
                canister_distance = 1001;
                fuel = tank;
                fuel_pending = 0;
                return true;
            }
            fuel = std::max(fuel, tank);
            return false;
        };
    }
    int wanted_hits = 0;
    int tank = 50;
};

TEST_F(allowance_test, ten_hits_end_the_game_at_the_next_launch_unless_the_tank_is_full) {
    wanted_hits = 10;
    escape_at_end = true;
    play_game();
    // The tenth hit launched its own canister without a test; the answer
    // to it was judged, and the launch after it ended the game.
    EXPECT_EQ(canister_count, 11);
    const std::vector<std::string> heard = sounds_and_rests();
    EXPECT_EQ(count_of(heard, "right/127"), 1);
    EXPECT_EQ(count_of(heard, "wrong/127"), 10);
    EXPECT_EQ(std::vector<std::string>(heard.end() - 4, heard.end()),
              (std::vector<std::string>{"right/127", "game_over/127", "rest 5000", "rest 500"}));
    EXPECT_EQ(out_of_fuel, 0);
}

TEST_F(allowance_test, a_full_tank_survives_ten_hits_but_not_eleven) {
    wanted_hits = 10;
    tank = 60;
    answer_when_full = true;
    space_when_full = false;
    int answers_after_ten = 0;
    auto hits = watch;
    watch = [&](int n) {
        if (canister_count == 11 && answer_state == 2 && answer_timer == 4) {
            ++answers_after_ten;
            if (answers_after_ten == 2) {
                wanted_hits = 11;  // the game went on: one more hit
            }
        }
        return hits(n);
    };
    play_game();
    EXPECT_GE(answers_after_ten, 2);
    EXPECT_EQ(canister_count, 12);
    EXPECT_TRUE(judged.empty()) << "a full tank judges nothing";
    EXPECT_EQ(fake().count_events("rest 5000"), 1);
    const std::vector<std::string> heard = sounds_and_rests();
    EXPECT_EQ(count_of(heard, "game_over/127"), 1);
    EXPECT_EQ(level, 1);
}

TEST_F(game_loop_test, ticks_that_arrive_during_a_batch_run_in_that_batch) {
    // Each key poll lets the clock run on by one tick, up to 50 ticks: the
    // first batch must keep going until it has caught up with all of them.
    fake().ticks_per_present = 0;
    fake().stall_polls = 1;
    int arrived = 0;
    fake().on_stall = [&] {
        if (arrived < 50) {
            ++arrived;
            count_tick();
        }
        return true;
    };
    std::vector<int> phases;
    watch = [&](int n) {
        phases.push_back(phase);
        if (n == 1) {
            fake().hold_only({KEY_ESC});
        }
        return true;
    };
    play_game();
    ASSERT_EQ(phases.size(), 2u);
    // The first frame waits for a tick; that tick's key polls let the other
    // 50 arrive, and all of them run before the frame.
    EXPECT_EQ(phases[0], 2 * 51);
    // The second frame came after one more wait and its tick.
    EXPECT_EQ(phases[1], 2 * 52);
    EXPECT_EQ(last_tick, tick_count.load());
}

TEST_F(game_loop_test, all_ten_levels_right_ends_with_the_high_score_message_only) {
    high_scores[4] = 0;
    plan = std::string(200, 'R');
    escape_at_end = false;
    int max_level = 0;
    watch = [&](int) {
        max_level = std::max(max_level, level);
        return false;
    };
    play_game();
    EXPECT_EQ(max_level, 10);
    EXPECT_EQ(level, 11);
    // Every right answer adds 10 to the streak, across levels too.
    ASSERT_FALSE(judged.empty());
    for (std::size_t k = 0; k < judged.size(); ++k) {
        EXPECT_EQ(judged[k].points, 10 * static_cast<int>(k + 1) * judged[k].level) << k;
    }
    for (int lvl = 1; lvl <= 10; ++lvl) {
        const std::vector<int> gains = fuel_of(lvl);
        EXPECT_FALSE(gains.empty()) << "level " << lvl;
        for (int g : gains) {
            EXPECT_EQ(g, 14 - lvl) << "level " << lvl;
        }
    }
    const std::vector<std::string> heard = sounds_and_rests();
    EXPECT_EQ(count_of(heard, "level_start/255"), 9);
    EXPECT_EQ(count_of(heard, "game_over/127"), 0);
    EXPECT_EQ(count_of(heard, "rest 5000"), 1);
    EXPECT_EQ(heard.back(), "rest 500");
    // The box is drawn on the screen over the last game frame.
    ASSERT_EQ(screen_at_rest.size(), 1u);
    EXPECT_TRUE(pixel_is(screen_at_rest[0], 200, 150, 255, 255, 255));
    EXPECT_TRUE(pixel_is(screen_at_rest[0], 300, 160, 32, 32, 32));
}

}  // namespace
