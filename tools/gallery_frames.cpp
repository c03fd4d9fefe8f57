// Renders every screen of the game, and game frames at chosen levels, with
// the built datafiles, as PNG pictures for the gallery in docs/screenshots;
// the end-to-end tests take the pictures they compare the real program's
// screen with from here too.
//
//   refuel_gallery_frames GAME_DIR OUT_DIR            the whole gallery
//   refuel_gallery_frames GAME_DIR OUT_DIR screens    the screens around the game,
//       the practice report and the fact map of a made-up player among them
//   refuel_gallery_frames GAME_DIR OUT_DIR cockpit NAME LEVEL FUEL SCORE A B [NAME ...]
//       the cockpit and the score of that state, on the mask colour
//   refuel_gallery_frames GAME_DIR OUT_DIR round NAME FUEL SCORE A B SHOWN TOTAL [NAME ...]
//       the same of a round, with its heading: canister SHOWN of TOTAL
//   refuel_gallery_frames GAME_DIR OUT_DIR table SCORE NAME
//       the default table with that entry put in: table_marked, table
//
// Screens run through the game's own code on the scripted device layer and
// are taken at their first present; GAME OVER, the message box and the name
// box are taken from a real play_game run, so they show exactly what the
// game draws over its last frame. PNGs are written by ImageMagick.
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include <unistd.h>

#include "asset_catalogue.h"
#include "canister_label.h"
#include "drawing_kit.h"
#include "fact_map_screen.h"
#include "fake_platform.h"
#include "game_frame.h"
#include "game_loop.h"
#include "guide_screen.h"
#include "high_scores.h"
#include "main_menu.h"
#include "player_menu.h"
#include "players.h"
#include "practice_screen.h"
#include "problem_generator.h"
#include "round_flight.h"
#include "settings_menus.h"
#include "simulation_tick.h"
#include "startup.h"

#undef main

