// The game's high-score save under kill -9 (test_score_writer_kill.sh).
// "write" saves tables N, N+1, ... for ever, printing each number once its
// save has returned; "check" exits 0 when hiscores.dat holds table N or N+1
// and prints which. Table g has 100000 + g at rank 1, beyond the ten
// classic bytes, and the name G and g, so only a whole extension shows it.
// "record" enters score N as a finished game does and says whether it was
// saved, waiting PATIENCE ms at most for the lock; "list" prints the
// table's scores (test_scores_saved_at_once.sh).
//   refuel_score_writer write|check|record|list FOLDER N [PATIENCE]
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "high_score_table.h"

namespace {

void set_table(long g) {
    const unsigned tag = static_cast<unsigned>(g % 1000000);  // six digits fit a name
    for (int rank = 0; rank < high_score_count; ++rank) {
        high_scores[rank] = rank == 0 ? static_cast<int>(100000 + tag) : 10000 - 1000 * rank;
        const std::string name = rank == 0 ? "G" + std::to_string(tag) : "L" + std::to_string(rank);
        std::snprintf(high_score_names[rank], sizeof high_score_names[rank], "%.7s", name.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || chdir(argv[2]) != 0) {
        std::fprintf(stderr, "usage: refuel_score_writer write|check|record|list FOLDER N\n");
        return 2;
    }
    long g = std::strtol(argv[3], nullptr, 10);
    const std::string action = argv[1];
    if (action == "record" || action == "list") {
        load_high_scores();
        high_score_lock_patience_ms = argc > 4 ? std::atoi(argv[4]) : high_score_lock_patience_ms;
        bool saved = true;
        const int rank = action == "list" ? 0 : record_high_score(static_cast<int>(g), "C", saved);
        for (const int score : high_scores) {
            std::printf("%d ", score);
        }
        std::puts(rank >= 0 && saved ? "saved" : "unsaved");
        return rank >= 0 && saved ? 0 : 1;
    }
    if (action == "write") {
        // dprintf writes at once: the number is out before the next save starts.
        for (set_table(g); save_high_scores(); set_table(++g)) {
            dprintf(1, "%ld\n", g);
        }
        return 1;
    }
    load_high_scores();
    int scores[high_score_count];
    char names[high_score_count][high_score_name_length + 1];
    std::memcpy(scores, high_scores, sizeof scores);
    std::memcpy(names, high_score_names, sizeof names);
    for (const long t : {g, g + 1}) {
        set_table(t);
        bool same = true;
        for (int rank = 0; rank < high_score_count; ++rank) {
            same = same && scores[rank] == high_scores[rank] &&
                   std::strcmp(names[rank], high_score_names[rank]) == 0;
        }
        if (same) {
            std::puts(t == g ? "old" : "new");
            return 0;
        }
    }
    std::printf("neither: rank 1 holds %d \"%s\"\n", scores[0], names[0]);
    return 1;
}
