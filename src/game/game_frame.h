#pragma once
// Composes one game frame on back_buffer from the game state and shows it.
// Each frame starts from the one before it (kept_frame.h): whoever draws on
// back_buffer between two game frames other than through the drawing kit
// must call forget_game_frame first.
void draw_game_frame();
void draw_canister();
void draw_cockpit();
void draw_fuel_gauge();
void draw_score();

// Set, every part of the frame is drawn with the library's own calls: the
// reference that the faster ways of drawing must match pixel for pixel.
extern bool draw_frames_by_library;
