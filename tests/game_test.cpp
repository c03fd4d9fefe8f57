// The flight game's rules: the tick and the answer input tick by tick, and
// whole games through play_game on the fake device layer, with a player
// who decides on every tick from what the game holds.

#include <algorithm>
#include <cctype>
#include <deque>
#include <functional>
#include <sstream>

#include "game_test_support.h"
#include "high_scores.h"
#include "scratch_folder.h"

namespace {

class tick_rules : public game_test {
   protected:
    void SetUp() override {
        game_test::SetUp();
        start_level(1);
    }
};

TEST_F(tick_rules, the_canister_is_placed_before_it_moves_and_hits_below_1000) {
    canister_lane = lane_spacing;
    tick_with({});
    EXPECT_EQ(canister_y, 133);
    EXPECT_DOUBLE_EQ(canister_scale, 100000.0 / 6000);
    EXPECT_EQ(canister_x_offset, 30);
    canister_lane = -lane_spacing;
    canister_distance = 1002;
    tick_with({});  // 1000 after the move: not yet a hit
    EXPECT_EQ(canister_x_offset, -179);
    EXPECT_EQ(canister_y, 299);
    EXPECT_EQ(canister_count, 1);
    tick_with({});
    EXPECT_EQ(canister_count, 2);
    EXPECT_EQ(canister_y, 300) << "the hit tick keeps the old canister's place";
    EXPECT_EQ(canister_distance, launch_distance);
    EXPECT_EQ(last_sound(), "wrong/127/127/1000/0");
}

TEST_F(tick_rules, a_hit_costs_15_and_restarts_streak_and_recoil_dropping_the_answer) {
    type_digits("42");
    tick_with({KEY_ENTER});
    fuel = 40;
    wrong_penalty = 45;
    streak_bonus = 70;
    score_pending = 500;
    fuel_pending = 8;  // a refuel in progress is cancelled
    canister_distance = 1001;
    tick_with({});
    // The next canister carries its own problem: drawing its label again
    // changes nothing.
    BITMAP* shown = create_bitmap(280, 200);
    blit(label_bitmap, shown, 0, 0, 0, 0, 280, 200);
    render_label();
    EXPECT_EQ(differing_rows(shown, label_bitmap), 0);
    destroy_bitmap(shown);
    EXPECT_EQ(canister_count, 2);
    EXPECT_EQ(wrong_penalty, 45);
    EXPECT_EQ(streak_bonus, 10);
    EXPECT_EQ(fuel_pending, -14);  // -15, then one unit moved on the same tick
    EXPECT_EQ(fuel, 39);
    EXPECT_EQ(score_pending, 0);
    EXPECT_EQ(recoil_index, 2);
    EXPECT_STREQ(typed_answer, "");
    EXPECT_EQ(answer_state, 0);
}

TEST_F(tick_rules, the_level_tables_hold_their_values) {
    const int start_fuel[] = {35, 30, 25, 20, 15, 10, 7, 4, 2, 1};
    const int gain[] = {13, 12, 11, 10, 9, 8, 7, 6, 5, 4};
    const int allowance[] = {10, 10, 10, 11, 12, 13, 14, 15, 17, 20};
    for (int n = 1; n <= level_count; ++n) {
        EXPECT_EQ(start_fuel_table[n], start_fuel[n - 1]) << n;
        EXPECT_EQ(fuel_gain_table[n], gain[n - 1]) << n;
        EXPECT_EQ(allowance_table[n], allowance[n - 1]) << n;
    }
}

TEST_F(tick_rules, an_undisturbed_canister_flies_the_level_table_of_ticks) {
    const int ticks_to_hit[11] = {0, 2501, 1251, 1001, 834, 715, 626, 556, 501, 417, 334};
    for (int n = 1; n <= 10; ++n) {
        start_level(n);
        int ticks = 0;
        while (canister_count == 1 && ticks < 5000) {
            tick_with({});
            ++ticks;
        }
        EXPECT_EQ(ticks, ticks_to_hit[n]) << "level " << n;
    }
}

TEST_F(tick_rules, pending_points_and_fuel_move_a_step_a_tick) {
    const struct {
        int level, fuel, fuel_pending, score_pending;
        int fuel_after, fuel_pending_after, score_after, score_pending_after, out;
    } cases[] = {
        {3, 30, 5, 60, 31, 4, 30, 30, 0},
        {3, 30, -5, 20, 29, -4, 30, -10, 0},  // the last step overshoots
        {1, 60, 3, 0, 60, 2, 0, 0, 0},        // 61 is cut back to a full tank
        {1, 0, 0, -10, 0, 0, 0, -10, 0},
        {1, 0, -1, 0, -1, 0, 0, 0, 1},
    };
    for (const auto& c : cases) {
        start_level(c.level);
        score = 0;
        fuel = c.fuel;
        fuel_pending = c.fuel_pending;
        score_pending = c.score_pending;
        out_of_fuel = 0;
        tick_with({});
        EXPECT_EQ(fuel, c.fuel_after);
        EXPECT_EQ(fuel_pending, c.fuel_pending_after);
        EXPECT_EQ(score, c.score_after);
        EXPECT_EQ(score_pending, c.score_pending_after);
        EXPECT_EQ(out_of_fuel, c.out);
    }
}

TEST_F(tick_rules, the_view_bobs_with_the_short_pi_and_recoils_along_the_curve) {
    const struct {
        int phase, recoil, offset;
    } cases[] = {{0, 0, -20},   {30, 0, -24}, {90, 0, -30},  {270, 0, -10},
                 {360, 0, -19}, {90, 9, -71}, {0, 141, -21}, {0, 142, -20}};
    for (const auto& c : cases) {
        phase = c.phase;
        recoil_index = c.recoil;
        tick_with({});
        EXPECT_EQ(view_offset_y, c.offset) << c.phase << " " << c.recoil;
        EXPECT_EQ(phase, c.phase + 2);
    }
    EXPECT_EQ(recoil_index, 0) << "after entry 142 the view rests";
    // The curve: a quick rise, a wobble at the peak four times over, then a
    // fall whose steps grow shorter; entry 143 is never reached.
    std::vector<int> curve = {0, 1, 3, 6, 10, 15, 21, 28, 35, 41};
    const int wobble[] = {40, 39, 38, 37, 38, 39, 40, 41, 40, 39};
    for (int i = 0; i < 40; ++i) {
        curve.push_back(wobble[i % 10]);
    }
    for (int value = 38; value >= 0; --value) {
        const int steps = value == 38 ? 6 : value >= 35 ? 4 : value >= 22 ? 3 : value >= 8 ? 2 : 1;
        curve.insert(curve.end(), steps, value);
    }
    curve.push_back(0);
    EXPECT_EQ(curve, std::vector<int>(recoil_curve, recoil_curve + recoil_curve_length));
}

TEST_F(tick_rules, after_space_nothing_moves_until_the_next_level) {
    fuel = 60;
    fuel_pending = 5;
    score_pending = 40;
    canister_distance = 3000;
    tick_with({KEY_SPACE});
    for (int i = 0; i < 50; ++i) {
        tick_with({});
    }
    EXPECT_EQ(fuel, level_left_fuel);
    EXPECT_EQ(fuel_pending, 5);
    EXPECT_EQ(score_pending, 40);
    EXPECT_EQ(canister_distance, 3000);
    EXPECT_EQ(phase, 0);
}

TEST_F(tick_rules, a_launch_takes_one_draw_for_its_lane) {
    seed_rand15(99);
    reset_canister();
    const int lane = canister_lane;
    const int next = rand15();
    seed_rand15(99);
    EXPECT_EQ(lane, lane_spacing * random_range(-1, 1));
    EXPECT_EQ(rand15(), next);
    EXPECT_EQ(canister_distance, launch_distance);
}

// Keys per tick, a word a tick: digits, E Enter, B Backspace, S Space, -
// nothing; keys in one word are held together.
TEST_F(tick_rules, answer_keys_type_correct_and_submit) {
    const struct {
        const char* ticks;
        int fuel;
        const char* typed;
        int state, timer;
    } cases[] = {
        {"1 1 - 1", 30, "11", 0, 0},
        {"5 35 5 -", 30, "535", 0, 0},  // an earlier digit comes through
        {"E4 S4", 30, "", 0, 0},
        {"E 4 E 4 5", 30, "4", 2, 12},
        {"1 2 3 B B - B", 30, "1", 0, 0},
        {"1 2 E B", 30, "1", 2, 8},  // shortened after Enter
        {"S", 59, "", 0, 0},
        {"1 S", 60, "1", 0, level_left_timer},
    };
    for (const auto& c : cases) {
        start_level(1);
        fuel = c.fuel;
        std::istringstream words(c.ticks);
        for (std::string word; words >> word; game_tick()) {
            fake().hold_only({});
            for (char k : word) {
                const int code = k == 'E' ? KEY_ENTER : k == 'B' ? KEY_BACKSPACE : KEY_SPACE;
                fake().held[std::isdigit(k) ? KEY_0 + (k - '0') : code] = k != '-';
            }
        }
        EXPECT_STREQ(typed_answer, c.typed) << c.ticks;
        EXPECT_EQ(answer_state, c.state) << c.ticks;
        EXPECT_EQ(answer_timer, c.timer) << c.ticks;
    }
}

TEST_F(tick_rules, the_answer_holds_39_digits) {
    for (int i = 0; i < 45; ++i) {
        tick_with({KEY_0 + i % 10});
        tick_with({});
    }
    EXPECT_STREQ(typed_answer, "012345678901234567890123456789012345678");
}

// Whole games. The player answers by a plan, one letter a canister: R
// right, W wrong, F right although the tank is full; Space as soon as the
// tank reads full; Escape once the plan is used up and nothing is pending.
class whole_game : public game_test {
   protected:
    void SetUp() override {
        game_test::SetUp();
        fake().typed_after_clear = {KEY_ENTER << 8 | 13};
        fake().stall_polls = 5000;
        fake().on_stall = [] {  // only the table polls without drawing
            fake().on_look = nullptr;
            fake().hold_only({KEY_ENTER});
            return true;
        };
        fake().on_look = [this](int n) { look(n); };
        // What the game frames showed, up to the first long pause.
        fake().on_present = [this](int) {
            if (fake().rests.empty() || fake().rests.back() != 5000) {
                fuel_shown.push_back(fuel);
                phase_shown.push_back(phase);
            }
        };
    }
    void TearDown() override {
        decode_high_scores(nullptr, 0);
        game_test::TearDown();
    }

