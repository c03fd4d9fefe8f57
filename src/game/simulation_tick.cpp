#include "simulation_tick.h"

#include <cmath>

#include "answer_input.h"
#include "asset_catalogue.h"
#include "canister_label.h"
#include "game_loop.h"
#include "keyboard_random_clock.h"
#include "practice_record.h"
#include "problem_generator.h"

// Pixels the view is pushed down by after a wrong answer or a hit: a quick
// rise, a wobble at the peak, then a slow fall back to rest.
const int recoil_curve[recoil_curve_length] = {
    0,  1,  3,  6,  10, 15, 21, 28, 35, 41, 40, 39,  //
    38, 37, 38, 39, 40, 41, 40, 39, 40, 39, 38, 37,  //
    38, 39, 40, 41, 40, 39, 40, 39, 38, 37, 38, 39,  //
    40, 41, 40, 39, 40, 39, 38, 37, 38, 39, 40, 41,  //
    40, 39, 38, 38, 38, 38, 38, 38, 37, 37, 37, 37,  //
    36, 36, 36, 36, 35, 35, 35, 35, 34, 34, 34, 33,  //
    33, 33, 32, 32, 32, 31, 31, 31, 30, 30, 30, 29,  //
    29, 29, 28, 28, 28, 27, 27, 27, 26, 26, 26, 25,  //
    25, 25, 24, 24, 24, 23, 23, 23, 22, 22, 22, 21,  //
    21, 20, 20, 19, 19, 18, 18, 17, 17, 16, 16, 15,  //
    15, 14, 14, 13, 13, 12, 12, 11, 11, 10, 10, 9,   //
    9,  8,  8,  7,  6,  5,  4,  3,  2,  1,  0,  0,
};

void (*launch_problem)() = new_problem;

namespace {

constexpr double bob_pi = 3.14159265;  // the bob was tuned with this value
constexpr int recoil_end = 143;

void hit_ship() {
    record_hit();
    canister_count += 1;
    // Assigned, not added: a refuel still in progress is cancelled.
    recoil_index = 1;
    fuel_pending = -hit_fuel_cost;
    streak_bonus = first_streak_bonus;
    score_pending = 0;
    play_game_sound(sample_wrong, 127);
    // The answer in hand goes with the old canister.
    launch_problem();
    reset_canister();
    render_label();
    record_launch();
}

}  // namespace

void game_tick() {
    read_answer_input();
    // Once Space has left the level the whole world stands still.
    if (answer_timer != level_left_timer) {
        update_flight();
    }
}

void update_flight() {
    // Placed from the depth before this tick's move, so the picture lags by a tick.
    canister_y = 200000 / canister_distance + 100;
    canister_scale = 100000.0 / canister_distance;
    canister_x_offset = canister_lane / canister_distance;

    canister_distance -= canister_speed;
    if (canister_distance < hit_distance) {
        hit_ship();
    }

    // A step that overshoots leaves score_pending negative until it is assigned again.
    score_step = score_pending > 0 ? 10 * level : 0;
    score += score_step;
    score_pending -= score_step;

    if (fuel_pending > 0) {
        fuel += 1;
        fuel_pending -= 1;
    }
    if (fuel_pending < 0) {
        fuel -= 1;
        fuel_pending += 1;
    }
    if (fuel < 0) {
        out_of_fuel = 1;
    }
    if (fuel > full_tank) {
        fuel = full_tank;
    }

    answer_timer += 2 * answer_state;

    view_offset_y = static_cast<int>(-20.0 - 10.0 * std::sin(phase * bob_pi / 180.0) -
                                     recoil_curve[recoil_index]);
    if (recoil_index > 0) {
        recoil_index += 1;
        if (recoil_index == recoil_end) {
            recoil_index = 0;
        }
    }
    phase += 2;
}

void reset_canister() {
    typed_answer[0] = '\0';
    answer_timer = 0;
    answer_state = 0;
    view_offset_y = 0;
    canister_distance = launch_distance;
    canister_lane = lane_spacing * random_range(-1, 1);
}
