#include "game_loop.h"

#include <allegro.h>

#include <cstring>

#include "asset_catalogue.h"
#include "canister_label.h"
#include "drawing_kit.h"
#include "game_frame.h"
#include "high_scores.h"
#include "keyboard_random_clock.h"
#include "platform.h"
#include "practice_record.h"
#include "practice_session.h"
#include "problem_generator.h"
#include "simulation_tick.h"
#include "text_pool.h"

const int start_fuel_table[level_count + 1] = {0, 35, 30, 25, 20, 15, 10, 7, 4, 2, 1};
const int fuel_gain_table[level_count + 1] = {0, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4};
const int speed_table[level_count + 1] = {0, 2, 4, 5, 6, 7, 8, 9, 10, 12, 15};
const int allowance_table[level_count + 1] = {0, 10, 10, 10, 11, 12, 13, 14, 15, 17, 20};

int level = 1;
int fuel = 0;
int fuel_pending = 0;
int score = 0;
int score_pending = 0;
int score_step = 0;
int streak_bonus = first_streak_bonus;
int wrong_penalty = first_wrong_penalty;
int canister_count = 0;
int out_of_fuel = 0;
int phase = 0;
int view_offset_y = 0;
int recoil_index = 0;
int canister_distance = 6000;
int canister_speed = 0;
int canister_lane = 0;
int canister_x_offset = 0;
int canister_y = 0;
double canister_scale = 0.0;
int answer_state = 0;
int answer_timer = 0;
char typed_answer[typed_answer_size] = {};
int current_key = -1;
int previous_key = -1;
int backspace_latch = 0;
int beam_x = 0;
int beam_y = 0;

void play_game_sound(const SAMPLE* sample, int volume) {
    platform_play_sample(sample, volume, 127, 1000, 0);
}

void reset_game() {
    level = 1;
    fuel_pending = 0;
    score = 0;
    score_pending = 0;
    score_step = 0;
    streak_bonus = first_streak_bonus;
    canister_count = 0;
    out_of_fuel = 0;
    phase = 0;
    view_offset_y = 0;
    recoil_index = 0;
    canister_distance = 6000;
    canister_x_offset = 0;
    answer_state = 0;
    answer_timer = 0;
    typed_answer[0] = '\0';
    beam_x = 0;
    beam_y = 0;
    problem.operand_a = 0;
    problem.operand_b = 0;
    problem.problem_operation = 0;
    problem.problem_answer = 0;
}

namespace {

int current_tick() {
    return tick_count.load(std::memory_order_relaxed);
}

void launch_canister() {
    new_problem();
    reset_canister();
    render_label();
    record_launch();
}

// canister_count is 1 plus the hits of the level: more hits than the
// allowance end the game, exactly as many end it unless the tank is full.
bool allowance_used_up() {
    const int allowance = allowance_table[level];
    if (canister_count > allowance + 1) {
        return true;
    }
    return canister_count > allowance && fuel < full_tank;
}

// Ticks that arrive while the batch runs are run in the same batch. The
// batch ends where the clock was last seen, so a tick that arrives after
// the last look waits for the next batch instead of being lost. Returns
// how many ran.
int run_pending_ticks() {
    int t = last_tick;
    while (t < current_tick()) {
        game_tick();
        ++t;
    }
    const int ran = t - last_tick;
    last_tick = t;
    return ran;
}

}  // namespace

// Pending amounts are assigned, not added: a new verdict replaces the old.
void judge_answer() {
    if (std::strcmp(typed_answer, number_text(problem.problem_answer)) == 0) {
        score_pending = streak_bonus * level;
        streak_bonus += streak_bonus_growth;
        fuel_pending = fuel_gain_table[level];
        recoil_index = 0;
        play_game_sound(sample_right, 127);
    } else {
        fuel_pending = -wrong_penalty;
        wrong_penalty += wrong_penalty_growth;
        streak_bonus = first_streak_bonus;
        score_pending = 0;
        recoil_index = 1;
        play_game_sound(sample_wrong, 127);
    }
}

namespace {

// Drawn straight on the visible screen, over the last presented frame.
void show_game_over() {
    set_draw_font(font_banner);
    set_draw_target(platform_screen());
    set_draw_color(0, 0, 0);
    draw_text(397, 197, "GAME OVER", 1, 1);
    set_draw_color(255, 96, 96);
    draw_text(400, 200, "GAME OVER", 1, 1);
    play_game_sound(sample_game_over, 127);
    platform_rest(5000);
}

// Expects draw_target to be the visible screen.
void finish_game() {
    if (is_high_score(score)) {
        draw_panel(200, 150, 400, 100);
        set_draw_font(font_text);
        draw_text(220, 185, "Congratulations! You've made a high score.", 0, 1);
        platform_rest(5000);
        present_frame();
        // The player's name goes into the table, which is then kept on disk.
        enter_high_score(score);
    }
    show_high_scores();
    show_practice_report();
}

void end_with_game_over() {
    show_game_over();
    finish_game();
}

}  // namespace

void play_game() {
    play_game_sound(sample_game_start, 255);
    reset_game();
    start_practice_record();
    last_tick = current_tick();

    while (level <= level_count) {
        canister_count = 1;
        fuel = start_fuel_table[level];
        phase = 0;
        if (level > 1) {
            play_game_sound(sample_level_start, 255);
        }
        wrong_penalty = first_wrong_penalty;

        while (fuel < level_end_fuel) {
            launch_canister();
            if (allowance_used_up()) {
                end_with_game_over();
                return;
            }
            set_draw_target(back_buffer);
            while (answer_timer < answer_done_timer) {
                const int ran = run_pending_ticks();
                // Escape is looked at on every pass, so the game can be left
                // even when the clock has stopped.
                if (platform_key_held(KEY_ESC)) {
                    keep_left_game();
                    return;
                }
                // Nothing on the screen can change between ticks, so
                // without a tick to run there is nothing to draw: sleep.
                if (ran == 0) {
                    platform_wait_for_tick(last_tick);
                    continue;
                }
                draw_game_frame();
                if (out_of_fuel != 0) {
                    end_with_game_over();
                    return;
                }
            }
            // A full tank drops the answer unjudged; 150 means Space left the level.
            if (fuel >= full_tank) {
                continue;
            }
            record_judged();
            judge_answer();
        }
        answer_timer = 0;
        level += 1;
    }

    set_draw_target(platform_screen());
    finish_game();
}
