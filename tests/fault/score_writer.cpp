// The high-score writer under kill -9: run_score_writer_kill.sh starts this
// in a loop and kills it at random moments; after every kill hiscores.dat
// must hold the last table reported saved or the one after it, never a mix,
// a torn file or nothing.
//
//   refuel_score_writer write FOLDER FIRST   saves tables FIRST, FIRST+1, ...
//                                            for ever, printing each number
//                                            once its save has returned
//   refuel_score_writer check FOLDER N       exit 0 when the file holds
//                                            table N or N+1 (prints which)
//   refuel_score_writer put FOLDER S1 NAME1 ... S5 NAME5
//                                            writes that table, as the game
//                                            would (for reference pictures)
//
// Table g has g + 100000 at rank 1, beyond the ten classic bytes, and the
// name "G" and g, so only an intact extension can show it.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "high_score_table.h"

namespace {

constexpr int lower_scores[high_score_count] = {0, 9000, 8000, 7000, 6000};

// At most six digits, so "G" and the number fit a name.
unsigned tag(long g) {
    return static_cast<unsigned>(g) % 1000000u;
}

void set_table(long g) {
    for (int rank = 0; rank < high_score_count; ++rank) {
        high_scores[rank] = lower_scores[rank];
        std::strcpy(high_score_names[rank], "LOWER");
    }
    high_scores[0] = static_cast<int>(100000 + tag(g));
    std::snprintf(high_score_names[0], sizeof high_score_names[0], "G%u", tag(g));
}

bool table_is(long g) {
    char name[high_score_name_length + 1];
    std::snprintf(name, sizeof name, "G%u", tag(g));
    if (high_scores[0] != static_cast<int>(100000 + tag(g)) ||
        std::strcmp(high_score_names[0], name) != 0) {
        return false;
    }
    for (int rank = 1; rank < high_score_count; ++rank) {
        if (high_scores[rank] != lower_scores[rank] ||
            std::strcmp(high_score_names[rank], "LOWER") != 0) {
            return false;
        }
    }
    return true;
}

int write_forever(long g) {
    char line[32];
    for (;; ++g) {
        set_table(g);
        if (!save_high_scores()) {
            std::fprintf(stderr, "save %ld failed\n", g);
            return 1;
        }
        // write(2), not stdio: the number is out before the next save starts.
        const int n = std::snprintf(line, sizeof line, "%ld\n", g);
        if (write(1, line, static_cast<std::size_t>(n)) != n) {
            return 1;
        }
    }
}

int check(long g) {
    load_high_scores();
    if (table_is(g)) {
        std::printf("old\n");
        return 0;
    }
    if (table_is(g + 1)) {
        std::printf("new\n");
        return 0;
    }
    std::printf("neither: rank 1 holds %d \"%s\"\n", high_scores[0], high_score_names[0]);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 + 2 * high_score_count && std::string(argv[1]) == "put" && chdir(argv[2]) == 0) {
        for (int rank = 0; rank < high_score_count; ++rank) {
            high_scores[rank] = std::atoi(argv[3 + 2 * rank]);
            std::snprintf(high_score_names[rank], sizeof high_score_names[rank], "%s",
                          argv[4 + 2 * rank]);
        }
        return save_high_scores() ? 0 : 1;
    }
    if (argc != 4 || chdir(argv[2]) != 0) {
        std::fprintf(stderr,
                     "usage: refuel_score_writer write|check FOLDER NUMBER | put FOLDER ...\n");
        return 2;
    }
    const std::string mode = argv[1];
    const long g = std::strtol(argv[3], nullptr, 10);
    if (mode == "write") {
        return write_forever(g);
    }
    if (mode == "check") {
        return check(g);
    }
    return 2;
}
