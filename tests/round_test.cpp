// Practice rounds: the sets and families they pick from, the queue, a round
// flown by keys on the game's track; and what a game records of each canister.

#include <fstream>
#include <set>

#include "game_test_support.h"
#include "fact_map.h"
#include "high_score_table.h"
#include "known_by_week.h"
#include "practice_record.h"
#include "round_engine.h"
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

// Every canister of a round of each operation answered wrong: the problem
// shown is always one the game asks (- and / as they are, + and x in both
// orders), each fact comes back three then four canisters on, twice at
// most, and the round's rows read back.
TEST(round_engine, a_round_answered_wrong_shows_its_facts_and_brings_them_back) {
    scratch_folder folder;
    for (const char* name : {"+3", "-3", "x3", "/3"}) {
        std::vector<fact_family> families;
        std::string bad;
        ASSERT_TRUE(parse_fact_families(name, families, bad));
        practice_round round =
            plan_next_round({}, command_line_request(families, name, {}, at(0)), at(0), rand15);
        std::vector<practice_entry> played;
        int swapped = 0;
        for (round_canister c{}; next_canister(round, c); canister_verdict(round, W)) {
            const arithmetic_fact& stored = round.queue[round.flown - 1];
            EXPECT_EQ(fact_of(c.operation, c.operand_a, c.operand_b), stored) << name;
            ASSERT_EQ(c.answer, fact_answer(c.operation, c.operand_a, c.operand_b)) << name;
            ASSERT_GE(c.answer, 0) << name;
            swapped += c.operand_a != stored.operand_a ? 1 : 0;
            played.push_back({1, c.operand_a, c.operation, c.operand_b, c.answer, "99", W, 100});
        }
        EXPECT_EQ(swapped > 0, name[0] == '+' || name[0] == 'x') << name;
        // Six new facts, each missed at once and brought back twice.
        ASSERT_EQ(played.size(), 20u + 6 * round_comebacks) << name;
        const auto fact_at = [&](int i) { return round.queue[static_cast<std::size_t>(i)]; };
        EXPECT_TRUE(fact_at(0) == fact_at(3) && fact_at(3) == fact_at(7)) << name;
        EXPECT_EQ(std::count(round.brought_back.begin(), round.brought_back.end(), fact_at(0)),
                  round_comebacks);
        std::remove("practice.csv");
        ASSERT_TRUE(append_practice_game("practice.csv", played.data(),
                                         static_cast<int>(played.size()), {at(0), 2, 4, true}));
        std::vector<practice_row> rows;
        ASSERT_EQ(read_practice_history("practice.csv", rows), practice_file_read);
        EXPECT_EQ(rows.size(), played.size()) << name;
    }
}

// The multiplication facts of difficulty 2 in the history: 25 to learn, 30
// known and half way to review, the other 10 known today.
std::vector<practice_row> mostly_known() {
    std::vector<practice_row> rows;
    int n = 0;
    for (const arithmetic_fact& f : facts_of_set(3, 2)) {
        const std::string fact = std::to_string(f.operand_a) + "x" + std::to_string(f.operand_b);
        if (n < 25) {
            rows.push_back(answer_row(at(1), fact, W, 100));
        } else if (n < 55) {
            rows.push_back(answer_row(at(3), fact, R, 100));
            rows.push_back(answer_row(at(2), fact, R, 100));
        } else {
            rows.push_back(answer_row(at(0.1), fact, R, 100));
        }
        n += 1;
    }
    return rows;
}

