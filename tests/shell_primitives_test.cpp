// The scratch text pool and the key, random and clock primitives.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <utility>

#include "fake_platform.h"
#include "keyboard_random_clock.h"
#include "text_pool.h"

namespace {

TEST(text_pool, results_land_at_the_cursor_which_wraps_at_61440) {
    static char longest[4097];  // the longest result the pool has room for
    std::memset(longest, 'z', 4096);
    const struct {
        int start;
        const char* (*make)();
        const char* text;
        int offset, cursor;
    } cases[] = {
        {100, [] { return number_text(0); }, "0", 100, 102},
        // "2" at 100 and "4" at 102 are left behind.
        {100, [] { return number_text(42); }, "42", 104, 108},
        // "9", "0", "0", "1", "10", "100", then "1009" at 117.
        {100, [] { return number_text(1009); }, "1009", 117, 123},
        {100, [] { return join_text3("12", "/", "3"); }, "12/3", 100, 106},
        {100, [] { return join_number("Level ", 3); }, "Level 3", 102, 111},
        {61429, [] { return join_text("Level ", "10"); }, "Level 10", 61429, 61439},
        {61430, [] { return join_text("Level ", "10"); }, "Level 10", 61430, 0},
        // The digits are left at the top; the result comes after the wrap.
        {61436, [] { return number_text(42); }, "42", 0, 4},
        {61439, [] { return join_text(longest, ""); }, longest, 61439, 0},
    };
    for (const auto& c : cases) {
        text_pool_cursor = c.start;
        const char* result = c.make();
        EXPECT_STREQ(result, c.text) << "from " << c.start;
        EXPECT_EQ(result - text_pool, c.offset) << c.text << " from " << c.start;
        EXPECT_EQ(text_pool_cursor, c.cursor) << c.text << " from " << c.start;
    }
}

TEST(read_key_code, reports_the_first_held_key_in_priority_order) {
    fake_platform& keys = install_fake_platform();
    keys.hold_only({KEY_ENTER, KEY_SPACE, KEY_0, KEY_3, KEY_9, KEY_ESC, KEY_A, KEY_UP,
                    KEY_BACKSPACE, KEY_ENTER_PAD, KEY_5_PAD});
    // Let go one by one in the order of priority; the rest never count.
    const std::pair<int, int> order[] = {{KEY_ENTER, 13}, {KEY_SPACE, 32}, {KEY_0, '0'},
                                         {KEY_3, '3'},    {KEY_9, '9'},    {KEY_ESC, -1}};
    for (auto [key, code] : order) {
        EXPECT_EQ(read_key_code(), code) << "before key " << key << " is let go";
        keys.held[key] = false;
    }
    remove_fake_platform();
}

// The state the generator steps to `next` from (214013 x 3115528533 is 1 modulo 2^32).
unsigned state_before(unsigned next) {
    return (next - 2531011u) * 3115528533u;
}

TEST(random_and_clock, known_values_the_split_of_a_range_and_the_tick) {
    seed_rand15(1);
    EXPECT_EQ(rand15(), 41);
    EXPECT_EQ(rand15(), 18467);
    EXPECT_EQ(random_range(5, 5), 5);
    EXPECT_EQ(rand15(), 26500) << "a range of one value still takes a draw";
    // Each generator value once: -1 for 0..10922, 0 for 10923..21845, 1 above.
    std::array<int, 3> counts = {};
    for (unsigned r = 0; r < 32768u; ++r) {
        seed_rand15(state_before(r << 16));
        ++counts.at(random_range(-1, 1) + 1);
    }
    EXPECT_EQ(counts, (std::array<int, 3>{10923, 10923, 10922}));
    const int ticks = tick_count.load();
    count_tick();
    EXPECT_EQ(tick_count.load(), ticks + 1);
}

}  // namespace
