#include "data_file.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "game_paths.h"

namespace {

// Not blocking: the open of a FIFO would wait for a writer for ever.
constexpr int safe_flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;

bool regular_file(int fd, struct stat& st) {
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

// The mode a new file would get, or the one the replaced file has.
mode_t file_mode(const std::string& target) {
    struct stat st;
    if (lstat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        return st.st_mode & 07777;
    }
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

bool write_all(int fd, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::string data_file_target(const std::string& path) {
    const uid_t player = geteuid();
    std::string target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(target.c_str(), &st) != 0) {
            return target;  // opening it tells missing from unreadable
        }
        if (!S_ISLNK(st.st_mode)) {
            return hops == 0 || st.st_uid == player ? target : std::string();
        }
        char link[PATH_MAX];
        const ssize_t n = readlink(target.c_str(), link, sizeof link);
        if (st.st_uid != player || n <= 0 || n >= static_cast<ssize_t>(sizeof link)) {
            return std::string();
        }
        std::string next(link, static_cast<std::size_t>(n));
        const std::size_t slash = target.rfind('/');
        if (next[0] != '/' && slash != std::string::npos) {
            next.insert(0, target, 0, slash + 1);
        }
        target = next;
    }
    return std::string();
}

data_file_state read_data_file(const std::string& target, std::size_t limit,
                               std::vector<unsigned char>& bytes, bool& cut) {
    bytes.clear();
    cut = false;
    const int fd = target.empty() ? -1 : open(target.c_str(), O_RDONLY | safe_flags);
    if (fd < 0) {
        return !target.empty() && errno == ENOENT ? data_file_missing : data_file_unreadable;
    }
    struct stat st;
    bool whole = regular_file(fd, st);
    if (whole) {
        const off_t size = st.st_size;
        const off_t from = size > static_cast<off_t>(limit) ? size - static_cast<off_t>(limit) : 0;
        cut = from > 0;
        bytes.resize(static_cast<std::size_t>(size - from));
        std::size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n =
                pread(fd, bytes.data() + got, bytes.size() - got, from + static_cast<off_t>(got));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                whole = n == 0;  // a file that shrank meanwhile reads as far as it goes
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        bytes.resize(got);
    }
    (void)close(fd);  // only read: nothing to lose
    return whole ? data_file_read : data_file_unreadable;
}

int open_data_file_to_append(const std::string& target) {
    if (target.empty()) {
        return -1;
    }
    // An installed game's folder is made by whichever file comes first.
    make_folders_for(target);
    const int fd = open(target.c_str(), O_RDWR | O_APPEND | O_CREAT | safe_flags, 0666);
    struct stat st;
    if (fd >= 0 && !regular_file(fd, st)) {
        (void)close(fd);
        return -1;
    }
    return fd;
}

int lock_data_file(const std::string& target, int patience_ms) {
    if (target.empty()) {
        return -1;
    }
    make_folders_for(target);
    const std::string name = target + ".lock";
    int fd = open(name.c_str(), O_RDWR | O_CREAT | safe_flags, 0666);
    if (fd < 0) {
        fd = open(name.c_str(), O_RDONLY | O_CREAT | safe_flags, 0666);  // another player's
    }
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::milliseconds(patience_ms);
    while (fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) ||
            std::chrono::steady_clock::now() >= give_up) {
            (void)close(fd);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return fd;
}

bool replace_data_file(const std::string& target, const std::vector<unsigned char>& bytes) {
    if (target.empty()) {
        return false;
    }
    make_folders_for(target);
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    // A name of its own, so two games saving into one folder at once cannot
    // write into each other's file.
    std::string temporary = target + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        return false;
    }
    const bool written =
        fchmod(fd, file_mode(target)) == 0 && write_all(fd, bytes.data(), bytes.size());
    const bool synced = written && fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (!written || !synced || !closed || std::rename(temporary.c_str(), target.c_str()) != 0) {
        // Nothing more can be done about a folder that refuses writes.
        (void)std::remove(temporary.c_str());
        return false;
    }
    // The rename itself lasts once the folder is on disk too.
    const int dir = open(folder.c_str(), O_RDONLY | O_CLOEXEC);
    if (dir >= 0) {
        (void)fsync(dir);
        (void)close(dir);
    }
    return true;
}
