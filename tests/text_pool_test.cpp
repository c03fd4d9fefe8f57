// The rotating text area: where each result lands, what the cursor does,
// and that no result ever runs past the end of the area.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "text_pool.h"

namespace {

// Offset of a result inside the pool.
int offset_of(const char* p) {
    return static_cast<int>(p - text_pool);
}

class TextPool : public testing::Test {
   protected:
    void SetUp() override {
        std::memset(text_pool, '#', sizeof text_pool);
        text_pool_cursor = 100;
    }
};

TEST_F(TextPool, SingleDigitTakesTwoBytes) {
    const char* zero = number_text(0);
    EXPECT_STREQ(zero, "0");
    EXPECT_EQ(offset_of(zero), 100);
    EXPECT_EQ(text_pool_cursor, 102);

    const char* nine = number_text(9);
    EXPECT_STREQ(nine, "9");
    EXPECT_EQ(offset_of(nine), 102);
    EXPECT_EQ(text_pool_cursor, 104);
}

TEST_F(TextPool, NumberTextLeavesItsPartsBehindInOrder) {
    // 42: "2" (2 bytes), then "4" (2 bytes), then "4"+"2" (2 + 2 bytes).
    const char* p = number_text(42);
    EXPECT_STREQ(p, "42");
    EXPECT_EQ(offset_of(p), 104);
    EXPECT_STREQ(text_pool + 100, "2");
    EXPECT_STREQ(text_pool + 102, "4");
    EXPECT_EQ(text_pool_cursor, 108);

    // 123: "3" at 108; then 12 as "2" at 110, "1" at 112, "12" at 114 (4
    // bytes); then "123" at 118 (5 bytes).
    p = number_text(123);
    EXPECT_STREQ(p, "123");
    EXPECT_EQ(offset_of(p), 118);
    EXPECT_STREQ(text_pool + 108, "3");
    EXPECT_STREQ(text_pool + 110, "2");
    EXPECT_STREQ(text_pool + 112, "1");
    EXPECT_STREQ(text_pool + 114, "12");
    EXPECT_EQ(text_pool_cursor, 123);
}

TEST_F(TextPool, NumberTextMatchesPrintfAcrossTheIntRange) {
    const int samples[] = {0, 1, 9, 10, 11, 19, 20, 99, 100, 101, 1000, 1009, 65535, 2147483647};
    for (int n : samples) {
        char expected[16];
        std::snprintf(expected, sizeof expected, "%d", n);
        EXPECT_STREQ(number_text(n), expected) << n;
    }
}

TEST_F(TextPool, EmptyJoinsStillMoveTwoBytes) {
    const char* p = join_text("", "");
    EXPECT_STREQ(p, "");
    EXPECT_EQ(offset_of(p), 100);
    EXPECT_EQ(text_pool_cursor, 102);

    p = join_text3("", "", "");
    EXPECT_STREQ(p, "");
    EXPECT_EQ(offset_of(p), 102);
    EXPECT_EQ(text_pool_cursor, 104);
}

TEST_F(TextPool, JoinsCopyTheirPartsOneAfterAnother) {
    const char* p = join_text("ab", "cde");
    EXPECT_STREQ(p, "abcde");
    EXPECT_EQ(text_pool_cursor, 107);

    p = join_text3("12", "/", "3");
    EXPECT_STREQ(p, "12/3");
    EXPECT_EQ(offset_of(p), 107);
    EXPECT_EQ(text_pool_cursor, 113);

    // Pool results as arguments.
    const char* left = join_text("x", "y");
    const char* whole = join_text3(left, "-", number_text(7));
    EXPECT_STREQ(whole, "xy-7");
}

TEST_F(TextPool, JoinNumberWorksOutTheNumberFirst) {
    const char* p = join_number("Level ", 3);
    EXPECT_STREQ(p, "Level 3");
    EXPECT_STREQ(text_pool + 100, "3");
    EXPECT_EQ(offset_of(p), 102);
    EXPECT_EQ(text_pool_cursor, 102 + 7 + 2);

    EXPECT_STREQ(join_number("Level ", 10), "Level 10");
}

TEST_F(TextPool, WrapsWhenAResultEndsAt61440) {
    text_pool_cursor = 61430;
    const char* p = join_text("Level ", "10");
    EXPECT_EQ(offset_of(p), 61430);
    EXPECT_EQ(std::memcmp(text_pool + 61430, "Level 10", 9), 0);  // with its NUL at 61,438
    EXPECT_EQ(text_pool_cursor, 0);

    const char* next = number_text(5);
    EXPECT_EQ(offset_of(next), 0);
    EXPECT_EQ(text_pool_cursor, 2);
    EXPECT_STREQ(p, "Level 10");  // untouched by the wrap
}

TEST_F(TextPool, OneByteShortOfTheWrapDoesNotWrap) {
    text_pool_cursor = 61429;
    join_text("Level ", "10");
    EXPECT_EQ(text_pool_cursor, 61439);
}

TEST_F(TextPool, LargestResultFromTheLastStartFillsThePoolExactly) {
    static char long_text[4097];
    std::memset(long_text, 'z', 4096);
    long_text[4096] = '\0';
    text_pool_cursor = 61439;
    const char* p = join_text(long_text, "");
    EXPECT_EQ(offset_of(p), 61439);
    EXPECT_EQ(text_pool[65534], 'z');
    EXPECT_EQ(text_pool[65535], '\0');
    EXPECT_EQ(std::strlen(p), 4096u);
    EXPECT_EQ(text_pool_cursor, 0);
}

TEST_F(TextPool, DigitsOfANumberMayStraddleTheWrap) {
    // "2" lands at 61,436, "4" at 61,438 and the cursor wraps; "42" is then
    // joined at 0 from the two digits left at the top of the pool.
    text_pool_cursor = 61436;
    const char* p = number_text(42);
    EXPECT_EQ(offset_of(p), 0);
    EXPECT_STREQ(p, "42");
    EXPECT_STREQ(text_pool + 61436, "2");
    EXPECT_STREQ(text_pool + 61438, "4");
    EXPECT_EQ(text_pool_cursor, 4);
}

TEST_F(TextPool, LongMixedRunStaysInsideThePool) {
    // Several passes through the whole pool with results of every size the
    // game makes; run under AddressSanitizer a write past the end is caught
    // at once, and the cursor rule is checked after every call.
    text_pool_cursor = 0;
    int wraps = 0;
    int last_cursor = 0;
    for (int i = 0; i < 200000; ++i) {
        const char* p = nullptr;
        char expected[48];
        switch (i % 5) {
            case 0:
                p = number_text(i);
                std::snprintf(expected, sizeof expected, "%d", i);
                break;
            case 1:
                p = join_number("Level ", i % 11);
                std::snprintf(expected, sizeof expected, "Level %d", i % 11);
                break;
            case 2:
                p = join_text3(number_text(i % 1001), "x", number_text(i % 16));
                std::snprintf(expected, sizeof expected, "%dx%d", i % 1001, i % 16);
                break;
            case 3:
                p = join_text(number_text(i), number_text(i * 7));
                std::snprintf(expected, sizeof expected, "%d%d", i, i * 7);
                break;
            default:
                p = join_text3("", "", "");
                expected[0] = '\0';
                break;
        }
        ASSERT_STREQ(p, expected);
        ASSERT_GE(offset_of(p), 0);
        ASSERT_LT(offset_of(p) + static_cast<int>(std::strlen(p)), text_pool_size);
        ASSERT_GE(text_pool_cursor, 0);
        ASSERT_LT(text_pool_cursor, text_pool_wrap);
        if (text_pool_cursor < last_cursor) {
            ++wraps;
        }
        last_cursor = text_pool_cursor;
    }
    EXPECT_GE(wraps, 10);
}

}  // namespace