    void look(int n) {
        fake().hold_only({});
        // Keys count in ticks; a look between batches would lose a press.
        if ((before && before(n)) || last_tick == tick_count.load()) {
            return;
        }
        if (keys.empty()) {
            decide();
        }
        if (!keys.empty()) {
            for (int k : keys.front()) {
                fake().held[k] = true;
            }
            keys.pop_front();
        }
    }
    void decide() {
        const bool full = fuel + fuel_pending >= full_tank;
        if (answer_state != 0 || typed_answer[0] != '\0' || answer_timer == level_left_timer) {
            return;
        }
        if (planned < plan.size() && plan[planned] == 'F' && fuel == full_tank) {
            ++planned;
            submit(number_text(problem.problem_answer));
        } else if (fuel == full_tank) {
            keys = {{KEY_SPACE}, {}};
        } else if (planned < plan.size() && !full) {
            const char verdict = plan[planned++];
            submit(number_text(problem.problem_answer + (verdict == 'W' ? 1 : 0)));
        } else if (planned == plan.size() && fuel_pending == 0 && score_pending <= 0) {
            keys = {{KEY_ESC}};
        }
    }
    void submit(const std::string& text) {
        for (char c : text) {
            keys.push_back({KEY_0 + (c - '0')});
            keys.push_back({});
        }
        keys.push_back({KEY_ENTER});
        keys.push_back({});
    }
    static long count_sounds(const char* name, int volume) {
        const std::vector<std::string> heard = sounds_and_rests();
        return std::count(heard.begin(), heard.end(), name + ("/" + std::to_string(volume)));
    }