namespace {

struct frame_taken {};

std::string out_dir;
int written = 0;
bool failed = false;

// Streams the bitmap to ImageMagick as a PPM; it writes the PNG.
void write_png(const std::string& name, BITMAP* b) {
    const std::string path = out_dir + "/" + name + ".png";
    const std::string command =
        "/usr/bin/convert ppm:- -define png:exclude-chunks=date,time png:'" + path + "'";
    std::FILE* p = popen(command.c_str(), "w");
    if (p == nullptr) {
        failed = true;
        return;
    }
    std::fprintf(p, "P6\n%d %d\n255\n", b->w, b->h);
    for (int y = 0; y < b->h; ++y) {
        for (int x = 0; x < b->w; ++x) {
            const int c = getpixel(b, x, y);
            const unsigned char rgb[3] = {static_cast<unsigned char>(getr(c)),
                                          static_cast<unsigned char>(getg(c)),
                                          static_cast<unsigned char>(getb(c))};
            std::fwrite(rgb, 1, 3, p);
        }
    }
    if (pclose(p) != 0) {
        std::fprintf(stderr, "could not write %s\n", path.c_str());
        failed = true;
        return;
    }
    ++written;
}

// Runs `screen` with `key` held from the start and saves the frame it
// presents as number `wanted`, or the last one it presented when it goes on
// waiting without presenting (a screen that only presents a changed picture).
void capture(const std::string& name, void (*screen)(), int wanted, int key) {
    fake_platform& p = install_fake_platform();
    if (key != 0) {
        p.held[key] = true;
    }
    p.on_present = [wanted](int n) {
        if (n == wanted) {
            throw frame_taken{};
        }
    };
    p.on_stall = []() -> bool { throw frame_taken{}; };
    try {
        screen();
    } catch (const frame_taken&) {
        write_png(name, fake().screen);
    }
}

void front_end() {
    // The caption is drawn straight on the screen; take it at full brightness.
    fake_platform& p = install_fake_platform();
    clear_bitmap(p.screen);
    p.on_rest = [](int) {
        if (fake().rests.size() == 52) {
            throw frame_taken{};
        }
    };
    try {
        play_intro();
    } catch (const frame_taken&) {
        write_png("01_caption", fake().screen);
    }
    capture("02_title", show_title, 0, 0);
    for (int choice = 1; choice <= 5; ++choice) {
        // The digit is read on the first pass and shows on the next.
        capture(
            "03_main_menu_" + std::to_string(choice), [] { main_menu(); }, 2, KEY_0 + choice);
    }
    for (int row = 0; row <= 4; ++row) {
        capture(
            "04_difficulty_menu_" + std::to_string(row), [] { difficulty_menu(); }, 2, KEY_0 + row);
    }
    for (int row = 0; row <= 5; ++row) {
        capture(
            "05_topic_menu_" + std::to_string(row), [] { topic_menu(); }, 2, KEY_0 + row);
    }
    capture("06_guide", show_guide, 0, 0);
    unlink("hiscores.dat");
    load_high_scores();
    capture("07_high_scores", show_high_scores, 0, 0);
}

// A made-up player who knows the small times tables, is slow or unsure at
// some of the rest, and has a few due for review: every state on the map.
constexpr std::time_t made_up_now = 1796644800;  // 2026-12-07, noon

std::vector<fact_fluency> made_up_fluency() {
    std::vector<fact_fluency> fluency;
    // Sums up to 60 on their way, the larger ones new.
    for (const arithmetic_fact& f : facts_of_set(1, 4)) {
        const int kind = (f.operand_a * 5 + f.operand_b * 3) % 11;
        const int reach = 60 - 10 * (kind % 3);
        if (f.operand_a + f.operand_b < reach) {
            const fact_state state = kind < 1   ? fact_to_learn
                                     : kind < 2 ? fact_slow
                                     : kind < 4 ? fact_due
                                                : fact_known;
            fluency.push_back({f, state, 0, 300, 0, 0, made_up_now - kind * 86400});
        }
    }
    for (const arithmetic_fact& f : facts_of_set(3, 2)) {
        const int a = f.operand_a;
        const int b = f.operand_b;
        const bool small_table = a <= 2 || a == 5 || a == 10 || b == 10 || b == 5;
        const int kind = (a * 7 + b * 3) % 11;
        const fact_state state = small_table ? (kind < 3 ? fact_due : fact_known)
                                 : kind < 2  ? fact_to_learn
                                 : kind < 4  ? fact_slow
                                 : kind < 6  ? fact_known
                                             : fact_new;
        if (state != fact_new) {
            fluency.push_back({f, state, kind, 250 + 40 * kind, 0, 0, made_up_now - kind * 86400});
        }
    }
    // As fluency_of would rank them: a miss yesterday, a slow answer, a
    // review a little late, one not yet due.
    for (fact_fluency& f : fluency) {
        f.urgency = f.state == fact_to_learn ? 300
                    : f.state == fact_slow   ? 250
                    : f.state == fact_due    ? 150
                                             : 50;
        f.recall_chance = 1 - f.urgency / 400.0;
    }
    return fluency;
}

void practice_screens() {
    install_fake_platform();
    level = 4;
    current_player = "ANNA";  // the practice screens name who is playing
    const practice_entry game[14] = {{1, 7, 3, 8, 56, "56", 0, 240}, {1, 6, 3, 7, 42, "48", 1, 410},
                                     {1, 9, 3, 3, 27, "27", 0, 180}, {2, 8, 3, 6, 48, "", 2, 1250},
                                     {2, 4, 3, 7, 28, "28", 0, 330}, {2, 7, 3, 8, 56, "56", 0, 210},
                                     {2, 3, 3, 9, 27, "27", 0, 150}, {2, 6, 3, 7, 42, "42", 0, 520},
                                     {3, 8, 3, 4, 32, "32", 0, 260}, {3, 9, 3, 6, 54, "45", 1, 380},
                                     {3, 5, 3, 5, 25, "25", 0, 120}, {3, 6, 3, 8, 48, "48", 0, 300},
                                     {4, 7, 3, 7, 49, "49", 0, 270}, {4, 8, 3, 9, 72, "", 2, 1000}};
    const std::vector<fact_fluency> fluency = made_up_fluency();
    const std::vector<fact_fluency> next = facts_to_practise(fluency, practice_next_rows);
    draw_practice_report({game, 14, {0, 2, 3, false}, "", level, next, true});
    write_png("13_practice_report", fake().screen);
    // A round of the 2, 5 and 10 times tables, two missed facts brought back.
    std::vector<practice_entry> round;
    const int firsts[22] = {2, 5, 7, 10, 3, 5, 9, 2, 4, 6, 7, 8, 10, 5, 3, 8, 6, 4, 9, 2, 7, 10};
    const int seconds[22] = {5, 10, 2, 3, 10, 5, 2, 10, 5, 2, 2, 5, 10, 8, 5, 10, 5, 2, 5, 8, 5, 7};
    for (int i = 0; i < 22; ++i) {
        const int answer = firsts[i] * seconds[i];
        const int result = i == 2 || i == 11 ? 1 : i == 8 ? 2 : 0;
        round.push_back({1, firsts[i], 3, seconds[i], answer, "", result,
                         result == 2 ? 2500 : 110 + (i * 37) % 260});
        if (result != 2) {
            std::snprintf(round.back().entered, practice_entered_size, "%d", answer + result);
        }
    }
    level = 1;
    draw_practice_report({round.data(), 22, {0, 2, 3, true}, "x2,x5,x10", 1, next, true});
    write_png("14_practice_round", fake().screen);
    draw_fact_map(make_fact_map(3, 2, fluency, made_up_now), true);  // M on the report
    write_png("15_fact_map", fake().screen);
    draw_fact_map(make_fact_map(1, 4, fluency, made_up_now));
    write_png("16_fact_map_grouped", fake().screen);
    current_player.clear();
    // Who is playing: the first player still without a name, two more, the
    // second picked.
    draw_player_menu({"", "ANNA", "BEN 2"}, 2);
    present_frame();
    write_png("17_who_is_playing", fake().screen);
}

// One moment of a game, set straight into the game state.
struct moment {
    int level;
    int a, b, operation, variant;
    int distance;
    int lane;  // -1, 0 or 1
    int fuel;
    int score;
    int phase;
    int answer_timer;
    const char* typed;
};

void set_moment(const moment& m) {
    level = m.level;
    problem.operand_a = m.a;
    problem.operand_b = m.b;
    problem.problem_operation = m.operation;
    canister_variant = m.variant;
    render_label();
    // One flight update places the canister and bobs the view; nothing moves.
    canister_distance = m.distance;
    canister_lane = lane_spacing * m.lane;
    canister_speed = 0;
    fuel = m.fuel;
    fuel_pending = 0;
    score = m.score;
    score_pending = 0;
    answer_state = 0;
    answer_timer = 0;
    recoil_index = 0;
    out_of_fuel = 0;
    phase = m.phase;
    update_flight();
    phase = m.phase;
    answer_timer = m.answer_timer;
    answer_state = m.answer_timer > 0 ? 2 : 0;
    std::snprintf(typed_answer, sizeof typed_answer, "%s", m.typed);
}

// A round's canister `shown` (of 20) when `shown` is above 0.
void draw_moment(const std::string& name, const moment& m, int shown = 0, const char* player = "") {
    install_fake_platform();
    set_draw_target(back_buffer);
    set_moment(m);
    compose_game_frame();
    if (shown > 0) {
        draw_round_heading(shown, 20, player);
    }
    write_png(name, back_buffer);
}

// The ending of a game through play_game itself: the frame of `m`, then the
// tank runs dry; GAME OVER and the message box are taken during their
// pauses, the name box once the player has typed `name`.
void game_ending(const std::string& prefix, const moment& m, const char* name) {
    unlink("hiscores.dat");
    load_high_scores();
    fake_platform& p = install_fake_platform();
    for (const char* c = name; *c != '\0'; ++c) {
        p.typed_after_clear.push_back(((KEY_A + (*c - 'A')) << 8) | *c);
    }
    p.typed_after_clear.push_back((KEY_ENTER << 8) | 13);
    const int name_length = static_cast<int>(std::strlen(name));
    static int name_box_present = 0;
    name_box_present = -1;
    p.on_present = [m, prefix, name_length](int n) {
        if (n == 0) {
            set_moment(m);
        } else if (n == 1) {
            out_of_fuel = 1;
        } else if (fake().count_events("clear keys") == 1 && name_box_present < 0) {
            name_box_present = n;
        }
        if (name_box_present >= 0 && n == name_box_present + name_length) {
            write_png(prefix + "_name_box", fake().screen);
        } else if (name_box_present >= 0 && n == name_box_present + name_length + 1) {
            // The high-score screen, with the new entry marked.
            write_png(prefix + "_new_high_score", fake().screen);
            throw frame_taken{};
        }
    };
    int pauses = 0;
    p.on_rest = [prefix, &pauses](int ms) {
        if (ms == 5000) {
            write_png(prefix + (pauses++ == 0 ? "_game_over" : "_message_box"), fake().screen);
        }
    };
    try {
        play_game();
    } catch (const frame_taken&) {
    }
    marked_high_score = -1;
}

void game_frames() {
    const moment levels[] = {
        {1, 7, 5, 1, 1, 2600, -1, 31, 120, 400, 0, "1"},
        {2, 15, 8, 2, 1, 2600, 1, 40, 560, 400, 0, "7"},
        {3, 6, 7, 3, 2, 2600, 0, 28, 1290, 400, 0, "4"},
        {4, 45, 27, 1, 1, 2600, -1, 22, 2430, 400, 0, "7"},
        {5, 56, 8, 4, 1, 2600, 1, 17, 4150, 400, 0, "7"},
        {6, 92, 47, 2, 2, 2600, 0, 14, 6720, 400, 0, "4"},
        {7, 12, 9, 3, 1, 2600, -1, 9, 9310, 400, 0, "10"},
        {8, 144, 12, 4, 1, 2600, 1, 6, 12480, 400, 0, "1"},
        {9, 87, 96, 1, 2, 2600, 0, 4, 16160, 400, 0, "18"},
        {10, 200, 100, 2, 1, 2600, -1, 2, 21550, 400, 0, "10"},
    };
    for (const moment& m : levels) {
        char name[32];
        std::snprintf(name, sizeof name, "10_level_%02d_typing", m.level);
        draw_moment(name, m);
    }
    for (int pick : {0, 4, 9}) {
        moment m = levels[pick];
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "11_level_%02d", m.level);
        const std::string p = prefix;
        // Just launched, while the level's banner shows.
        moment start = m;
        start.distance = 6000;
        start.phase = 40;
        start.typed = "";
        draw_moment(p + "_banner", start);
        moment rising = m;
        rising.distance = 2100;
        rising.answer_timer = 96;
        rising.typed = m.level == 1 ? "12" : m.level == 5 ? "7" : "100";
        draw_moment(p + "_answer_rising", rising);
        moment beam = rising;
        beam.distance = 1800;
        beam.answer_timer = 228;
        draw_moment(p + "_beam", beam);
        moment full = m;
        full.fuel = full_tank;
        full.phase = 290;  // past the banner, in the shown half of the blink
        full.typed = "";
        draw_moment(p + "_next_level_prompt", full);
        moment last = m;
        last.fuel = 0;
        last.distance = 1500;
        last.score = m.score + 1500;  // a score for the table
        game_ending(p, last, m.level == 1 ? "MAYA" : m.level == 5 ? "SAM" : "WWWWWWW");
    }
    // The problem must read at the smallest the canister gets: at launch,
    // shown here enlarged four times with every pixel kept.
    moment launch = levels[4];
    launch.distance = 6000;
    launch.lane = 0;
    launch.a = 144;
    launch.b = 12;
    draw_moment("12_launch_canister_frame", launch);
    BITMAP* crop = create_bitmap(4 * 100, 4 * 60);
    stretch_blit(back_buffer, crop, 350, 120, 100, 60, 0, 0, crop->w, crop->h);
    write_png("12_launch_canister_x4", crop);
    destroy_bitmap(crop);
    // A round's frame: the game's at level 1, with the round's heading.
    moment round = levels[0];
    round.a = 7, round.b = 8, round.operation = 3, round.typed = "5";
    draw_moment("18_practice_round_frame", round, 3, "ANNA");
}

