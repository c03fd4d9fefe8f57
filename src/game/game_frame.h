#pragma once
// Composes one game frame on back_buffer from the game state and shows it.
void draw_game_frame();
void draw_canister();
void draw_cockpit();
void draw_fuel_gauge();
void draw_score();
