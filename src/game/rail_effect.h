#pragma once
// Tints the two rails of the track into the scenery on back_buffer, with
// stripes that slide toward the viewer as the canister closes in.
void draw_rails();
