// Practice rounds: the sets and families they pick from, the queue, a round
// flown by keys on the game's track; and what a game records of each canister.

#include <fstream>

#include "game_test_support.h"
#include "high_score_table.h"
#include "practice_record.h"
#include "practice_session.h"
#include "practice_test_support.h"
#include "practice_texts.h"
#include "round_flight.h"
#include "scratch_folder.h"
#include "settings_menus.h"

namespace {

std::string shown(const arithmetic_fact& f) {
    char text[32];
    problem_text(text, sizeof text, f.operand_a, f.operation, f.operand_b);
    return text;
}

std::string queue_text(const std::vector<arithmetic_fact>& queue) {
    std::string out;
    for (const arithmetic_fact& f : queue) {
        out += shown(f) + " ";
    }
    return out;
}

TEST(fact_sets, the_sets_are_what_the_generator_draws) {
    for (int op = 1; op <= 4; ++op) {
        for (int d = 1; d <= 4; ++d) {
            topic = op, difficulty = d;
            std::vector<arithmetic_fact> seen;
            for (int i = 0; i < 6000; ++i) {
                new_problem();
                ASSERT_TRUE(generator_draws(op, d, problem.operand_a, problem.operand_b))
                    << op << " " << d << ": " << problem.operand_a << " " << problem.operand_b;
                seen.push_back(fact_of(op, problem.operand_a, problem.operand_b));
            }
            std::sort(seen.begin(), seen.end());
            seen.erase(std::unique(seen.begin(), seen.end()), seen.end());
            const std::vector<arithmetic_fact> set = facts_of_set(op, d);
            // The small sets come up whole; no set holds a problem it cannot draw.
            if (d <= 2) {
                EXPECT_EQ(queue_text(seen), queue_text(set)) << op << " " << d;
            }
            EXPECT_TRUE(std::all_of(set.begin(), set.end(),
                                    [d](const arithmetic_fact& f) { return fact_in_set(f, d); }));
        }
    }
    topic = 1, difficulty = 1;
    EXPECT_TRUE(facts_of_set(0, 1).empty() && facts_of_set(1, 5).empty());
}

struct family_case {
    const char* text;
    bool good;
    const char* facts_or_bad;  // the first three facts, or the family refused
    int difficulty;
} const family_cases[] = {
    {"x2,x5", true, "0x2 1x2 2x2", 2}, {"/3", true, "0/3 3/3 6/3", 2},
    {"+7", true, "0+7 1+7 2+7", 2},    {"x7,X7,*7", true, "0x7 1x7 2x7", 2},
    {"-4", true, "4-4 5-4 6-4", 2},    {"x0", false, "x0", 0},
    {"/11", false, "/11", 0},          {"+10,", false, "", 0},
    {"x2,y3", false, "y3", 0},         {"-", false, "-", 0},
    {"x2x", false, "x2x", 0},
};

TEST(fact_sets, families_name_their_tables) {
    for (const family_case& c : family_cases) {
        std::vector<fact_family> families;
        std::string bad;
        ASSERT_EQ(parse_fact_families(c.text, families, bad), c.good) << c.text;
        if (!c.good) {
            EXPECT_EQ(bad, c.facts_or_bad) << c.text;
            continue;
        }
        const std::vector<arithmetic_fact> facts = facts_of_families(families);
        EXPECT_EQ(queue_text({facts.begin(), facts.begin() + 3}), std::string(c.facts_or_bad) + " ")
            << c.text;
        // Each fact once: a second family of the same table adds nothing.
        EXPECT_EQ(facts.size(), std::string(c.text) == "x2,x5" ? 21u : 11u) << c.text;
        EXPECT_EQ(difficulty_for(facts), c.difficulty) << c.text;
    }
    EXPECT_EQ(difficulty_for({{3, 2, 3}, {3, 1, 10}}), 1);
    EXPECT_EQ(difficulty_for({{1, 60, 70}}), 4);
}

// Facts of the x table 2xN in the state given by a letter: L to learn, S
// slow, D due, K known, N new.
std::vector<fact_fluency> knowing(const std::string& states, std::vector<arithmetic_fact>& facts) {
    std::vector<fact_fluency> fluency;
    facts.clear();
    for (std::size_t i = 0; i < states.size(); ++i) {
        const arithmetic_fact f{3, 2, static_cast<int>(i) + 2};
        facts.push_back(f);
        const fact_state s = states[i] == 'L'   ? fact_to_learn
                             : states[i] == 'S' ? fact_slow
                             : states[i] == 'D' ? fact_due
                                                : fact_known;
        if (states[i] != 'N') {
            // The later ones miss more, answer slower, are more overdue, were
            // answered longer ago.
            const int n = static_cast<int>(i);
            fluency.push_back({f, s, 1, n, 300 + n, 0, n, 1000 - n, 0});
        }
    }
    return fluency;
}

struct plan_case {
    const char* states;  // of the candidates in order
    const char* queue;   // the states of the queue, and the candidates' numbers
} const plans[] = {
    // Two in three known, the due first, new facts capped at four, to learn
    // before slow, most misses and slowest first.
    {"KKKKKKKKKKKKKKKLLSDNNNNNN",
     "D18 L16 K14 K13 L15 K12 K11 S17 K10 K9 N19 K8 K7 N20 K6 K5 N21 K4 K3 N22 "},
    // Few known: the facts to practise fill the rest.
    {"LLLLLLLLLLLLLLLLLLLLLLKK",
     "K23 L21 K22 L20 L19 L18 L17 L16 L15 L14 L13 L12 L11 L10 L9 L8 L7 L6 L5 L4 "},
    // A small choice comes round again, spread out.
    {"KKNS", "K1 S3 K0 N2 K1 S3 K0 N2 K1 S3 K0 N2 K1 S3 K0 N2 K1 S3 K0 N2 "},
    {"", ""},
};

TEST(round_plan, queues_mix_known_facts_with_those_to_practise) {
    for (const plan_case& c : plans) {
        std::vector<arithmetic_fact> facts;
        const std::vector<fact_fluency> fluency = knowing(c.states, facts);
        std::string got;
        for (const arithmetic_fact& f : plan_round(facts, fluency)) {
            const std::size_t n = std::find(facts.begin(), facts.end(), f) - facts.begin();
            got += c.states[n] + std::to_string(n) + " ";
        }
        EXPECT_EQ(got, c.queue) << c.states;
    }
    // A large set is the facts met there and four new ones; sets take turns.
    std::vector<arithmetic_fact> facts;
    std::vector<fact_fluency> met = knowing("KL", facts);
    met.insert(met.begin(), {{1, 40, 50}, fact_known, 1, 0, 0, 0, 0, 0, 0});
    const std::vector<arithmetic_fact> large = round_candidates(5, 3, met);
    EXPECT_EQ(queue_text({large[0], large[2], large[6]}), "40+50 2x2 2x3 ");
    EXPECT_EQ(large.size(), 3u + 4 * round_new_facts);
    EXPECT_EQ(round_candidates(4, 1, {}).size(), 30u);
}

TEST(round_plan, a_fact_missed_comes_back_twice_at_most_in_either_order) {
    practice_round round{};
    round.queue = {{3, 2, 3}, {3, 2, 4}, {3, 2, 5}, {3, 2, 6}, {3, 2, 7}};
    round.flown = 1;
    bring_back(round, {3, 2, 3});
    round.flown = 4;
    bring_back(round, {3, 2, 3});
    bring_back(round, {3, 2, 3});
    EXPECT_EQ(queue_text(round.queue), "2x3 2x4 2x5 2x3 2x6 2x7 2x3 ");
    round.flown = 3;
    EXPECT_FALSE(shown_as_stored(round, {3, 2, 3}));
    EXPECT_TRUE(shown_as_stored(round, {3, 2, 6}));
}

// Plays by keys: per canister R right, W wrong, M let through, X Escape;
// idle, Enter is held (the game ignores it without an answer, the screens
// after a round go on with it).
// Before the first canister, `first_key` may stand in for Enter.
void play_by_keys(const std::string& plan, std::vector<std::string>& flown,
                  int first_key = KEY_ENTER) {
    auto script = std::make_shared<std::string>();
    fake().on_look = [script, plan, &flown, first_key](int) {
        fake().hold_only({flown.empty() ? first_key : KEY_ENTER});
        EXPECT_LT(fuel, full_tank);
        EXPECT_TRUE(canister_variant >= 1 && canister_variant <= 5);
        if (canister_distance == launch_distance && answer_state == 0 && script->empty() &&
            last_tick != tick_count.load()) {
            const char step = plan[std::min(flown.size(), plan.size() - 1)];
            flown.push_back(std::to_string(problem.operand_a) +
                            operation_sign(problem.problem_operation) +
                            std::to_string(problem.operand_b) + step);
            const std::string typed = number_text(problem.problem_answer + (step == 'W' ? 1 : 0));
            for (char c : step == 'R' || step == 'W' ? typed : "") {
                *script += std::string{c, '_'};
            }
            *script += step == 'X' ? "X" : step == 'M' ? "" : "E";
        }
        if (!script->empty()) {
            const char k = (*script)[0];
            fake().hold_only({k == 'E'   ? KEY_ENTER
                              : k == 'X' ? KEY_ESC
                              : k == '_' ? KEY_TILDE
                                         : KEY_0 + (k - '0')});
            script->erase(0, 1);
        }
    };
}

TEST_F(game_test, a_round_flies_its_queue_and_brings_back_what_was_missed) {
    practice_round round{};
    round.queue = plan_round(facts_of_families({{3, 2}}), {});
    std::vector<std::string> flown;
    play_by_keys("WMRRRRRRRRRRRRRRRRRRRRRR", flown);
    std::set<int> variants;  // each canister picture comes up
    fake().on_look = [&variants, keys = fake().on_look](int n) {
        keys(n), variants.insert(canister_variant);
    };
    level = 6;  // where the game before ended
    ASSERT_TRUE(fly_round(round));
    std::string got;
    for (const std::string& f : flown) {
        got += f + " ";
    }
    EXPECT_EQ(got,
              "0x2W 1x2M 2x2R 2x0R 2x1R 2x3R 0x2R 1x2R 2x2R 3x2R 2x0R 2x1R 2x2R 2x3R 0x2R 1x2R "
              "2x2R 3x2R 2x0R 2x1R 2x2R 2x3R ");
    ASSERT_EQ(practice_record_count, 22);
    EXPECT_EQ(practice_record[0].result, W);
    EXPECT_EQ(practice_record[1].result, M);
    EXPECT_EQ(practice_record[21].result, R);
    EXPECT_EQ(level, 1);
    EXPECT_EQ(variants.size(), 5u);
    EXPECT_EQ(launch_problem, &new_problem);
    EXPECT_EQ(fake().sounds.at(0).sample, sample_game_start);
    for (const played_sample& s : fake().sounds) {
        EXPECT_NE(s.sample, sample_game_over);
    }
}

TEST_F(game_test, a_round_from_the_command_line_goes_into_practice_csv_and_changes_no_game) {
    scratch_folder folder;
    high_score_path = "hiscores.dat";
    std::vector<std::string> flown;
    // A first round, with no history and no families: addition at difficulty 1.
    play_by_keys("X", flown);
    practise_from_command_line({}, "");
    EXPECT_EQ(flown, std::vector<std::string>{"1+1X"});
    flown.clear();
    fake().hold_only({});
    play_by_keys("RRX", flown);
    std::vector<fact_family> families{{3, 2}};
    practise_from_command_line(families, "x2");
    EXPECT_EQ(flown.size(), 3u);
    EXPECT_FALSE(std::ifstream("practice.csv").good()) << "a round left with Escape";

    const unsigned int position = rand15_position();
    history_entry history[problem_history_length];
    std::copy(std::begin(problem_history), std::end(problem_history), history);
    flown.clear();
    fake().hold_only({});  // Escape is up again
    play_by_keys("R", flown);
    practise_from_command_line(families, "x2");
    EXPECT_EQ(flown.size(), 20u);
    EXPECT_EQ(rand15_position(), position);
    EXPECT_TRUE(std::equal(std::begin(history), std::end(history), std::begin(problem_history),
                           [](const history_entry& x, const history_entry& y) {
                               return x.operand_a == y.operand_a && x.operand_b == y.operand_b &&
                                      x.operation == y.operation;
                           }));
    std::vector<practice_row> rows;
    ASSERT_EQ(read_practice_history("practice.csv", rows), practice_file_read);
    ASSERT_EQ(rows.size(), 20u);
    for (const practice_row& r : rows) {
        EXPECT_TRUE(r.game.round && r.game.topic == 3 && r.game.difficulty == 2 &&
                    r.entry.result == R);
    }
    // Without families: the latest game's topic and difficulty, here the round's.
    flown.clear();
    fake().hold_only({});
    play_by_keys("X", flown);
    practise_from_command_line({}, "");
    EXPECT_EQ(flown, std::vector<std::string>{"0x2X"});
}

TEST_F(game_test, the_reports_keys_start_a_round_or_show_the_fact_map) {
    scratch_folder folder;
    high_score_path = "hiscores.dat";
    start_practice_record();
    std::vector<std::string> flown;
    play_by_keys("R", flown, KEY_P);
    show_practice_report();
    // The settings' topic and difficulty: addition at 1.
    ASSERT_EQ(flown.size(), 20u);
    EXPECT_EQ(flown[0], "1+1R");
    std::vector<practice_row> rows;
    EXPECT_EQ(read_practice_history("practice.csv", rows), practice_file_read);
    EXPECT_EQ(rows.size(), 20u);
    // M: the map, drawn at once, again for Down held and for Up; Enter leaves it.
    fake().on_look = [start = fake().looks](int n) {
        const int keys[] = {KEY_M, KEY_M, KEY_M, KEY_DOWN, KEY_DOWN, KEY_DOWN, 0, KEY_UP};
        fake().hold_only({n - start < 8 ? keys[n - start] : KEY_ENTER});
    };
    clear_bitmap(fake().screen);
    const int presents = fake().presents;
    show_practice_report();
    EXPECT_EQ(fake().presents - presents, 4);
    EXPECT_EQ(getpixel(fake().screen, 574, 118), makecol(140, 235, 150));  // the key's known
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
    EXPECT_EQ(practice_csv_rows(practice_record, practice_record_count, {at(0), 1, 1, false}),
              practice_csv_rows(want.data(), static_cast<int>(want.size()), {at(0), 1, 1, false}));
}

}  // namespace
