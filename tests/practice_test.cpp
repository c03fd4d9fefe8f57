// practice.csv, the fluency of each fact, and refuel --report.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <fstream>

#include "fact_fluency.h"
#include "known_by_week.h"
#include "latest_play.h"
#include "round_engine.h"
#include "high_score_table.h"
#include "practice_csv.h"
#include "practice_report_text.h"
#include "report_command.h"
#include "practice_texts.h"
#include "practice_test_support.h"
#include "scratch_folder.h"

namespace {

std::string file_text(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A game of three canisters, right, wrong and missed.
const practice_entry three[3] = {{1, 6, 3, 8, 48, "48", R, 235},
                                 {2, 12, 4, 3, 4, "5", W, 90},
                                 {2, 100, 1, 100, 200, "", M, 1251}};

TEST(practice_csv, games_read_back_whole_past_damage_and_appends_cut_short) {
    scratch_folder folder;
    const std::string b = practice_csv_rows(three, 3, {at(0, 9), 2, 3, false});
    EXPECT_NE(b.find(" 12:00:09,2,multiplication,2,12 / 3,12,division,3,4,5,wrong,0.90,2,3,game\n"),
              std::string::npos);
    const auto rows = parse_practice_csv(b.data(), b.size());
    ASSERT_EQ(rows.size(), 3u);
    const practice_entry back[3] = {rows[0].entry, rows[1].entry, rows[2].entry};
    ASSERT_TRUE(append_practice_game("practice.csv", back, 3, rows[0].game));
    EXPECT_EQ(file_text("practice.csv"), practice_csv_header + b);
    EXPECT_EQ(rows[0].game.when, at(0, 9));
    // Foreign lines and rows that disagree with themselves are skipped; a game
    // that lacks a row anywhere is dropped whole, and one appended after a cut
    // is read.
    const std::string junk = std::string("\na;b\n\0\xff,,\n1,2,3,4,5,6,7,8,9,10,11\n", 34) +
                             "2030-01-01 00:00:00,1,addition,1,2 + 2,2,addition,2,4,5,right,1.00,1,"
                             "1,game\n";
    std::string damaged = practice_csv_rows(three, 3, {at(0, 1), 1, 1, true});
    damaged.replace(damaged.find("12,division,3,4"), 15, "12,division,3,5");
    const std::string before =
        junk + practice_csv_rows(three, 3, {at(0, 2), 1, 1, false}) + junk + damaged + b;
    const std::string c = practice_csv_rows(three, 3, {at(0, 20), 1, 1, true});
    for (std::size_t cut = 0; cut <= c.size(); ++cut) {
        const std::string bytes = before + c.substr(0, cut);
        EXPECT_EQ(parse_practice_csv(bytes.data(), bytes.size()).size(),
                  cut + 1 < c.size() ? 6u : 9u);
        std::ofstream("practice.csv", std::ios::binary) << bytes;
        ASSERT_TRUE(append_practice_game("practice.csv", back, 1, {at(0, 99), 1, 1, false}));
        std::vector<practice_row> read;
        ASSERT_EQ(read_practice_history("practice.csv", read), practice_file_read);
        EXPECT_EQ(read.size(), cut + 1 < c.size() ? 7u : 10u);
    }
}

// What the first version wrote, and what spreadsheets save back: each line
// alone, with the row it must read as ("" when it is to be skipped).
struct csv_line_case {
    const char* line;
    const char* read_as;  // difficulty topic level a op b answer entered result ticks kind
} const csv_lines[] = {
    {"2026-12-06T15:04:05,2,division,3,12/3,4,4,right,2.30,1,1",
     "2 4 3 12/3=4 [4] right  230 game"},
    {"2026-12-06T15:04:05,1,mixed,1,5-3,2,,missed,25.01,1,1", "1 5 1 5-3=2 [] missed 2501 game"},
    {"\"2026/12/06 15:04:05\",2,division,3,\"12 / 3\",12,division,3,4,4,right,2.3,1,1,round",
     "2 4 3 12/3=4 [4] right  230 round"},
    {"2026/12/6 9:04,4,addition,10,7 + 8,7,addition,8,15,015,wrong,3,1,1,game\r",
     "4 1 10 7+8=15 [015] wrong  300 game"},
    {"6.12.26 9:04;4;addition;10;7 + 8;7;addition;8;15;015;wrong;3;1;1;game",
     "4 1 10 7+8=15 [015] wrong  300 game"},
    {"2026-12-06,2,subtraction,1,5 - 3,5,subtraction,3,2,1.2E+38,wrong,0.349,1,1,game",
     "2 2 1 5-3=2 [1.2E+38] wrong  35 game"},
    {"2026-12-06T15:04:05,2,division,3,12/3,4,4,right,2.30,1,1,,,,",
     "2 4 3 12/3=4 [4] right  230 game"},
    {"2026-12-06 15:04:05,2,division,3,12 / 3,12,division,3,4,04,right,2.30,1,1,game", ""},
    {"2026-12-06 15:04:05,2,division,3,12 / 3,12,division,3,4,1 2,wrong,2.30,1,1,game", ""},
    {"2026-12-06 15:04:05,2,division,3,12 / 3,12,division,3,4,,missed,2.,1,1,game", ""},
    {"2026-12-06 15:04:05,2,division,3,12 / 3,12,division,3,4,,missed,2.30,1,1,party", ""},
    {"2026-12-06 15:04:05,2,division,3,12 / 3,13,division,3,4,,missed,2.30,1,1,game", ""},
    {"2026-13-06 15:04:05,2,division,3,12 / 3,12,division,3,4,,missed,2.30,1,1,game", ""},
    {"2026-12-006 15:04:05,2,division,3,12 / 3,12,division,3,4,,missed,2.30,1,1,game", ""},
    {"6.12.202 15:04:05,2,division,3,12 / 3,12,division,3,4,,missed,2.30,1,1,game", ""},
    {"2026-12-06 15:04:05,2,division,3,12 / 3,12,division,3,4,,missed,2.3s,1,1,game", ""},
    {"2026-12-06 15:04:05,2,division,3,12 / 3,12,division,3,4,,missed,2.30,,1,game", ""},
    {"\"2026-12-06 15:04:05,2,division,3,12 / 3,12,division,3,4,,missed,2.30,1,1,game", ""},
    {",2,division,3,12 / 3,12,division,3,4,,missed,2.30,1,1,game", ""},
    {"2026-12-06 15:04:05,2,division,,12 / 3,12,division,3,4,,missed,2.30,1,1,game", ""},
    // A parent's note in a later column, and the empty cells that pad it.
    {"2026-12-06 15:04:05,2,division,3,12 / 3,12,division,3,4,4,right,2.30,1,1,game,",
     "2 4 3 12/3=4 [4] right  230 game"},
    {"2026-12-06T15:04:05,2,division,3,12/3,4,4,right,2.30,1,1,,,,,\"tired, \"\"ill\"\"\"",
     "2 4 3 12/3=4 [4] right  230 game"},
    // Decimal commas; ';' between fields.
    {"\"2026/12/06 15:04:05\",2,division,3,\"12 / 3\",12,division,3,4,4,right,\"2,3\",1,1,game",
     "2 4 3 12/3=4 [4] right  230 game"},
    {"2026-12-06 15:04:05;2;\"division\";3;\"12 / "
     "3\";12;\"division\";3;4;1,2E+028;\"wrong\";0,9;1;1;"
     "\"game\";;",
     "2 4 3 12/3=4 [1,2E+028] wrong  90 game"},
    // A first-version problem a spreadsheet took for a date, mended when
    // one reading alone gives the answer.
    {"2026-12-06T15:04:05,2,division,3,2026/12/03,4,4,right,2.3,1,1,,,,",
     "2 4 3 12/3=4 [4] right  230 game"},
    {"2026-12-06T15:04:05,2,mixed,3,03.12.26,4,4,right,2.3,1,1",
     "2 5 3 12/3=4 [4] right  230 game"},
    {"2026-12-06T15:04:05,2,mixed,3,2026/03/09,6,6,right,2.3,1,1",
     "2 5 3 9-3=6 [6] right  230 game"},
    {"2026-12-06T15:04:05,2,mixed,3,2026/04/02,2,2,right,2.3,1,1", ""},
};

TEST(practice_csv, the_first_versions_rows_and_a_spreadsheets_are_read) {
    // A line far longer than any row is not one, whatever it holds.
    const std::string padded = std::string(csv_lines[0].line).replace(36, 0, 600, '0');
    EXPECT_TRUE(parse_practice_csv((padded + "\n").data(), padded.size() + 1).empty());
    for (const csv_line_case& c : csv_lines) {
        const std::string bytes = std::string(c.line) + "\n";
        const auto rows = parse_practice_csv(bytes.data(), bytes.size());
        std::string got;
        for (const practice_row& r : rows) {
            const practice_entry& e = r.entry;
            char text[160];
            std::snprintf(text, sizeof text, "%d %d %d %d%s%d=%d [%s] %s %d %s", r.game.difficulty,
                          r.game.topic, e.level, e.operand_a, operation_sign(e.operation),
                          e.operand_b, e.answer, e.entered,
                          std::string("right wrong missed").substr(6 * e.result, 6).c_str(),
                          e.ticks, r.game.round ? "round" : "game");
            got = text;
        }
        EXPECT_EQ(got, c.read_as) << c.line;
    }
    // A fact that cannot be mended is lost alone, not its game.
    const std::string ambiguous =
        "2026-12-06T15:04:05,2,mixed,3,2026/04/02,2,2,right,2.3,1,2\n"
        "2026-12-06T15:04:05,2,mixed,3,12/3,4,4,right,2.3,2,2\n";
    const auto rest = parse_practice_csv(ambiguous.data(), ambiguous.size());
    EXPECT_EQ(rest.size(), 1u);
    // A file of the first version gets the header again before the first
    // game of this one, so a spreadsheet labels its columns.
    scratch_folder folder;
    const std::string old = std::string(
                                "date,difficulty,topic,level,problem,answer,entered,result,"
                                "seconds,canister,canisters\n") +
                            csv_lines[0].line + "\n";
    std::ofstream("practice.csv", std::ios::binary) << old;
    ASSERT_TRUE(append_practice_game("practice.csv", three, 1, {at(0, 0), 2, 3, false}));
    ASSERT_TRUE(append_practice_game("practice.csv", three, 1, {at(0, 1), 2, 3, false}));
    const std::string one = practice_csv_rows(three, 1, {at(0, 0), 2, 3, false});
    EXPECT_EQ(file_text("practice.csv"), old + practice_csv_header + one +
                                             practice_csv_rows(three, 1, {at(0, 1), 2, 3, false}));
}

// Links and odd files are data_file's (the score file's tests); that the
// appends and reads go through it shows on a FIFO.
TEST(practice_csv, folders_are_made_and_a_fifo_neither_written_nor_read) {
    scratch_folder folder;
    std::vector<practice_row> rows;
    EXPECT_EQ(read_practice_history("practice.csv", rows), practice_file_missing);
    // The folder of an installed game is made by the first game's append.
    ASSERT_TRUE(append_practice_game("new/data/practice.csv", three, 3, {at(0, 0), 1, 1, false}));
    const int free_fd = dup(2);  // the number the read opens its file as, free after it
    close(free_fd);
    EXPECT_EQ(read_practice_history("new/data/practice.csv", rows), practice_file_read);
    EXPECT_EQ(close(free_fd), -1);
    EXPECT_EQ(rows.size(), 3u);
    ASSERT_EQ(mkfifo("fifo.csv", 0600), 0);
    EXPECT_FALSE(append_practice_game("fifo.csv", three, 3, {at(0, 0), 1, 1, false}));
    EXPECT_EQ(read_practice_history("fifo.csv", rows), practice_file_unreadable);
    EXPECT_TRUE(rows.empty());
}

// A hand-made history; each fact's answers in days before now (noon),
// with their results and times, and what the memory model makes of them:
// the state and the chance of a fast answer at the next day's practice.
struct fluency_case {
    const char* fact;
    std::vector<std::tuple<double, int, int>> answers;  // days ago, result, ticks
    fact_state state;
    double chance;
} const histories[] = {
    // One fast answer: half-life 6 days, so not yet fluent.
    {"1x2", {{0, R, 150}}, fact_due, 0.89},
    // A quick answer is surer: each half second under 1.5 s doubles its
    // share (at most four times), each half second over halves it.
    {"6x7", {{0, R, 100}}, fact_known, 0.94},
    {"7x7", {{20, R, 10}}, fact_due, 0.55},
    {"3x3", {{0, R, 300}}, fact_due, 0.40},
    {"2x2", {{1, R, 150}}, fact_due, 0.79},
    {"3x4", {{0, R, 301}}, fact_slow, 0.06},
    // A fast answer adds three tenths of a day and 40 % of the gap since
    // the one before (at most 0.8 of its half-life); long gaps survived
    // last. A slow, wrong or missed answer keeps 90 % of it.
    {"2x3", {{3, R, 150}, {2, R, 150}}, fact_due, 0.73},
    {"4x2", {{20, R, 150}, {19, R, 150}, {18, R, 150}, {17, R, 150}, {16, R, 150}}, fact_due, 0.26},
    {"5x6", {{30, R, 150}, {10, R, 150}, {1, R, 150}}, fact_known, 0.92},
    {"4x5", {{30, R, 150}, {10, R, 250}, {1, R, 250}}, fact_due, 0.85},
    {"5x7", {{30, W, 150}, {10, R, 150}, {1, R, 150}}, fact_due, 0.43},
    {"2x6", {{10.1, R, 150}, {9.9, R, 150}}, fact_due, 0.30},
    {"2x7", {{3, R, 150}, {2, R, 150}, {1, W, 150}}, fact_to_learn, 0.79},
    {"8x2", {{3, R, 150}, {1, R, 350}}, fact_slow, 0.77},
    {"2x9", {{2, R, 150}, {1, M, 2501}}, fact_to_learn, 0.77},
    {"4x4", {{40, W, 150}, {2, W, 150}, {1, W, 150}}, fact_to_learn, 0},
    // Rows past tomorrow count nowhere; tomorrow's do.
    {"3x5", {{-3, W, 150}}, fact_new, 0},
    {"3x6", {{1, R, 150}, {-2, W, 150}}, fact_due, 0.79},
    {"3x7", {{-1, W, 150}}, fact_to_learn, 0.06},
    // A fast answer the day of a miss is no sign of knowing; a later day's is.
    {"8x3", {{1, W, 150}, {0.9, R, 150}}, fact_to_learn, 0.11},
    {"9x3", {{2, W, 150}, {1, R, 150}}, fact_due, 0.16},
    // The file's order is the order played, whatever the clock said.
    {"10x3", {{1, R, 150}, {2, W, 150}}, fact_to_learn, 0.77},
};

std::vector<practice_row> history_rows() {
    std::vector<practice_row> rows;
    for (const fluency_case& c : histories) {
        for (const auto& [days, result, ticks] : c.answers) {
            rows.push_back(answer_row(at(days), c.fact, result, ticks));
        }
    }
    return rows;
}

arithmetic_fact fact_named(const std::string& text) {
    const practice_row row = answer_row(0, text, R, 0);
    return fact_of(row.entry.operation, row.entry.operand_a, row.entry.operand_b);
}

TEST(fact_memory, states_and_chances_from_the_history_alone) {
    const auto fluency = fluency_of(history_rows(), at(0));
    for (const fluency_case& c : histories) {
        const fact_fluency* f = find_fluency(fluency, fact_named(c.fact));
        EXPECT_EQ(state_of(fluency, fact_named(c.fact)), c.state) << c.fact;
        EXPECT_NEAR(f != nullptr ? f->recall_chance : 0, c.chance, 0.01) << c.fact;
        // Known is fluent: 90 % at the next day's practice.
        EXPECT_EQ(c.state == fact_known, f != nullptr && f->recall_chance >= 0.9 &&
                                             f->latest_fast && f->state != fact_to_learn)
            << c.fact;
    }
    // The days left until a known fact falls under 90 %: half-life x
    // log2(1/0.9) after its latest answer.
    const fact_fluency* known = find_fluency(fluency, fact_named("5x6"));
    EXPECT_NEAR(known->days_left, known->half_life_days * std::log2(1 / 0.9) - 1, 0.01);
}

// The bar: 3 s plus the tenth fastest of the latest right answers less
// 1.5 s, once there are 20 of them; an answer within it is fast.
TEST(fact_memory, the_bar_allows_for_the_childs_own_typing) {
    const struct {
        int answers;
        int ticks;
        int bar;
    } cases[] = {{17, 250, 300}, {20, 250, 400}, {30, 120, 300}, {30, 900, 600}};
    for (const auto& c : cases) {
        std::vector<practice_row> rows;
        for (int i = 0; i < c.answers; ++i) {
            rows.push_back(answer_row(at(3), "7x8", R, c.ticks + i % 3));
        }
        // A slow typist's answer inside their bar is fast, not slow.
        rows.push_back(answer_row(at(2), "6x9", R, c.bar));
        rows.push_back(answer_row(at(1), "6x8", R, c.bar + 1));
        EXPECT_EQ(typing_bar_ticks(rows, at(0)), c.bar) << c.answers << " at " << c.ticks;
        const auto fluency = fluency_of(rows, at(0));
        EXPECT_EQ(state_of(fluency, fact_named("6x9")), fact_due);
        EXPECT_EQ(state_of(fluency, fact_named("6x8")), fact_slow);
        // An answer right at the bar is as unsure for every typist.
        EXPECT_NEAR(find_fluency(fluency, fact_named("6x9"))->half_life_days, 0.75, 1e-9);
    }
}

// PRACTISE NEXT: today's wrong, missed and slow first, then the lowest
// chance; a fact never met carries the chance its table shows.
TEST(fact_memory, practise_next_leads_with_todays_fails_then_the_weakest) {
    const struct {
        const char* fact;
        double days_ago;
        int result;
    } rows_in[] = {{"3x7", 0, W},  {"4x6", 5, R},  {"2x8", 0.2, R}, {"2x8", 0.1, M},
                   {"6x6", 40, R}, {"6x6", 10, R}, {"6x6", 1, R},   {"0x3", 3, R},
                   {"0x5", 3, R},  {"0x7", 3, R},  {"9x9", 0, R}};
    std::vector<practice_row> rows;
    for (const auto& r : rows_in) {
        rows.push_back(answer_row(at(r.days_ago), r.fact, r.result, 150));
    }
    const auto fluency = fluency_of(rows, at(0));
    const std::vector<arithmetic_fact> unmet = {fact_named("7x9"), fact_named("0x9")};
    std::string ranked;
    for (const fact_fluency& f : facts_to_practise(fluency, 10, unmet)) {
        char text[32];
        fact_text(text, sizeof text, f.fact);
        ranked += std::string(text) + "|";
    }
    // 0x9's table (0x3, 0x5, 0x7 fast three days ago) puts it beside them.
    EXPECT_EQ(ranked,
              "3x7 = 21|2x8 = 16|7x9 = 63|4x6 = 24|0x9 = 0|0x3 = 0|0x5 = 0|0x7 = 0|"
              "9x9 = 81|6x6 = 36|");
}

// Odd histories: one fact, only rows from the future, only wrong answers,
// thousands of facts: always an answer, never a NaN.
TEST(fact_memory, odd_histories_give_finite_answers) {
    std::vector<std::vector<practice_row>> histories_in(4);
    histories_in[0].push_back(answer_row(at(0), "2x2", R, 0));
    for (int i = 0; i < 5; ++i) {
        histories_in[1].push_back(answer_row(at(-3 - i), "3x3", R, 100));
        histories_in[2].push_back(answer_row(at(i), "4x4", i % 2 == 0 ? W : M, 100));
    }
    for (int a = 0; a < 60; ++a) {
        for (int b = a; b < 60; ++b) {
            histories_in[3].push_back(answer_row(at((a + b) % 30),
                                                 std::to_string(a) + "x" + std::to_string(b),
                                                 (a + b) % 3, 100 * (a % 5)));
        }
    }
    for (const auto& rows : histories_in) {
        const auto fluency = fluency_of(rows, at(0));
        for (const fact_fluency& f : facts_to_practise(fluency, 10, facts_of_set(3, 2))) {
            EXPECT_TRUE(std::isfinite(f.recall_chance) && std::isfinite(f.days_left));
            EXPECT_TRUE(f.recall_chance >= 0 && f.recall_chance <= 1 && f.days_left >= 0);
        }
        EXPECT_EQ(facts_known_by_week(rows, at(0), 8).size(), 8u);
    }
    EXPECT_TRUE(fluency_of(histories_in[1], at(0)).empty());
}

TEST(practice_report_text, the_report_of_a_history_and_its_failures) {
    scratch_folder folder;
    high_score_path = "hiscores.dat";
    std::vector<practice_row> rows = history_rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].game.round = i % 2 == 1;
        ASSERT_TRUE(append_practice_game("practice.csv", &rows[i].entry, 1, rows[i].game));
    }
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    ASSERT_EQ(print_practice_report(out, stderr, at(0)), 0);
    std::fclose(out);
    const std::string report(text, size);
    std::free(text);
    EXPECT_EQ(report,
              "Refuel practice report: the 30 days to 2026-12-07\n"
              "From practice.csv\n"
              "\n"
              "Games: 20   practice rounds: 21   canisters: 41\n"
              "\n"
              "operation          right   median time\n"
              "addition               -             -\n"
              "subtraction            -             -\n"
              "multiplication       78%         1.5 s\n"
              "division               -             -\n"
              "\n"
              "Fast: right within 3.0 s (3 s and this child's typing time)\n"
              "facts to practise state           wrong/missed  latest time\n"
              "3x4 = 12          slow lately                0        3.0 s\n"
              "1x9 = 9           new                        0            -\n"
              "1x3 = 3           new                        0            -\n"
              "1x4 = 4           new                        0            -\n"
              "1x1 = 1           new                        0            -\n"
              "1x10 = 10         new                        0            -\n"
              "1x8 = 8           new                        0            -\n"
              "4x4 = 16          to learn                   2        1.5 s\n"
              "3x7 = 21          to learn                   1        1.5 s\n"
              "3x8 = 24          to learn                   1        1.5 s\n"
              "\n"
              "Fact map of multiplication, difficulty 1: 0 of 27 known, 8 due for review\n"
              "each cell: row x column\n"
              "  x  1  2  3  4  5  6  7  8  9 10\n"
              "  1  .  o  .  .  .  .  .  .  .  .\n"
              "  2  o  o  o  o  .  o  !  ~  !  .\n"
              "  3  .  o  o  ~  .  o  !  !  o  !\n"
              "  4  .  o  ~\n"
              "  5  .  .  .\n"
              "  6  .  o  o\n"
              "  7  .  !  !\n"
              "  8  .  ~  !\n"
              "  9  .  !  o\n"
              " 10  .  .  !\n"
              "\n"
              "Key:  # known  o due for review  ~ slow lately  ! to learn  . new\n");
    // A file that is there but cannot be read, and a report that cannot be
    // written, are failures.
    std::FILE* full = std::fopen("/dev/full", "w");
    std::FILE* none = std::fopen("/dev/null", "w");
    ASSERT_TRUE(full != nullptr && none != nullptr);
    EXPECT_EQ(print_practice_report(full, none, at(0)), 1);
    EXPECT_EQ(print_practice_report(none, none, at(0)), 0);
    std::remove("practice.csv");
    ASSERT_EQ(mkdir("practice.csv", 0700), 0);
    EXPECT_EQ(print_practice_report(none, none, at(0)), 1);
    std::fclose(full);
    std::fclose(none);
}

