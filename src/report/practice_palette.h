#pragma once
// The colours the practice screens and the progress page share: pale text
// on navy panels, amber headings, and one colour per verdict and per fact
// state.

struct practice_colour {
    int r, g, b;
};

constexpr practice_colour pale{244, 246, 252};
constexpr practice_colour dim{150, 160, 200};
constexpr practice_colour amber{255, 180, 60};
constexpr practice_colour panel_fill{20, 26, 48};
constexpr practice_colour panel_edge{74, 90, 150};
// Right, wrong and missed, by practice_result.
constexpr practice_colour result_colours[3] = {{96, 220, 120}, {255, 96, 96}, {255, 180, 60}};
// The fact map's states by fact_state (new, to learn, slow, known, due), on
// screen and on the progress page alike: each a step brighter than the one
// below it (new, to learn, due, slow, known), and each with a mark of its
// own drawn in the ink beside it.
constexpr practice_colour fact_state_fills[5] = {
    {40, 48, 82}, {205, 55, 55}, {235, 165, 45}, {140, 235, 150}, {95, 130, 235}};
constexpr practice_colour fact_state_inks[5] = {
    {150, 160, 200}, {255, 255, 255}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
