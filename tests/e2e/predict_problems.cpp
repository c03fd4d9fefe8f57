// The problems a game will ask, canister after canister, when the random
// generator is seeded with SEED: one line "operand_a operand_b answer" each.
//   refuel_predict_problems SEED TOPIC DIFFICULTY COUNT
// Or those of `refuel --practise FAMILIES` started at SEED with no history,
// answered as VERDICTS says (W wrong, else right; the last letter repeats):
//   refuel_predict_problems SEED round FAMILIES VERDICTS
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <string>

#include "keyboard_random_clock.h"
#include "problem_generator.h"
#include "round_engine.h"
#include "settings_menus.h"
#include "simulation_tick.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        return 2;
    }
    const unsigned int seed = static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10));
    seed_rand15(seed);
    if (std::string(argv[2]) == "round") {
        std::vector<fact_family> families;
        std::string bad;
        const std::string verdicts = argv[4];
        if (!parse_fact_families(argv[3], families, bad) || verdicts.empty()) {
            return 2;
        }
        practice_round round =
            plan_next_round({}, command_line_request(families, argv[3], {}, seed), seed, rand15);
        for (round_canister c{}; next_canister(round, c);) {
            std::printf("%d %d %d\n", c.operand_a, c.operand_b, c.answer);
            const std::size_t at = std::min<std::size_t>(round.flown - 1, verdicts.size() - 1);
            canister_verdict(round, verdicts[at] == 'W' ? practice_wrong : practice_right);
        }
        return 0;
    }
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
