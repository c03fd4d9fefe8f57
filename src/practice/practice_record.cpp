#include "practice_record.h"

#include <cstdio>
#include <cstring>

#include "game_loop.h"
#include "problem_generator.h"
#include "simulation_tick.h"

practice_entry practice_record[practice_record_capacity];
int practice_record_count = 0;

namespace {

// The canister in flight; it goes into the record only once it is judged
// or hits, so canisters dropped unjudged never do.
practice_entry flying{};
bool in_flight = false;
int enter_ticks = 0;

// The canister closes in by the level's speed on every tick since its
// launch, so its depth tells the ticks without a clock of our own.
int ticks_flown() {
    if (canister_speed <= 0 || canister_distance > launch_distance) {
        return 0;
    }
    return (launch_distance - canister_distance) / canister_speed;
}

void keep(int result, const char* entered, int ticks) {
    if (!in_flight) {
        return;
    }
    in_flight = false;
    flying.result = result;
    (void)std::snprintf(flying.entered, sizeof flying.entered, "%s", entered);
    flying.ticks = ticks;
    if (practice_record_count < practice_record_capacity) {
        practice_record[practice_record_count++] = flying;
    }
}

}  // namespace

void start_practice_record() {
    practice_record_count = 0;
    in_flight = false;
}

void record_launch() {
    flying = practice_entry{};
    flying.level = level;
    flying.operand_a = problem.operand_a;
    flying.operation = problem.problem_operation;
    flying.operand_b = problem.operand_b;
    flying.answer = problem.problem_answer;
    in_flight = true;
    enter_ticks = 0;
}

void record_answer_sent() {
    // Enter held on, or pressed again, does not move the time.
    if (answer_state == 0) {
        // Keys are read before this tick's move: the tick of Enter counts too.
        enter_ticks = ticks_flown() + 1;
    }
}

void record_judged() {
    char right[16];
    (void)std::snprintf(right, sizeof right, "%d", flying.answer);
    const bool is_right = std::strcmp(typed_answer, right) == 0;
    keep(is_right ? practice_right : practice_wrong, typed_answer, enter_ticks);
}

void record_hit() {
    // While the tank shows full ("PRESS SPACE") the canister is not drawn:
    // one the player could not see is no miss and counts nowhere.
    if (fuel + fuel_pending >= full_tank) {
        in_flight = false;
        return;
    }
    keep(practice_missed, "", ticks_flown());
}
