// The problem generator: ranges and ceilings of every setting, the history
// that keeps pairs from coming back, and the order of its random draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "keyboard_random_clock.h"
#include "problem_generator.h"
#include "settings_menus.h"

namespace {

// An independent model of the 15-bit generator, written from its
// definition: state = state * 214013 + 2531011 (mod 2^32), result = bits
// 16..30 of the new state.
unsigned model_state = 1;

void model_seed(unsigned seed) {
    model_state = seed;
}

int model_rand15() {
    model_state = model_state * 214013u + 2531011u;
    return static_cast<int>((model_state >> 16) & 32767u);
}

// Which result of lo..hi a generator value r gives.
int model_range(int r, int lo, int hi) {
    return lo + r * (hi - lo + 1) / 32768;
}

// The first seed from 1 on whose first generator values satisfy `wanted`.
template <typename Pred>
unsigned find_seed(int draws, Pred wanted) {
    for (unsigned seed = 1; seed < 10000000u; ++seed) {
        model_seed(seed);
        int r[8];
        for (int i = 0; i < draws; ++i) {
            r[i] = model_rand15();
        }
        if (wanted(r)) {
            return seed;
        }
    }
    ADD_FAILURE() << "no seed found";
    return 0;
}

// The state as at program start: ten empty records, no problem yet.
void fresh_run(int new_topic, int new_difficulty, unsigned seed) {
    std::memset(problem_history, 0, sizeof problem_history);
    problem = {};
    canister_variant = 1;
    topic = new_topic;
    difficulty = new_difficulty;
    seed_rand15(seed);
}

bool same_pair(int a, int b, int c, int d) {
    return (a == c && b == d) || (a == d && b == c);
}

class ProblemGenerator : public testing::Test {
   protected:
    void TearDown() override {
        topic = 1;
        difficulty = 1;
    }
};

// What accepted problems may look like, per operation and difficulty.
struct accepted_range {
    int a_lo, a_hi, b_lo, b_hi, answer_lo, answer_hi;
};

const accepted_range accepted[5][5] = {
    {},
    {{},
     {1, 9, 1, 9, 2, 10},
     {0, 20, 0, 20, 0, 20},
     {0, 100, 0, 100, 0, 100},
     {0, 100, 0, 100, 0, 200}},
    {{},
     {2, 10, 1, 9, 1, 9},
     {0, 20, 0, 20, 0, 20},
     {0, 100, 0, 100, 0, 100},
     {0, 200, 0, 100, 0, 100}},
    {{},
     {1, 10, 1, 3, 1, 30},
     {0, 10, 1, 10, 0, 100},
     {0, 15, 1, 15, 0, 225},
     {0, 100, 1, 15, 0, 1000}},
    {{},
     {1, 30, 1, 3, 1, 10},
     {0, 100, 1, 10, 0, 10},
     {0, 225, 1, 15, 0, 15},
     {0, 196, 1, 15, 0, 15}},
};

struct observed {
    int a_lo = INT_MAX, a_hi = INT_MIN, b_lo = INT_MAX, b_hi = INT_MIN;
    int answer_lo = INT_MAX, answer_hi = INT_MIN;
    int count = 0;
};

// What is wrong with the current problem for its operation and difficulty,
// or nullptr when nothing is; the extremes seen are gathered on the way.
const char* problem_fault(int d, observed& seen) {
    const int a = problem.operand_a;
    const int b = problem.operand_b;
    const int op = problem.problem_operation;
    const int answer = problem.problem_answer;
    if (op < 1 || op > 4) {
        return "operation outside 1..4";
    }
    const accepted_range& r = accepted[op][d];
    if (a < r.a_lo || a > r.a_hi) {
        return "operand_a out of range";
    }
    if (b < r.b_lo || b > r.b_hi) {
        return "operand_b out of range";
    }
    if (answer < r.answer_lo || answer > r.answer_hi) {
        return "answer out of range";
    }
    if ((op == 1 && answer != a + b) || (op == 2 && answer != a - b) ||
        (op == 3 && answer != a * b) || (op == 4 && answer * b != a)) {
        return "wrong answer";
    }
    if (op == 4 && a % b != 0) {
        return "division not exact";
    }
    // Big second factors and divisors keep the problem small.
    if (d == 4 && b >= 11 && ((op == 3 && a * b > 200) || (op == 4 && a > 200))) {
        return "over the difficulty-4 ceiling";
    }
    // Either a small number or a round ten.
    if (op <= 2 && d == 3 && b > 15 && b % 10 != 0) {
        return "operand_b neither small nor a round ten";
    }
    if (canister_variant < 1 || canister_variant > 5) {
        return "canister_variant outside 1..5";
    }
    if (problem_history[0].operand_a != a || problem_history[0].operand_b != b ||
        problem_history[0].operation != op) {
        return "not recorded as the newest history entry";
    }
    seen.a_lo = std::min(seen.a_lo, a);
    seen.a_hi = std::max(seen.a_hi, a);
    seen.b_lo = std::min(seen.b_lo, b);
    seen.b_hi = std::max(seen.b_hi, b);
    seen.answer_lo = std::min(seen.answer_lo, answer);
    seen.answer_hi = std::max(seen.answer_hi, answer);
    ++seen.count;
    return nullptr;
}

#define ASSERT_PROBLEM_SOUND(d, seen)                                                      \
    do {                                                                                   \
        const char* fault = problem_fault(d, seen);                                        \
        ASSERT_EQ(fault, nullptr) << fault << ": " << problem.operand_a << " op"           \
                                  << problem.problem_operation << " " << problem.operand_b \
                                  << " = " << problem.problem_answer;                      \
    } while (0)

// Every bound of the table is reached, not merely respected.
void expect_bounds_reached(const observed& seen, const accepted_range& r) {
    EXPECT_EQ(seen.a_lo, r.a_lo);
    EXPECT_EQ(seen.a_hi, r.a_hi);
    EXPECT_EQ(seen.b_lo, r.b_lo);
    EXPECT_EQ(seen.b_hi, r.b_hi);
    EXPECT_EQ(seen.answer_lo, r.answer_lo);
    EXPECT_EQ(seen.answer_hi, r.answer_hi);
}

TEST_F(ProblemGenerator, EverySettingStaysWithinItsRangesAndCeilings) {
    // 100,000 problems per setting: even the rarest bound (100 + 100 at
    // difficulty 4, one attempt in 10,201) is expected about ten times.
    for (int t = 1; t <= 4; ++t) {
        for (int d = 1; d <= 4; ++d) {
            SCOPED_TRACE(testing::Message() << "topic " << t << " difficulty " << d);
            fresh_run(t, d, 1000u + 10u * t + d);
            observed seen;
            bool small_b = false;
            bool round_b = false;
            bool big_product = false;
            bool dividend_196_by_14 = false;
            for (int i = 0; i < 100000; ++i) {
                new_problem();
                ASSERT_EQ(problem.problem_operation, t);
                ASSERT_PROBLEM_SOUND(d, seen);
                small_b = small_b || (problem.operand_b % 10 != 0);
                round_b = round_b || (problem.operand_b >= 20 && problem.operand_b % 10 == 0);
                big_product = big_product ||
                              (problem.operand_b <= 10 && problem.problem_answer > 200 && t == 3);
                dividend_196_by_14 = dividend_196_by_14 || (t == 4 && problem.operand_a == 196 &&
                                                            problem.operand_b == 14);
            }
            expect_bounds_reached(seen, accepted[t][d]);
            if (t <= 2 && d == 3) {
                EXPECT_TRUE(small_b);
                EXPECT_TRUE(round_b);
            }
            if (t == 3 && d == 4) {
                EXPECT_TRUE(big_product);
            }
            if (t == 4 && d == 4) {
                EXPECT_TRUE(dividend_196_by_14);
            }
        }
    }
}

TEST_F(ProblemGenerator, MixedTopicGivesAllFourOperationsWithTheirRanges) {
    for (int d = 1; d <= 4; ++d) {
        SCOPED_TRACE(testing::Message() << "difficulty " << d);
        fresh_run(5, d, 77u + d);
        observed seen[5];
        for (int i = 0; i < 40000; ++i) {
            new_problem();
            ASSERT_GE(problem.problem_operation, 1);
            ASSERT_LE(problem.problem_operation, 4);
            ASSERT_PROBLEM_SOUND(d, seen[problem.problem_operation]);
        }
        for (int op = 1; op <= 4; ++op) {
            // Each operation about a quarter of the time.
            EXPECT_GT(seen[op].count, 9000) << "operation " << op;
            EXPECT_LT(seen[op].count, 11000) << "operation " << op;
        }
    }
}

TEST_F(ProblemGenerator, NoPairComesBackAmongTheLastTenInEitherOrder) {
    // The smallest settings, where repeats would be common: the mixed topic
    // at difficulty 1 mixes operations sharing small pairs, and
    // multiplication at difficulty 1 has only thirty pairs.
    const int settings[][2] = {{5, 1}, {3, 1}, {4, 1}, {5, 2}};
    for (const auto& s : settings) {
        SCOPED_TRACE(testing::Message() << "topic " << s[0] << " difficulty " << s[1]);
        fresh_run(s[0], s[1], 4242u);
        int last_a[10] = {};
        int last_b[10] = {};
        for (int i = 0; i < 20000; ++i) {
            new_problem();
            for (int k = 0; k < 10; ++k) {
                ASSERT_FALSE(same_pair(problem.operand_a, problem.operand_b, last_a[k], last_b[k]))
                    << "problem " << i << ": " << problem.operand_a << ", " << problem.operand_b;
            }
            std::copy_backward(last_a, last_a + 9, last_a + 10);
            std::copy_backward(last_b, last_b + 9, last_b + 10);
            last_a[0] = problem.operand_a;
            last_b[0] = problem.operand_b;
        }
    }
}

TEST_F(ProblemGenerator, HistoryHoldsTheLastTenNewestFirst) {
    fresh_run(5, 3, 99u);
    history_entry made[13];
    for (history_entry& m : made) {
        new_problem();
        m = {problem.operand_a, problem.operand_b, problem.problem_operation};
    }
    for (int i = 0; i < problem_history_length; ++i) {
        EXPECT_EQ(problem_history[i].operand_a, made[12 - i].operand_a) << i;
        EXPECT_EQ(problem_history[i].operand_b, made[12 - i].operand_b) << i;
        EXPECT_EQ(problem_history[i].operation, made[12 - i].operation) << i;
    }
}

// Seeds whose very first attempt draws a given pair. Addition at
// difficulty 1 draws b = rr(1, 10), then a = rr(1, 10).
unsigned seed_for_addition_1(int a, int b) {
    return find_seed(2, [a, b](const int* r) {
        return model_range(r[0], 1, 10) == b && model_range(r[1], 1, 10) == a;
    });
}

// Multiplication at difficulty 2 draws b = rr(1, 10), then a = rr(0, 10).
unsigned seed_for_multiplication_2(int a, int b) {
    return find_seed(2, [a, b](const int* r) {
        return model_range(r[0], 1, 10) == b && model_range(r[1], 0, 10) == a;
    });
}

void make_problem(int t, int d, unsigned seed) {
    topic = t;
    difficulty = d;
    seed_rand15(seed);
    new_problem();
}

TEST_F(ProblemGenerator, APairBlocksEveryOperationInEitherOrderForTenProblems) {
    const unsigned four_plus_three = seed_for_addition_1(4, 3);
    const unsigned three_plus_four = seed_for_addition_1(3, 4);
    // Subtraction at difficulty 1: b = rr(1, 10) = 3, a = 3 + rr(1, 10) = 4.
    const unsigned four_minus_three = find_seed(2, [](const int* r) {
        return model_range(r[0], 1, 10) == 3 && model_range(r[1], 1, 10) == 1;
    });

    // The seeds do give those pairs when nothing blocks them.
    fresh_run(1, 1, four_plus_three);
    new_problem();
    ASSERT_EQ(problem.operand_a, 4);
    ASSERT_EQ(problem.operand_b, 3);
    fresh_run(2, 1, four_minus_three);
    new_problem();
    ASSERT_EQ(problem.operand_a, 4);
    ASSERT_EQ(problem.operand_b, 3);

    // After 3 x 4 ...
    fresh_run(3, 2, seed_for_multiplication_2(3, 4));
    new_problem();
    ASSERT_EQ(problem.operand_a, 3);
    ASSERT_EQ(problem.operand_b, 4);
    ASSERT_EQ(problem.problem_operation, 3);

    // ... each of these is refused for the next ten problems. Every probe
    // is one of those ten problems itself, and none can hold the pair 3, 4.
    const struct {
        int topic;
        unsigned seed;
    } probes[] = {{1, four_plus_three}, {1, three_plus_four}, {2, four_minus_three}};
    int made_after = 0;
    while (made_after < 9) {
        for (const auto& probe : probes) {
            if (made_after == 9) {
                break;
            }
            make_problem(probe.topic, 1, probe.seed);
            ++made_after;
            EXPECT_FALSE(same_pair(problem.operand_a, problem.operand_b, 3, 4))
                << "problem " << made_after << " after 3 x 4";
        }
    }
    // The tenth problem after 3 x 4 pushes it out of the history; the one
    // after that may show the pair again.
    make_problem(3, 1, 5u);
    make_problem(1, 1, four_plus_three);
    EXPECT_EQ(problem.operand_a, 4);
    EXPECT_EQ(problem.operand_b, 3);
}

TEST_F(ProblemGenerator, ZeroZeroWaitsForTheEleventhProblem) {
    // Addition at difficulty 2: rr(0, 20) gives 0 for r up to 1560, so these
    // seeds draw 0 + 0 on the first attempt.
    const unsigned zero_zero = find_seed(2, [](const int* r) {
        return model_range(r[0], 0, 20) == 0 && model_range(r[1], 0, 20) == 0;
    });
    for (int before = 0; before <= 10; ++before) {
        fresh_run(3, 1, 31u);
        for (int i = 0; i < before; ++i) {
            new_problem();
        }
        make_problem(1, 2, zero_zero);
        const bool zero_pair = problem.operand_a == 0 && problem.operand_b == 0;
        if (before < 10) {
            EXPECT_FALSE(zero_pair) << "problem " << before + 1 << " of the run";
        } else {
            EXPECT_TRUE(zero_pair) << "problem 11 of the run";
        }
    }
}

TEST_F(ProblemGenerator, HistoryCarriesIntoTheNextGame) {
    fresh_run(3, 2, seed_for_multiplication_2(3, 4));
    new_problem();
    ASSERT_EQ(problem.operand_a, 3);
    ASSERT_EQ(problem.operand_b, 4);

    // A new game clears the problem, not the history, and may come with
    // other settings.
    problem = {};
    make_problem(1, 1, seed_for_addition_1(4, 3));
    EXPECT_FALSE(same_pair(problem.operand_a, problem.operand_b, 3, 4));
    EXPECT_EQ(problem_history[1].operand_a, 3);
    EXPECT_EQ(problem_history[1].operand_b, 4);
}

TEST_F(ProblemGenerator, RefusedAttemptsKeepTheirOperation) {
    // Mixed topic at difficulty 1: the first value picks the operation; for
    // addition and subtraction the next two are b and the draw for a, and
    // the attempt is refused when the sum (or the minuend) exceeds 10.
    int refused_first = 0;
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        model_seed(seed);
        const int op = model_range(model_rand15(), 1, 4);
        const int b = model_range(model_rand15(), 1, 10);
        const int a_draw = model_range(model_rand15(), 1, 10);
        if ((op == 1 && a_draw + b > 10) || (op == 2 && b + a_draw > 10)) {
            ++refused_first;
        }
        fresh_run(5, 1, seed);
        new_problem();
        ASSERT_EQ(problem.problem_operation, op) << "seed " << seed;
    }
    EXPECT_GT(refused_first, 500);
}

