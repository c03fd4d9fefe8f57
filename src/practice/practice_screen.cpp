#include "practice_screen.h"

#include <allegro.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "game_loop.h"
#include "keyboard_random_clock.h"
#include "platform.h"
#include "player_menu.h"
#include "players.h"
#include "practice_style.h"
#include "practice_texts.h"

namespace {

constexpr const char* result_labels[3] = {"RIGHT", "WRONG", "MISSED"};
constexpr const char* topic_titles[5] = {"ADDITION", "SUBTRACTION", "MULTIPLICATION", "DIVISION",
                                         "MIXED"};

void draw_heading(const practice_report& report) {
    const practice_entry* entries = report.entries;
    const int count = report.count;
    const practice_game& game = report.game;
    set_draw_font(font_readout);
    use_colour(amber);
    draw_text(400, 30, game.round ? "PRACTICE ROUND" : "PRACTICE REPORT", 1, 1);
    char line[96];
    const char* title = topic_titles[std::min(std::max(game.topic, 1), 5) - 1];
    if (!game.round) {
        (void)std::snprintf(line, sizeof line, "%s   DIFFICULTY %d   LEVEL %d", title,
                            game.difficulty, std::min(report.level, level_count));
    } else if (!report.families.empty()) {
        (void)std::snprintf(line, sizeof line, "FACTS %s   %d CANISTERS", report.families.c_str(),
                            count);
    } else {
        (void)std::snprintf(line, sizeof line, "%s   DIFFICULTY %d   %d CANISTERS", title,
                            game.difficulty, count);
    }
    set_draw_font(font_text);
    use_colour(dim);
    draw_fitted(400, 60, line, 760, align_centre);

    int tally[3] = {};
    std::vector<int> answer_times;
    for (int i = 0; i < count; ++i) {
        const int result = std::min(std::max(entries[i].result, 0), 2);
        tally[result] += 1;
        if (result != practice_missed) {
            answer_times.push_back(entries[i].ticks);
        }
    }
    for (int tile = 0; tile < 4; ++tile) {
        const int x = 20 + tile * 193;
        draw_practice_panel(x, 76, 181, 94);
        set_draw_font(font_text);
        use_colour(dim);
        draw_text(x + 90, 92, tile < 3 ? result_labels[tile] : "MEDIAN TIME", 1, 1);
        char value[32];
        if (tile < 3) {
            (void)std::snprintf(value, sizeof value, "%d", tally[tile]);
            use_colour(result_colours[tile]);
        } else {
            time_text(value, sizeof value, median_ticks(answer_times));
            use_colour(pale);
        }
        set_draw_font(font_answer);
        draw_fitted(x + 90, 134, value, 170, align_centre);
    }
}

// One bar per canister, in order, as tall as its time on a scale set by the
// slowest answer: a miss, which took the whole flight, is cut at the top
// rather than flattening every answer below it.
void draw_chart(const practice_entry* entries, int count) {
    draw_practice_panel(20, 182, 760, 146);
    set_draw_font(font_text);
    use_colour(amber);
    draw_text(34, 186, "ANSWER TIMES", 0, 0);
    // The legend, laid out leftwards from the panel's right edge.
    int legend_x = 766;
    for (int r = 2; r >= 0; --r) {
        legend_x -= text_length(draw_font, result_labels[r]);
        use_colour(dim);
        draw_text(legend_x, 186, result_labels[r], 0, 0);
        legend_x -= 16;
        use_colour(result_colours[r]);
        draw_box(legend_x, 190, 10, 10, 1);
        legend_x -= 18;
    }
    const int x0 = practice_chart_x;
    const int y0 = practice_chart_y;
    const int bottom = y0 + practice_chart_h - 1;
    int scale = 100;
    for (int i = 0; i < count; ++i) {
        if (entries[i].result != practice_missed) {
            scale = std::max(scale, std::min(entries[i].ticks, 100000));
        }
    }
    scale = (scale + 99) / 100 * 100;
    use_colour(panel_edge);
    draw_line(x0, bottom + 1, x0 + practice_chart_w - 1, bottom + 1);
    draw_line(x0, y0, x0 + 3, y0);
    set_draw_font(font_text);
    use_colour(dim);
    char label[32];
    (void)std::snprintf(label, sizeof label, "%ds", scale / 100);
    draw_fitted(x0 - 4, y0 - 2, label, 30, align_right);
    draw_fitted(x0 - 4, bottom - 14, "0s", 30, align_right);
    if (count <= 0) {
        use_colour(dim);
        draw_text(400, y0 + practice_chart_h / 2, "No canister was answered or missed.", 1, 1);
        return;
    }
    // Bars at most 32 pixels apart, so a short game does not stretch across.
    const long span = std::min(static_cast<long>(practice_chart_w), 32L * count);
    for (int i = 0; i < count; ++i) {
        const int left = x0 + static_cast<int>(i * span / count);
        const int next = x0 + static_cast<int>((i + 1) * span / count);
        const int slot = std::max(next - left, 1);
        // A gap between bars while there is room for one.
        const int width = slot >= 4 ? slot - std::max(1, slot / 5) : slot;
        const int ticks = std::min(std::max(entries[i].ticks, 0), scale);
        const int height =
            std::max(1, static_cast<int>(static_cast<long>(ticks) * practice_chart_h / scale));
        // Where the level changes, a faint line marks it.
        if (i > 0 && entries[i].level != entries[i - 1].level && left > x0) {
            use_colour(panel_edge);
            draw_line(left - 1, y0, left - 1, bottom);
        }
        use_colour(result_colours[std::min(std::max(entries[i].result, 0), 2)]);
        draw_box(left, bottom - height + 1, std::min(width, x0 + practice_chart_w - left), height,
                 1);
    }
}

void draw_lists(const practice_report& report) {
    const practice_entry* entries = report.entries;
    const int count = report.count;
    draw_practice_panel(20, 340, 372, 226);
    draw_practice_panel(408, 340, 372, 226);
    set_draw_font(font_text);
    use_colour(amber);
    draw_text(34, 348, "PUT RIGHT", 0, 0);
    draw_text(422, 348, "PRACTISE NEXT", 0, 0);

    // Wrong and missed problems, each once, in the order they came.
    int listed = 0;
    for (int i = 0; i < count && listed < practice_next_rows; ++i) {
        const practice_entry& e = entries[i];
        bool skip = e.result == practice_right;
        for (int j = 0; j < i && !skip; ++j) {
            skip = entries[j].result != practice_right && entries[j].operand_a == e.operand_a &&
                   entries[j].operation == e.operation && entries[j].operand_b == e.operand_b;
        }
        if (skip) {
            continue;
        }
        const int y = 376 + listed * 36;
        char problem[32];
        char text[64];
        problem_text(problem, sizeof problem, e.operand_a, e.operation, e.operand_b);
        (void)std::snprintf(text, sizeof text, "%s = %d", problem, e.answer);
        set_draw_font(font_readout);
        use_colour(pale);
        draw_fitted(34, y, text, 240, align_left);
        char said[64];
        if (e.result == practice_missed) {
            (void)std::snprintf(said, sizeof said, "missed");
        } else {
            (void)std::snprintf(said, sizeof said, "not %s",
                                e.entered[0] != '\0' ? e.entered : "blank");
        }
        set_draw_font(font_text);
        use_colour(result_colours[e.result == practice_missed ? 2 : 1]);
        draw_fitted(378, y + 8, said, 96, align_right);
        listed += 1;
    }
    if (listed == 0 && count > 0) {
        set_draw_font(font_readout);
        use_colour(result_colours[practice_right]);
        draw_text(206, 453, "All right!", 1, 1);
    }

    const std::size_t shown = std::min<std::size_t>(report.facts.size(), practice_next_rows);
    for (std::size_t i = 0; i < shown; ++i) {
        const fact_fluency& f = report.facts[i];
        const int y = 376 + static_cast<int>(i) * 36;
        char text[64];
        fact_text(text, sizeof text, f.fact);
        set_draw_font(font_readout);
        use_colour(pale);
        draw_fitted(422, y, text, 240, align_left);
        // Why it is listed: its latest answer, its time or its review, in
        // the words PUT RIGHT uses.
        char why[32];
        if (f.state == fact_to_learn && f.recent_misses > 0) {
            (void)std::snprintf(why, sizeof why, "%s", f.latest_ticks < 0 ? "missed" : "wrong");
        } else if (f.state == fact_slow) {
            time_text(why, sizeof why, f.latest_ticks);
        } else {
            (void)std::snprintf(why, sizeof why, "%s",
                                f.state == fact_due || f.state == fact_known ? "review"
                                : f.state == fact_new                        ? "new"
                                                                             : "to learn");
        }
        set_draw_font(font_text);
        use_colour(f.state == fact_to_learn ? result_colours[practice_wrong]
                   : f.state == fact_slow   ? amber
                                            : dim);
        draw_fitted(766, y + 8, why, 96, align_right);
    }
    if (shown == 0) {
        set_draw_font(font_readout);
        use_colour(dim);
        draw_text(594, 453, "Nothing yet", 1, 1);
    }
}

}  // namespace

