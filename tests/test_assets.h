#pragma once
// A synthetic asset catalogue for logic and picture tests: every picture is
// a plain field of its own colour (with a few marked pixels where a test
// needs them), every font a built font of its own look and every
// sample a short silent one, so tests know exactly what each pixel should be.

#include <allegro.h>

#include <string>
#include <vector>

// Background colours of the synthetic pictures.
struct test_colors {
    static constexpr int menu[3] = {10, 40, 200};
    static constexpr int highlight[3] = {250, 200, 0};
    static constexpr int difficulty[3] = {40, 120, 40};
    static constexpr int topic[3] = {120, 40, 40};
    static constexpr int highscore[3] = {20, 20, 80};
    static constexpr int title[3] = {200, 100, 0};
};

void install_test_assets();
// Also makes back_buffer and label_bitmap.
const char* sample_name(const SAMPLE* s);  // "menu_confirm", "intro", ...

// The sounds and waits the fake device layer recorded, in order, e.g.
// "menu_confirm/127", "rest 500"; every sound must be centred, at its own
// pitch and played once.
std::vector<std::string> sounds_and_rests();

// Rows in which two pictures of a's size and depth differ: 0 when alike.
int differing_rows(BITMAP* a, BITMAP* b);