// The parts of a game frame that show the state; everything else is left
// in the mask colour, where a comparison takes any pixel.
// With `round`, each picture takes two numbers more: the round's heading
// shows canister SHOWN of TOTAL, at level 1.
void cockpits(char** args, int count, bool round) {
    const int step = round ? 7 : 6;
    for (int i = 0; i + step <= count; i += step) {
        clear_to_color(back_buffer, bitmap_mask_color(back_buffer));
        char** a = args + i + (round ? 0 : 1);  // LEVEL shifted out of a round's list
        level = round ? 1 : std::atoi(args[i + 1]);
        fuel = std::atoi(a[1]);
        score = std::atoi(a[2]);
        problem.operand_a = std::atoi(a[3]);
        problem.operand_b = std::atoi(a[4]);
        draw_cockpit();
        draw_score();
        if (round) {
            draw_round_heading(std::atoi(a[5]), std::atoi(a[6]), "");
        }
        write_png(args[i], back_buffer);
    }
}

void tables(int new_score, const char* name) {
    unlink("hiscores.dat");
    load_high_scores();
    marked_high_score = insert_high_score(new_score, name);
    capture("table_marked", show_high_scores, 0, 0);
    marked_high_score = -1;
    capture("table", show_high_scores, 0, 0);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 3 ? argv[3] : "all";
    if (argc < 3 || (what != "all" && what != "screens" && what != "cockpit" && what != "round" &&
                     !(what == "table" && argc == 6))) {
        std::fprintf(stderr,
                     "usage: refuel_gallery_frames GAME_DIR OUT_DIR [screens | cockpit NAME LEVEL "
                     "FUEL SCORE A B ... | round NAME FUEL SCORE A B SHOWN TOTAL ... | table "
                     "SCORE NAME]\n");
        return 2;
    }
    char* absolute = realpath(argv[2], nullptr);
    if (absolute == nullptr) {
        std::fprintf(stderr, "no folder %s\n", argv[2]);
        return 1;
    }
    out_dir = absolute;
    std::free(absolute);
    if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0 || chdir(argv[1]) != 0) {
        return 1;
    }
    set_color_depth(16);
    for (const char* error : {load_fonts(), load_sounds(), load_graphics()}) {
        if (error != nullptr) {
            std::fprintf(stderr, "%s", error);
            return 1;
        }
    }
    back_buffer = create_bitmap(800, 600);
    // New high scores are written to a scratch folder, never next to the game.
    char scratch[] = "/tmp/refuel-gallery-XXXXXX";
    if (mkdtemp(scratch) == nullptr || chdir(scratch) != 0) {
        return 1;
    }
    set_draw_target(back_buffer);
    if (what == "all" || what == "screens") {
        front_end();
        practice_screens();
    }
    if (what == "all") {
        game_frames();
    } else if (what == "cockpit" || what == "round") {
        cockpits(argv + 4, argc - 4, what == "round");
    } else if (what == "table") {
        tables(std::atoi(argv[4]), argv[5]);
    }
    unlink("hiscores.dat");
    rmdir(scratch);
    std::printf("%d pictures in %s\n", written, out_dir.c_str());
    return failed ? 1 : 0;
}