    scratch_folder folder;  // a qualifying game writes hiscores.dat
    std::string plan;
    std::size_t planned = 0;
    std::deque<std::set<int>> keys;
    std::function<bool(int)> before;  // runs first on every look; true skips the player
    std::vector<int> fuel_shown;
    std::vector<int> phase_shown;
};

TEST_F(whole_game, streaks_penalties_refuels_and_carried_fuel_follow_the_tables) {
    // Level 1: 35 +13 +13 reaches 60; an answer with a full tank is not judged.
    // Level 2: 30 +12 -15 +12 +12 +12: full with 3 units still pending,
    // which Space carries into level 3. Points 10, 20, then 30x2 (the streak
    // went on), 0, 10x2, 20x2, 30x2. Level 3: 25 + 3 - 15, penalty 15 again.
    plan = "RRFRWRRRW";
    play_game();
    EXPECT_EQ(level, 3);
    EXPECT_EQ(score, 210);
    EXPECT_EQ(fuel, 13);
    EXPECT_EQ(wrong_penalty, 25);
    EXPECT_EQ(count_sounds("game_start", 255), 1);
    EXPECT_EQ(count_sounds("level_start", 255), 2);
    EXPECT_EQ(count_sounds("right", 127), 6);
    EXPECT_EQ(count_sounds("wrong", 127), 2);
    EXPECT_EQ(fake().count_events("rest 5000"), 0) << "Escape: no banner, no table";
}

TEST_F(whole_game, the_allowance_ends_the_game_at_the_next_launch) {
    const struct {
        int hits, fuel;
        bool over;
    } cases[] = {{9, 50, false}, {10, 50, true}, {10, 60, false}, {11, 60, true}};
    for (const auto& c : cases) {
        install_fake_platform();
        SetUp();
        reset_game();
        plan = "W";
        planned = 0;
        keys.clear();
        // Answered with the hits already counted; a full tank is not judged.
        before = [&c](int n) {
            if (n == 0) {
                canister_count = c.hits + 1;
                fuel = c.fuel;
            }
            if (n == 200 && c.fuel == full_tank) {
                fake().held[KEY_ESC] = true;
                return true;
            }
            return false;
        };
        if (c.fuel == full_tank) {
            submit("1");
            planned = 1;
        }
        play_game();
        EXPECT_EQ(count_sounds("game_over", 127), c.over ? 1 : 0) << c.hits << " " << c.fuel;
    }
}

TEST_F(whole_game, game_over_and_completion_lead_to_the_table_through_the_message) {
    const struct {
        bool completed;
        int score;
        int rests_of_5000;
    } cases[] = {{false, 1000, 1}, {false, 1001, 2}, {true, 5000, 1}};
    for (const auto& c : cases) {
        install_fake_platform();
        SetUp();
        decode_high_scores(nullptr, 0);
        fuel_shown.clear();
        plan = c.completed ? "R" : "W";
        planned = 0;
        before = [&c](int n) {
            if (n == 0) {
                score = c.score;
                level = c.completed ? level_count : 1;
                fuel = c.completed ? 59 : 5;
            }
            return false;
        };
        play_game();
        EXPECT_EQ(count_sounds("game_over", 127), c.completed ? 0 : 1);
        EXPECT_EQ(fake().count_events("rest 5000"), c.rests_of_5000);
        if (!c.completed) {
            EXPECT_EQ(fuel_shown.back(), -1) << "the frame the fuel ran out on is drawn";
        }
        // Only a qualifying score is asked a name and saved.
        const bool qualified = c.rests_of_5000 == 2 || c.completed;
        EXPECT_EQ(fake().count_events("clear keys"), qualified ? 1 : 0);
        EXPECT_EQ(std::remove("hiscores.dat") == 0, qualified);
    }
}

TEST_F(whole_game, escape_is_read_even_when_the_clock_stands_still) {
    fake().waits_are_noops = true;
    fake().on_wait = [](int n) {
        if (n == 3) {
            fake().held[KEY_ESC] = true;
        }
        if (n > 1000) {
            throw script_exhausted("Escape was never read");
        }
    };
    play_game();
    EXPECT_EQ(fake().count_events("present"), 0);
}

TEST_F(whole_game, ticks_that_arrive_during_a_batch_run_in_that_batch) {
    // Each tick's key poll lets the clock run on by one, 50 times: the first
    // batch must catch up with all of them before its frame.
    before = [](int n) {
        if (n < 50) {
            count_tick();
        }
        fake().held[KEY_ESC] = n > 50;
        return true;
    };
    play_game();
    EXPECT_EQ(phase_shown, std::vector<int>{2 * 50});
    EXPECT_EQ(phase, 2 * 51);
}

}  // namespace
