#include "latest_play.h"

#include "practice_calendar.h"

std::array<int, 5> latest_difficulties(const std::vector<practice_row>& rows, std::time_t now) {
    std::array<int, 5> difficulty{};
    played_rows played(now);
    for (const practice_row& row : rows) {
        const int op = row.entry.operation;
        if (op >= 1 && op <= 4 && played.counts(row)) {
            difficulty[static_cast<std::size_t>(op)] = row.game.difficulty;
        }
    }
    return difficulty;
}
