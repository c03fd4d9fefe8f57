// hiscores.dat: the classic ten bytes, our extension with names and full
// scores, and saves that never lose a table the game could not read.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <zlib.h>

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
    const uLong crc = crc32(0, ours.data() + 10, 65);  // big-endian at 75
    EXPECT_EQ(bytes(ours.begin() + 75, ours.end()), classic({int(crc >> 16), int(crc & 0xFFFF)}));
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

TEST_F(high_score_file, a_file_that_cannot_be_read_is_never_written_over) {
    // A link followed overwrites its file; /proc/self/mem fails with EIO; a FIFO's open waits.
    const bytes theirs = classic({30000, 1, 1, 1, 1});
    write_file("mine", theirs);
    write_file("theirs", theirs);
    const struct {
        const char* what;
        int (*plant)();
        mode_t kind;
    } cases[] = {
        {"their link",
         [] { return symlink("mine", "hiscores.dat") | lchown("hiscores.dat", 65534, 65534); },
         S_IFLNK},
        {"a link to their file",
         [] { return symlink("theirs", "hiscores.dat") | chown("theirs", 65534, 65534); }, S_IFLNK},
        {"a folder", [] { return mkdir("hiscores.dat", 0755); }, S_IFDIR},
        {"an I/O error", [] { return symlink("/proc/self/mem", "hiscores.dat"); }, S_IFLNK},
        {"a FIFO", [] { return mkfifo("hiscores.dat", 0644); }, S_IFIFO},
    };
    for (const auto& c : cases) {
        std::remove("hiscores.dat");
        if (c.plant() != 0) {
            EXPECT_NE(geteuid(), 0u) << c.what;  // only root can make another player's file
            continue;
        }
        load_high_scores();
        EXPECT_EQ(table()[0], 16000) << c.what;
        add_pilot();
        EXPECT_FALSE(save_high_scores()) << c.what;
        struct stat st;
        ASSERT_EQ(lstat("hiscores.dat", &st), 0);
        EXPECT_EQ(st.st_mode & S_IFMT, c.kind) << c.what;
    }
    EXPECT_EQ(read_file("mine"), theirs);
    EXPECT_EQ(read_file("theirs"), theirs);
}

TEST_F(high_score_file, bytes_it_does_not_understand_are_kept_and_links_followed) {
    ASSERT_EQ(mkdir("real", 0755), 0);
    // A link's relative target is taken from the link's own folder.
    ASSERT_EQ(symlink("real/link", "hiscores.dat") | symlink("scores", "real/link"), 0);
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
