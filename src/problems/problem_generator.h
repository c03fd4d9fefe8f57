#pragma once
// Makes the arithmetic problem of each canister from the topic and the
// difficulty, refusing draws over the difficulty's ceiling and pairs that
// came up among the last ten problems.

struct problem_record {
    int operand_a;          // first addend, minuend, first factor or dividend
    int operand_b;          // second addend, subtrahend, second factor or divisor
    int problem_operation;  // 1 +, 2 -, 3 x, 4 /
    int problem_answer;
};

struct history_entry {
    int operand_a;
    int operand_b;
    int operation;  // 0 in a record never filled
};

constexpr int problem_history_length = 10;

extern problem_record problem;
extern history_entry problem_history[problem_history_length];  // [0] is the latest
extern int canister_variant;  // 1..5; 2 picks the alternate canister picture

// Sets problem, the history and canister_variant. A topic outside 1..5 or a
// difficulty outside 1..4 is read as the nearest valid value; the settings
// themselves are left alone.
void new_problem();
// Draws for one attempt; -1 for an operation or difficulty outside 1..4.
int pick_operand_b(int operation, int difficulty);
int pick_operand_a(int operation, int difficulty);
// 1 when the stored operands exceed the difficulty's ceiling, 0 when not,
// -1 for arguments outside 1..4.
int problem_over_limit(int operation, int difficulty);
