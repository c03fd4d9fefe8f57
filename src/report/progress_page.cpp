#include "progress_page.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <numeric>

#include "fact_map.h"
#include "player_report.h"
#include "practice_report_text.h"
#include "practice_calendar.h"
#include "practice_palette.h"
#include "practice_texts.h"

namespace {

constexpr const char* state_names[5] = {"new", "to learn", "slow lately", "known",
                                        "due for review"};
constexpr fact_state legend_order[5] = {fact_known, fact_due, fact_slow, fact_to_learn, fact_new};

// Self-contained: the style is in the page, and nothing is fetched.
const char* const page_style = R"(
body{font-family:sans-serif;color:#14182a;margin:0 auto;max-width:190mm;padding:8px;font-size:11pt}
h1{font-size:18pt;margin:0 0 4px}h2{font-size:15pt;margin:0 0 4px;color:#1d2a66}
h3{font-size:11pt;margin:8px 0 2px}p{margin:2px 0}
table{border-collapse:collapse;margin:4px 0}td,th{padding:1px 6px;text-align:right}
td:first-child,th:first-child{text-align:left}thead th{border-bottom:1px solid #888}
.fault{color:#a01010}.note{color:#555;font-size:9pt}
.player{border-top:2px solid #1d2a66;margin-top:12px;padding-top:6px}
.maps{display:flex;flex-wrap:wrap;gap:4px}.map{width:48%}.map svg{width:100%;height:auto}
svg text{font-family:sans-serif}
.chart svg{width:100%;height:auto}
@page{size:A4;margin:12mm}
@media print{body{max-width:none;padding:0;font-size:10pt}
.player{break-before:page;border-top:none;margin-top:0}.map{width:32%}
.map,.chart,table{break-inside:avoid}}
)";

// Appends printf's text of the format and the values.
template <typename... Values>
void add(std::string& out, const char* format, Values... values) {
    char text[512];
    const int n = std::snprintf(text, sizeof text, format, values...);
    if (n >= static_cast<int>(sizeof text)) {
        std::string longer(static_cast<std::size_t>(n) + 1, '\0');
        (void)std::snprintf(longer.data(), longer.size(), format, values...);
        out.append(longer.data(), static_cast<std::size_t>(n));
    } else if (n > 0) {
        out.append(text, static_cast<std::size_t>(n));
    }
}

// "#rrggbb" of a colour the screens use.
std::string hex_colour(const practice_colour& c) {
    char text[8];
    (void)std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r & 255, c.g & 255, c.b & 255);
    return text;
}

// Ticks summed whole, shown to the nearest second under a minute and to the
// nearest minute above.
std::string duration_text(long long ticks) {
    char text[32];
    const long long seconds = (ticks + 50) / 100;
    const long long minutes = (ticks + 3000) / 6000;
    if (seconds < 60) {
        (void)std::snprintf(text, sizeof text, "%lld s", seconds);
    } else if (minutes < 60) {
        (void)std::snprintf(text, sizeof text, "%lld min", minutes);
    } else {
        (void)std::snprintf(text, sizeof text, "%lld h %02lld min", minutes / 60, minutes % 60);
    }
    return text;
}

// The mark of a state in a square at (x, y) of side s, as on screen.
void add_mark(std::string& out, fact_state state, double x, double y, double s) {
    const double m = std::max(1.5, s / 3);
    const double cx = x + s / 2;
    const double cy = y + s / 2;
    const std::string ink_text = hex_colour(fact_state_inks[state]);
    const char* ink = ink_text.c_str();
    const double w = std::max(1.0, s / 9);
    switch (state) {
        case fact_new:
            add(out, R"(<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" fill="%s"/>)", cx - w,
                cy - w, 2 * w, 2 * w, ink);
            break;
        case fact_to_learn:
            add(out,
                R"(<path d="M%.1f %.1fL%.1f %.1fM%.1f %.1fL%.1f %.1f" stroke="%s" stroke-width="%.1f"/>)",
                cx - m, cy - m, cx + m, cy + m, cx - m, cy + m, cx + m, cy - m, ink, 1.5 * w);
            break;
        case fact_slow:
            add(out, R"(<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" fill="%s"/>)", cx - m,
                cy - w, 2 * m, 2 * w, ink);
            break;
        case fact_known:
            add(out,
                R"(<path d="M%.1f %.1fL%.1f %.1fL%.1f %.1f" fill="none" stroke="%s" stroke-width="%.1f"/>)",
                cx - m, cy, cx - m / 3, cy + m, cx + m, cy - m, ink, 1.5 * w);
            break;
        case fact_due:
            add(out,
                R"(<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" fill="none" stroke="%s" stroke-width="%.1f"/>)",
                cx - m, cy - m, 2 * m, 2 * m, ink, 1.5 * w);
            break;
    }
}

void add_cell(std::string& out, const std::array<int, 5>& counts, double x, double y, double s,
              bool grouped) {
    const int total = std::accumulate(counts.begin(), counts.end(), 0);
    if (total == 0) {
        return;
    }
    const double inner = s - 2;
    if (grouped) {
        int done = 0;
        double left = 0;
        for (const fact_state state : fact_share_order) {
            done += counts[state];
            const double right = inner * done / total;
            if (right > left) {
                add(out, R"(<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" fill="%s"/>)",
                    x + 1 + left, y + 1, right - left, inner,
                    hex_colour(fact_state_fills[state]).c_str());
            }
            left = right;
        }
    } else {
        add(out, R"(<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" fill="%s"/>)", x + 1, y + 1,
            inner, inner, hex_colour(fact_state_fills[main_state(counts)]).c_str());
    }
    add_mark(out, main_state(counts), x + 1, y + 1, inner);
}

