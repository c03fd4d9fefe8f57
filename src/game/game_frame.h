#pragma once
// Composes one game frame on back_buffer from the game state and shows it.
// Everything is drawn anew from the state every time: nothing is kept from
// one frame to the next.
void draw_game_frame();
// The same frame on back_buffer, not yet shown: a round draws its heading
// over it before it is presented.
void compose_game_frame();
void draw_canister();
void draw_cockpit();
void draw_fuel_gauge();
void draw_score();
