#pragma once
// A practice round flown on the game's own track: its ship, canisters,
// beam, sounds and answer input at level 1's speed, each canister the one
// the round engine gives. It ends when the queue is done, never with GAME OVER
// or the next-level prompt, and is left with Escape as a game is. Its frames
// are the game's with a heading of the round's own: what it is, which
// canister of how many, and who is playing.

#include <string>

#include "round_engine.h"

// Flies the round; practice_record then holds each canister. False when it
// was left with Escape.
bool fly_round(practice_round& round);

// The heading on back_buffer, over a game frame: canister `shown` of
// `total`, and the player's name when there is one to show.
void draw_round_heading(int shown, int total, const std::string& player);
