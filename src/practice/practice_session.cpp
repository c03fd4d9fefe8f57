#include "practice_session.h"

#include <algorithm>
#include <ctime>

#include "fact_fluency.h"
#include "fact_map_screen.h"
#include "game_loop.h"
#include "keyboard_random_clock.h"
#include "platform.h"
#include "players.h"
#include "practice_csv.h"
#include "practice_file.h"
#include "practice_record.h"
#include "practice_screen.h"
#include "round_engine.h"
#include "round_flight.h"
#include "settings_menus.h"

namespace {

std::vector<practice_row> history() {
    std::vector<practice_row> rows;
    // A file that cannot be read is a history of nothing: rounds still run,
    // with new facts.
    (void)read_practice_history(practice_path(), rows);
    return rows;
}

// The facts never met that PRACTISE NEXT may list: those of the families,
// or of the topic's small sets; a large set has too many to name.
std::vector<arithmetic_fact> unmet_candidates(const round_request& what) {
    if (!what.families.empty()) {
        return facts_of_families(what.families);
    }
    std::vector<arithmetic_fact> facts;
    for (int operation = 1; operation <= 4 && what.difficulty <= 2; ++operation) {
        if (what.topic == operation || what.topic == 5) {
            const std::vector<arithmetic_fact> set = facts_of_set(operation, what.difficulty);
            facts.insert(facts.end(), set.begin(), set.end());
        }
    }
    return facts;
}

// The game in practice_record goes into practice.csv and its report shows;
// the history as it was, with this game added in memory, so that the report
// shows it even when the file cannot be written. M on the report shows the
// fact map, and Enter there comes back to the report, its keys as before.
// 0 for Enter or N on the report; -1 for P there, the facts it listed left
// in `listed`; 1..4 for P on the map, a round of the operation it showed.
// The fluency is left in `fluency`, for the fact map after a round.
int report_record(const practice_game& game, const round_request& what,
                  std::vector<fact_fluency>& fluency, std::vector<arithmetic_fact>& listed) {
    std::vector<practice_row> rows = history();
    for (int i = 0; i < practice_record_count; ++i) {
        rows.push_back({game, i + 1, practice_record_count, practice_record[i]});
    }
    const bool saved =
        append_practice_game(practice_path(), practice_record, practice_record_count, game);
    fluency = fluency_of(rows, game.when);
    // After a round of named families, the list keeps to them.
    std::vector<fact_fluency> within = fluency;
    if (!what.families.empty()) {
        const std::vector<arithmetic_fact> named = facts_of_families(what.families);
        within.erase(std::remove_if(within.begin(), within.end(),
                                    [&](const fact_fluency& f) {
                                        return std::find(named.begin(), named.end(), f.fact) ==
                                               named.end();
                                    }),
                     within.end());
    }
    const std::vector<fact_fluency> next =
        facts_to_practise(within, practice_next_rows, unmet_candidates(what));
    listed.resize(next.size());
    std::transform(next.begin(), next.end(), listed.begin(),
                   [](const fact_fluency& f) { return f.fact; });
    const practice_report report{
        practice_record, practice_record_count, game, what.named, level, next, saved};
    for (;;) {
        draw_practice_report(report);
        const report_choice choice = wait_for_report_choice();
        platform_rest(500);
        if (choice != report_fact_map) {
            return choice == report_practise ? -1 : 0;
        }
        const int operation = show_fact_map(fluency, game.topic, game.difficulty, game.when, true);
        if (operation != 0) {
            return operation;
        }
    }
}

// Rounds, one after another while the player asks for another from the
// report or from the fact map (of the operation it shows). The random
// generator is put back where it stood before each round, so a round
// changes no draw of a game after it. A round left with Escape keeps the
// canisters played and goes back to the menu.
void fly_rounds(round_request what) {
    for (;;) {
        const unsigned int position = rand15_position();
        practice_round round = plan_next_round(history(), what, std::time(nullptr), rand15);
        const bool finished = !round.queue.empty() && fly_round(round);
        seed_rand15(position);
        const practice_game game{std::time(nullptr), round.difficulty, round.topic, true};
        if (!finished) {
            (void)append_practice_game(practice_path(), practice_record, practice_record_count,
                                       game);
            return;
        }
        std::vector<fact_fluency> fluency;
        std::vector<arithmetic_fact> listed;
        const int outcome = report_record(game, what, fluency, listed);
        if (outcome < 0) {
            what.first = listed;  // P: these facts
            continue;
        }
        // Enter on the report: the round's fact map, whose Enter goes on.
        const int operation =
            outcome > 0 ? outcome
                        : show_fact_map(fluency, game.topic, game.difficulty, game.when, false);
        if (operation == 0) {
            return;
        }
        what = {operation, game.difficulty, {}, "", {}};
    }
}

}  // namespace

void show_practice_report() {
    const practice_game game{std::time(nullptr), difficulty, topic, false};
    const round_request what{game.topic, game.difficulty, {}, "", {}};
    std::vector<fact_fluency> fluency;
    std::vector<arithmetic_fact> listed;
    const int outcome = report_record(game, what, fluency, listed);
    if (outcome < 0) {
        fly_rounds({game.topic, game.difficulty, {}, "", listed});  // P: these facts
    } else if (outcome > 0) {
        fly_rounds({outcome, game.difficulty, {}, "", {}});  // P on the map
    }
}

void keep_left_game() {
    const practice_game game{std::time(nullptr), difficulty, topic, false};
    (void)append_practice_game(practice_path(), practice_record, practice_record_count, game);
}

void practise_from_command_line(const std::vector<fact_family>& families,
                                const std::string& named) {
    fly_rounds(command_line_request(families, named, history(), std::time(nullptr)));
}
