#include "asset_catalogue.h"

#include <allegro.h>

#include <cstdio>

#include "datafile_check.h"
#include "drawing_kit.h"
#include "game_paths.h"
#include "opaque_runs.h"

BITMAP* level_background[11] = {};
BITMAP* cockpit_overlay = nullptr;
BITMAP* canister_picture_1 = nullptr;
BITMAP* canister_picture_2 = nullptr;
BITMAP* highscore_background = nullptr;
BITMAP* menu_background = nullptr;
BITMAP* score_digit_strip = nullptr;
BITMAP* menu_highlight = nullptr;
BITMAP* title_image = nullptr;
BITMAP* topic_menu_background = nullptr;
BITMAP* difficulty_menu_background = nullptr;

FONT* font_answer = nullptr;
FONT* font_readout = nullptr;
FONT* font_panel = nullptr;
FONT* font_text = nullptr;
FONT* font_banner = nullptr;
FONT* font_intro = nullptr;
FONT* font_label = nullptr;

SAMPLE* sample_wrong = nullptr;
SAMPLE* sample_right = nullptr;
SAMPLE* sample_level_start = nullptr;
SAMPLE* sample_game_over = nullptr;
SAMPLE* sample_intro = nullptr;
SAMPLE* sample_game_start = nullptr;
SAMPLE* sample_menu_confirm = nullptr;

namespace {

char load_message[512];

// The three datafiles stay loaded for the whole run; they are kept here so
// they are never lost, and a second load of the same file (tests do that)
// lets go of the first.
DATAFILE* graph1_data = nullptr;
DATAFILE* fonts_data = nullptr;
DATAFILE* sounds_data = nullptr;

// Checks the file, loads it and checks what the loader made of it. The
// datafile stays loaded for the whole run.
const char* load_checked(const char* name, int type, int entry_count, DATAFILE** out) {
    if (const char* fault = datafile_fault(name, type, entry_count)) {
        std::snprintf(load_message, sizeof load_message, "Error reading %s: %s\n", name, fault);
        return load_message;
    }
    DATAFILE* data = load_datafile(name);
    if (data == nullptr) {
        std::snprintf(load_message, sizeof load_message, "Error reading %s: it cannot be loaded\n",
                      name);
        return load_message;
    }
    for (int i = 0; i < entry_count; ++i) {
        if (data[i].type != type || data[i].dat == nullptr) {
            unload_datafile(data);
            std::snprintf(load_message, sizeof load_message,
                          "Error reading %s: entry %d is missing or of the wrong kind\n", name, i);
            return load_message;
        }
    }
    if (*out != nullptr) {
        unload_datafile(*out);
    }
    *out = data;
    return nullptr;
}

BITMAP* bitmap_at(DATAFILE* d, int i) {
    return static_cast<BITMAP*>(d[i].dat);
}
FONT* font_at(DATAFILE* d, int i) {
    return static_cast<FONT*>(d[i].dat);
}
SAMPLE* sample_at(DATAFILE* d, int i) {
    return static_cast<SAMPLE*>(d[i].dat);
}

}  // namespace

const char* load_fonts() {
    if (const char* error = load_checked(datafile_path("fonts.dat").c_str(), DAT_FONT,
                                         fonts_entry_count, &fonts_data)) {
        return error;
    }
    DATAFILE* d = fonts_data;
    font_answer = font_at(d, 0);
    font_readout = font_at(d, 1);
    font_panel = font_at(d, 4);
    font_text = font_at(d, 6);
    font_banner = font_at(d, 7);
    font_intro = font_at(d, 8);
    font_label = font_at(d, 9);
    return nullptr;
}

const char* load_sounds() {
    if (const char* error = load_checked(datafile_path("sounds.dat").c_str(), DAT_SAMPLE,
                                         sounds_entry_count, &sounds_data)) {
        return error;
    }
    DATAFILE* d = sounds_data;
    sample_wrong = sample_at(d, 0);
    sample_right = sample_at(d, 1);
    sample_level_start = sample_at(d, 2);
    sample_game_over = sample_at(d, 3);
    sample_intro = sample_at(d, 4);
    sample_game_start = sample_at(d, 5);
    sample_menu_confirm = sample_at(d, 6);
    return nullptr;
}

const char* load_graphics() {
    if (const char* error = load_checked(datafile_path("graph1.dat").c_str(), DAT_BITMAP,
                                         graph1_entry_count, &graph1_data)) {
        return error;
    }
    DATAFILE* d = graph1_data;
    level_background[1] = bitmap_at(d, 0);
    level_background[2] = bitmap_at(d, 1);
    level_background[3] = bitmap_at(d, 2);
    cockpit_overlay = bitmap_at(d, 3);
    canister_picture_1 = bitmap_at(d, 4);
    canister_picture_2 = bitmap_at(d, 5);
    highscore_background = bitmap_at(d, 6);
    menu_background = bitmap_at(d, 7);
    score_digit_strip = bitmap_at(d, 8);
    menu_highlight = bitmap_at(d, 9);
    title_image = bitmap_at(d, 10);
    topic_menu_background = bitmap_at(d, 11);
    difficulty_menu_background = bitmap_at(d, 12);
    level_background[4] = bitmap_at(d, 13);
    level_background[5] = bitmap_at(d, 14);
    for (int level = 6; level <= 10; ++level) {
        level_background[level] = bitmap_at(d, level + 9);  // entries 15 to 19
    }
    label_bitmap = create_bitmap(280, 200);
    // The masked pictures of every game frame, read once here.
    find_runs(cockpit_runs, cockpit_overlay);
    find_runs(digit_runs, score_digit_strip);
    return nullptr;
}