TEST_F(ProblemGenerator, OutOfRangeArgumentsGiveMinusOne) {
    problem.operand_a = 5;
    problem.operand_b = 5;
    const int bad[][2] = {{0, 1}, {5, 1}, {-1, 2}, {1, 0}, {1, 5}, {4, -3}, {3, 100}};
    for (const auto& arg : bad) {
        SCOPED_TRACE(testing::Message() << "operation " << arg[0] << " difficulty " << arg[1]);
        EXPECT_EQ(pick_operand_b(arg[0], arg[1]), -1);
        EXPECT_EQ(pick_operand_a(arg[0], arg[1]), -1);
        EXPECT_EQ(problem_over_limit(arg[0], arg[1]), -1);
    }
}

TEST_F(ProblemGenerator, CeilingsAtTheirBoundaries) {
    const struct {
        int op, d, a, b, over;
    } cases[] = {
        {1, 1, 5, 5, 0},    {1, 1, 6, 5, 1},     {1, 2, 10, 10, 0},   {1, 2, 11, 10, 1},
        {1, 3, 50, 50, 0},  {1, 3, 51, 50, 1},   {1, 4, 100, 100, 0}, {2, 1, 10, 9, 0},
        {2, 1, 11, 1, 1},   {2, 2, 20, 0, 0},    {2, 2, 21, 20, 1},   {2, 3, 100, 0, 0},
        {2, 3, 101, 1, 1},  {2, 4, 200, 100, 0}, {3, 1, 100, 15, 0},  {3, 2, 100, 15, 0},
        {3, 3, 100, 15, 0}, {3, 4, 18, 11, 0},   {3, 4, 19, 11, 1},   {3, 4, 100, 10, 0},
        {3, 4, 14, 15, 1},  {3, 4, 13, 15, 0},   {4, 1, 225, 15, 0},  {4, 3, 225, 15, 0},
        {4, 4, 196, 14, 0}, {4, 4, 210, 14, 1},  {4, 4, 210, 15, 1},  {4, 4, 225, 15, 1},
        {4, 4, 200, 11, 0}, {4, 4, 300, 10, 0},
    };
    for (const auto& c : cases) {
        problem.operand_a = c.a;
        problem.operand_b = c.b;
        EXPECT_EQ(problem_over_limit(c.op, c.d), c.over)
            << "operation " << c.op << " difficulty " << c.d << ": " << c.a << ", " << c.b;
    }
}

