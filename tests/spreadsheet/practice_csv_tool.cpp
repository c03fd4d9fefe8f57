// Writes practice.csv as the game does, and reads one back, for the round
// trip through a real spreadsheet program.
//   refuel_practice_csv write FILE   a game and a round with every kind of cell
//   refuel_practice_csv read FILE    one line per row read, as the game sees it
#include <cstdio>
#include <cstring>
#include <vector>

#include "practice_csv.h"
#include "practice_file.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        return 2;
    }
    if (std::strcmp(argv[1], "write") == 0) {
        // Problems a spreadsheet could take for dates or sums, long answers,
        // times with trailing zeros.
        const practice_entry game[6] = {
            {1, 12, 4, 3, 4, "4", practice_right, 230},
            {1, 5, 2, 3, 2, "2", practice_right, 300},
            {2, 3, 1, 4, 7, "07", practice_wrong, 100},
            {2, 7, 3, 8, 56, "", practice_missed, 2501},
            {3, 1, 2, 1, 0, "012345678901234567890123456789", practice_wrong, 5},
            {3, 100, 1, 100, 200, "200", practice_right, 1000}};
        const bool ok = append_practice_game(argv[2], game, 6, {1796644800, 2, 5, false}) &&
                        append_practice_game(argv[2], game, 2, {1796648400, 3, 4, true});
        return ok ? 0 : 1;
    }
    std::vector<practice_row> rows;
    if (read_practice_history(argv[2], rows) != practice_file_read) {
        return 1;
    }
    for (const practice_row& r : rows) {
        const practice_entry& e = r.entry;
        std::printf("%lld %d %d %d %d %d %d %d %d %d %d %d %d\n",
                    static_cast<long long>(r.game.when), r.game.difficulty, r.game.topic,
                    r.game.round ? 1 : 0, r.canister, r.canisters, e.level, e.operand_a,
                    e.operation, e.operand_b, e.answer, e.result, e.ticks);
    }
    return 0;
}