std::string playing_name() {
    if (!current_player.empty()) {
        return current_player;
    }
    return read_player_list(players_path()).size() >= 2 ? "FIRST PLAYER" : "";
}

void draw_playing_name() {
    const std::string name = playing_name();
    set_draw_font(font_readout);
    use_colour(pale);
    // Clear of the centred title, however long the name.
    draw_fitted(20, 30 - text_height(draw_font) / 2, name.c_str(), 240, align_left);
}

void draw_practice_report(const practice_report& report) {
    const int count = std::max(report.count, 0);
    draw_practice_background();
    draw_heading(report);
    draw_playing_name();
    draw_chart(report.entries, count);
    draw_lists(report);
    set_draw_font(font_text);
    use_colour(dim);
    const char* keys = "ENTER: GO ON    P: PRACTISE THESE    M: FACT MAP    N: NEW PLAYER";
    if (report.saved) {
        draw_text(400, 584, keys, 1, 1);
    } else {
        draw_fitted(780, 584 - text_height(draw_font) / 2, keys, 400, align_right);
        use_colour(result_colours[practice_wrong]);
        draw_fitted(20, 584 - text_height(draw_font) / 2,
                    "Not saved: practice.csv cannot be written", 340, align_left);
    }
    present_frame();
}

void let_go_of_enter() {
    for (int waited = 0; waited < 200 && read_key_code() == 13; ++waited) {
        platform_rest(10);
    }
}

report_choice wait_for_report_choice() {
    let_go_of_enter();
    for (;;) {
        const int seen_tick = tick_count.load(std::memory_order_relaxed);
        if (read_key_code() == 13) {
            return report_go_on;
        }
        if (platform_key_held(KEY_P)) {
            return report_practise;
        }
        if (platform_key_held(KEY_M)) {
            return report_fact_map;
        }
        // Another child starts playing as themselves, from the next game.
        if (platform_key_held(KEY_N)) {
            (void)add_player_on_screen();
            return report_go_on;
        }
        platform_wait_for_tick(seen_tick);
    }
}