TEST_F(ProblemGenerator, OutOfRangeSettingsAreTakenAsTheNearestValidOnes) {
    // Such settings would refuse every attempt; the generator reads them as
    // the nearest valid setting instead and leaves the settings alone.
    const int cases[][4] = {
        {0, 1, 1, 1}, {6, 2, 5, 2}, {-4, 0, 1, 1}, {3, 9, 3, 4}, {99, -1, 5, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "topic " << c[0] << " difficulty " << c[1]);
        fresh_run(c[2], c[3], 2024u);
        new_problem();
        new_problem();
        const problem_record expected = problem;
        const int expected_variant = canister_variant;

        fresh_run(c[0], c[1], 2024u);
        new_problem();
        new_problem();
        EXPECT_EQ(problem.operand_a, expected.operand_a);
        EXPECT_EQ(problem.operand_b, expected.operand_b);
        EXPECT_EQ(problem.problem_operation, expected.problem_operation);
        EXPECT_EQ(problem.problem_answer, expected.problem_answer);
        EXPECT_EQ(canister_variant, expected_variant);
        EXPECT_EQ(topic, c[0]);
        EXPECT_EQ(difficulty, c[1]);
    }
}

// The generator step undone: the state that leads to `state`.
unsigned model_previous(unsigned state) {
    // Inverse of 214013 modulo 2^32 by Newton's iteration; each step
    // doubles the number of correct low bits.
    unsigned inverse = 214013u;
    for (int i = 0; i < 5; ++i) {
        inverse *= 2u - 214013u * inverse;
    }
    return (state - 2531011u) * inverse;
}

