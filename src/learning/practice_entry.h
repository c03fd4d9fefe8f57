#pragma once
// One canister as the trainer keeps it: the problem, what was typed, the
// verdict and how long it took.

constexpr int practice_entered_size = 40;  // the typed answer, 39 digits and the NUL

enum practice_result { practice_right = 0, practice_wrong = 1, practice_missed = 2 };

struct practice_entry {
    int level;
    int operand_a;
    int operation;  // 1 +, 2 -, 3 x, 4 /
    int operand_b;
    int answer;
    char entered[practice_entered_size];  // empty for a canister that reached the ship
    int result;                           // a practice_result
    int ticks;                            // launch to the Enter that answered, or to the hit
};
