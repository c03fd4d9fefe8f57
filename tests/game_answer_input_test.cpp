// The answer keys, sampled once per tick: digits by change of the reported
// key, the Backspace latch, Enter to submit and Space to leave a full level.

#include "answer_input.h"
#include "game_test_support.h"

namespace {

class answer_input_test : public game_test {
   protected:
    void SetUp() override {
        game_test::SetUp();
        start_level(1);
    }
    static void read_with(std::initializer_list<int> keys) {
        fake().hold_only(keys);
        read_answer_input();
    }
};

TEST_F(answer_input_test, held_digit_types_once_and_repeats_only_after_a_release) {
    for (int i = 0; i < 5; ++i) {
        read_with({KEY_4});
    }
    EXPECT_STREQ(typed_answer, "4");
    read_with({});
    read_with({KEY_4});
    read_with({KEY_4});
    EXPECT_STREQ(typed_answer, "44");
    EXPECT_EQ(previous_key, '4');
    EXPECT_EQ(current_key, '4');
}

TEST_F(answer_input_test, a_change_of_the_reported_digit_counts_as_a_press) {
    read_with({KEY_7});
    // 3 comes before 7 in the scan, so it takes over the report...
    read_with({KEY_7, KEY_3});
    // ...and letting it go reports the held 7 again.
    read_with({KEY_7});
    EXPECT_STREQ(typed_answer, "737");

    // A later digit is hidden while an earlier one is held.
    read_with({});
    read_with({KEY_2});
    read_with({KEY_2, KEY_9});
    read_with({KEY_2, KEY_9});
    EXPECT_STREQ(typed_answer, "7372");
}

TEST_F(answer_input_test, enter_or_space_held_hides_every_digit) {
    read_with({KEY_ENTER, KEY_5});
    read_with({KEY_SPACE, KEY_6});
    read_with({KEY_SPACE, KEY_ENTER, KEY_1});
    EXPECT_STREQ(typed_answer, "");
    // Enter on an empty answer submits nothing.
    EXPECT_EQ(answer_state, 0);
    // Releasing Enter while the digit stays down changes the report: it types.
    read_with({KEY_5});
    EXPECT_STREQ(typed_answer, "5");
}

TEST_F(answer_input_test, keypad_keys_are_not_read) {
    read_with({KEY_5_PAD});
    read_with({KEY_ENTER_PAD});
    EXPECT_STREQ(typed_answer, "");
    EXPECT_EQ(current_key, -1);
    read_with({KEY_5});
    read_with({KEY_ENTER_PAD});
    EXPECT_EQ(answer_state, 0);
}

TEST_F(answer_input_test, enter_submits_and_closes_typing_but_not_backspace) {
    read_with({KEY_1});
    read_with({KEY_2});
    read_with({KEY_ENTER});
    EXPECT_EQ(answer_state, 2);
    read_with({KEY_3});
    read_with({});
    read_with({KEY_4});
    EXPECT_STREQ(typed_answer, "12");
    // Enter again changes nothing.
    read_with({KEY_ENTER});
    EXPECT_EQ(answer_state, 2);
    // Backspace still works during the animation, and the shortened text
    // is what will be judged.
    read_with({KEY_BACKSPACE});
    EXPECT_STREQ(typed_answer, "1");
    EXPECT_EQ(answer_state, 2);
}

TEST_F(answer_input_test, held_backspace_deletes_one_digit_per_press) {
    type_digits("1234");
    ASSERT_STREQ(typed_answer, "1234");
    for (int i = 0; i < 4; ++i) {
        read_with({KEY_BACKSPACE});
    }
    EXPECT_STREQ(typed_answer, "123");
    EXPECT_EQ(backspace_latch, 1);
    read_with({});
    EXPECT_EQ(backspace_latch, 0);
    read_with({KEY_BACKSPACE});
    read_with({});
    read_with({KEY_BACKSPACE});
    EXPECT_STREQ(typed_answer, "1");
    // Backspace with a digit held: the digit was already reported, so only
    // the deletion happens.
    read_with({});
    read_with({KEY_8});
    read_with({KEY_8, KEY_BACKSPACE});
    EXPECT_STREQ(typed_answer, "1");
    // On an empty answer it only sets the latch.
    read_with({});
    read_with({KEY_BACKSPACE});
    read_with({});
    read_with({KEY_BACKSPACE});
    EXPECT_STREQ(typed_answer, "");
    EXPECT_EQ(backspace_latch, 1);
}

TEST_F(answer_input_test, digits_beyond_the_thirty_ninth_are_ignored) {
    for (int i = 0; i < 45; ++i) {
        read_with({KEY_0 + i % 10});
        read_with({});
    }
    ASSERT_EQ(std::strlen(typed_answer), 39u);
    EXPECT_EQ(std::string(typed_answer), "012345678901234567890123456789012345678");
    read_with({KEY_BACKSPACE});
    read_with({});
    read_with({KEY_9});
    EXPECT_EQ(std::string(typed_answer), "012345678901234567890123456789012345679");
}

TEST_F(answer_input_test, space_leaves_the_level_only_with_a_full_tank) {
    fuel = 59;
    read_with({KEY_SPACE});
    EXPECT_EQ(fuel, 59);
    EXPECT_EQ(answer_timer, 0);

    // At any moment: here during the answer animation.
    fuel = 60;
    answer_state = 2;
    answer_timer = 120;
    read_with({KEY_SPACE});
    EXPECT_EQ(fuel, level_left_fuel);
    EXPECT_EQ(answer_timer, level_left_timer);
}

TEST_F(answer_input_test, canister_speed_follows_the_level_on_every_tick) {
    const int expected[11] = {0, 2, 4, 5, 6, 7, 8, 9, 10, 12, 15};
    for (int n = 1; n <= 10; ++n) {
        level = n;
        canister_speed = -1;
        read_with({});
        EXPECT_EQ(canister_speed, expected[n]) << "level " << n;
    }
}

}  // namespace
