#pragma once
// Paints the current problem, bold, on one of the two canister pictures in
// label_bitmap, once per canister; the game frame only stretches the result.
void render_label();
