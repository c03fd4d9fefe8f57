// The practice report and the fact map, on memory bitmaps.

#include <fstream>

#include "fact_map_screen.h"
#include "game_test_support.h"
#include "practice_screen.h"
#include "players.h"
#include "practice_test_support.h"
#include "scratch_folder.h"

namespace {

int luminance(int pixel) {
    return 2126 * getr(pixel) + 7152 * getg(pixel) + 722 * getb(pixel);
}

TEST_F(game_test, practice_report_of_a_long_game_or_an_empty_one_stays_in_its_panels) {
    const int colours[3] = {makecol(96, 220, 120), makecol(255, 96, 96), makecol(255, 180, 60)};
    const auto bar = [&](BITMAP* b, int x, int y) {
        return std::count(colours, colours + 3, getpixel(b, x, y)) != 0;
    };
    std::vector<practice_entry> played(200, {1, 9999999, 3, 9999999, 999, "", 0, 0});
    for (int i = 0; i < 200; ++i) {
        played[i].level = 1 + i / 20, played[i].result = i % 3;
        played[i].ticks = i % 7 == 0 ? 1 << 30 : i * 5;
        std::snprintf(played[i].entered, 40, "%039d", i);
    }
    static DATAFILE* fonts = load_datafile(REFUEL_GAME_DIR "/fonts.dat");  // the real widths
    ASSERT_NE(fonts, nullptr);
    font_answer = static_cast<FONT*>(fonts[0].dat), font_text = static_cast<FONT*>(fonts[6].dat);
    font_readout = static_cast<FONT*>(fonts[1].dat);
    static BITMAP* full = create_bitmap(800, 600);
    fact_fluency huge{{3, 9999999, 9999999}, fact_to_learn, 0, 99999, 1 << 30, 0, 0, 0, 0};
    draw_practice_report({played.data(), 200, {0, 4, 5, false}, "", 10, {5, huge}, false});
    blit(fake().screen, full, 0, 0, 0, 0, 800, 600);
    draw_practice_report({nullptr, 0, {0, 1, 1, true}, "x2,x5,x10,x3,x4,x6,x7,x8,x9", 1, {}, true});
    // What the game held shows only in the tiles, chart and lists; bars only in the chart.
    const int panels[7][4] = {{21, 77, 179, 92},   {214, 77, 179, 92},  {407, 77, 179, 92},
                              {600, 77, 179, 92},  {21, 183, 758, 144}, {21, 341, 370, 224},
                              {409, 341, 370, 224}};
    const int chart[4] = {practice_chart_x, practice_chart_y, practice_chart_w, practice_chart_h};
    const int under_legend[4] = {20, practice_chart_y - 4, 760, practice_chart_h + 10};
    const auto in = [](const int* p, int x, int y) {
        return x >= p[0] && x < p[0] + p[2] && y >= p[1] && y < p[1] + p[3];
    };
    for (int y = 80; y < 570; ++y) {
        for (int x = 0; x < 800; ++x) {
            const bool panel =
                std::any_of(panels, panels + 7, [&](auto& p) { return in(p, x, y); });
            ASSERT_TRUE(panel || getpixel(full, x, y) == getpixel(fake().screen, x, y)) << x;
            ASSERT_TRUE(in(chart, x, y) || !in(under_legend, x, y) || !bar(full, x, y)) << x;
            ASSERT_FALSE(in(chart, x, y) && bar(fake().screen, x, y)) << "an empty chart";
        }
    }
    for (int i = 0; i < 200; ++i) {  // every bar there, in its colour, cut at the top
        const int x = practice_chart_x + i * practice_chart_w / 200;
        EXPECT_EQ(getpixel(full, x, practice_chart_y + practice_chart_h - 1), colours[i % 3]) << i;
        EXPECT_EQ(bar(full, x, practice_chart_y), i % 7 == 0) << i;
    }
    // Navy panels with their edges, the chart on its base line.
    const int edge = makecol(74, 90, 150), fill = makecol(20, 26, 48);
    for (const auto& p : panels) {
        EXPECT_EQ(getpixel(full, p[0] - 1, p[1] - 1), edge) << p[0];
        EXPECT_EQ(getpixel(full, p[0] + p[2], p[1] + p[3]), edge) << p[0];
        EXPECT_EQ(getpixel(fake().screen, p[0] + 2, p[1] + p[3] - 2), fill) << p[0];
    }
    for (const int x : {practice_chart_x, practice_chart_x + practice_chart_w - 1}) {
        EXPECT_EQ(getpixel(full, x, practice_chart_y + practice_chart_h), edge) << x;
    }
    // The legend keeps to its panel; a round's heading names its families, an
    // empty chart says so across its middle, and a report not saved says so in red.
    EXPECT_EQ(getpixel(full, 755 - text_length(font_text, "MISSED"), 195), colours[2]);
    // From the first to the last pixel of a colour in the rows; below zero for none.
    const auto ink_width = [](BITMAP* b, int colour, int top, int bottom) {
        int left = 800, right = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < 800; ++x) {
                if (getpixel(b, x, y) == colour) {
                    left = std::min(left, x), right = std::max(right, x);
                }
            }
        }
        return right - left;
    };
    const int dim = makecol(150, 160, 200), mid = practice_chart_y + practice_chart_h / 2;
    EXPECT_NEAR(ink_width(fake().screen, dim, 46, 74),
                text_length(font_text, "FACTS x2,x5,x10,x3,x4,x6,x7,x8,x9   0 CANISTERS"), 4);
    EXPECT_NEAR(ink_width(fake().screen, dim, mid - 6, mid + 6),
                text_length(font_text, "No canister was answered or missed."), 4);
    EXPECT_NEAR(ink_width(full, colours[1], 576, 592),
                text_length(font_text, "Not saved: practice.csv cannot be written"), 4);
    // A problem answered wrong twice is to be put right once: no second row.
    // The least scale is a second: an answer of one reaches the top.
    const practice_entry twice[2] = {{1, 6, 3, 7, 42, "41", W, 100}, {1, 6, 3, 7, 42, "43", W, 90}};
    draw_practice_report({twice, 2, {0, 1, 1, false}, "", 1, {}, true});
    EXPECT_EQ(getpixel(fake().screen, practice_chart_x + 2, practice_chart_y), colours[1]);
    EXPECT_LT(ink_width(fake().screen, makecol(244, 246, 252), 412, 444), 0) << "a second row";
}

