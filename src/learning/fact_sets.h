#pragma once
// The arithmetic facts a player practises: a problem with its order ignored
// for + and x (3x7 is 7x3) and as it stands for - and /; the set of facts
// the problem generator can draw for each operation and difficulty; and the
// fact families a teacher names on the command line (x2, /3, +7, -4).

#include <string>
#include <vector>

struct arithmetic_fact {
    int operation;  // 1 +, 2 -, 3 x, 4 /
    int operand_a;  // for + and x the smaller operand
    int operand_b;
};

bool operator==(const arithmetic_fact& x, const arithmetic_fact& y);
bool operator<(const arithmetic_fact& x, const arithmetic_fact& y);

// "+", "-", "x" or "/" for operations 1 to 4; nullptr for any other.
const char* operator_text(int operation);

// The fact of a problem as shown.
arithmetic_fact fact_of(int operation, int operand_a, int operand_b);
// The game's answer, or -1 for a problem it never asks: a negative
// difference, a division that is uneven or by 0, an operation outside 1..4,
// an operand below 0 or a product past what the record holds.
int fact_answer(int operation, int operand_a, int operand_b);

// Whether the generator can show operand_a op operand_b at the difficulty.
bool generator_draws(int operation, int difficulty, int operand_a, int operand_b);
// Whether it can show the fact in either of its orders.
bool fact_in_set(const arithmetic_fact& fact, int difficulty);
// Every fact the generator can draw for the operation at the difficulty,
// in order; none for arguments outside 1..4.
std::vector<arithmetic_fact> facts_of_set(int operation, int difficulty);

// A times table (x2: 2xn and nx2), dividing by a number (/3), adding one
// (+7) or taking one away (-4), for n from 0 to 10.
struct fact_family {
    int operation;
    int number;  // 0..10 for + and -, 1..10 for x and /
};

constexpr int family_last_n = 10;

// A comma-separated list such as "x2,x5,x10". False for a list with a
// family that is not one, which is then named in `bad`.
bool parse_fact_families(const std::string& text, std::vector<fact_family>& families,
                         std::string& bad);
// The facts of the families, each once, in the order named.
std::vector<arithmetic_fact> facts_of_families(const std::vector<fact_family>& families);
// The lowest difficulty whose sets hold every one of the facts; 4 when
// none does.
int difficulty_for(const std::vector<arithmetic_fact>& facts);
