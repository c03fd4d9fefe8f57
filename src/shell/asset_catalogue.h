#pragma once
// One global slot per picture, font and sample, filled at start-up from fixed
// entry positions of graph1.dat, fonts.dat and sounds.dat and only read after
// that. Nothing here is ever freed.

struct BITMAP;
struct FONT;
struct SAMPLE;

constexpr int graph1_entry_count = 20;  // 15 fixed entries, then levels 6 to 10
constexpr int fonts_entry_count = 10;
constexpr int sounds_entry_count = 7;

// Indexed by level, 1 to 10; index 0 is unused.
extern BITMAP* level_background[11];
extern BITMAP* cockpit_overlay;
extern BITMAP* canister_picture_1;
extern BITMAP* canister_picture_2;
extern BITMAP* highscore_background;
extern BITMAP* menu_background;
extern BITMAP* score_digit_strip;
extern BITMAP* menu_highlight;
extern BITMAP* title_image;
extern BITMAP* topic_menu_background;
extern BITMAP* difficulty_menu_background;

extern FONT* font_answer;
extern FONT* font_readout;
extern FONT* font_panel;
extern FONT* font_text;
extern FONT* font_banner;
extern FONT* font_intro;
extern FONT* font_label;
// fonts.dat entries 2, 3 and 5 are loaded with the file but never drawn with.

extern SAMPLE* sample_wrong;
extern SAMPLE* sample_right;
extern SAMPLE* sample_level_start;
extern SAMPLE* sample_game_over;
extern SAMPLE* sample_intro;
extern SAMPLE* sample_game_start;
extern SAMPLE* sample_menu_confirm;

// Each loader checks its file before the library reads it and fills its
// slots. They return nullptr on success, else a message naming the file and
// what is wrong with it.
const char* load_fonts();
const char* load_sounds();
// graph1.dat needs the final colour depth: call it after the video mode is
// set. It also creates label_bitmap and finds the opaque runs of the masked
// pictures (opaque_runs.h).
const char* load_graphics();