TEST_F(ProblemGenerator, CanisterVariantIsTheDrawAfterAcceptanceWithEvenOdds) {
    // Multiplication at difficulty 1 with an empty history never refuses
    // (both operands are at least 1), so it makes exactly three draws: b, a
    // and the variant. For every value r of the third draw a seed is built
    // backwards from a state whose bits 16..30 are r.
    // rr(1, 5) maps r to 1 + 5r / 32768; 32768 / 5 = 6553.6, so by hand the
    // values 1..5 take r from 0, 6554, 13108, 19661 and 26215 on:
    // 6554, 6554, 6553, 6554 and 6553 values.
    int counts[6] = {};
    for (unsigned r = 0; r < 32768u; ++r) {
        const unsigned third = r << 16;
        const unsigned seed = model_previous(model_previous(model_previous(third)));
        fresh_run(3, 1, seed);
        new_problem();
        ASSERT_GE(canister_variant, 1);
        ASSERT_LE(canister_variant, 5);
        ++counts[canister_variant];
    }
    EXPECT_EQ(counts[1], 6554);
    EXPECT_EQ(counts[2], 6554);
    EXPECT_EQ(counts[3], 6553);
    EXPECT_EQ(counts[4], 6554);
    EXPECT_EQ(counts[5], 6553);
}

