// hiscores.dat: the classic ten bytes, our extension with names and full
// scores, and saves that never lose a table the game could not read.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "high_score_table.h"
#include "scratch_folder.h"

namespace {

using bytes = std::vector<unsigned char>;

bytes classic(std::initializer_list<int> scores) {
    bytes b;
    for (int s : scores) {
        b.push_back(static_cast<unsigned char>(s >> 8));
        b.push_back(static_cast<unsigned char>(s & 0xFF));
    }
    return b;
}

bytes encoded() {
    bytes b(high_score_file_size);
    encode_high_scores(b.data());
    return b;
}

std::vector<int> table() {
    return std::vector<int>(high_scores, high_scores + high_score_count);
}

bytes read_file(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return bytes(std::istreambuf_iterator<char>(in), {});
}

void write_file(const char* path, const bytes& b) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

class high_score_file : public testing::Test {
   protected:
    void SetUp() override { decode_high_scores(nullptr, 0); }
    // Back to a fresh run's table, with nothing kept from these files.
    void TearDown() override {
        high_score_path = "no-such-file";
        load_high_scores();
        high_score_path = "hiscores.dat";
    }
    // A table with a new entry on top, as a finished game leaves it.
    static void add_pilot() { insert_high_score(20000, "PILOT"); }
    scratch_folder folder;
};

TEST_F(high_score_file, decodes_the_classic_bytes_and_only_an_agreeing_extension) {
    add_pilot();
    insert_high_score(70000, "ZOE");
    const bytes ours = encoded();
    bytes stale = ours;  // a classic writer changed rank 5 since
    stale[9] ^= 1;
    bytes damaged = ours;
    damaged[20] ^= 0x40;  // a letter of the best name
    const struct {
        bytes file;
        std::vector<int> scores;
        const char* top_name;
    } cases[] = {
        {{}, {16000, 8000, 4000, 2000, 1000}, "HALBREK"},
        {bytes(9, 0x7F), {16000, 8000, 4000, 2000, 1000}, "HALBREK"},
        {classic({300, 65535, 0, 258, 1000}), {65535, 1000, 300, 258, 0}, "HALBREK"},
        {ours, {70000, 20000, 16000, 8000, 4000}, "ZOE"},
        {stale, {65535, 20000, 16000, 8000, 4001}, "HALBREK"},
        {damaged, {65535, 20000, 16000, 8000, 4000}, "HALBREK"},
        {bytes(ours.begin(), ours.end() - 1), {65535, 20000, 16000, 8000, 4000}, "HALBREK"},
    };
    for (const auto& c : cases) {
        decode_high_scores(c.file.data(), static_cast<int>(c.file.size()));
        EXPECT_EQ(table(), c.scores) << c.file.size() << " bytes";
        EXPECT_STREQ(high_score_names[0], c.top_name) << c.file.size() << " bytes";
    }
}

TEST_F(high_score_file, a_new_score_goes_below_equal_ones_and_must_beat_the_lowest) {
    EXPECT_FALSE(is_high_score(1000));
    EXPECT_EQ(insert_high_score(1000, "NO"), -1);
    EXPECT_EQ(insert_high_score(8000, "ann\x01ie"), 2);
    EXPECT_EQ(insert_high_score(2001, ""), 4);
    EXPECT_EQ(table(), (std::vector<int>{16000, 8000, 8000, 4000, 2001}));
    EXPECT_STREQ(high_score_names[4], "HALBREK");
    const bytes file = encoded();  // equal scores keep their order when read back
    decode_high_scores(file.data(), static_cast<int>(file.size()));
    EXPECT_STREQ(high_score_names[1], "HALBREK");
    EXPECT_STREQ(high_score_names[2], "annie");
}

TEST_F(high_score_file, a_saved_table_comes_back_and_a_missing_file_is_made) {
    load_high_scores();
    add_pilot();
    ASSERT_TRUE(save_high_scores());
    // The fixed name the temporary file once had may be taken by anything.
    ASSERT_EQ(mkdir("hiscores.dat.new", 0755), 0);
    ASSERT_TRUE(save_high_scores());
    decode_high_scores(nullptr, 0);
    load_high_scores();
    EXPECT_EQ(table()[0], 20000);
    EXPECT_STREQ(high_score_names[0], "PILOT");
    EXPECT_EQ(read_file("hiscores.dat").size(), 79u);
}

TEST_F(high_score_file, a_file_that_cannot_be_read_is_never_written_over) {
    // A folder in its place, and reading that fails part way (/proc/self/mem
    // refuses its first page with an I/O error, even to root).
    for (const bool folder_in_place : {true, false}) {
        if (folder_in_place) {
            ASSERT_EQ(mkdir("hiscores.dat", 0755), 0);
        } else {
            ASSERT_EQ(rmdir("hiscores.dat"), 0);
            ASSERT_EQ(symlink("/proc/self/mem", "hiscores.dat"), 0);
        }
        load_high_scores();
        EXPECT_EQ(table()[0], 16000);
        add_pilot();
        EXPECT_FALSE(save_high_scores());
        struct stat st;
        ASSERT_EQ(lstat("hiscores.dat", &st), 0);
        EXPECT_TRUE(folder_in_place ? S_ISDIR(st.st_mode) : S_ISLNK(st.st_mode));
    }
}

TEST_F(high_score_file, bytes_it_does_not_understand_are_kept_and_links_followed) {
    ASSERT_EQ(mkdir("real", 0755), 0);
    ASSERT_EQ(symlink("real/scores", "hiscores.dat"), 0);
    bytes later = encoded();  // our extension, then what a later version added
    later.insert(later.end(), {'N', 'E', 'X', 'T'});
    bytes foreign = classic({5, 4, 3, 2, 1});  // something else after byte 10
    foreign.insert(foreign.end(), {'O', 'T', 'H', 'E', 'R'});
    const struct {
        bytes before;
        std::size_t understood;
    } cases[] = {{later, 79}, {foreign, 10}};
    for (const auto& c : cases) {
        write_file("real/scores", c.before);
        load_high_scores();
        add_pilot();
        ASSERT_TRUE(save_high_scores());
        const bytes after = read_file("real/scores");
        ASSERT_EQ(after.size(), c.before.size()) << c.understood;
        EXPECT_EQ(bytes(after.begin() + c.understood, after.end()),
                  bytes(c.before.begin() + c.understood, c.before.end()));
        EXPECT_EQ(after[0] * 256 + after[1], 20000);
        struct stat st;
        ASSERT_EQ(lstat("hiscores.dat", &st), 0);
        EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link stays a link";
    }
}

}  // namespace
