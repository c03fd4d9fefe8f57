#pragma once
// The two level settings, chosen one after the other: difficulty 1..4, then
// topic 1 addition, 2 subtraction, 3 multiplication, 4 division, 5 mixed.
// Held in memory for the run only.

extern int difficulty;
extern int topic;

// Returns 1 when a topic was confirmed (both settings stored), 0 when the
// player left by the back row.
int difficulty_menu();
int topic_menu();