TEST(round_engine, rounds_bring_new_facts_break_ties_by_draw_and_size_the_known_share) {
    // A new player: six new facts, the first of them not the set's first.
    std::set<arithmetic_fact> firsts;
    for (unsigned int seed = 1; seed <= 20; ++seed) {
        seed_rand15(seed);
        const practice_round r = plan_next_round({}, {3, 2, {}, "", {}}, at(0), rand15);
        EXPECT_EQ(r.queue.size(), 20u);
        EXPECT_EQ(std::set<arithmetic_fact>(r.queue.begin(), r.queue.end()).size(), 6u);
        firsts.insert(r.queue[0]);
    }
    EXPECT_GE(firsts.size(), 10u);
    // The weakest by the memory model first; facts answered fast today only
    // fill what nothing else can.
    const std::vector<practice_row> rows = mostly_known();
    const std::vector<fact_fluency> fluency = fluency_of(rows, at(0));
    for (const double right : {0.9, 0.75, 0.5, -1.0}) {
        const std::vector<arithmetic_fact> queue =
            plan_round(facts_of_set(3, 2), fluency, right, rand15);
        ASSERT_EQ(queue.size(), 20u);
        for (std::size_t i = 0; i < queue.size(); ++i) {
            const fact_fluency* f = find_fluency(fluency, queue[i]);
            EXPECT_FALSE(f->fast_today) << shown(queue[i]);
            EXPECT_EQ(f->state, fact_to_learn) << shown(queue[i]);
            EXPECT_TRUE(i == 0 ||
                        find_fluency(fluency, queue[i - 1])->recall_chance <= f->recall_chance);
        }
    }
    // P on a report after a bad game (under 60 % right): every fact of its
    // ten flies, known today, new or of another operation as they may be.
    std::vector<practice_row> bad = rows;
    for (std::size_t i = 0; i < 25; ++i) {
        bad.push_back(bad[i]);
        bad.back().game.when = at(0.05);
    }
    std::vector<arithmetic_fact> listed{fact_of(1, 4, 6), fact_of(4, 12, 3)};
    for (const bool today : {true, false}) {
        for (const fact_fluency& f : fluency_of(bad, at(0))) {
            if (today ? f.fast_today && listed.size() < 6
                      : f.state == fact_to_learn && listed.size() < 10) {
                listed.push_back(f.fact);
            }
        }
    }
    ASSERT_EQ(listed.size(), 10u);
    const practice_round asked = plan_next_round(bad, {3, 2, {}, "", listed}, at(0), rand15);
    for (const arithmetic_fact& f : listed) {
        EXPECT_NE(std::find(asked.queue.begin(), asked.queue.end(), f), asked.queue.end())
            << shown(f);
    }
    // The cap on new facts follows the latest answers: twice the usual
    // after right ones, half after wrong ones.
    for (const auto& [result, cap] : {std::pair{R, 12u}, std::pair{W, 3u}}) {
        std::vector<practice_row> one;
        for (int i = 0; i < 40; ++i) {
            one.push_back(answer_row(at(2), "2x2", result, 100));
        }
        const practice_round r = plan_next_round(one, {3, 2, {}, "", {}}, at(0), rand15);
        std::set<arithmetic_fact> fresh(r.queue.begin(), r.queue.end());
        fresh.erase(fact_of(3, 2, 2));
        EXPECT_EQ(fresh.size(), cap) << result;
    }
    // Odd histories still plan: only rows to come, one fact, thousands.
    std::vector<practice_row> odd[3] = {
        {answer_row(at(-3), "2x3", R, 100)}, {answer_row(at(1), "12/3", W, 100)}, {}};
    for (int a = 0; a < 3000; ++a) {
        odd[2].push_back(answer_row(at(1), std::to_string(a) + "+7", R, 100));
    }
    EXPECT_EQ(plan_next_round(odd[0], {3, 2, {}, "", {}}, at(0), rand15).queue.size(), 20u);
    EXPECT_NE(queue_text(plan_next_round(odd[1], {4, 1, {{4, 3}}, "/3", {}}, at(0), rand15).queue)
                  .find("12/3 "),
              std::string::npos);
    EXPECT_EQ(plan_next_round(odd[2], {1, 4, {}, "", {}}, at(0), rand15).queue.size(), 20u);
}

// A canister that hits while the tank shows full is not drawn: no miss.
TEST(practice_record, an_unseen_canister_counts_nowhere) {
    start_practice_record();
    for (const int tank : {full_tank, 10}) {
        fuel = tank;
        fuel_pending = 0;
        record_launch();
        record_hit();
    }
    ASSERT_EQ(practice_record_count, 1);
    EXPECT_EQ(practice_record[0].result, practice_missed);
    start_practice_record();
}

// One history through the list, the round P starts and the map: the same
// facts, the same states, known only where fluent.
TEST(round_engine, the_list_the_round_and_the_map_agree) {
    std::vector<practice_row> rows = mostly_known();
    rows.push_back(answer_row(at(0.02), "6x7", W, 100));
    rows.push_back(answer_row(at(0.01), "3x8", R, 900));
    const std::vector<fact_fluency> fluency = fluency_of(rows, at(0));
    const std::vector<fact_fluency> list = facts_to_practise(fluency, 10, facts_of_set(3, 2));
    ASSERT_EQ(list.size(), 10u);
    // Today's wrong and slow lead.
    EXPECT_EQ(std::set<std::string>({shown(list[0].fact), shown(list[1].fact)}),
              std::set<std::string>({"3x8", "6x7"}));
    std::vector<arithmetic_fact> listed;
    for (const fact_fluency& f : list) {
        listed.push_back(f.fact);
    }
    const practice_round round = plan_next_round(rows, {3, 2, {}, "", listed}, at(0), rand15);
    EXPECT_TRUE(std::equal(listed.begin(), listed.end(), round.queue.begin()));
    const fact_map map = make_fact_map(3, 2, fluency, at(0));
    int fluent = 0;
    for (const arithmetic_fact& f : facts_of_set(3, 2)) {
        const fact_fluency* ff = find_fluency(fluency, f);
        const fact_state state = state_of(fluency, f);
        fluent += state == fact_known ? 1 : 0;
        // Known is fluent, due is not; a fact just got wrong or slow is
        // neither, however long it was remembered before.
        EXPECT_TRUE(state != fact_known || ff->recall_chance >= 0.9) << shown(f);
        EXPECT_TRUE(state != fact_due || ff->recall_chance < 0.9) << shown(f);
        const std::array<int, 5>& cell = map_cell(map, f.operand_a, f.operand_b);
        EXPECT_GT(cell[state], 0) << shown(f);
    }
    EXPECT_EQ(map.known, fluent);
    EXPECT_EQ(facts_known_by_week(rows, at(0), 4).back(), fluent);
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
    const std::vector<arithmetic_fact> x2 = facts_of_families({{3, 2}});
    for (int i = 0; i < 20; ++i) {
        round.queue.push_back(x2[i % 4]);
    }
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
    ASSERT_EQ(flown.size(), 1u);
    EXPECT_NE(flown[0].find('+'), std::string::npos);
    EXPECT_FALSE(std::ifstream("practice.csv").good()) << "nothing answered, nothing kept";
    // Left with Escape, a round keeps the canisters answered.
    flown.clear();
    fake().hold_only({});
    play_by_keys("RRX", flown);
    std::vector<fact_family> families{{3, 2}};
    practise_from_command_line(families, "x2");
    EXPECT_EQ(flown.size(), 3u);
    std::vector<practice_row> rows;
    ASSERT_EQ(read_practice_history("practice.csv", rows), practice_file_read);
    EXPECT_EQ(rows.size(), 2u);

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
    ASSERT_EQ(read_practice_history("practice.csv", rows), practice_file_read);
    ASSERT_EQ(rows.size(), 22u);
    for (const practice_row& r : rows) {
        EXPECT_TRUE(r.game.round && r.game.topic == 3 && r.game.difficulty == 2 &&
                    r.entry.result == R);
    }
    // Without families: the latest game's topic and difficulty, here the round's.
    flown.clear();
    fake().hold_only({});
    play_by_keys("X", flown);
    practise_from_command_line({}, "");
    ASSERT_EQ(flown.size(), 1u);
    EXPECT_NE(flown[0].find('x'), std::string::npos);
}

