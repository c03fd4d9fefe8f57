#pragma once
// The few texts practice shows and writes: problems, facts, times and the
// names of the operations and topics.

#include <cstddef>

struct arithmetic_fact;

// The game's sign of an operation: + - x /, or "?" outside 1..4.
const char* operation_sign(int operation);
// "addition", "subtraction", "multiplication", "division", "mixed": the
// topics 1..5, and the operations 1..4 by the same names.
extern const char* const practice_topic_names[5];
// The name of topic 1..5; "mixed" outside.
const char* topic_name(int topic);

// Texts into out: "7x8" (as the canister shows it), "7x8 = 56", "2.35"
// (seconds as practice.csv keeps them) and "2.3 s" (a time as shown, "-"
// for none).
void problem_text(char* out, std::size_t size, int operand_a, int operation, int operand_b);
void fact_text(char* out, std::size_t size, const arithmetic_fact& fact);
void seconds_text(char* out, std::size_t size, int ticks);
void time_text(char* out, std::size_t size, int ticks);
