#pragma once
// The five best scores: read from hiscores.dat at start-up, shown on the
// high-score screen, and the test that decides whether a final score counts.

extern int high_scores[5];  // rank 1 (best) first

void load_high_scores();
void show_high_scores();
// True when score is strictly greater than the rank-5 entry.
bool is_high_score(int score);
