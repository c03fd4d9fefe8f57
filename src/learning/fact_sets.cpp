#include "fact_sets.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <tuple>

namespace {

bool in_range(int value, int lo, int hi) {
    return value >= lo && value <= hi;
}

// The second operand of addition and subtraction at difficulty 3: a small
// number or a round ten.
bool small_or_round_ten(int b) {
    return in_range(b, 0, 15) || (in_range(b, 0, 100) && b % 10 == 0);
}

bool draws_sum(int difficulty, int a, int b) {
    switch (difficulty) {
        case 1:
            return in_range(a, 1, 10) && in_range(b, 1, 10) && a + b <= 10;
        case 2:
            return in_range(a, 0, 20) && in_range(b, 0, 20) && a + b <= 20;
        case 3:
            return small_or_round_ten(b) && in_range(a, 0, 100) && a + b <= 100;
        default:
            return in_range(a, 0, 100) && in_range(b, 0, 100);
    }
}

// The minuend is the subtrahend plus a draw of its own.
bool draws_difference(int difficulty, int a, int b) {
    const int rest = a - b;
    switch (difficulty) {
        case 1:
            return in_range(b, 1, 10) && in_range(rest, 1, 10) && a <= 10;
        case 2:
            return in_range(b, 0, 20) && in_range(rest, 0, 20) && a <= 20;
        case 3:
            return small_or_round_ten(b) && in_range(rest, 0, 100) && a <= 100;
        default:
            return in_range(b, 0, 100) && in_range(rest, 0, 100);
    }
}

// Multiplication and division share the second operand's range.
bool draws_second_factor(int difficulty, int b) {
    return in_range(b, 1, difficulty == 1 ? 3 : difficulty == 2 ? 10 : 15);
}

bool draws_product(int difficulty, int a, int b) {
    if (!draws_second_factor(difficulty, b)) {
        return false;
    }
    switch (difficulty) {
        case 1:
            return in_range(a, 1, 10);
        case 2:
            return in_range(a, 0, 10);
        case 3:
            return in_range(a, 0, 15);
        default:
            return in_range(a, 0, 100) && !(b > 10 && a * b > 200);
    }
}

// The dividend is the divisor times a draw of its own.
bool draws_quotient(int difficulty, int a, int b) {
    if (!draws_second_factor(difficulty, b) || a % b != 0) {
        return false;
    }
    const int q = a / b;
    switch (difficulty) {
        case 1:
            return in_range(q, 1, 10);
        case 2:
            return in_range(q, 0, 10);
        case 3:
            return in_range(q, 0, 15);
        default:
            return in_range(q, 0, 15) && !(b > 10 && a > 200);
    }
}

// Past every operand the generator draws (a dividend of 15x15 is the largest).
constexpr int largest_first = 225;
constexpr int largest_second = 100;

const char family_signs[] = "+-x/";

}  // namespace

const char* operator_text(int operation) {
    switch (operation) {
        case 1:
            return "+";
        case 2:
            return "-";
        case 3:
            return "x";
        case 4:
            return "/";
        default:
            return nullptr;
    }
}

bool operator==(const arithmetic_fact& x, const arithmetic_fact& y) {
    return x.operation == y.operation && x.operand_a == y.operand_a && x.operand_b == y.operand_b;
}

bool operator<(const arithmetic_fact& x, const arithmetic_fact& y) {
    return std::tie(x.operation, x.operand_a, x.operand_b) <
           std::tie(y.operation, y.operand_a, y.operand_b);
}

arithmetic_fact fact_of(int operation, int operand_a, int operand_b) {
    const bool either_order = operation == 1 || operation == 3;
    if (either_order && operand_a > operand_b) {
        return {operation, operand_b, operand_a};
    }
    return {operation, operand_a, operand_b};
}

