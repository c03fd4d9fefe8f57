#include "practice_screen.h"

#include <allegro.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "game_loop.h"
#include "keyboard_random_clock.h"
#include "platform.h"
#include "settings_menus.h"

namespace {

struct colour {
    int r, g, b;
};

// The interface palette: pale text on navy panels, amber headings.
constexpr colour pale{244, 246, 252};
constexpr colour dim{150, 160, 200};
constexpr colour amber{255, 180, 60};
constexpr colour panel_fill{20, 26, 48};
constexpr colour panel_edge{74, 90, 150};
constexpr colour result_colours[3] = {{96, 220, 120}, {255, 96, 96}, {255, 180, 60}};
constexpr const char* result_labels[3] = {"RIGHT", "WRONG", "MISSED"};
constexpr const char* topic_titles[6] = {"",         "ADDITION", "SUBTRACTION", "MULTIPLICATION",
                                         "DIVISION", "MIXED"};
constexpr int shown_rows = 5;

void use(const colour& c) {
    set_draw_color(c.r, c.g, c.b);
}

void panel(int x, int y, int w, int h) {
    use(panel_fill);
    draw_box(x, y, w, h, 1);
    use(panel_edge);
    draw_box(x, y, w, h, 0);
}

enum { align_left, align_centre, align_right };

// Draws text in the current font, cut short with ".." where it would be
// wider than max_width, so nothing the game held can leave its panel.
void draw_fitted(int x, int y, const char* text, int max_width, int align) {
    char shown[96];
    (void)std::snprintf(shown, sizeof shown, "%s", text);
    std::size_t length = std::strlen(shown);
    while (length > 0 && text_length(draw_font, shown) > max_width) {
        length -= 1;
        shown[length] = '\0';
        if (length >= 3) {
            shown[length - 2] = '.';
            shown[length - 1] = '.';
        }
    }
    if (length == 0) {
        return;
    }
    const int width = text_length(draw_font, shown);
    draw_text(align == align_right    ? x - width
              : align == align_centre ? x - width / 2
                                      : x,
              y, shown, 0, align == align_centre ? 1 : 0);
}

// The scene the game ended in, darkened, so the panels read above it.
void draw_background() {
    const int scene = std::min(std::max(level, 1), level_count);
    draw_image(level_background[scene] != nullptr ? level_background[scene] : menu_background, 0,
               -40);
    set_trans_blender(0, 0, 0, 170);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    set_draw_color(6, 8, 20);
    draw_box(0, 0, 800, 600, 1);
    drawing_mode(DRAW_MODE_SOLID, nullptr, 0, 0);
}

void draw_heading(const practice_entry* entries, int count) {
    set_draw_font(font_readout);
    use(amber);
    draw_text(400, 30, "PRACTICE REPORT", 1, 1);
    char line[96];
    const int shown_topic = topic >= 1 && topic <= 5 ? topic : 5;
    (void)std::snprintf(line, sizeof line, "%s   DIFFICULTY %d   LEVEL %d",
                        topic_titles[shown_topic], difficulty,
                        std::min(std::max(level, 1), level_count));
    set_draw_font(font_text);
    use(dim);
    draw_text(400, 60, line, 1, 1);

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
        panel(x, 76, 181, 94);
        set_draw_font(font_text);
        use(dim);
        draw_text(x + 90, 92, tile < 3 ? result_labels[tile] : "MEDIAN TIME", 1, 1);
        char value[32];
        if (tile < 3) {
            (void)std::snprintf(value, sizeof value, "%d", tally[tile]);
            use(result_colours[tile]);
        } else {
            median_text(value, sizeof value, median_ticks(answer_times));
            use(pale);
        }
        set_draw_font(font_answer);
        draw_fitted(x + 90, 134, value, 170, align_centre);
    }
}

// One bar per canister, in order, as tall as its time on a scale set by the
// slowest answer: a miss, which took the whole flight, is cut at the top
// rather than flattening every answer below it.
void draw_chart(const practice_entry* entries, int count) {
    panel(20, 182, 760, 146);
    set_draw_font(font_text);
    use(amber);
    draw_text(34, 186, "ANSWER TIMES", 0, 0);
    // The legend, laid out leftwards from the panel's right edge.
    int legend_x = 766;
    for (int r = 2; r >= 0; --r) {
        legend_x -= text_length(draw_font, result_labels[r]);
        use(dim);
        draw_text(legend_x, 186, result_labels[r], 0, 0);
        legend_x -= 16;
        use(result_colours[r]);
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
    use(panel_edge);
    draw_line(x0, bottom + 1, x0 + practice_chart_w - 1, bottom + 1);
    draw_line(x0, y0, x0 + 3, y0);
    set_draw_font(font_text);
    use(dim);
    char label[32];
    (void)std::snprintf(label, sizeof label, "%ds", scale / 100);
    draw_fitted(x0 - 4, y0 - 2, label, 30, align_right);
    draw_fitted(x0 - 4, bottom - 14, "0s", 30, align_right);
    if (count <= 0) {
        use(dim);
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
            use(panel_edge);
            draw_line(left - 1, y0, left - 1, bottom);
        }
        use(result_colours[std::min(std::max(entries[i].result, 0), 2)]);
        draw_box(left, bottom - height + 1, std::min(width, x0 + practice_chart_w - left), height,
                 1);
    }
}

