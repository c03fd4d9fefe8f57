#include "fact_map_screen.h"

#include <allegro.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <string>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "keyboard_random_clock.h"
#include "platform.h"
#include "practice_screen.h"
#include "practice_style.h"
#include "practice_texts.h"

namespace {

constexpr const char* state_names[5] = {"NEW", "TO LEARN", "SLOW (OVER 3 S)", "KNOWN",
                                        "DUE FOR REVIEW"};
// The legend's order: best known first.
constexpr fact_state legend_order[5] = {fact_known, fact_due, fact_slow, fact_to_learn, fact_new};
constexpr const char* operation_titles[4] = {"ADDITION", "SUBTRACTION", "MULTIPLICATION",
                                             "DIVISION"};

int cell_size(const fact_map& map) {
    const int rows = std::max<int>(1, static_cast<int>(map.rows.low.size()));
    const int columns = std::max<int>(1, static_cast<int>(map.columns.low.size()));
    return std::min({fact_map_area_w / columns, fact_map_area_h / rows, fact_map_largest_cell});
}

// The mark of a state inside a square at (x, y) of side s.
void draw_mark(fact_state state, int x, int y, int s) {
    use_colour(fact_state_inks[state]);
    const int m = std::max(3, s / 3);  // the mark's half size
    const int cx = x + s / 2;
    const int cy = y + s / 2;
    switch (state) {
        case fact_new:
            draw_box(cx - 1, cy - 1, 2, 2, 1);
            break;
        case fact_to_learn:
            for (int d = 0; d <= 1; ++d) {
                draw_line(cx - m + d, cy - m, cx + m + d, cy + m);
                draw_line(cx - m + d, cy + m, cx + m + d, cy - m);
            }
            break;
        case fact_slow:
            draw_box(cx - m, cy - 1, 2 * m + 1, 3, 1);
            break;
        case fact_known:
            for (int d = 0; d <= 1; ++d) {
                draw_line(cx - m, cy + d, cx - m / 3, cy + m + d);
                draw_line(cx - m / 3, cy + m + d, cx + m, cy - m + d);
            }
            break;
        case fact_due:
            draw_box(cx - m, cy - m, 2 * m + 1, 2 * m + 1, 0);
            draw_box(cx - m + 1, cy - m + 1, 2 * m - 1, 2 * m - 1, 0);
            break;
    }
}

// A cell of one fact is its state; a grouped cell shows the share of its
// facts in each state side by side, and the mark of the main one.
void draw_cell(const std::array<int, 5>& counts, int x, int y, int s, bool grouped) {
    const int total = std::accumulate(counts.begin(), counts.end(), 0);
    if (total == 0) {
        return;
    }
    const int inner = s - 2;
    if (grouped) {
        int done = 0;
        int left = 0;
        for (const fact_state state : fact_share_order) {
            done += counts[state];
            const int right = inner * done / total;
            if (right > left) {
                use_colour(fact_state_fills[state]);
                draw_box(x + 1 + left, y + 1, right - left, inner, 1);
            }
            left = right;
        }
    } else {
        use_colour(fact_state_fills[main_state(counts)]);
        draw_box(x + 1, y + 1, inner, inner, 1);
    }
    draw_mark(main_state(counts), x + 1, y + 1, inner);
}

void draw_grid(const fact_map& map) {
    draw_practice_panel(20, 76, 520, 490);
    const int s = cell_size(map);
    set_draw_font(font_text);
    use_colour(amber);
    draw_text(44, 96, operation_sign(map.operation), 1, 1);
    // Ranges are too wide to head a column: it takes the lowest number.
    for (std::size_t c = 0; c < map.columns.low.size(); ++c) {
        const map_cell_box box = cell_box(map, 0, static_cast<int>(c));
        const std::string label =
            map.columns.grouped ? std::to_string(map.columns.low[c]) : axis_label(map.columns, c);
        use_colour(dim);
        draw_fitted(box.x + s / 2, box.y - 10, label.c_str(), s + 6, align_centre);
    }
    for (std::size_t r = 0; r < map.rows.low.size(); ++r) {
        const map_cell_box box = cell_box(map, static_cast<int>(r), 0);
        use_colour(dim);
        draw_fitted(box.x - 6, box.y + s / 2 - text_height(draw_font) / 2,
                    axis_label(map.rows, r).c_str(), 44, align_right);
        for (std::size_t c = 0; c < map.columns.low.size(); ++c) {
            const map_cell_box cell = cell_box(map, static_cast<int>(r), static_cast<int>(c));
            draw_cell(map_cell(map, static_cast<int>(r), static_cast<int>(c)), cell.x, cell.y, s,
                      map.rows.grouped || map.columns.grouped);
        }
    }
    use_colour(dim);
    draw_fitted(280, 552, map_reading(map.operation), 500, align_centre);
}

void draw_legend(const fact_map& map) {
    draw_practice_panel(556, 76, 224, 490);
    set_draw_font(font_text);
    use_colour(amber);
    draw_text(572, 90, "KEY", 0, 0);
    for (int i = 0; i < 5; ++i) {
        const fact_state state = legend_order[i];
        const int y = 116 + 38 * i;
        use_colour(fact_state_fills[state]);
        draw_box(572, y, 28, 28, 1);
        draw_mark(state, 572, y, 28);
        use_colour(pale);
        draw_fitted(610, y + 14 - text_height(draw_font) / 2, state_names[state], 164, align_left);
    }
    char line[64];
    set_draw_font(font_readout);
    use_colour(pale);
    (void)std::snprintf(line, sizeof line, "%d / %d", map.known, map.facts);
    draw_fitted(668, 330, line, 200, align_centre);
    set_draw_font(font_text);
    use_colour(dim);
    draw_fitted(668, 356, "FACTS KNOWN", 200, align_centre);
    (void)std::snprintf(line, sizeof line, "%d IN THE LAST 7 DAYS", map.known_this_week);
    use_colour(result_colours[practice_right]);
    draw_fitted(668, 378, line, 200, align_centre);
    if (map.rows.grouped || map.columns.grouped) {
        use_colour(dim);
        const char* note[4] = {"GROUPED IN TENS:", "EACH CELL SHOWS THE", "SHARE OF ITS FACTS",
                               "IN EACH STATE"};
        for (int i = 0; i < 4; ++i) {
            draw_fitted(668, 470 + 20 * i, note[i], 208, align_centre);
        }
    }
}

}  // namespace

