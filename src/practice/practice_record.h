#pragma once
// What each canister of the game in progress came to, kept for the practice
// report: the problem, what was typed, the verdict and how long it took.
// Only read here, never written back into the game, so keeping it changes
// nothing in play.

constexpr int practice_entered_size = 40;      // the typed answer, 39 digits and the NUL
constexpr int practice_record_capacity = 400;  // canisters past this are dropped

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

extern practice_entry practice_record[practice_record_capacity];
extern int practice_record_count;

// The hooks, one call each where the game does the thing.
void start_practice_record();  // a game starts
void record_launch();          // a canister has been launched with its problem
void record_answer_sent();     // Enter is about to submit the typed answer
void record_judged();          // the typed answer is about to be judged
void record_hit();             // the canister reached the ship