void add_map(std::string& out, const map_figures& figures) {
    const fact_map& map = figures.map;
    const int rows = std::max<int>(1, static_cast<int>(map.rows.low.size()));
    const int columns = std::max<int>(1, static_cast<int>(map.columns.low.size()));
    const double s = std::min(24.0, 300.0 / std::max(rows, columns));
    const double left = 40;
    const double top = 18;
    const double width = left + columns * s + 4;
    const double height = top + rows * s + 4;
    const bool grouped = map.rows.grouped || map.columns.grouped;
    add(out, R"(<div class="map"><h3>%s, difficulty %d: %s</h3>)", topic_name(map.operation),
        map.difficulty, map_counts_text(figures).c_str());
    add(out,
        R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 %.0f %.0f" role="img" aria-label="fact map of %s"><rect width="%.0f" height="%.0f" fill="#141a30"/>)",
        width, height, topic_name(map.operation), width, height);
    const double font = std::max(6.0, std::min(11.0, s * 0.6));
    add(out,
        R"(<text x="%.1f" y="%.1f" fill="#ffb43c" font-size="%.1f" text-anchor="middle">%s</text>)",
        left / 2, top - 5, font + 1, html_escaped(operation_sign(map.operation)).c_str());
    for (std::size_t c = 0; c < map.columns.low.size(); ++c) {
        const std::string label =
            map.columns.grouped ? std::to_string(map.columns.low[c]) : axis_label(map.columns, c);
        add(out,
            R"(<text x="%.1f" y="%.1f" fill="#96a0c8" font-size="%.1f" text-anchor="middle">%s</text>)",
            left + (static_cast<double>(c) + 0.5) * s, top - 5, font, label.c_str());
    }
    for (std::size_t r = 0; r < map.rows.low.size(); ++r) {
        const double y = top + static_cast<double>(r) * s;
        add(out,
            R"(<text x="%.1f" y="%.1f" fill="#96a0c8" font-size="%.1f" text-anchor="end">%s</text>)",
            left - 4, y + s / 2 + font / 3, font, axis_label(map.rows, r).c_str());
        for (std::size_t c = 0; c < map.columns.low.size(); ++c) {
            add_cell(out, map_cell(map, static_cast<int>(r), static_cast<int>(c)),
                     left + static_cast<double>(c) * s, y, s, grouped);
        }
    }
    out += "</svg>";
    add(out, R"(<p class="note">%s%s</p></div>)", html_escaped(map_reading(map.operation)).c_str(),
        grouped ? "; grouped in tens, each cell showing the share of its facts in each state" : "");
}