map_cell_box cell_box(const fact_map& map, int row, int column) {
    const int s = cell_size(map);
    const int columns = static_cast<int>(map.columns.low.size());
    const int rows = static_cast<int>(map.rows.low.size());
    const int x0 = fact_map_area_x + (fact_map_area_w - columns * s) / 2;
    const int y0 = fact_map_area_y + (fact_map_area_h - rows * s) / 2;
    return {x0 + column * s, y0 + row * s, s};
}

void draw_fact_map(const fact_map& map, bool back_to_report) {
    draw_practice_background();
    set_draw_font(font_readout);
    use_colour(amber);
    draw_text(400, 30, "FACT MAP", 1, 1);
    draw_playing_name();
    char line[64];
    (void)std::snprintf(line, sizeof line, "%s   DIFFICULTY %d",
                        operation_titles[std::min(std::max(map.operation, 1), 4) - 1],
                        map.difficulty);
    set_draw_font(font_text);
    use_colour(dim);
    draw_text(400, 60, line, 1, 1);
    draw_grid(map);
    draw_legend(map);
    set_draw_font(font_text);
    use_colour(dim);
    draw_text(400, 584,
              back_to_report ? "ENTER: BACK TO REPORT    P: PRACTISE    UP, DOWN: OTHER OPERATIONS"
                             : "ENTER: GO ON    P: PRACTISE    UP, DOWN: OTHER OPERATIONS",
              1, 1);
    present_frame();
}

int show_fact_map(const std::vector<fact_fluency>& fluency, int topic, int difficulty,
                  std::time_t now, bool back_to_report) {
    int operation = topic >= 1 && topic <= 4 ? topic : 1;
    difficulty = std::min(std::max(difficulty, 1), 4);
    draw_fact_map(make_fact_map(operation, difficulty, fluency, now), back_to_report);
    let_go_of_enter();
    // An arrow held down steps once; it steps again once it has been up.
    int held = 0;
    for (;;) {
        const int seen_tick = tick_count.load(std::memory_order_relaxed);
        if (read_key_code() == 13 || platform_key_held(KEY_P)) {
            const bool practise = platform_key_held(KEY_P);
            platform_rest(500);
            return practise ? operation : 0;
        }
        const int arrow = platform_key_held(KEY_DOWN) ? 1 : platform_key_held(KEY_UP) ? -1 : 0;
        if (arrow != 0 && held == 0) {
            operation = (operation - 1 + arrow + 4) % 4 + 1;
            // Drawn when the operation changes, never between.
            draw_fact_map(make_fact_map(operation, difficulty, fluency, now), back_to_report);
        }
        held = arrow;
        platform_wait_for_tick(seen_tick);
    }
}
