#pragma once
// Paints the current problem, bold, on one of the two canister pictures in
// label_bitmap, once per canister; the game frame only stretches the result.
void render_label();

// "+", "-", "x" or "/" for operations 1 to 4; nullptr for any other.
const char* operator_text(int operation);
