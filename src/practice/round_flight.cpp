#include "round_flight.h"

#include <allegro.h>

#include <algorithm>
#include <cstdio>

#include "asset_catalogue.h"
#include "canister_label.h"
#include "drawing_kit.h"
#include "game_frame.h"
#include "game_loop.h"
#include "keyboard_random_clock.h"
#include "platform.h"
#include "practice_record.h"
#include "practice_screen.h"
#include "practice_style.h"
#include "problem_generator.h"
#include "simulation_tick.h"

namespace {

practice_round* flying = nullptr;
bool queue_done = false;
std::string flying_player;  // read once a round, not once a frame

// Sets the problem from the round's next canister. The canister before it
// has had its verdict by now, the last one in the record: the engine hears
// it, so that a wrong answer or a miss brings its fact back.
void launch_next_fact() {
    practice_round& round = *flying;
    if (round.flown > 0 && practice_record_count == round.flown) {
        canister_verdict(round, practice_record[practice_record_count - 1].result);
    }
    round_canister shown{};
    if (!next_canister(round, shown)) {
        queue_done = true;
        return;
    }
    problem.operand_a = shown.operand_a;
    problem.operand_b = shown.operand_b;
    problem.problem_operation = shown.operation;
    problem.problem_answer = shown.answer;
    canister_variant = random_range(1, 5);
}

// In a round the tank neither runs dry nor fills: fuel comes and goes with
// the answers, but there is no GAME OVER and no next-level prompt.
void keep_round_tank() {
    fuel = std::clamp(fuel, 0, full_tank - 1);
    fuel_pending = std::clamp(fuel_pending, -fuel, full_tank - 1 - fuel);
    out_of_fuel = 0;
}

// As the game runs its ticks, each followed by the tank's rule; a hit on
// the last canister ends the batch.
int run_round_ticks() {
    int t = last_tick;
    while (!queue_done && t < tick_count.load(std::memory_order_relaxed)) {
        game_tick();
        keep_round_tank();
        ++t;
    }
    const int ran = t - last_tick;
    last_tick = t;
    return ran;
}

// The frame loop of one canister; false when Escape is held.
bool fly_canister() {
    set_draw_target(back_buffer);
    while (answer_timer < answer_done_timer && !queue_done) {
        const int ran = run_round_ticks();
        if (platform_key_held(KEY_ESC)) {
            return false;
        }
        if (ran == 0) {
            platform_wait_for_tick(last_tick);
            continue;
        }
        if (!queue_done) {
            compose_game_frame();
            draw_round_heading(flying->flown, static_cast<int>(flying->queue.size()),
                               flying_player);
            present_frame();
        }
    }
    return true;
}

}  // namespace

void draw_round_heading(int shown, int total, const std::string& player) {
    // Top right, above where any canister flies and clear of the score.
    draw_practice_panel(580, 14, 200, player.empty() ? 66 : 86);
    set_draw_font(font_text);
    use_colour(amber);
    draw_text(680, 28, "PRACTICE ROUND", 1, 1);
    char count[32];
    (void)std::snprintf(count, sizeof count, "%d of %d", shown, total);
    set_draw_font(font_readout);
    use_colour(pale);
    draw_text(680, 56, count, 1, 1);
    if (!player.empty()) {
        set_draw_font(font_text);
        use_colour(dim);
        draw_fitted(680, 87 - text_height(draw_font) / 2, player.c_str(), 188, align_centre);
    }
}

bool fly_round(practice_round& round) {
    flying = &round;
    queue_done = false;
    flying_player = playing_name();
    void (*const game_launch)() = launch_problem;
    launch_problem = launch_next_fact;

    play_game_sound(sample_game_start, 255);
    reset_game();
    start_practice_record();
    canister_count = 1;
    fuel = start_fuel_table[1];
    phase = 0;
    wrong_penalty = first_wrong_penalty;
    last_tick = tick_count.load(std::memory_order_relaxed);

    bool finished = false;
    for (;;) {
        launch_next_fact();
        if (queue_done) {
            finished = true;
            break;
        }
        reset_canister();
        render_label();
        record_launch();
        if (!fly_canister()) {
            break;
        }
        if (queue_done) {
            finished = true;  // the last canister reached the ship
            break;
        }
        record_judged();
        judge_answer();
    }
    launch_problem = game_launch;
    flying = nullptr;
    return finished;
}
