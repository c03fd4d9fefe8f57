#pragma once
// One game from its opening sound to the high-score screen, and the game
// state that the tick, the answer input and the frame share.

struct SAMPLE;

constexpr int level_count = 10;
constexpr int full_tank = 60;
constexpr int level_left_fuel = 150;    // fuel marker: level left with Space
constexpr int level_end_fuel = 100;     // a level goes on while fuel is below this
constexpr int answer_done_timer = 300;  // ends a canister's frame loop
constexpr int level_left_timer = 9999;  // answer_timer marker: level left with Space
constexpr int typed_answer_size = 40;   // 39 digits and the NUL
constexpr int first_wrong_penalty = 15;
constexpr int wrong_penalty_growth = 10;
constexpr int first_streak_bonus = 10;
constexpr int streak_bonus_growth = 10;

// Per-level tables, indexed by level 1 to 10 (index 0 unused).
extern const int start_fuel_table[level_count + 1];
extern const int fuel_gain_table[level_count + 1];
extern const int speed_table[level_count + 1];
extern const int allowance_table[level_count + 1];

extern int level;
extern int fuel;
extern int fuel_pending;
extern int score;
extern int score_pending;
extern int score_step;
extern int streak_bonus;
extern int wrong_penalty;
extern int canister_count;
extern int out_of_fuel;
extern int phase;
extern int view_offset_y;
extern int recoil_index;
extern int canister_distance;
extern int canister_speed;
extern int canister_lane;
extern int canister_x_offset;
extern int canister_y;
extern double canister_scale;
extern int answer_state;
extern int answer_timer;
extern char typed_answer[typed_answer_size];
extern int current_key;
extern int previous_key;
extern int backspace_latch;
extern int beam_x;
extern int beam_y;

void play_game();
void reset_game();
// Judges typed_answer against the problem: pending fuel and points, the
// streak, the penalty, the recoil and the sound.
void judge_answer();

// Every sound of the game: centred, at its recorded pitch, played once.
void play_game_sound(const SAMPLE* sample, int volume);
