#pragma once
// How the 800x600 picture fills a bigger display: where it goes, at what
// size, and the scaling itself, from one memory bitmap to another at 15 or
// 16 bits. Whole multiples copy each pixel into a k by k square; other
// sizes blend the four nearest pixels (bilinear, in steps of 1/32).

#include <string>
#include <vector>

struct BITMAP;

constexpr int picture_w = 800;
constexpr int picture_h = 600;

struct picture_area {
    int x = 0, y = 0, w = picture_w, h = picture_h;
};

// The largest picture of 800x600's shape centred in a display of
// display_w x display_h: a whole multiple when one fits and sharp is set,
// else as large as the height or the width allows. 1x, at the top left,
// when the display is smaller than the picture.
picture_area fit_picture(int display_w, int display_h, bool sharp);

// The window's multiple: the largest that fits area_w x area_h (at least
// 1); asked (0: no wish) when it fits, else the largest that does, with
// why in `warning`.
int window_multiple(int asked, int area_w, int area_h, std::string& warning);

// For one size of picture: each column and row of it, the source pixel to
// its upper left and the weight (0..32) of the next one.
struct scaling_plan {
    int w = 0, h = 0;
    int multiple = 0;  // k when w x h is exactly k times the source, else 0
    std::vector<int> from_x, weight_x, from_y, weight_y;
};
scaling_plan plan_scaling(int source_w, int source_h, int w, int h);

// The part of `to` (plan.w x plan.h) that the source rectangle
// (sx, sy, sw, sh) of `from` reaches, scaled anew from all of `from`; that
// part is returned in `to`'s pixels. `from` is a 15- or 16-bit memory
// bitmap; `to` is of its depth, or of 32 bits for a display of that depth
// (each field's top bits repeated below it).
picture_area scale_picture(const BITMAP* from, BITMAP* to, const scaling_plan& plan,
                           picture_area changed);

// Whether the blends across a row may take the processor's eight-wide
// (AVX2) path where it has one; on unless turned off, as the tests do to
// see that the plain loops give the same pixels.
void allow_wide_scaling(bool allowed);
