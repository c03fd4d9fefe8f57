#pragma once
// What each canister of the game in progress came to, kept for the practice
// report: the problem, what was typed, the verdict and how long it took.
// Only read here, never written back into the game, so keeping it changes
// nothing in play.

#include "practice_entry.h"

constexpr int practice_record_capacity = 400;  // canisters past this are dropped

extern practice_entry practice_record[practice_record_capacity];
extern int practice_record_count;

// The hooks, one call each where the game does the thing.
void start_practice_record();  // a game starts
void record_launch();          // a canister has been launched with its problem
void record_answer_sent();     // Enter is about to submit the typed answer
void record_judged();          // the typed answer is about to be judged
void record_hit();             // the canister reached the ship (unseen: not kept)
