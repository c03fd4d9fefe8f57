#pragma once
// The fixed 10 ms step of the game: keys first, then the flight.

constexpr int launch_distance = 6000;
constexpr int hit_distance = 1000;  // a canister closer than this has reached the ship
constexpr int lane_spacing = 180000;
constexpr int hit_fuel_cost = 15;
constexpr int recoil_curve_length = 144;
extern const int recoil_curve[recoil_curve_length];

// What a hit launches next: a new problem in a game; a practice round puts
// its own next fact here while it flies.
extern void (*launch_problem)();

void game_tick();
void update_flight();
void reset_canister();