void draw_lists(const practice_entry* entries, int count, const std::vector<practice_fact>& facts) {
    panel(20, 340, 372, 226);
    panel(408, 340, 372, 226);
    set_draw_font(font_text);
    use(amber);
    draw_text(34, 348, "PUT RIGHT", 0, 0);
    draw_text(422, 348, "PRACTISE NEXT", 0, 0);

    // Wrong and missed problems, each once, in the order they came.
    int listed = 0;
    for (int i = 0; i < count && listed < shown_rows; ++i) {
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
        use(pale);
        draw_fitted(34, y, text, 240, align_left);
        char said[64];
        if (e.result == practice_missed) {
            (void)std::snprintf(said, sizeof said, "missed");
        } else {
            (void)std::snprintf(said, sizeof said, "not %s",
                                e.entered[0] != '\0' ? e.entered : "blank");
        }
        set_draw_font(font_text);
        use(result_colours[e.result == practice_missed ? 2 : 1]);
        draw_fitted(378, y + 8, said, 96, align_right);
        listed += 1;
    }
    if (listed == 0 && count > 0) {
        set_draw_font(font_readout);
        use(result_colours[practice_right]);
        draw_text(206, 453, "All right!", 1, 1);
    }

    for (int i = 0; i < static_cast<int>(facts.size()) && i < shown_rows; ++i) {
        const practice_fact& f = facts[static_cast<std::size_t>(i)];
        const int y = 376 + i * 36;
        char text[64];
        fact_text(text, sizeof text, f);
        set_draw_font(font_readout);
        use(pale);
        draw_fitted(422, y, text, 240, align_left);
        char why[32];
        if (f.misses > 0) {
            (void)std::snprintf(why, sizeof why, "%d %s", f.misses,
                                f.misses == 1 ? "miss" : "misses");
        } else {
            median_text(why, sizeof why, f.median_ticks);
        }
        set_draw_font(font_text);
        use(f.misses > 0 ? result_colours[practice_wrong] : dim);
        draw_fitted(766, y + 8, why, 96, align_right);
    }
    if (facts.empty()) {
        set_draw_font(font_readout);
        use(dim);
        draw_text(594, 453, "Nothing yet", 1, 1);
    }
}

}  // namespace

void draw_practice_report(const practice_entry* entries, int count,
                          const std::vector<practice_fact>& facts, bool saved) {
    count = std::max(count, 0);
    set_draw_target(back_buffer);
    draw_background();
    draw_heading(entries, count);
    draw_chart(entries, count);
    draw_lists(entries, count, facts);
    set_draw_font(font_text);
    use(dim);
    draw_text(400, 584, "PRESS ENTER TO GO ON", 1, 1);
    if (!saved) {
        use(result_colours[practice_wrong]);
        draw_text(20, 584, "Not saved: practice.csv cannot be written", 0, 1);
    }
    present_frame();
}

void show_practice_report() {
    const std::string path = practice_path();
    // The history as it was, with this game added in memory: the report
    // shows the game even when the file cannot be written.
    std::vector<practice_row> rows = read_practice_history(path);
    const std::time_t now = std::time(nullptr);
    for (int i = 0; i < practice_record_count; ++i) {
        rows.push_back({now, difficulty, topic, i + 1, practice_record_count, practice_record[i]});
    }
    const bool saved =
        append_practice_game(path, practice_record, practice_record_count, now, difficulty, topic);
    draw_practice_report(practice_record, practice_record_count,
                         facts_to_practise(rows, now, shown_rows), saved);
    // Let go of the Enter that closed the table first. One held on for two
    // seconds more counts as this screen's Enter: a key stuck down must not
    // keep the player here.
    for (int waited = 0; waited < 200 && read_key_code() == 13; ++waited) {
        platform_rest(10);
    }
    wait_for_enter();
    platform_rest(500);
}
