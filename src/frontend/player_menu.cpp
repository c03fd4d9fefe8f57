#include "player_menu.h"

#include <allegro.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "menu_pass.h"
#include "name_box.h"
#include "platform.h"
#include "players.h"
#include "practice_style.h"

namespace {

constexpr int band_x = 50;
constexpr int band_w = 700;
constexpr int band_h = 60;
constexpr int first_band_y = 144;
constexpr int add_band_y = 504;  // where the settings menus have their back row
constexpr int shown_rows = 5;    // players on the screen at once; the list scrolls

std::vector<std::string> listed;  // the players the screen shows
BITMAP* sky = nullptr;

// The menus' night sky, drawn rather than taken from a menu's picture,
// whose words are part of it. The stars sit where a fixed sequence puts
// them: the game's random numbers are not touched.
BITMAP* player_sky() {
    if (sky == nullptr) {
        sky = create_bitmap(800, 600);
    }
    set_draw_target(sky);
    for (int y = 0; y < 600; y += 4) {
        set_draw_color(6 + y / 30, 10 + y / 40, 34 + y / 14);
        draw_box(0, y, 800, 4, 1);
    }
    unsigned int star = 7;
    set_draw_color(220, 225, 255);
    for (int i = 0; i < 40; ++i) {
        star = star * 1103515245U + 12345U;
        draw_box(static_cast<int>(star >> 8) % 800, static_cast<int>(star >> 20) % 600, 2, 2, 1);
    }
    set_draw_font(font_readout);
    use_colour(amber);
    draw_text(400, 60, "WHO IS PLAYING?", 1, 1);
    set_draw_target(back_buffer);
    return sky;
}

// The first of the players' rows on the screen, so the selected one shows.
int first_shown(int selected) {
    const int count = static_cast<int>(listed.size());
    return std::clamp(selected - 3, 0, std::max(0, count - shown_rows));
}

void draw_band(int y, const char* digit, const char* name, const char* note) {
    draw_practice_panel(band_x, y, band_w, band_h);
    set_draw_font(font_readout);
    use_colour(pale);
    draw_text(98, y + band_h / 2, digit, 1, 1);
    draw_fitted(134, y + band_h / 2 - text_height(font_readout) / 2, name, 420, align_left);
    set_draw_font(font_text);
    use_colour(dim);
    draw_fitted(730, y + band_h / 2 - text_height(font_text) / 2, note, 200, align_right);
}

void highlight_players(int selected) {
    const int count = static_cast<int>(listed.size());
    set_draw_font(font_text);
    use_colour(dim);
    char line[96];
    (void)std::snprintf(line, sizeof line,
                        "Pick a row with 1-%d, 0 or the arrow keys, then press ENTER",
                        std::min(count, 9));
    draw_text(400, 106, line, 1, 1);
    const int first = first_shown(selected);
    for (int i = first; i < std::min(count, first + shown_rows); ++i) {
        const std::string& name = listed[static_cast<std::size_t>(i)];
        const std::string digit = i < 9 ? std::to_string(i + 1) : "";
        draw_band(first_band_y + (i - first) * band_h, digit.c_str(),
                  name.empty() ? "FIRST PLAYER" : name.c_str(), name.empty() ? "no name yet" : "");
    }
    set_draw_font(font_text);
    use_colour(dim);
    if (first > 0) {
        draw_text(400, first_band_y - 14, "more above", 1, 1);
    }
    if (first + shown_rows < count) {
        draw_text(400, first_band_y + shown_rows * band_h + 14, "more below", 1, 1);
    }
    draw_band(add_band_y, "0", "ADD A PLAYER", "a new name");
    // Inverted, as the settings menus show their row.
    const int y = selected == 0 ? add_band_y : first_band_y + (selected - 1 - first) * band_h;
    drawing_mode(DRAW_MODE_XOR, nullptr, 0, 0);
    set_draw_color(255, 255, 255);
    draw_box(band_x, y, band_w, band_h, 1);
    drawing_mode(DRAW_MODE_SOLID, nullptr, 0, 0);
}

int confirm_player(int selected) {
    return selected;
}

// A new player's name, in the box the high-score name takes; Escape leaves
// with false.
bool ask_name(const char* question, std::string& name) {
    name.clear();
    return edit_name({150, 260, 500, 120, 292, 340, question, true}, name);
}

void play_as(const std::string& name) {
    std::string message;
    if (!choose_player(name, message)) {
        (void)std::fprintf(stderr, "%s\n", message.c_str());  // not listed: said, not hidden
    }
}

// The row the screen starts on: the child who played last, whose practice
// file every game and round adds to, so nothing else needs remembering;
// else the one playing now, else the first row.
int starting_row() {
    namespace fs = std::filesystem;
    int row = 0;
    fs::file_time_type newest = fs::file_time_type::min();
    player_list list;
    (void)read_player_entries(players_path(), list);
    for (std::size_t i = 0; i < listed.size(); ++i) {
        std::error_code error;
        const fs::file_time_type written =
            fs::last_write_time(game_data_folder() + practice_file_of(list, listed[i]), error);
        if (!error && written > newest) {
            newest = written;
            row = static_cast<int>(i) + 1;
        }
    }
    if (row > 0) {
        return row;
    }
    const auto now = std::find(listed.begin(), listed.end(), current_player);
    return now == listed.end() ? 1 : static_cast<int>(now - listed.begin()) + 1;
}

}  // namespace

void draw_player_menu(const std::vector<std::string>& players, int selected) {
    listed = players;
    draw_image(player_sky(), 0, 0);
    highlight_players(selected);
}

bool add_player_on_screen() {
    std::string name;
    if (!ask_name("A new player: type your name and press Enter", name)) {
        return false;
    }
    // A name already listed is that player, who plays on.
    play_as(name);
    return true;
}

void choose_who_is_playing() {
    // With one player nothing is shown, nor a key looked at.
    if (read_player_list(players_path()).size() < 2) {
        return;
    }
    // The Enter that closed the title may still be down: it must not pick a row.
    while (platform_key_held(KEY_ENTER)) {
        platform_rest(10);
    }
    for (;;) {
        listed = read_player_list(players_path());
        const int count = static_cast<int>(listed.size());
        const int chosen = run_menu_passes(
            {player_sky(), highlight_players, 0, count + 1, confirm_player}, starting_row());
        if (chosen == 0) {
            if (add_player_on_screen()) {
                return;
            }
            continue;
        }
        const std::string name = listed[static_cast<std::size_t>(chosen - 1)];
        if (!name.empty()) {
            play_as(name);
            return;
        }
        // The first player, who played before there were names, names
        // themselves now; practice.csv stays theirs.
        std::string given;
        if (ask_name("First player: type your name and press Enter", given) &&
            name_first_player(players_path(), given) == list_changed) {
            play_as(given);
            return;
        }
    }
}
