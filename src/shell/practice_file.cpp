#include "practice_file.h"

#include <algorithm>
#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

#include "data_file.h"

namespace {

// The end of the file, for the header and newline a new game needs first.
std::string block_start(int fd, off_t size) {
    char tail[practice_longest_line + 2];
    const off_t from = std::max<off_t>(0, size - static_cast<off_t>(sizeof tail));
    const ssize_t got = size == 0 ? 0 : pread(fd, tail, sizeof tail, from);
    return practice_block_start(tail, got > 0 ? static_cast<std::size_t>(got) : 0, size == 0);
}

bool write_whole(int fd, const std::string& block) {
    ssize_t written = 0;
    do {
        written = write(fd, block.data(), block.size());
    } while (written < 0 && errno == EINTR);
    return written == static_cast<ssize_t>(block.size());
}

}  // namespace

bool append_practice_game(const std::string& path, const practice_entry* entries, int count,
                          const practice_game& game) {
    if (count <= 0) {
        return true;
    }
    const int fd = open_data_file_to_append(data_file_target(path));
    struct stat st;
    if (fd < 0) {
        return false;
    }
    if (fstat(fd, &st) != 0) {
        (void)close(fd);  // nothing written
        return false;
    }
    // One write of the whole game. Should it come back short (a full disk,
    // the program killed), the game lacks its last row and the reader drops
    // it, never taking it for a shorter game.
    const bool whole =
        write_whole(fd, block_start(fd, st.st_size) + practice_csv_rows(entries, count, game));
    return close(fd) == 0 && whole;
}

practice_file_state read_practice_history(const std::string& path, std::vector<practice_row>& rows,
                                          int* unread) {
    rows.clear();
    std::vector<unsigned char> bytes;
    bool cut = false;
    const data_file_state state =
        read_data_file(data_file_target(path), practice_read_limit, bytes, cut);
    if (state != data_file_read) {
        return state == data_file_missing ? practice_file_missing : practice_file_unreadable;
    }
    auto begin = bytes.begin();
    // Read from the middle: the first line is only the end of a row.
    if (cut) {
        begin = std::find(bytes.begin(), bytes.end(), '\n');
        begin += begin == bytes.end() ? 0 : 1;
    }
    rows = parse_practice_csv(reinterpret_cast<const char*>(bytes.data()) + (begin - bytes.begin()),
                              static_cast<std::size_t>(bytes.end() - begin), unread);
    return practice_file_read;
}