// The report names who is playing at its top left: the one chosen, the
// unnamed first of several as such, and no one for a lone player.
TEST_F(game_test, the_practice_screens_name_who_is_playing) {
    scratch_folder folder;
    high_score_path = "hiscores.dat";
    struct {
        const char* list;
        const char* player;
        const char* shown;
    } const cases[] = {{nullptr, "", ""},
                       {"", "", ""},
                       {"ANN\n", "ANN", "ANN"},
                       {"\nBEN\n", "", "FIRST PLAYER"},
                       {"\nBEN\n", "BEN", "BEN"}};
    for (const auto& c : cases) {
        std::remove("players.txt");
        if (c.list != nullptr) {
            std::ofstream("players.txt") << c.list;
        }
        current_player = c.player;
        EXPECT_EQ(playing_name(), c.shown) << c.player;
        draw_practice_report({nullptr, 0, {0, 1, 1, false}, "", 1, {}, true});
        int pale = 0;
        for (int y = 10; y < 50; ++y) {
            for (int x = 16; x < 200; ++x) {
                pale += getpixel(fake().screen, x, y) == makecol(244, 246, 252) ? 1 : 0;
            }
        }
        EXPECT_EQ(pale > 0, *c.shown != '\0') << c.player;
    }
    current_player.clear();
}

// One fact in each state on the addition map at difficulty 1: 1+2 known,
// 1+3 due, 1+4 slow, 1+5 to learn, 1+6 new; and 3+2 to learn, where 5-3 sits.
std::vector<fact_fluency> states_of_one() {
    std::vector<fact_fluency> fluency;
    const fact_state states[4] = {fact_known, fact_due, fact_slow, fact_to_learn};
    for (int i = 0; i < 4; ++i) {
        fluency.push_back({{1, 1, 2 + i}, states[i], 1, 0, 0, 0, 0, 0, 0});
    }
    fluency.push_back({{1, 2, 3}, fact_to_learn, 0, 1, 0, 0, 0, 0, 0});
    fluency.push_back({{2, 5, 3}, fact_to_learn, 0, 1, 0, 0, 0, 0, 0});
    return fluency;
}

