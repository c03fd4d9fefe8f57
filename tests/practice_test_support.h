#pragma once
// Shared by the practice tests: the verdicts in short, a fixed noon to date
// a history from, and a row of one answer written as "7x8".

#include <ctime>
#include <string>

#include "practice_csv.h"
#include "practice_file.h"

constexpr int R = practice_right, W = practice_wrong, M = practice_missed;

// Noon on 2026-12-07, local time, less some days, plus some seconds.
inline std::time_t at(double days_ago, int seconds = 0) {
    std::tm noon{};
    noon.tm_year = 126, noon.tm_mon = 11, noon.tm_mday = 7, noon.tm_hour = 12, noon.tm_isdst = -1;
    return std::mktime(&noon) - static_cast<std::time_t>(days_ago * 86400) + seconds;
}

// One canister's row of a game of difficulty 1 and the fact's topic.
inline practice_row answer_row(std::time_t when, const std::string& fact, int result, int ticks) {
    const std::size_t sign = fact.find_first_of("+-x/");
    const int a = std::stoi(fact.substr(0, sign));
    const int b = std::stoi(fact.substr(sign + 1));
    const int op = static_cast<int>(std::string("+-x/").find(fact[sign])) + 1;
    const int answer = op == 1 ? a + b : op == 2 ? a - b : op == 3 ? a * b : a / b;
    practice_row row{{when, 1, op, false}, 1, 1, {1, a, op, b, answer, "", result, ticks}};
    std::snprintf(row.entry.entered, sizeof row.entry.entered, "%d",
                  result == practice_right ? answer : answer + 1);
    row.entry.entered[0] = result == practice_missed ? '\0' : row.entry.entered[0];
    return row;
}