TEST_F(ProblemGenerator, SplitRuleDrawsTheCoinFirstWithEvenOdds) {
    // Addition and subtraction at difficulty 3: coin c = rr(1, 100), then b
    // = 10 * rr(0, 10) when c >= 51, else rr(0, 15). c >= 51 holds exactly
    // for r * 100 / 32768 >= 50, that is r >= 16384: half of all values.
    // Every coin value r is tried by building the seed backwards from it.
    int round_branch = 0;
    for (unsigned r = 0; r < 32768u; ++r) {
        model_seed(r << 16);
        const int next = model_rand15();
        const int coin = model_range(static_cast<int>(r), 1, 100);
        const int expected = coin >= 51 ? 10 * model_range(next, 0, 10) : model_range(next, 0, 15);
        round_branch += coin >= 51;
        for (int op = 1; op <= 2; ++op) {
            seed_rand15(model_previous(r << 16));
            ASSERT_EQ(pick_operand_b(op, 3), expected)
                << "coin value " << r << ", operation " << op;
        }
    }
    EXPECT_EQ(round_branch, 16384);
}

struct pinned_problem {
    int a, op, b, answer, variant;
};

void expect_sequence(const pinned_problem* expected, int n) {
    for (int i = 0; i < n; ++i) {
        new_problem();
        const pinned_problem& e = expected[i];
        EXPECT_EQ(problem.operand_a, e.a) << "problem " << i + 1;
        EXPECT_EQ(problem.problem_operation, e.op) << "problem " << i + 1;
        EXPECT_EQ(problem.operand_b, e.b) << "problem " << i + 1;
        EXPECT_EQ(problem.problem_answer, e.answer) << "problem " << i + 1;
        EXPECT_EQ(canister_variant, e.variant) << "problem " << i + 1;
    }
}