TEST_F(game_test, the_fact_map_shows_each_state_apart_and_undoing_facts_where_they_undo) {
    const std::vector<fact_fluency> fluency = states_of_one();
    const fact_map plus = make_fact_map(1, 1, fluency, at(0));
    draw_fact_map(plus);
    // Row 1 holds 1+2 .. 1+6, columns 2..6. Each state its own colour, a
    // step brighter from new to to learn, due, slow and known, each marked.
    int fills[5];
    std::vector<int> marks[5];  // where the ink differs from the cell's fill
    for (int i = 0; i < 5; ++i) {
        const map_cell_box box = cell_box(plus, 0, 1 + i);
        fills[i] = getpixel(fake().screen, box.x + 2, box.y + 2);
        // Filled to a pixel of the next cell's edge.
        EXPECT_EQ(getpixel(fake().screen, box.x + box.size - 2, box.y + box.size - 2), fills[i]);
        for (int y = 1; y < box.size - 1; ++y) {
            for (int x = 1; x < box.size - 1; ++x) {
                if (getpixel(fake().screen, box.x + x, box.y + y) != fills[i]) {
                    marks[i].push_back(y * box.size + x);
                }
            }
        }
        EXPECT_GE(marks[i].size(), 4u) << "no mark on 1+" << 2 + i;
        for (int j = 0; j < i; ++j) {
            EXPECT_NE(marks[i], marks[j]) << "1+" << 2 + i << " and 1+" << 2 + j;
        }
    }
    const int brighter[5] = {4, 3, 1, 2, 0};  // new, to learn, due, slow, known by cell
    for (int i = 0; i + 1 < 5; ++i) {
        EXPECT_LT(luminance(fills[brighter[i]]), luminance(fills[brighter[i + 1]]));
    }
    const map_cell_box three_plus_two = cell_box(plus, 2, 1);
    const int to_learn = getpixel(fake().screen, three_plus_two.x + 2, three_plus_two.y + 2);
    EXPECT_EQ(to_learn, fills[3]);
    const fact_map minus = make_fact_map(2, 1, fluency, at(0));
    draw_fact_map(minus);
    const map_cell_box five_minus_three = cell_box(minus, 2, 1);
    EXPECT_EQ(five_minus_three.x, three_plus_two.x);
    EXPECT_EQ(five_minus_three.y, three_plus_two.y);
    EXPECT_EQ(getpixel(fake().screen, five_minus_three.x + 2, five_minus_three.y + 2), to_learn);
    EXPECT_EQ(plus.known, 1);  // fluent only: a fact due is not counted
    EXPECT_EQ(plus.facts, 25);
}

TEST_F(game_test, every_map_fits_the_screen_and_large_sets_are_grouped_by_their_shares) {
    for (int op = 1; op <= 4; ++op) {
        for (int d = 1; d <= 4; ++d) {
            const fact_map map = make_fact_map(op, d, {}, at(0));
            const int rows = static_cast<int>(map.rows.low.size());
            const int columns = static_cast<int>(map.columns.low.size());
            const map_cell_box first = cell_box(map, 0, 0);
            const map_cell_box last = cell_box(map, rows - 1, columns - 1);
            EXPECT_GE(first.size, fact_map_smallest_cell) << op << " " << d;
            EXPECT_GE(first.x, fact_map_area_x);
            EXPECT_GE(first.y, fact_map_area_y);
            EXPECT_LE(last.x + last.size, fact_map_area_x + fact_map_area_w) << op << " " << d;
            EXPECT_LE(last.y + last.size, fact_map_area_y + fact_map_area_h) << op << " " << d;
            EXPECT_EQ(map.rows.grouped, op <= 2 ? d >= 3 : op == 3 && d == 4) << op << " " << d;
        }
    }
    // Half of 0+0 .. 9+9's group known, five to learn first: its cell is half green.
    std::vector<fact_fluency> half;
    for (int a = 0; a <= 9; ++a) {
        for (int b = a; b <= 9; ++b) {
            if ((a + b) % 2 == 0 || a == 0) {
                half.push_back(
                    {{1, a, b}, (a + b) % 2 ? fact_to_learn : fact_known, 1, 0, 0, 0, 0, 0, 0});
            }
        }
    }
    const fact_map grouped = make_fact_map(1, 4, half, at(0));
    EXPECT_EQ(axis_label(grouped.columns, 10), "100");
    EXPECT_EQ(axis_label(grouped.rows, 1), "10-19");
    draw_fact_map(grouped);
    const map_cell_box box = cell_box(grouped, 0, 0);
    int known_pixels = 0;
    for (int x = box.x + 1; x < box.x + box.size - 1; ++x) {
        known_pixels += getpixel(fake().screen, x, box.y + 2) == makecol(140, 235, 150) ? 1 : 0;
    }
    EXPECT_EQ(known_pixels, (box.size - 2) * 35 / 55 - (box.size - 2) * 5 / 55);  // its edges
    const int first_known = box.x + 1 + (box.size - 2) * 5 / 55;  // after the five to learn
    EXPECT_EQ(getpixel(fake().screen, first_known, box.y + 2), makecol(140, 235, 150));
    EXPECT_EQ(getpixel(fake().screen, box.x + 1, box.y + 2),
              getpixel(fake().screen, first_known - 1, box.y + 2));
    // The row's label left of it; only a grouped map says so, below its legend.
    const auto dim_pixels = [](int left, int top, int right, int bottom) {
        int n = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                n += getpixel(fake().screen, x, y) == makecol(150, 160, 200) ? 1 : 0;
            }
        }
        return n;
    };
    EXPECT_GT(dim_pixels(box.x - 30, box.y, box.x, box.y + box.size), 10);
    EXPECT_GT(dim_pixels(560, 460, 776, 550), 100);
    draw_fact_map(make_fact_map(1, 2, half, at(0)));
    EXPECT_EQ(dim_pixels(560, 460, 776, 550), 0);
}

}  // namespace
