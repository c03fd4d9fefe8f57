#include <gtest/gtest.h>

#include <map>

#include "fake_platform.h"
#include "keyboard_random_clock.h"

namespace {

class key_code : public testing::Test {
   protected:
    void SetUp() override { install_fake_platform(); }
    void TearDown() override { remove_fake_platform(); }
};

TEST_F(key_code, reports_one_key_by_priority) {
    EXPECT_EQ(read_key_code(), -1);
    fake().hold_only({KEY_ESC, KEY_A, KEY_UP, KEY_ENTER_PAD, KEY_5_PAD});
    EXPECT_EQ(read_key_code(), -1) << "keys other than Enter, Space and the main digits";
    fake().hold_only({KEY_7, KEY_ENTER});
    EXPECT_EQ(read_key_code(), 13);
    fake().hold_only({KEY_7, KEY_SPACE});
    EXPECT_EQ(read_key_code(), 32);
    fake().hold_only({KEY_SPACE, KEY_ENTER});
    EXPECT_EQ(read_key_code(), 13);
    fake().hold_only({KEY_9, KEY_3});
    EXPECT_EQ(read_key_code(), '3') << "the smaller digit wins";
    for (int d = 0; d <= 9; ++d) {
        fake().hold_only({KEY_0 + d});
        EXPECT_EQ(read_key_code(), '0' + d);
    }
}

TEST_F(key_code, looks_at_keys_as_they_are_without_consuming_them) {
    fake().hold_only({KEY_4});
    EXPECT_EQ(read_key_code(), '4');
    EXPECT_EQ(read_key_code(), '4');
    fake().hold_only({});
    EXPECT_EQ(read_key_code(), -1);
}

TEST(random_generator, follows_the_classic_sequence_from_seed_one) {
    seed_rand15(1);
    EXPECT_EQ(rand15(), 41);
    EXPECT_EQ(rand15(), 18467);
    EXPECT_EQ(rand15(), 6334);
}

TEST(random_generator, stays_within_fifteen_bits_over_a_long_run) {
    seed_rand15(12345);
    for (int i = 0; i < 100000; ++i) {
        const int r = rand15();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
    }
}

TEST(random_generator, range_of_one_value_still_advances) {
    seed_rand15(1);
    EXPECT_EQ(random_range(5, 5), 5);
    EXPECT_EQ(rand15(), 18467) << "the call must have used one draw";
}

// An independent model of the generator's next value after a given state.
int next_value_after(unsigned state) {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 32767u);
}

TEST(random_generator, ranges_hit_both_ends_and_nothing_outside) {
    seed_rand15(7);
    for (auto [lo, hi] : {std::pair{-1, 1}, {1, 4}, {1, 5}, {0, 100}, {1, 100}, {0, 20}}) {
        std::map<int, int> drawn;
        for (int i = 0; i < 50000; ++i) {
            drawn[random_range(lo, hi)] += 1;
        }
        EXPECT_EQ(drawn.begin()->first, lo);
        EXPECT_EQ(drawn.rbegin()->first, hi);
        EXPECT_EQ(static_cast<int>(drawn.size()), hi - lo + 1);
    }
}

TEST(random_generator, minus_one_to_one_splits_at_10923_and_21846) {
    // -1 for generator values 0..10922, 0 for 10923..21845, 1 for
    // 21846..32767: 10923, 10923 and 10922 values.
    int boundary_hits = 0;
    for (unsigned seed = 0; seed < 300000; ++seed) {
        const unsigned state = seed * 2654435761u;
        const int r = next_value_after(state);
        seed_rand15(state);
        const int got = random_range(-1, 1);
        const int want = r <= 10922 ? -1 : (r <= 21845 ? 0 : 1);
        ASSERT_EQ(got, want) << "generator value " << r;
        boundary_hits += (r == 10922 || r == 10923 || r == 21845 || r == 21846) ? 1 : 0;
    }
    EXPECT_GT(boundary_hits, 0) << "the run should reach the boundary values themselves";
}

TEST(tick, counts_each_call_and_is_never_reset) {
    const int before = tick_count.load();
    for (int i = 0; i < 250; ++i) {
        count_tick();
    }
    EXPECT_EQ(tick_count.load() - before, 250);
}

}  // namespace
