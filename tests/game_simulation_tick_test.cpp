// The 10 ms step: placing and moving the canister, hits, the transfers of
// pending points and fuel, the answer clock, the bob and the recoil.

#include <vector>

#include "game_test_support.h"

namespace {

class simulation_tick_test : public game_test {
   protected:
    void SetUp() override {
        game_test::SetUp();
        start_level(1);
    }
};

TEST_F(simulation_tick_test, the_canister_is_placed_from_its_depth_before_the_move) {
    canister_lane = lane_spacing;
    tick_with({});
    EXPECT_EQ(canister_y, 133);
    EXPECT_DOUBLE_EQ(canister_scale, 100000.0 / 6000);
    EXPECT_EQ(canister_x_offset, 30);
    EXPECT_EQ(canister_distance, 5998);

    // Left lane at depth 1000: integer division truncates toward zero.
    canister_lane = -lane_spacing;
    canister_distance = 1007;
    tick_with({});
    EXPECT_EQ(canister_x_offset, -178);
    EXPECT_EQ(canister_y, 298);
    EXPECT_EQ(canister_distance, 1005);
}

TEST_F(simulation_tick_test, depth_1000_after_the_move_is_not_a_hit_and_999_is) {
    canister_distance = 1002;
    tick_with({});
    EXPECT_EQ(canister_distance, 1000);
    EXPECT_EQ(canister_count, 1);
    EXPECT_TRUE(fake().sounds.empty());

    canister_distance = 1001;
    tick_with({});
    EXPECT_EQ(canister_count, 2);
    EXPECT_EQ(canister_distance, launch_distance);
    EXPECT_EQ(last_sound(), "wrong/127/127/1000/0");
}

TEST_F(simulation_tick_test, a_hit_costs_15_fuel_restarts_streak_and_recoil_and_drops_the_answer) {
    level = 7;
    canister_lane = -lane_spacing;
    type_digits("42");
    tick_with({KEY_ENTER});
    ASSERT_EQ(answer_state, 2);
    fuel = 40;
    wrong_penalty = 45;  // not used by a hit
    streak_bonus = 70;
    score_pending = 500;
    fuel_pending = 8;  // a refuel in progress is cancelled
    recoil_index = 0;
    const history_entry before = problem_history[0];
    const int score_before = score;

    canister_distance = 1005;  // speed 9 at level 7: 996 after the move
    phase = 0;
    tick_with({});

    EXPECT_EQ(canister_count, 2);
    EXPECT_EQ(wrong_penalty, 45);
    EXPECT_EQ(streak_bonus, 10);
    // Assigned -15 then one unit moved on the same tick.
    EXPECT_EQ(fuel_pending, -14);
    EXPECT_EQ(fuel, 39);
    EXPECT_EQ(score_pending, 0);
    EXPECT_EQ(score, score_before);
    // Set to 1 by the hit, advanced once at the end of the tick.
    EXPECT_EQ(recoil_index, 2);
    // reset_canister zeroed the view, and the same tick worked it out again.
    EXPECT_EQ(view_offset_y, -21);
    // The answer in hand went with the old canister.
    EXPECT_STREQ(typed_answer, "");
    EXPECT_EQ(answer_state, 0);
    EXPECT_EQ(answer_timer, 0);
    EXPECT_EQ(canister_distance, launch_distance);
    // A new problem was made: the old one moved down the history.
    EXPECT_EQ(problem_history[1].operand_a, before.operand_a);
    EXPECT_EQ(problem_history[1].operand_b, before.operand_b);
    EXPECT_EQ(fake().count_events("sound"), 1);
    EXPECT_EQ(last_sound(), "wrong/127/127/1000/0");

    // The screen position lags: the old canister's last place on the hit
    // tick, the new one from the next tick on.
    EXPECT_EQ(canister_x_offset, -179);
    EXPECT_EQ(canister_y, 299);
    tick_with({});
    EXPECT_EQ(canister_y, 133);
    EXPECT_EQ(canister_x_offset, canister_lane / 6000);
    EXPECT_DOUBLE_EQ(canister_scale, 100000.0 / 6000);
    EXPECT_EQ(canister_distance, 6000 - 9);
}

TEST_F(simulation_tick_test, an_undisturbed_canister_flies_the_level_table_of_ticks) {
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

TEST_F(simulation_tick_test, pending_points_move_one_step_of_ten_times_the_level_per_tick) {
    level = 3;
    score_pending = 90;
    std::vector<int> scores;
    for (int i = 0; i < 4; ++i) {
        tick_with({});
        scores.push_back(score);
        EXPECT_EQ(score_step, i < 3 ? 30 : 0);
    }
    EXPECT_EQ(scores, (std::vector<int>{30, 60, 90, 90}));
    EXPECT_EQ(score_pending, 0);
}

TEST_F(simulation_tick_test, the_last_step_overshoots_and_leaves_the_pending_points_negative) {
    // 20 points carried from level 2 move at level 3's step of 30.
    level = 3;
    score = 100;
    score_pending = 20;
    tick_with({});
    EXPECT_EQ(score, 130);
    EXPECT_EQ(score_pending, -10);
    for (int i = 0; i < 5; ++i) {
        tick_with({});
    }
    EXPECT_EQ(score, 130);
    EXPECT_EQ(score_pending, -10);
    EXPECT_EQ(score_step, 0);
}

TEST_F(simulation_tick_test, pending_fuel_moves_one_unit_per_tick_either_way) {
    fuel = 30;
    fuel_pending = 3;
    std::vector<int> seen;
    for (int i = 0; i < 4; ++i) {
        tick_with({});
        seen.push_back(fuel);
    }
    EXPECT_EQ(seen, (std::vector<int>{31, 32, 33, 33}));
    fuel_pending = -2;
    tick_with({});
    tick_with({});
    tick_with({});
    EXPECT_EQ(fuel, 31);
    EXPECT_EQ(fuel_pending, 0);
}

TEST_F(simulation_tick_test, a_full_tank_cuts_61_back_to_60_and_the_excess_is_lost) {
    fuel = 59;
    fuel_pending = 4;
    tick_with({});
    EXPECT_EQ(fuel, 60);
    for (int i = 0; i < 3; ++i) {
        tick_with({});
        EXPECT_EQ(fuel, 60);
    }
    EXPECT_EQ(fuel_pending, 0);
    // A hit while full brings the fuel down again.
    fuel_pending = -15;
    tick_with({});
    EXPECT_EQ(fuel, 59);
}

TEST_F(simulation_tick_test, an_empty_tank_is_alive_and_minus_one_is_out_of_fuel) {
    fuel = 1;
    fuel_pending = -2;
    tick_with({});
    EXPECT_EQ(fuel, 0);
    EXPECT_EQ(out_of_fuel, 0);
    tick_with({});
    EXPECT_EQ(fuel, -1);
    EXPECT_EQ(out_of_fuel, 1);
    // Only a new game clears it.
    fuel = 20;
    tick_with({});
    EXPECT_EQ(out_of_fuel, 1);
}

TEST_F(simulation_tick_test, the_answer_clock_runs_four_per_tick_after_enter) {
    type_digits("7");
    tick_with({});
    EXPECT_EQ(answer_timer, 0);
    tick_with({KEY_ENTER});
    EXPECT_EQ(answer_timer, 4);
    for (int i = 0; i < 74; ++i) {
        tick_with({KEY_ENTER});
    }
    EXPECT_EQ(answer_timer, 300);
}

TEST_F(simulation_tick_test, the_view_bobs_with_the_short_pi_and_recoils) {
    struct case_t {
        int phase, recoil, offset;
    } cases[] = {
        {0, 0, -20},
        // The short pi makes sin(30 degrees) a little under one half.
        {30, 0, -24},
        {90, 0, -30},
        {270, 0, -10},
        {360, 0, -19},
        {90, 9, -71},
        {0, 1, -21},
    };
    for (const case_t& c : cases) {
        phase = c.phase;
        recoil_index = c.recoil;
        tick_with({});
        EXPECT_EQ(view_offset_y, c.offset) << "phase " << c.phase << " recoil " << c.recoil;
        EXPECT_EQ(phase, c.phase + 2);
    }
}

TEST_F(simulation_tick_test, the_recoil_runs_through_entries_1_to_142_and_rests) {
    recoil_index = 1;
    int ticks = 0;
    while (recoil_index != 0 && ticks < 1000) {
        tick_with({});
        ++ticks;
    }
    EXPECT_EQ(ticks, 142);
    tick_with({});
    EXPECT_EQ(recoil_index, 0);
}

TEST_F(simulation_tick_test, the_recoil_curve_has_its_rise_wobble_and_fall) {
    std::vector<int> expected = {0, 1, 3, 6, 10, 15, 21, 28, 35, 41};
    for (int round = 0; round < 4; ++round) {
        for (int v : {40, 39, 38, 37, 38, 39, 40, 41, 40, 39}) {
            expected.push_back(v);
        }
    }
    auto repeat = [&](int from, int to, int times) {
        for (int v = from; v >= to; --v) {
            expected.insert(expected.end(), static_cast<std::size_t>(times), v);
        }
    };
    repeat(38, 38, 6);
    repeat(37, 35, 4);
    repeat(34, 22, 3);
    repeat(21, 8, 2);
    repeat(7, 0, 1);
    expected.push_back(0);
    ASSERT_EQ(expected.size(), 144u);
    EXPECT_EQ(std::vector<int>(recoil_curve, recoil_curve + recoil_curve_length), expected);
}

TEST_F(simulation_tick_test, after_space_the_world_stands_still_but_keys_are_read) {
    fuel = 60;
    fuel_pending = 5;
    score_pending = 40;
    recoil_index = 20;
    phase = 300;
    canister_distance = 3000;
    tick_with({KEY_SPACE});
    ASSERT_EQ(answer_timer, level_left_timer);
    for (int i = 0; i < 50; ++i) {
        tick_with({});
    }
    EXPECT_EQ(fuel, level_left_fuel);
    EXPECT_EQ(fuel_pending, 5);
    EXPECT_EQ(score_pending, 40);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(recoil_index, 20);
    EXPECT_EQ(phase, 300);
    EXPECT_EQ(canister_distance, 3000);
    EXPECT_EQ(answer_timer, level_left_timer);
    // The answer input still runs: it keeps the speed in step with the level.
    canister_speed = 0;
    tick_with({});
    EXPECT_EQ(canister_speed, 2);
}

TEST_F(simulation_tick_test, reset_canister_launches_in_one_of_three_lanes) {
    int seen[3] = {};
    for (int i = 0; i < 300; ++i) {
        std::strcpy(typed_answer, "12");
        answer_timer = 120;
        answer_state = 2;
        view_offset_y = -40;
        canister_distance = 1234;
        reset_canister();
        EXPECT_STREQ(typed_answer, "");
        EXPECT_EQ(answer_timer, 0);
        EXPECT_EQ(answer_state, 0);
        EXPECT_EQ(view_offset_y, 0);
        EXPECT_EQ(canister_distance, 6000);
        ASSERT_TRUE(canister_lane == -180000 || canister_lane == 0 || canister_lane == 180000)
            << canister_lane;
        ++seen[canister_lane / 180000 + 1];
    }
    EXPECT_GT(seen[0], 50);
    EXPECT_GT(seen[1], 50);
    EXPECT_GT(seen[2], 50);
}

TEST_F(simulation_tick_test, reset_canister_takes_one_draw_from_the_generator) {
    seed_rand15(99);
    reset_canister();
    const int lane = canister_lane;
    const int next = rand15();
    seed_rand15(99);
    EXPECT_EQ(lane, 180000 * random_range(-1, 1));
    EXPECT_EQ(rand15(), next);
}

}  // namespace
