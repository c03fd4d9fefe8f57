#pragma once
// The fixed 10 ms step of the game: keys first, then the flight.

constexpr int recoil_curve_length = 144;
extern const int recoil_curve[recoil_curve_length];

void game_tick();
void update_flight();
void reset_canister();