TEST_F(game_test, the_reports_keys_start_a_round_or_show_the_fact_map) {
    scratch_folder folder;
    high_score_path = "hiscores.dat";
    start_practice_record();
    std::vector<std::string> flown;
    play_by_keys("R", flown, KEY_P);
    show_practice_report();
    // The settings' topic and difficulty: addition at 1. Nothing met yet,
    // so the report listed ten of its new facts, and all of them fly (a
    // round of new facts alone would hold six).
    ASSERT_EQ(flown.size(), 20u);
    EXPECT_NE(flown[0].find('+'), std::string::npos);
    std::set<std::pair<int, int>> facts;
    for (const std::string& f : flown) {
        const int a = std::stoi(f);
        const int b = std::stoi(f.substr(f.find('+') + 1));
        facts.insert({std::min(a, b), std::max(a, b)});
    }
    EXPECT_GE(facts.size(), 10u);
    std::vector<practice_row> rows;
    EXPECT_EQ(read_practice_history("practice.csv", rows), practice_file_read);
    EXPECT_EQ(rows.size(), 20u);
    // M: the map, drawn at once, again for Down held (once) and each step
    // after; Enter goes back to the report, drawn anew, and its P flies the
    // facts it listed: addition, not the subtraction the map ended on.
    std::vector<bool> map_shown;  // the map key's "known", present by present
    fake().on_present = [&map_shown](int) {
        map_shown.push_back(getpixel(fake().screen, 574, 118) == makecol(140, 235, 150));
    };
    flown.clear();
    play_by_keys("R", flown, KEY_P);
    fake().on_look = [start = fake().looks, keys = fake().on_look](int n) {
        const int map_keys[] = {KEY_M, KEY_M,  KEY_M, KEY_DOWN, KEY_DOWN, KEY_DOWN,
                                0,     KEY_UP, 0,     KEY_DOWN, 0,        KEY_ENTER};
        n - start < 12 ? fake().hold_only({map_keys[n - start]}) : keys(n);
    };
    show_practice_report();
    ASSERT_GE(map_shown.size(), 6u);
    EXPECT_EQ(std::vector<bool>(map_shown.begin(), map_shown.begin() + 6),
              (std::vector<bool>{false, true, true, true, true, false}));
    ASSERT_EQ(flown.size(), 20u);
    EXPECT_NE(flown[0].find('+'), std::string::npos);
    fake().on_present = nullptr;
    // P on the map: a round of the operation it shows, here subtraction.
    flown.clear();
    play_by_keys("R", flown);
    fake().on_look = [start = fake().looks, keys = fake().on_look](int n) {
        const int map_keys[] = {KEY_M, KEY_M, KEY_DOWN, 0, KEY_P};
        n - start < 5 ? fake().hold_only({map_keys[n - start]}) : keys(n);
    };
    show_practice_report();
    ASSERT_EQ(flown.size(), 20u);
    EXPECT_NE(flown[0].find('-'), std::string::npos);
}

// Played by keys: at level 1 one right, one with the tank full (not judged),
// Space; at level 2 one wrong, one let through, one right; Escape.
TEST_F(game_test, practice_record_holds_what_happened_to_each_canister_played) {
    scratch_folder folder;
    high_score_path = "hiscores.dat";
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
    // Left with Escape, the game still keeps what was played.
    std::vector<practice_row> rows;
    ASSERT_EQ(read_practice_history("practice.csv", rows), practice_file_read);
    EXPECT_EQ(rows.size(), want.size());
}

}  // namespace
