#pragma once
// Brings the program up, plays the caption and the title, runs the main menu
// until the player leaves, and returns the process exit status.

#include "command_line.h"

// With --practise, a practice round takes the place of the caption and the
// title.
int run_refuel(const command_line& options = command_line{});

// Start in a window, never switching the mode (--window); by default full
// screen is tried first.
extern bool start_in_window;

// Start-up up to the intro: where the files are, library, datafiles, video
// mode, tick, surfaces, seed and high scores. Returns nullptr on success, else the message that
// run_refuel shows before it exits with status 1.
const char* start_up();
void play_intro();
void show_title();

extern const char* const video_mode_error_format;

// Where the datafiles, hiscores.dat and practice.csv are, for this player.
void locate_game_files();
// refuel --report: the practice summary of the players on standard output
// (and the page of --html), no graphics.
int print_report(const command_line& options);
