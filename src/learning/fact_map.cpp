#include "fact_map.h"

#include <algorithm>
#include <cstdio>

#include "practice_texts.h"

const char fact_state_marks[5] = {'.', '!', '~', '#', 'o'};
const fact_state fact_share_order[5] = {fact_to_learn, fact_slow, fact_due, fact_known, fact_new};

namespace {

constexpr std::time_t seconds_per_week = std::time_t{7} * 24 * 60 * 60;

struct placed_fact {
    int row;
    int column;
    arithmetic_fact fact;
};

bool operator<(const placed_fact& x, const placed_fact& y) {
    if (x.row != y.row) {
        return x.row < y.row;
    }
    if (x.column != y.column) {
        return x.column < y.column;
    }
    return x.fact < y.fact;
}

bool operator==(const placed_fact& x, const placed_fact& y) {
    return x.row == y.row && x.column == y.column && x.fact == y.fact;
}

// Where the drawable problem a op b sits, and for + and x its mirror too.
void place(int operation, int a, int b, std::vector<placed_fact>& out) {
    const arithmetic_fact fact = fact_of(operation, a, b);
    switch (operation) {
        case 1:
        case 3:
            out.push_back({a, b, fact});
            out.push_back({b, a, fact});
            break;
        case 2:
            out.push_back({b, a - b, fact});
            break;
        default:
            out.push_back({b, a / b, fact});
            break;
    }
}

fact_map_axis make_axis(std::vector<int> values) {
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    fact_map_axis axis{{}, {}, values.size() > static_cast<std::size_t>(fact_map_longest_axis)};
    for (const int v : values) {
        const int low = axis.grouped ? v / fact_map_group * fact_map_group : v;
        if (axis.low.empty() || axis.low.back() != low) {
            axis.low.push_back(low);
            axis.high.push_back(v);
        }
        axis.high.back() = v;
    }
    return axis;
}

int index_on(const fact_map_axis& axis, int value) {
    const auto it = std::upper_bound(axis.low.begin(), axis.low.end(), value);
    return static_cast<int>(it - axis.low.begin()) - 1;
}

}  // namespace

fact_map make_fact_map(int operation, int difficulty, const std::vector<fact_fluency>& fluency,
                       std::time_t now) {
    std::vector<placed_fact> placed;
    for (const arithmetic_fact& f : facts_of_set(operation, difficulty)) {
        place(operation, f.operand_a, f.operand_b, placed);
    }
    std::vector<int> row_values;
    std::vector<int> column_values;
    for (const placed_fact& p : placed) {
        row_values.push_back(p.row);
        column_values.push_back(p.column);
    }
    fact_map map{operation, difficulty, make_axis(row_values), make_axis(column_values), {}, 0,
                 0,         0};
    const std::size_t columns = map.columns.low.size();
    map.cells.assign(map.rows.low.size() * columns, {});
    // A fact counts once in a cell, however many of its places fall there.
    for (placed_fact& p : placed) {
        p.row = index_on(map.rows, p.row);
        p.column = index_on(map.columns, p.column);
    }
    std::sort(placed.begin(), placed.end());
    placed.erase(std::unique(placed.begin(), placed.end()), placed.end());
    for (const placed_fact& p : placed) {
        const fact_state state = state_of(fluency, p.fact);
        map.cells[static_cast<std::size_t>(p.row) * columns + static_cast<std::size_t>(p.column)]
                 [state] += 1;
    }
    for (const arithmetic_fact& f : facts_of_set(operation, difficulty)) {
        map.facts += 1;
        const fact_fluency* known = find_fluency(fluency, f);
        if (known != nullptr && known->state == fact_known) {  // fluent
            map.known += 1;
            map.known_this_week += known->known_since > now - seconds_per_week ? 1 : 0;
        }
    }
    return map;
}

const std::array<int, 5>& map_cell(const fact_map& map, int row, int column) {
    return map.cells[static_cast<std::size_t>(row) * map.columns.low.size() +
                     static_cast<std::size_t>(column)];
}

fact_state main_state(const std::array<int, 5>& counts) {
    constexpr fact_state urgency[5] = {fact_to_learn, fact_slow, fact_due, fact_new, fact_known};
    fact_state best = fact_new;
    int most = -1;
    for (const fact_state s : urgency) {
        if (counts[s] > most) {
            most = counts[s];
            best = s;
        }
    }
    return best;
}

const char* map_reading(int operation) {
    switch (operation) {
        case 1:
            return "each cell: row + column";
        case 2:
            return "each cell: (row + column) - row, so 5-3 is at row 3, column 2";
        case 3:
            return "each cell: row x column";
        default:
            return "each cell: (row x column) / row, so 12/3 is at row 3, column 4";
    }
}

std::string axis_label(const fact_map_axis& axis, std::size_t i) {
    char text[32];
    if (axis.low[i] == axis.high[i]) {
        (void)std::snprintf(text, sizeof text, "%d", axis.low[i]);
    } else {
        (void)std::snprintf(text, sizeof text, "%d-%d", axis.low[i], axis.high[i]);
    }
    return text;
}

std::string fact_map_text(const fact_map& map) {
    std::size_t width = 1;
    for (const fact_map_axis* axis : {&map.rows, &map.columns}) {
        for (std::size_t i = 0; i < axis->low.size(); ++i) {
            width = std::max(width, axis_label(*axis, i).size());
        }
    }
    const int cell = static_cast<int>(width) + 1;
    char line[64];
    std::string out;
    (void)std::snprintf(line, sizeof line, "%*s", cell, operation_sign(map.operation));
    out += line;
    for (std::size_t c = 0; c < map.columns.low.size(); ++c) {
        (void)std::snprintf(line, sizeof line, "%*s", cell, axis_label(map.columns, c).c_str());
        out += line;
    }
    out += "\n";
    for (std::size_t r = 0; r < map.rows.low.size(); ++r) {
        (void)std::snprintf(line, sizeof line, "%*s", cell, axis_label(map.rows, r).c_str());
        out += line;
        for (std::size_t c = 0; c < map.columns.low.size(); ++c) {
            const std::array<int, 5>& counts =
                map_cell(map, static_cast<int>(r), static_cast<int>(c));
            const bool in_set = counts[0] + counts[1] + counts[2] + counts[3] + counts[4] > 0;
            (void)std::snprintf(line, sizeof line, "%*c", cell,
                                in_set ? fact_state_marks[main_state(counts)] : ' ');
            out += line;
        }
        // No blanks at the end of a line.
        out.erase(out.find_last_not_of(' ') + 1);
        out += "\n";
    }
    return out;
}