void add_legend(std::string& out) {
    out += R"(<p class="note">)";
    for (const fact_state state : legend_order) {
        out +=
            R"(<svg xmlns="http://www.w3.org/2000/svg" width="14" height="14" viewBox="0 0 16 16">)";
        add(out, R"(<rect width="16" height="16" fill="%s"/>)",
            hex_colour(fact_state_fills[state]).c_str());
        add_mark(out, state, 0, 0, 16);
        add(out, "</svg> %s &nbsp; ", state_names[state]);
    }
    out += "</p>";
}

void add_chart(std::string& out, const player_figures& f, std::time_t now) {
    const std::vector<int>& known = f.known_by_week;
    const int weeks = static_cast<int>(known.size());
    const int most = std::max(1, *std::max_element(known.begin(), known.end()));
    const double left = 36;
    const double top = 10;
    const double w = 600;
    const double h = 120;
    add(out,
        R"(<div class="chart"><h3>Facts known, week by week</h3><svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 %.0f %.0f" role="img" aria-label="facts known week by week">)",
        left + w + 10, top + h + 24);
    add(out, R"(<path d="M%.0f %.0fV%.0fH%.0f" fill="none" stroke="#888"/>)", left, top, top + h,
        left + w);
    add(out, R"(<text x="%.0f" y="%.0f" font-size="10" text-anchor="end">%d</text>)", left - 4,
        top + 8, most);
    add(out, R"(<text x="%.0f" y="%.0f" font-size="10" text-anchor="end">0</text>)", left - 4,
        top + h);
    // Bars no wider than a chart of eight weeks gives them.
    const double step = w / std::max(weeks, 8);
    for (int i = 0; i < weeks; ++i) {
        const double bar = h * known[static_cast<std::size_t>(i)] / most;
        add(out, R"(<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" fill="#5f82eb"/>)",
            left + i * step + step * 0.15, top + h - bar, step * 0.7, bar);
    }
    add(out, R"(<text x="%.0f" y="%.0f" font-size="10">week to %s</text>)", left, top + h + 16,
        day_text(f.first_week_end).c_str());
    add(out, R"(<text x="%.0f" y="%.0f" font-size="10" text-anchor="end">week to %s</text>)",
        left + weeks * step, top + h + 16, day_text(now).c_str());
    out += "</svg>";
    if (std::all_of(known.begin(), known.end(), [](int n) { return n == 0; })) {
        out += R"(<p class="note">No fact known yet: a fact is known once it is answered )"
               R"(right within 3 s.</p>)";
    }
    out += "</div>";
}

void add_operations(std::string& out, const player_figures& f) {
    out +=
        "<h3>Operations, last 30 days</h3><table><thead><tr><th>operation</th>"
        "<th>canisters</th><th>right</th><th>median time</th></tr></thead><tbody>";
    for (int op = 1; op <= 4; ++op) {
        const operation_figures& o = f.operations[static_cast<std::size_t>(op)];
        const operation_cells c = cells_of(o);
        add(out, "<tr><td>%s</td><td>%d</td><td>%s</td><td>%s</td></tr>", topic_name(op),
            o.canisters, c.share, c.median);
    }
    out += "</tbody></table>";
}

