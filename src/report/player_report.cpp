#include "player_report.h"

#include <algorithm>
#include <cstdio>

#include "practice_calendar.h"
#include "practice_report_text.h"

std::string shown_path(const std::string& path) {
    std::string out;
    for (const char c : path) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x7f || c == '\\') {
            char text[8];
            (void)std::snprintf(text, sizeof text, c == '\\' ? "\\\\" : "\\x%02X", u);
            out += text;
        } else {
            out += c;
        }
    }
    return out;
}

std::string day_text(std::time_t when) {
    char day[32] = "never";
    std::tm local{};
    if (when != 0 && localtime_r(&when, &local) != nullptr) {
        (void)std::strftime(day, sizeof day, "%Y-%m-%d", &local);
    }
    return day;
}

int print_player_report(std::FILE* out, std::FILE* err, const std::vector<player_history>& players,
                        const std::string& from, std::time_t now) {
    (void)std::fprintf(out, "Refuel practice report: the %d days to %s\n", practice_window_days,
                       day_text(now).c_str());
    (void)std::fprintf(out, "From %s\n\n", shown_path(from).c_str());
    (void)std::fprintf(out, "%-14s %5s %6s %5s %5s %5s %5s %8s  %s\n", "player", "games", "rounds",
                       "+", "-", "x", "/", "to learn", "last played");
    (void)std::fprintf(out, "%46s\n", "(facts known)");  // over + - x /
    int status = 0;
    for (const player_history& p : players) {
        if (!p.fault.empty()) {
            const std::string path = shown_path(p.path);
            (void)std::fprintf(out, "%-14s %s %s\n", p.name.c_str(), path.c_str(), p.fault.c_str());
            (void)std::fprintf(err, "refuel: %s: %s %s\n", p.name.c_str(), path.c_str(),
                               p.fault.c_str());
            status = 1;
            continue;
        }
        const player_figures& s = p.figures;
        (void)std::fprintf(out, "%-14s %5d %6d %5d %5d %5d %5d %8d  %s\n", p.name.c_str(), s.games,
                           s.rounds, s.known[1], s.known[2], s.known[3], s.known[4], s.to_learn,
                           day_text(s.last_played).c_str());
    }
    for (std::size_t i = 0; i < players.size(); ++i) {
        if (players[i].fault.empty()) {
            (void)std::fprintf(out, "\n== %s (%s) ==\n", players[i].name.c_str(),
                               shown_path(players[i].path).c_str());
            if (players[i].unread > 0) {
                (void)std::fprintf(out, "Lines that could not be read: %d\n", players[i].unread);
            }
            (void)std::fprintf(out, "\n");
            print_practice_part(out, players[i].figures);
        }
    }
    if (std::fflush(out) != 0 || std::ferror(out) != 0) {
        (void)std::fprintf(err, "refuel: the report could not be written\n");
        return 1;
    }
    return status;
}
