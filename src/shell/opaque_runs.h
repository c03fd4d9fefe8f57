#pragma once
// The masked pictures of the game frame (the cockpit and the score digits)
// are mostly opaque. Their opaque runs are found once, when graph1.dat is
// loaded; copying the runs row by row gives masked_blit's pixels without
// testing each one against the mask colour on every frame.

#include <cstdint>
#include <vector>

struct BITMAP;

struct opaque_run {
    std::int16_t start, end;  // end exclusive
};

struct opaque_runs {
    const BITMAP* picture = nullptr;  // the picture they were found in; none yet
    std::vector<int> first_run;       // per row, index of its first run; one more at the end
    std::vector<opaque_run> runs;
};

extern opaque_runs cockpit_runs;  // of cockpit_overlay
extern opaque_runs digit_runs;    // of score_digit_strip

// The runs of a 15- or 16-bit memory picture; for any other, none.
void find_runs(opaque_runs& r, BITMAP* picture);
// masked_blit(picture, back_buffer, sx, sy, dx, dy, w, h): by the runs when
// they are this picture's and both rectangles lie wholly inside what the
// library would draw, else by the library.
void masked_blit_by_runs(const opaque_runs& r, BITMAP* picture, int sx, int sy, int dx, int dy,
                         int w, int h);
