#include <gtest/gtest.h>

#include <allegro.h>

#include <csignal>
#include <memory>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "high_scores.h"
#include "menu_test_support.h"
#include "scratch_folder.h"

namespace {

using bytes = std::vector<unsigned char>;

bytes leading(std::initializer_list<int> scores) {
    bytes b;
    for (int s : scores) {
        b.push_back(static_cast<unsigned char>(s >> 8));
        b.push_back(static_cast<unsigned char>(s & 0xFF));
    }
    return b;
}

void decode(const bytes& b) {
    decode_high_scores(b.data(), static_cast<int>(b.size()));
}

std::vector<int> table() {
    return std::vector<int>(high_scores, high_scores + 5);
}

std::vector<std::string> names() {
    return std::vector<std::string>(high_score_names, high_score_names + 5);
}

bytes encoded() {
    bytes b(high_score_file_size);
    encode_high_scores(b.data());
    return b;
}

const std::vector<int> defaults = {16000, 8000, 4000, 2000, 1000};
const std::vector<std::string> default_names(5, "HALBREK");

class high_score_file : public screen_test {
   protected:
    void SetUp() override {
        screen_test::SetUp();
        decode_high_scores(nullptr, 0);
    }
    void TearDown() override {
        decode_high_scores(nullptr, 0);
        high_score_save_step = nullptr;
        folder.reset();
        screen_test::TearDown();
    }
    void enter_scratch_folder() { folder = std::make_unique<scratch_folder>(); }
    static bytes read_file(const char* path) {
        bytes b;
        if (std::FILE* f = std::fopen(path, "rb")) {
            int c;
            while ((c = std::fgetc(f)) != EOF)
                b.push_back(static_cast<unsigned char>(c));
            std::fclose(f);
        }
        return b;
    }
    static void write_file(const char* path, const bytes& b) {
        std::FILE* f = std::fopen(path, "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(b.data(), 1, b.size(), f);
        std::fclose(f);
    }
    std::unique_ptr<scratch_folder> folder;
};

TEST_F(high_score_file, short_or_missing_files_leave_the_defaults) {
    decode({});
    EXPECT_EQ(table(), defaults);
    decode(bytes(9, 0x7F));
    EXPECT_EQ(table(), defaults);
    enter_scratch_folder();
    load_high_scores();
    EXPECT_EQ(table(), defaults);
    EXPECT_EQ(names(), default_names);
}

TEST_F(high_score_file, ten_bytes_give_five_big_endian_scores_sorted_best_first) {
    decode(leading({30000, 65535, 0, 258, 1000}));
    EXPECT_EQ(table(), (std::vector<int>{65535, 30000, 1000, 258, 0}));
    EXPECT_EQ(names(), default_names);
    bytes longer = leading({5, 4, 3, 2, 1});
    longer.insert(longer.end(), {0xDE, 0xAD, 0xBE, 0xEF});
    decode(longer);
    EXPECT_EQ(table(), (std::vector<int>{5, 4, 3, 2, 1})) << "a foreign tail is ignored";
}

TEST_F(high_score_file, the_extension_keeps_names_and_scores_above_65535) {
    insert_high_score(123456, "ZOE");
    insert_high_score(3000, "max9");
    const bytes b = encoded();
    ASSERT_EQ(b.size(), 79u);
    EXPECT_EQ(b[0], 0xFF);
    EXPECT_EQ(b[1], 0xFF) << "a score above 65535 is stored as 65535 in the leading bytes";
    decode_high_scores(nullptr, 0);
    decode(b);
    EXPECT_EQ(table(), (std::vector<int>{123456, 16000, 8000, 4000, 3000}));
    EXPECT_EQ(names(), (std::vector<std::string>{"ZOE", "HALBREK", "HALBREK", "HALBREK", "max9"}));
}

TEST_F(high_score_file, a_damaged_or_disagreeing_extension_is_ignored) {
    insert_high_score(20000, "ANNA");
    const bytes good = encoded();
    // Every single-byte flip inside the extension leaves the leading scores.
    for (std::size_t i = 10; i < good.size(); ++i) {
        bytes b = good;
        b[i] ^= 0x40;
        decode(b);
        EXPECT_EQ(table(), (std::vector<int>{20000, 16000, 8000, 4000, 2000})) << "byte " << i;
        EXPECT_EQ(names(), default_names) << "byte " << i;
    }
    // A writer that knows only the ten leading bytes changed a score: the
    // extension no longer agrees, and the leading bytes win.
    bytes rewritten = good;
    rewritten[8] = 0x13;
    rewritten[9] = 0x88;  // rank 5 = 5000
    decode(rewritten);
    EXPECT_EQ(table(), (std::vector<int>{20000, 16000, 8000, 5000, 4000}));
    EXPECT_EQ(names(), default_names);
    // Cut short anywhere inside the extension.
    for (std::size_t size = 10; size < good.size(); ++size) {
        decode(bytes(good.begin(), good.begin() + static_cast<long>(size)));
        EXPECT_EQ(names(), default_names) << size;
    }
}

TEST_F(high_score_file, unprintable_name_bytes_are_dropped) {
    std::strcpy(high_score_names[0],
                "A\x01"
                "B");
    insert_high_score(99999, "\x7f\x80\x1b");
    EXPECT_EQ(names()[0], "HALBREK") << "nothing printable is left";
    EXPECT_EQ(insert_high_score(50000,
                                "a\tb\xff"
                                "c"),
              1);
    EXPECT_EQ(names()[1], "abc");
}

TEST_F(high_score_file, new_scores_go_in_at_their_rank) {
    EXPECT_EQ(insert_high_score(1000, "LOW"), -1) << "equal to the lowest: not recorded";
    EXPECT_EQ(table(), defaults);
    EXPECT_EQ(insert_high_score(16001, "TOP"), 0);
    EXPECT_EQ(table(), (std::vector<int>{16001, 16000, 8000, 4000, 2000}));
    EXPECT_EQ(insert_high_score(8000, "MID"), 3) << "below an equal score";
    EXPECT_EQ(table(), (std::vector<int>{16001, 16000, 8000, 8000, 4000}));
    EXPECT_EQ(insert_high_score(4001, "LAST"), 4);
    EXPECT_EQ(table(), (std::vector<int>{16001, 16000, 8000, 8000, 4001}));
    EXPECT_EQ(names(), (std::vector<std::string>{"TOP", "HALBREK", "HALBREK", "MID", "LAST"}));
    EXPECT_EQ(insert_high_score(5000, ""), 4);
    EXPECT_EQ(names()[4], "HALBREK") << "an empty name becomes the default";
}

TEST_F(high_score_file, a_save_writes_the_file_that_a_load_reads_back) {
    enter_scratch_folder();
    insert_high_score(70000, "KIM");
    ASSERT_TRUE(save_high_scores());
    EXPECT_EQ(read_file("hiscores.dat"), encoded());
    EXPECT_TRUE(read_file("hiscores.dat.new").empty()) << "no temporary file is left";
    decode_high_scores(nullptr, 0);
    load_high_scores();
    EXPECT_EQ(table(), (std::vector<int>{70000, 16000, 8000, 4000, 2000}));
    EXPECT_EQ(names()[0], "KIM");
}

TEST_F(high_score_file, a_folder_that_cannot_be_written_keeps_the_table_in_memory) {
    enter_scratch_folder();
    // A folder removed under our feet refuses new files even to root.
    ASSERT_EQ(rmdir(folder->path().c_str()), 0);
    insert_high_score(30000, "RO");
    EXPECT_FALSE(save_high_scores());
    EXPECT_EQ(table()[0], 30000);
    EXPECT_EQ(names()[0], "RO");
}

// A save killed between any two of its steps leaves the old table or the
// new one, never a damaged file.
TEST_F(high_score_file, a_save_killed_at_any_step_leaves_the_old_or_the_new_table) {
    enter_scratch_folder();
    insert_high_score(17000, "OLD");
    ASSERT_TRUE(save_high_scores());
    const bytes old_bytes = read_file("hiscores.dat");
    insert_high_score(18000, "NEW");
    const bytes new_bytes = encoded();
    for (int kill_at = 1; kill_at <= 4; ++kill_at) {
        write_file("hiscores.dat", old_bytes);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            high_score_save_step = [](int step) {
                if (step ==
                    static_cast<int>(std::strtol(std::getenv("REFUEL_KILL_AT"), nullptr, 10))) {
                    raise(SIGKILL);
                }
            };
            setenv("REFUEL_KILL_AT", std::to_string(kill_at).c_str(), 1);
            save_high_scores();
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer should have been killed at " << kill_at;
        const bytes after = read_file("hiscores.dat");
        EXPECT_TRUE(after == old_bytes || after == new_bytes) << "step " << kill_at;
        EXPECT_EQ(after == new_bytes, kill_at == 4) << "the rename is what makes it new";
        std::remove("hiscores.dat.new");
    }
}

class name_entry : public high_score_file {
   protected:
    static int key(int scancode, int ascii) { return (scancode << 8) | ascii; }
};

TEST_F(name_entry, types_capitals_deletes_and_confirms) {
    enter_scratch_folder();
    fake().readkey_queue = {key(KEY_7, '7'), key(KEY_A, 'a')};  // stale keys from the game
    fake().typed_after_clear = {key(KEY_J, 'j'),     key(KEY_O, 'o'),       key(KEY_MINUS, '-'),
                                key(KEY_E, 'E'),     key(KEY_BACKSPACE, 8), key(KEY_2, '2'),
                                key(KEY_SPACE, ' '), key(KEY_ENTER, 13)};
    EXPECT_EQ(enter_high_score(9000), 1);
    EXPECT_EQ(names()[1], "JO2");
    EXPECT_EQ(table()[1], 9000);
    EXPECT_EQ(marked_high_score, 1);
    decode_high_scores(nullptr, 0);
    load_high_scores();
    EXPECT_EQ(names()[1], "JO2") << "the table was written";
}

TEST_F(name_entry, stops_at_seven_characters_and_an_empty_name_is_the_default) {
    enter_scratch_folder();
    for (char c : std::string("ABCDEFGHIJ")) {
        fake().typed_after_clear.push_back(key(KEY_A + (c - 'A'), c));
    }
    fake().typed_after_clear.push_back(key(KEY_ENTER, 13));
    EXPECT_EQ(enter_high_score(20000), 0);
    EXPECT_EQ(names()[0], "ABCDEFG");

    install_fake_platform();
    fake().typed_after_clear = {key(KEY_B, 'b'), key(KEY_BACKSPACE, 8), key(KEY_BACKSPACE, 8),
                                key(KEY_ENTER_PAD, 13)};
    EXPECT_EQ(enter_high_score(19000), 1);
    EXPECT_EQ(names()[1], "HALBREK");
}

TEST_F(name_entry, the_table_waits_until_the_confirming_enter_is_let_go) {
    enter_scratch_folder();
    fake().typed_after_clear = {key(KEY_Z, 'z'), key(KEY_ENTER, 13)};
    // Enter is still down after the buffer gave it; it comes up after 30 ms.
    fake().hold_only({KEY_ENTER});
    fake().on_rest = [](int) {
        if (fake().rests.size() == 3)
            fake().hold_only({});
    };
    ASSERT_EQ(enter_high_score(5000), 2);
    EXPECT_EQ(fake().rests, (std::vector<int>{10, 10, 10}));
}

TEST_F(name_entry, a_score_that_does_not_qualify_asks_nothing) {
    EXPECT_EQ(enter_high_score(1000), -1);
    EXPECT_EQ(fake().count_events("readkey"), 0);
    EXPECT_EQ(table(), defaults);
}

TEST_F(name_entry, the_new_entry_is_marked_once_on_the_table) {
    enter_scratch_folder();
    fake().typed_after_clear = {key(KEY_Q, 'q'), key(KEY_ENTER, 13)};
    ASSERT_EQ(enter_high_score(5000), 2);
    fake().hold_only({KEY_ENTER});
    show_high_scores();
    // The built-in font draws the name at (150, 300) and the score at
    // (550, 300): count gold and white ink per row.
    auto ink = [](int y, int r, int g, int b) {
        int n = 0;
        for (int yy = y; yy < y + 8; ++yy) {
            for (int x = 150; x < 610; ++x) {
                n += getpixel(fake().screen, x, yy) == makecol(r, g, b) ? 1 : 0;
            }
        }
        return n;
    };
    EXPECT_GT(ink(300, 255, 220, 64), 0);
    EXPECT_EQ(ink(300, 255, 255, 255), 0);
    EXPECT_EQ(ink(230, 255, 220, 64), 0);
    EXPECT_GT(ink(230, 255, 255, 255), 0);
    EXPECT_EQ(marked_high_score, -1) << "the mark lasts one showing";
}

}  // namespace