TEST_F(ProblemGenerator, PinnedSequencesFromSeedOne) {
    // Seed 1 gives the well-known values of this generator:
    const int values[] = {41,    18467, 6334,  26500, 19169, 15724, 11478, 29358, 26962,
                          24464, 5705,  28145, 23281, 16827, 9961,  491,   2995,  11942,
                          4827,  5436,  32391, 14604, 3902,  153,   292};
    model_seed(1);
    for (int v : values) {
        ASSERT_EQ(model_rand15(), v);
    }

    // Addition, difficulty 3, fresh history. Per problem: coin rr(1, 100),
    // then b (rr(0, 15) when the coin is below 51, else 10 * rr(0, 10)),
    // then a = rr(0, 100), then the variant rr(1, 5).
    //  1: coin 41 -> 1, b 18467 -> 9, a 6334 -> 19; 28 <= 100; variant 26500 -> 5
    //  2: coin 19169 -> 59, b 15724 -> 5 -> 50, a 11478 -> 35; variant 29358 -> 5
    //  3: coin 26962 -> 83, b 24464 -> 8 -> 80, a 5705 -> 17; variant 28145 -> 5
    //  4: coin 23281 -> 72, b 16827 -> 5 -> 50, a 9961 -> 30; variant 491 -> 1
    //  5: coin 2995 -> 10, b 11942 -> 5, a 4827 -> 14; variant 5436 -> 1
    // No attempt is refused: twenty values, so the next one is 32391.
    const pinned_problem addition_3[] = {
        {19, 1, 9, 28, 5},  {35, 1, 50, 85, 5}, {17, 1, 80, 97, 5},
        {30, 1, 50, 80, 1}, {14, 1, 5, 19, 1},
    };
    fresh_run(1, 3, 1u);
    expect_sequence(addition_3, 5);
    EXPECT_EQ(rand15(), 32391);

    // Mixed topic, difficulty 1, fresh history. Per problem: the operation
    // rr(1, 4) once, then per attempt b and the draw for a, then the variant.
    //  1: op 41 -> 1; b 18467 -> 6, a 6334 -> 2; 8 <= 10; variant 26500 -> 5
    //  2: op 19169 -> 3; b rr(1, 3) 15724 -> 2, a 11478 -> 4; variant 29358 -> 5
    //  3: op 26962 -> 4; b 24464 -> 3, a = 3 * (5705 -> 2) = 6; variant 28145 -> 5
    //  4: op 23281 -> 3; b 16827 -> 2, a 9961 -> 4: (4, 2) is in the history,
    //     refused; again as multiplication: b 491 -> 1, a 2995 -> 1;
    //     variant 11942 -> 2
    //  5: op 4827 -> 1; b 5436 -> 2, a 32391 -> 10: 12 > 10, refused; again
    //     as addition: b 14604 -> 5, a 3902 -> 2; variant 153 -> 1
    // Twenty-four values, so the next one is 292.
    const pinned_problem mixed_1[] = {
        {2, 1, 6, 8, 5}, {4, 3, 2, 8, 5}, {6, 4, 3, 2, 5}, {1, 3, 1, 1, 2}, {2, 1, 5, 7, 1},
    };
    fresh_run(5, 1, 1u);
    expect_sequence(mixed_1, 5);
    EXPECT_EQ(rand15(), 292);
}

}  // namespace
