#include "problem_generator.h"

#include <algorithm>
#include <iterator>

#include "keyboard_random_clock.h"
#include "settings_menus.h"

problem_record problem;
history_entry problem_history[problem_history_length];
int canister_variant = 1;

namespace {

bool in_range(int value, int lo, int hi) {
    return value >= lo && value <= hi;
}

int clamp_to(int value, int lo, int hi) {
    if (value < lo) {
        return lo;
    }
    if (value > hi) {
        return hi;
    }
    return value;
}

// Difficulty 3 for addition and subtraction: half small numbers, half round
// tens. The coin is drawn before the operand.
int split_operand() {
    const int coin = random_range(1, 100);
    if (coin >= 51) {
        return 10 * random_range(0, 10);
    }
    return random_range(0, 15);
}

bool repeats_history(int a, int b) {
    return std::any_of(
        std::begin(problem_history), std::end(problem_history), [a, b](const history_entry& h) {
            return (a == h.operand_a && b == h.operand_b) || (a == h.operand_b && b == h.operand_a);
        });
}

int answer_of(int operation, int a, int b) {
    switch (operation) {
        case 1:
            return a + b;
        case 2:
            return a - b;
        case 3:
            return a * b;
        default:
            return a / b;
    }
}

}  // namespace

int pick_operand_b(int operation, int difficulty) {
    if (!in_range(operation, 1, 4) || !in_range(difficulty, 1, 4)) {
        return -1;
    }
    if (operation <= 2) {
        switch (difficulty) {
            case 1:
                return random_range(1, 10);
            case 2:
                return random_range(0, 20);
            case 3:
                return split_operand();
            default:
                return random_range(0, 100);
        }
    }
    // Multiplication and division share their second operand; it is never 0,
    // so no division by 0 can come up.
    switch (difficulty) {
        case 1:
            return random_range(1, 3);
        case 2:
            return random_range(1, 10);
        default:
            return random_range(1, 15);
    }
}

int pick_operand_a(int operation, int difficulty) {
    if (!in_range(operation, 1, 4) || !in_range(difficulty, 1, 4)) {
        return -1;
    }
    const int b = problem.operand_b;
    switch (operation) {
        case 1:
            return difficulty == 1   ? random_range(1, 10)
                   : difficulty == 2 ? random_range(0, 20)
                                     : random_range(0, 100);
        case 2:
            // The minuend is b plus a non-negative draw: no negative answers.
            return b + (difficulty == 1   ? random_range(1, 10)
                        : difficulty == 2 ? random_range(0, 20)
                                          : random_range(0, 100));
        case 3:
            return difficulty == 1   ? random_range(1, 10)
                   : difficulty == 2 ? random_range(0, 10)
                   : difficulty == 3 ? random_range(0, 15)
                                     : random_range(0, 100);
        default:
            // The dividend is a multiple of b: every quotient is whole.
            return b * (difficulty == 1   ? random_range(1, 10)
                        : difficulty == 2 ? random_range(0, 10)
                                          : random_range(0, 15));
    }
}

int problem_over_limit(int operation, int difficulty) {
    if (!in_range(operation, 1, 4) || !in_range(difficulty, 1, 4)) {
        return -1;
    }
    const int a = problem.operand_a;
    const int b = problem.operand_b;
    static const int sum_ceiling[] = {10, 20, 100};
    switch (operation) {
        case 1:
            return difficulty <= 3 && a + b > sum_ceiling[difficulty - 1] ? 1 : 0;
        case 2:
            return difficulty <= 3 && a > sum_ceiling[difficulty - 1] ? 1 : 0;
        case 3:
            return difficulty == 4 && b > 10 && a * b > 200 ? 1 : 0;
        default:
            return difficulty == 4 && b > 10 && a > 200 ? 1 : 0;
    }
}

void new_problem() {
    // Settings outside their ranges would make every attempt refused and the
    // loop below endless; such values are taken as the nearest valid setting.
    const int level_difficulty = clamp_to(difficulty, 1, 4);
    const int level_topic = clamp_to(topic, 1, 5);

    const int op = level_topic == 5 ? random_range(1, 4) : level_topic;
    for (;;) {
        problem.operand_b = pick_operand_b(op, level_difficulty);
        problem.operand_a = pick_operand_a(op, level_difficulty);
        problem.problem_operation = op;
        if (repeats_history(problem.operand_a, problem.operand_b)) {
            continue;
        }
        if (problem_over_limit(op, level_difficulty) != 0) {
            continue;
        }
        break;
    }

    for (int i = problem_history_length - 2; i >= 0; --i) {
        problem_history[i + 1] = problem_history[i];
    }
    problem_history[0] = {problem.operand_a, problem.operand_b, op};

    problem.problem_answer = answer_of(op, problem.operand_a, problem.operand_b);
    canister_variant = random_range(1, 5);
}
