// The facts to practise, practice.csv, the report screen, what a game records.

#include <fstream>

#include "game_test_support.h"
#include "practice_screen.h"
#include "scratch_folder.h"

namespace {

constexpr std::time_t now = 2000000000;
constexpr int R = practice_right, W = practice_wrong, M = practice_missed;

practice_row row(int days_ago, int a, char op, int b, int result, int ticks) {
    const int answer = op == '+' ? a + b : op == '-' ? a - b : op == 'x' ? a * b : a / b;
    const int operation = static_cast<int>(std::string("+-x/").find(op)) + 1;
    return {now - days_ago * 86400, 2, 5, 1, 1, {1, a, operation, b, answer, "", result, ticks}};
}

TEST(practice_facts, most_misses_first_then_slowest_and_three_rights_retire_a_fact) {
    std::vector<practice_row> rows = {
        row(2, 7, 'x', 8, W, 400), row(2, 8, 'x', 7, M, 2501), row(1, 7, 'x', 8, W, 300),
        row(2, 3, '+', 4, W, 200), row(2, 4, '+', 3, R, 100),  row(1, 3, '+', 4, R, 100),
        row(0, 4, '+', 3, R, 100), row(2, 9, '-', 4, W, 700),  row(1, 9, '-', 4, R, 100),
        row(0, 9, '-', 4, R, 100), row(1, 4, '-', 9, W, 800),  row(1, 6, '/', 2, W, 600),
        row(1, 6, '/', 3, W, 500), row(1, 2, 'x', 2, R, 900),  row(1, 3, 'x', 2, R, 300),
        row(1, 3, 'x', 3, M, 2501)};
    rows.insert(rows.begin(), 5, row(31, 5, 'x', 5, W, 100));  // out of the window
    std::string listed;
    for (const practice_fact& f : facts_to_practise(rows, now, 20)) {
        char text[64];
        fact_text(text, sizeof text, f);
        listed += std::string(text) + " " + std::to_string(f.misses) + "|";
    }
    EXPECT_EQ(listed,
              "7x8 = 56 3|3x3 = 9 1|4-9 = -5 1|6/2 = 3 1|6/3 = 2 1|9-4 = 5 1|2x2 = 4 0|2x3 = 6 0|");
}

// A game of three canisters, right, wrong and missed, as CSV rows.
std::string csv(std::time_t when) {
    const practice_entry g[3] = {{1, 6, 3, 8, 48, "48", R, 235},
                                 {2, 12, 4, 3, 4, "5", W, 90},
                                 {2, 100, 1, 100, 200, "", M, 1251}};
    return practice_csv_rows(g, 3, when, 2, 3);
}

TEST(practice_csv, games_read_back_whole_past_damage_and_appends_cut_short) {
    scratch_folder folder;
    const std::string b = csv(now + 9);
    const auto rows = parse_practice_csv(b.data(), b.size());
    ASSERT_EQ(rows.size(), 3u);
    const practice_entry back[3] = {rows[0].entry, rows[1].entry, rows[2].entry};
    ASSERT_TRUE(append_practice_game("practice.csv", back, 3, rows[0].when, 2, 3));
    std::ifstream in("practice.csv", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), practice_csv_header + b);
    // The reader takes only "2026-12-06T15:04:05" dates, in local time.
    EXPECT_EQ(rows[0].when, now + 9);
    EXPECT_NE(b.find(",2,multiplication,1,6x8,48,48,right,2.35,1,3\n"), std::string::npos);
    EXPECT_NE(b.find(",2,multiplication,2,100+100,200,,missed,12.51,3,3\n"), std::string::npos);
    // Foreign lines and rows that disagree with themselves are skipped; a game
    // cut short anywhere is not read until whole, and one appended after it is.
    const std::string junk = std::string("a;b\n\0\xff,,\n1,2,3,4,5,6,7,8,9,10,11\n", 33) +
                             "2030-01-01T00:00:00,1,addition,1,2+2,4,5,right,1.00,1,1\n";
    std::string before = junk + csv(now) + junk + b;
    before.replace(before.rfind("12/3,4,5"), 8, "12/3,7,5");
    const std::string c = csv(now + 20);
    for (std::size_t cut = 0; cut <= c.size(); ++cut) {
        const std::string bytes = before + c.substr(0, cut);
        EXPECT_EQ(parse_practice_csv(bytes.data(), bytes.size()).size(), cut < c.size() ? 5u : 8u);
        std::ofstream("practice.csv", std::ios::binary) << bytes;
        ASSERT_TRUE(append_practice_game("practice.csv", back, 1, now + 99, 1, 1));
        // Without its newline alone the cut game was whole.
        EXPECT_EQ(read_practice_history("practice.csv").size(), cut + 1 < c.size() ? 6u : 9u);
    }
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
    draw_practice_report(played.data(), 200, {9, {3, 9999999, 9999999, 9999999, 99999, 1 << 30}});
    blit(fake().screen, full, 0, 0, 0, 0, 800, 600);
    draw_practice_report(nullptr, 0, {});
    // What the game held shows only in the tiles, chart and lists; bars only in the chart.
    const int panels[7][4] = {{21, 77, 179, 92},   {214, 77, 179, 92},  {407, 77, 179, 92},
                              {600, 77, 179, 92},  {21, 183, 758, 144}, {21, 341, 370, 224},
                              {409, 341, 370, 224}};
    const int chart[4] = {practice_chart_x, practice_chart_y, practice_chart_w, practice_chart_h};
    const int under_legend[4] = {20, practice_chart_y - 4, 760, practice_chart_h + 10};
    const auto in = [](const int* p, int x, int y) {
        return x >= p[0] && x < p[0] + p[2] && y >= p[1] && y < p[1] + p[3];
    };
    for (int y = 0; y < 600; ++y) {
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
}

// Played by keys: at level 1 one right, one with the tank full (not judged),
// Space; at level 2 one wrong, one let through, one right; Escape.
TEST_F(game_test, practice_record_holds_what_happened_to_each_canister_played) {
    const std::string plan = "RFSWMRX";
    std::size_t next = 0;
    std::string script;  // a key a tick: a digit, E Enter, S Space, X Escape, _ none
    std::vector<practice_entry> want;
    fake().on_look = [&](int n) {
        fake().hold_only({});
        if (last_tick == tick_count.load() || answer_timer == level_left_timer)
            return;                 // not in a tick, or the level is left
        fuel = n <= 1 ? 59 : fuel;  // one right answer fills the tank
        if (canister_distance == launch_distance && script.empty()) {
            const char step = plan[std::min(next++, plan.size() - 1)];
            const std::string typed = number_text(problem.problem_answer + (step == 'W' ? 1 : 0));
            // Enter (held on) after the digits, each a tick down and one up.
            const int ticks = step == 'M' ? 5000 / speed_table[level] + 1 : 2 * typed.size() + 1;
            if (std::strchr("RWM", step) != nullptr) {
                want.push_back({level, problem.operand_a, problem.problem_operation,
                                problem.operand_b, problem.problem_answer, "",
                                static_cast<int>(std::strchr("RWM", step) - "RWM"), ticks});
                std::snprintf(want.back().entered, 40, "%s", step == 'M' ? "" : typed.c_str());
            }
            for (char c : std::strchr("RWF", step) != nullptr ? typed + "EE" : "")
                script += c < 'A' ? std::string{c, '_'} : "E";
            script += step == 'S' || step == 'X' ? std::string(1, step) : "";
        }
        if (!script.empty()) {
            const int codes[4] = {KEY_ENTER, KEY_SPACE, KEY_ESC, KEY_TILDE};  // ~ is read by none
            const char k = script[0];
            fake().held[k <= '9' ? KEY_0 + (k - '0') : codes[std::string("ESX_").find(k)]] = true;
            script.erase(0, 1);
        }
    };
    play_game();
    EXPECT_EQ(practice_csv_rows(practice_record, practice_record_count, now, 1, 1),
              practice_csv_rows(want.data(), static_cast<int>(want.size()), now, 1, 1));
}

}  // namespace