int fact_answer(int operation, int a, int b) {
    if (a < 0 || b < 0) {
        return -1;
    }
    switch (operation) {
        case 1:
            return a <= INT_MAX - b ? a + b : -1;
        case 2:
            return a >= b ? a - b : -1;
        case 3:
            return b == 0 || a <= INT_MAX / b ? a * b : -1;
        case 4:
            return b > 0 && a % b == 0 ? a / b : -1;
        default:
            return -1;
    }
}

bool generator_draws(int operation, int difficulty, int a, int b) {
    if (!in_range(difficulty, 1, 4) || a < 0 || b < 0 || a > largest_first || b > largest_second) {
        return false;
    }
    switch (operation) {
        case 1:
            return draws_sum(difficulty, a, b);
        case 2:
            return draws_difference(difficulty, a, b);
        case 3:
            return draws_product(difficulty, a, b);
        case 4:
            return draws_quotient(difficulty, a, b);
        default:
            return false;
    }
}

bool fact_in_set(const arithmetic_fact& fact, int difficulty) {
    const bool either_order = fact.operation == 1 || fact.operation == 3;
    return generator_draws(fact.operation, difficulty, fact.operand_a, fact.operand_b) ||
           (either_order &&
            generator_draws(fact.operation, difficulty, fact.operand_b, fact.operand_a));
}

std::vector<arithmetic_fact> facts_of_set(int operation, int difficulty) {
    std::vector<arithmetic_fact> facts;
    for (int a = 0; a <= largest_first; ++a) {
        for (int b = 0; b <= largest_second; ++b) {
            if (generator_draws(operation, difficulty, a, b)) {
                facts.push_back(fact_of(operation, a, b));
            }
        }
    }
    std::sort(facts.begin(), facts.end());
    facts.erase(std::unique(facts.begin(), facts.end()), facts.end());
    return facts;
}

bool parse_fact_families(const std::string& text, std::vector<fact_family>& families,
                         std::string& bad) {
    families.clear();
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, comma - start);
        // X and * are taken for x, as a teacher may type them.
        const char first = item.empty() ? '\0' : item[0] == 'X' || item[0] == '*' ? 'x' : item[0];
        const char* sign = first == '\0' ? nullptr : std::strchr(family_signs, first);
        const std::string digits = item.empty() ? "" : item.substr(1);
        const bool plain = !digits.empty() && digits.size() <= 2 &&
                           digits.find_first_not_of("0123456789") == std::string::npos;
        const int operation = sign != nullptr ? static_cast<int>(sign - family_signs) + 1 : 0;
        const int number = plain ? std::stoi(digits) : -1;
        const int lowest = operation >= 3 ? 1 : 0;
        if (operation == 0 || !in_range(number, lowest, family_last_n)) {
            bad = item;
            return false;
        }
        families.push_back({operation, number});
        if (comma == text.size()) {
            return true;
        }
        start = comma + 1;
    }
}

std::vector<arithmetic_fact> facts_of_families(const std::vector<fact_family>& families) {
    std::vector<arithmetic_fact> facts;
    for (const fact_family& f : families) {
        for (int n = 0; n <= family_last_n; ++n) {
            const int k = f.number;
            const arithmetic_fact fact = f.operation == 1   ? fact_of(1, k, n)
                                         : f.operation == 2 ? fact_of(2, n + k, k)
                                         : f.operation == 3 ? fact_of(3, k, n)
                                                            : fact_of(4, n * k, k);
            if (std::find(facts.begin(), facts.end(), fact) == facts.end()) {
                facts.push_back(fact);
            }
        }
    }
    return facts;
}

int difficulty_for(const std::vector<arithmetic_fact>& facts) {
    for (int difficulty = 1; difficulty < 4; ++difficulty) {
        if (std::all_of(facts.begin(), facts.end(), [difficulty](const arithmetic_fact& f) {
                return fact_in_set(f, difficulty);
            })) {
            return difficulty;
        }
    }
    return 4;
}
