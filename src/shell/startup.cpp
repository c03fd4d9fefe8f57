#include "startup.h"

#include <allegro.h>

#include <cstdio>
#include <ctime>
#include <initializer_list>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "game_paths.h"
#include "high_score_table.h"
#include "high_scores.h"
#include "keyboard_random_clock.h"
#include "main_menu.h"
#include "player_menu.h"
#include "report_command.h"
#include "players.h"
#include "practice_session.h"
#include "platform.h"

bool start_in_window = false;

const char* const video_mode_error_format = "Error setting a 15 or 16 bpp 800x600 video mode\n%s\n";

namespace {

char startup_message[600];

const char* video_mode_error() {
    std::snprintf(startup_message, sizeof startup_message, video_mode_error_format,
                  platform_last_error());
    return startup_message;
}

// Full screen at 16, then 15 bits. A desktop that refuses full screen
// gets a window at either depth next; --window asks for the window alone.
bool set_video_mode() {
    for (const bool windowed : {false, true}) {
        if (start_in_window && !windowed) {
            continue;
        }
        for (const int depth : {16, 15}) {
            if (platform_set_video_mode(depth, windowed) == 0) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

void locate_game_files() {
    const game_paths paths = find_game_paths(machine_path_facts());
    data_folder = paths.data_folder;
    high_score_path = paths.score_file;
    high_score_seed_path = paths.seed_score_file;
}

int print_report(const command_line& options) {
    locate_game_files();
    return report_on_players(options.player, options.report_paths, options.html_file,
                             std::time(nullptr));
}

const char* start_up() {
    locate_game_files();
    set_uformat(U_ASCII);
    if (!platform_start_library()) {
        // With no display at all the library cannot even start; report it
        // as the refused video mode it amounts to.
        return video_mode_error();
    }
    set_color_depth(16);
    if (const char* error = load_fonts()) {
        platform_set_text_mode();
        return error;
    }
    if (const char* error = load_sounds()) {
        platform_set_text_mode();
        return error;
    }
    if (!set_video_mode()) {
        platform_set_text_mode();
        return video_mode_error();
    }
    platform_start_tick(count_tick);
    back_buffer = create_bitmap(800, 600);
    // Text is always drawn with a transparent background: draw_text passes
    // -1 as the background colour on every call.
    seed_rand15(static_cast<unsigned int>(std::time(nullptr)));
    // graph1.dat comes after the mode so its pictures take the final depth.
    if (const char* error = load_graphics()) {
        platform_set_text_mode();
        return error;
    }
    load_high_scores();
    return nullptr;
}

void play_intro() {
    set_draw_target(platform_screen());
    set_draw_font(font_intro);
    platform_play_sample(sample_intro, 127, 127, 1000, 0);
    // Each step redraws the caption over itself with a transparent
    // background, so only the glyph colour changes: 52 steps up, 52 down.
    for (int g = 0; g <= 255; g += 5) {
        set_draw_color(g, g, g);
        draw_text(400, 300, "Halbrek Software presents...", 1, 1);
        platform_rest(40);
    }
    for (int g = 255; g >= 0; g -= 5) {
        set_draw_color(g, g, g);
        draw_text(400, 300, "Halbrek Software presents...", 1, 1);
        platform_rest(40);
    }
}

void show_title() {
    set_draw_target(back_buffer);
    draw_image(title_image, 0, 0);
    present_frame();
    platform_read_key();
    last_tick = tick_count.load(std::memory_order_relaxed);
}

int run_refuel(const command_line& options) {
    platform_choose_scaling(options.sharp, options.scale);
    if (const char* error = start_up()) {
        platform_show_message(error);
        return 1;
    }
    std::string message;
    if (!options.player.empty() && !choose_player(options.player, message)) {
        (void)std::fprintf(stderr, "%s\n", message.c_str());
    }
    if (options.practise) {
        // Straight into the round; the main menu comes after it.
        if (options.player.empty()) {
            choose_who_is_playing();
        }
        practise_from_command_line(options.families, options.named_families);
    } else {
        play_intro();
        show_title();
        if (options.player.empty()) {
            choose_who_is_playing();
        }
    }
    while (main_menu() != 0) {
    }
    return 0;
}