void add_facts(std::string& out, const std::vector<fact_fluency>& facts) {
    out += "<h3>Facts to practise</h3>";
    if (facts.empty()) {
        out += "<p>None: every fact played is known.</p>";
        return;
    }
    out +=
        "<table><thead><tr><th>fact</th><th>state</th><th>wrong or missed (30 days)</th>"
        "<th>latest time</th></tr></thead><tbody>";
    for (const fact_fluency& f : facts) {
        char text[64];
        char latest[32];
        fact_text(text, sizeof text, f.fact);
        time_text(latest, sizeof latest, f.latest_ticks);
        add(out, "<tr><td>%s</td><td>%s</td><td>%d</td><td>%s</td></tr>",
            html_escaped(text).c_str(), state_names[f.state], f.recent_misses, latest);
    }
    out += "</tbody></table>";
}

void add_player(std::string& out, const player_history& p, std::size_t index, std::time_t now) {
    const player_figures& f = p.figures;
    add(out, R"(<section class="player" id="player%zu"><h2>%s</h2>)", index + 1,
        html_escaped(p.name).c_str());
    add(out,
        "<p>Last 30 days: %d games, %d practice rounds, %s on the canisters (%s in all). "
        "Last played: %s.</p>",
        f.games, f.rounds, duration_text(f.ticks_in_window).c_str(),
        duration_text(f.ticks_in_all).c_str(), day_text(f.last_played).c_str());
    add(out, R"(<p class="note">From %s</p>)", html_escaped(shown_path(p.path)).c_str());
    if (p.unread > 0) {
        add(out, R"(<p class="note">Lines that could not be read: %d</p>)", p.unread);
    }
    if (p.rows.empty()) {
        out += "<p>No games yet.</p></section>";
        return;
    }
    add_operations(out, f);
    add_chart(out, f, now);
    add_facts(out, f.to_practise);
    out += "<h3>Fact maps</h3>";
    add_legend(out);
    out += R"(<div class="maps">)";
    for (const map_figures& m : f.maps) {
        add_map(out, m);
    }
    out += "</div></section>";
}

}  // namespace

std::string html_escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string progress_page(const std::vector<player_history>& players, const std::string& from,
                          std::time_t now) {
    std::string out;
    out.reserve(std::size_t{64} * 1024 * (players.size() + 1));
    out += "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">";
    out += "<meta name=\"viewport\" content=\"width=device-width\">";
    add(out, "<title>Refuel progress report, %s</title><style>", day_text(now).c_str());
    out += page_style;
    out += "</style></head><body>";
    add(out, "<h1>Refuel progress report</h1><p>The %d days to %s. From %s.</p>",
        practice_window_days, day_text(now).c_str(), html_escaped(shown_path(from)).c_str());
    out +=
        "<table><thead><tr><th>player</th><th>games</th><th>rounds</th><th>known +</th>"
        "<th>known &minus;</th><th>known &times;</th><th>known &divide;</th><th>to learn</th>"
        "<th>last played</th></tr></thead><tbody>";
    for (const player_history& p : players) {
        if (!p.fault.empty()) {
            add(out, R"(<tr class="fault"><td>%s</td><td colspan="8">%s %s</td></tr>)",
                html_escaped(p.name).c_str(), html_escaped(shown_path(p.path)).c_str(),
                html_escaped(p.fault).c_str());
            continue;
        }
        const player_figures& s = p.figures;
        add(out,
            "<tr><td>%s</td><td>%d</td><td>%d</td><td>%d</td><td>%d</td><td>%d</td><td>%d</td>"
            "<td>%d</td><td>%s</td></tr>",
            html_escaped(p.name).c_str(), s.games, s.rounds, s.known[1], s.known[2], s.known[3],
            s.known[4], s.to_learn, day_text(s.last_played).c_str());
    }
    out += "</tbody></table>";
    for (std::size_t i = 0; i < players.size(); ++i) {
        if (players[i].fault.empty()) {
            add_player(out, players[i], i, now);
        }
    }
    out += "</body></html>\n";
    return out;
}