// What --report makes of files it can read only in part, or not at all.
TEST(practice_report_text, lines_not_read_are_counted_and_none_read_is_a_failure) {
    scratch_folder folder;
    high_score_path = "hiscores.dat";
    // The clock set back 40 minutes between two games: the later in the file
    // is the latest, whatever its date.
    const std::string games = practice_csv_rows(three, 1, {at(0), 2, 3, false}) +
                              practice_csv_rows(three, 1, {at(0, -2400), 4, 3, false});
    for (const auto& [file, status, says] : std::vector<std::tuple<std::string, int, const char*>>{
             {games + "a note\n", 0, "Lines that could not be read: 1\n"},
             {games, 0, "multiplication, difficulty 4:"},
             {"\xef\xbb\xbf" + std::string(practice_csv_header) + ";;;\n\"z", 1,
              "practice.csv holds no game that can be read; lines not read: 1"}}) {
        std::ofstream("practice.csv", std::ios::binary) << file;
        char* text = nullptr;
        std::size_t size = 0;
        std::FILE* out = open_memstream(&text, &size);
        EXPECT_EQ(print_practice_report(out, out, at(0)), status) << file;
        std::fclose(out);
        EXPECT_NE(std::string(text, size).find(says), std::string::npos) << text;
        std::free(text);
    }
}

}  // namespace

