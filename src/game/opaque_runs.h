#pragma once
// The opaque runs of a picture that is drawn with a masked blit, found once:
// copying them row by row gives the masked blit's pixels without testing
// each one against the mask colour on every frame. The catalogue's pictures
// never change once loaded, so a picture is known by its address within one
// load of the catalogue.

#include <cstdint>
#include <vector>

struct BITMAP;

struct opaque_run {
    std::int16_t start, end;  // end exclusive
};

struct opaque_runs {
    const BITMAP* picture = nullptr;
    int generation = -1;
    std::vector<int> first_run;  // per row, index of its first run; one more at the end
    std::vector<opaque_run> runs;
};

// Finds the runs of a 15- or 16-bit memory picture of back_buffer's depth,
// or says they are still known; false for any other picture.
bool find_runs(opaque_runs& r, BITMAP* picture);
// masked_blit(r.picture, back_buffer, sx, sy, dx, dy, w, h) for a source
// and a destination rectangle that lie wholly inside their bitmaps.
void blit_runs(const opaque_runs& r, int sx, int sy, int dx, int dy, int w, int h);
// masked_blit onto back_buffer: by the runs where they serve, else by the
// library, and always by the library while draw_frames_by_library is set.
void masked_blit_fast(opaque_runs& r, BITMAP* picture, int sx, int sy, int dx, int dy, int w,
                      int h);
