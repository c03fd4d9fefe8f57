// Any bytes as practice.csv: every row read must be a fact of the game's
// own ranges with its right answer, and there are no more rows and unread
// lines than the bytes hold lines.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fact_sets.h"
#include "practice_csv.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    int unread = 0;
    const std::vector<practice_row> rows = parse_practice_csv(bytes, size, &unread);
    const long lines = std::count(bytes, bytes + size, '\n') + 1;
    bool sane = unread >= 0 && static_cast<long>(rows.size()) + unread <= lines;
    for (const practice_row& r : rows) {
        const practice_entry& e = r.entry;
        sane = sane && r.canister >= 1 && r.canister <= r.canisters && r.game.difficulty >= 1 &&
               r.game.difficulty <= 4 && r.game.topic >= 1 && r.game.topic <= 5 && e.level >= 1 &&
               e.level <= 10 && e.result >= 0 && e.result <= 2 && e.ticks >= 0 &&
               e.answer == fact_answer(e.operation, e.operand_a, e.operand_b);
    }
    if (!sane) {
        std::abort();
    }
    return 0;
}