// Which difficulty each operation's map, unmet facts and --practise start
// from: the last row of the operation in the file (the order played), a
// round as much as a game, however old, but never a row dated past
// tomorrow; the rows' own clock does not reorder them.
TEST(practice, latest_difficulty_is_the_last_played_in_file_order) {
    const auto row = [](double days_ago, const char* fact, int difficulty, bool round) {
        practice_row r = answer_row(at(days_ago), fact, R, 150);
        r.game.difficulty = difficulty;
        r.game.round = round;
        return r;
    };
    struct {
        std::vector<practice_row> rows;
        std::array<int, 5> latest;
    } cases[] = {
        {{}, {0, 0, 0, 0, 0}},
        {{row(1, "2x3", 2, false), row(0, "2x4", 3, false)}, {0, 0, 0, 3, 0}},
        // A later row with an earlier clock still counts as later.
        {{row(0, "2x3", 2, false), row(5, "2x4", 1, false)}, {0, 0, 0, 1, 0}},
        {{row(2, "2x3", 2, false), row(1, "6/3", 4, true)}, {0, 0, 0, 2, 4}},
        {{row(90, "1+2", 3, false)}, {0, 3, 0, 0, 0}},
        // A clock set days ahead decides nothing.
        {{row(1, "2x3", 2, false), row(-3, "2x4", 4, false)}, {0, 0, 0, 2, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(latest_difficulties(c.rows, at(0)), c.latest);
    }
    // --practise without families takes the topic of the latest game and
    // the difficulty that operation was last played at.
    const std::vector<practice_row> rows = {row(2, "2x3", 1, false), row(1, "2x4", 3, true)};
    const round_request asked = command_line_request({}, "", rows, at(0));
    EXPECT_EQ(asked.topic, 3);
    EXPECT_EQ(asked.difficulty, 3);
}
