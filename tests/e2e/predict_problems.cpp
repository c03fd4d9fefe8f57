// The problems a game will ask, canister after canister, when the random
// generator is seeded with SEED: one line "operand_a operand_b answer" each.
//   refuel_predict_problems SEED TOPIC DIFFICULTY COUNT
#include <cstdio>
#include <cstdlib>

#include "keyboard_random_clock.h"
#include "problem_generator.h"
#include "settings_menus.h"
#include "simulation_tick.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        return 2;
    }
    seed_rand15(static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)));
    topic = std::atoi(argv[2]);
    difficulty = std::atoi(argv[3]);
    for (int i = std::atoi(argv[4]); i > 0; --i) {
        // Each launch makes a problem, then draws the canister's lane.
        new_problem();
        reset_canister();
        std::printf("%d %d %d\n", problem.operand_a, problem.operand_b, problem.problem_answer);
    }
    return 0;
}
