#include "practice_session.h"

#include <algorithm>
#include <ctime>

#include "fact_fluency.h"
#include "fact_map_screen.h"
#include "game_loop.h"
#include "keyboard_random_clock.h"
#include "platform.h"
#include "practice_csv.h"
#include "practice_record.h"
#include "practice_screen.h"
#include "round_flight.h"
#include "round_plan.h"
#include "settings_menus.h"

namespace {

// What practice knows after a report: the history with the game just
// played, and the facts the report listed.
struct practice_state {
    std::vector<fact_fluency> fluency;
    std::vector<fact_fluency> listed;
};

// Which facts a round picks from.
struct round_choice {
    int topic;
    int difficulty;
    std::vector<fact_family> families;  // none: the topic's set at the difficulty
    std::string named;                  // the families as the player named them
};

std::vector<practice_row> history() {
    std::vector<practice_row> rows;
    // A file that cannot be read is a history of nothing: rounds still run,
    // with new facts.
    (void)read_practice_history(practice_path(), rows);
    return rows;
}

// The game in practice_record goes into practice.csv and its report shows;
// the history as it was, with this game added in memory, so that the report
// shows it even when the file cannot be written.
report_choice report_record(const practice_game& game, const std::string& families,
                            practice_state& state) {
    std::vector<practice_row> rows = history();
    for (int i = 0; i < practice_record_count; ++i) {
        rows.push_back({game, i + 1, practice_record_count, practice_record[i]});
    }
    const bool saved =
        append_practice_game(practice_path(), practice_record, practice_record_count, game);
    state.fluency = fluency_of(rows, game.when);
    state.listed = facts_to_practise(state.fluency, practice_next_rows);
    draw_practice_report(
        {practice_record, practice_record_count, game, families, level, state.listed, saved});
    const report_choice choice = wait_for_report_choice();
    platform_rest(500);
    return choice;
}

std::vector<arithmetic_fact> candidates_of(const round_choice& choice,
                                           const practice_state& state) {
    std::vector<arithmetic_fact> candidates(state.listed.size());
    std::transform(state.listed.begin(), state.listed.end(), candidates.begin(),
                   [](const fact_fluency& f) { return f.fact; });
    const std::vector<arithmetic_fact> more =
        choice.families.empty() ? round_candidates(choice.topic, choice.difficulty, state.fluency)
                                : facts_of_families(choice.families);
    for (const arithmetic_fact& f : more) {
        if (std::find(candidates.begin(), candidates.end(), f) == candidates.end()) {
            candidates.push_back(f);
        }
    }
    return candidates;
}

// Rounds, one after another while the player asks for another from the
// report, then the fact map. The random generator is put back where it
// stood before each round, so a round changes no draw of a game after it.
void fly_rounds(const round_choice& choice, practice_state& state) {
    for (;;) {
        const unsigned int position = rand15_position();
        practice_round round{};
        round.topic = choice.topic;
        round.difficulty = choice.difficulty;
        round.families = choice.named;
        round.queue = plan_round(candidates_of(choice, state), state.fluency);
        // Room for every comeback, so nothing is allocated in flight.
        round.queue.reserve(round.queue.size() * (1 + round_comebacks));
        round.brought_back.reserve(round.queue.size() * round_comebacks);
        const bool finished = !round.queue.empty() && fly_round(round);
        seed_rand15(position);
        if (!finished) {
            return;
        }
        const practice_game game{std::time(nullptr), round.difficulty, round.topic, true};
        if (report_record(game, round.families, state) != report_practise) {
            show_fact_map(state.fluency, game.topic, game.difficulty, game.when);
            return;
        }
    }
}

}  // namespace

void show_practice_report() {
    const practice_game game{std::time(nullptr), difficulty, topic, false};
    practice_state state;
    switch (report_record(game, "", state)) {
        case report_go_on:
            return;
        case report_fact_map:
            show_fact_map(state.fluency, game.topic, game.difficulty, game.when);
            return;
        case report_practise:
            fly_rounds({game.topic, game.difficulty, {}, ""}, state);
            return;
    }
}

void practise_from_command_line(const std::vector<fact_family>& families,
                                const std::string& named) {
    const std::vector<practice_row> rows = history();
    practice_state state;
    state.fluency = fluency_of(rows, std::time(nullptr));
    round_choice choice{1, 1, families, named};
    if (!families.empty()) {
        const std::vector<arithmetic_fact> facts = facts_of_families(families);
        const bool one_operation =
            std::all_of(families.begin(), families.end(),
                        [&](const fact_family& f) { return f.operation == families[0].operation; });
        choice.topic = one_operation ? families[0].operation : 5;
        choice.difficulty = difficulty_for(facts);
    } else {
        // The latest game, else the latest round.
        const practice_row* latest_of[2] = {nullptr, nullptr};
        for (const practice_row& row : rows) {
            const practice_row*& latest = latest_of[row.game.round ? 1 : 0];
            if (latest == nullptr || row.game.when >= latest->game.when) {
                latest = &row;
            }
        }
        const practice_row* latest = latest_of[0] != nullptr ? latest_of[0] : latest_of[1];
        if (latest != nullptr) {
            choice.topic = latest->game.topic;
            choice.difficulty = latest->game.difficulty;
        }
    }
    fly_rounds(choice, state);
}
