#include "high_score_table.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

const char* const default_high_score_name = "HALBREK";

int high_scores[high_score_count] = {16000, 8000, 4000, 2000, 1000};
char high_score_names[high_score_count][high_score_name_length + 1] = {
    "HALBREK", "HALBREK", "HALBREK", "HALBREK", "HALBREK"};
void (*high_score_save_step)(int step) = nullptr;

namespace {

constexpr int default_scores[high_score_count] = {16000, 8000, 4000, 2000, 1000};
constexpr unsigned char extension_magic[4] = {'R', 'F', 'H', 'S'};
constexpr int extension_version = 1;
constexpr int record_size = 4 + high_score_name_length + 1;
constexpr int extension_body = 4 + 1 + high_score_count * record_size;  // magic to last record

// The default name fills a name slot exactly, NUL included.
void set_default_name(int rank) {
    static_assert(sizeof "HALBREK" == sizeof high_score_names[0], "name slot size");
    std::memcpy(high_score_names[rank], default_high_score_name, sizeof high_score_names[rank]);
}

void set_defaults() {
    for (int rank = 0; rank < high_score_count; ++rank) {
        high_scores[rank] = default_scores[rank];
        set_default_name(rank);
    }
}

// Where a rank's two classic bytes and its extension record lie.
std::ptrdiff_t classic_at(int rank) {
    return 2 * static_cast<std::ptrdiff_t>(rank);
}
std::ptrdiff_t record_at(int rank) {
    return 10 + 5 + static_cast<std::ptrdiff_t>(rank) * record_size;
}

int classic_score(const unsigned char* bytes, int rank) {
    return bytes[classic_at(rank)] * 256 + bytes[classic_at(rank) + 1];
}

// Keeps the printable characters of a name, at most seven; an empty result
// becomes the default name.
void set_name(int rank, const char* name, int length) {
    int kept = 0;
    for (int i = 0; i < length && name[i] != '\0' && kept < high_score_name_length; ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c >= 32 && c <= 126) {
            high_score_names[rank][kept++] = static_cast<char>(c);
        }
    }
    high_score_names[rank][kept] = '\0';
    if (kept == 0) {
        set_default_name(rank);
    }
}

unsigned crc32_of(const unsigned char* data, int size) {
    unsigned crc = 0xFFFFFFFFu;
    for (int i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

unsigned read_be32(const unsigned char* p) {
    return (static_cast<unsigned>(p[0]) << 24) | (static_cast<unsigned>(p[1]) << 16) |
           (static_cast<unsigned>(p[2]) << 8) | p[3];
}

void write_be32(unsigned char* p, unsigned v) {
    p[0] = static_cast<unsigned char>(v >> 24);
    p[1] = static_cast<unsigned char>(v >> 16);
    p[2] = static_cast<unsigned char>(v >> 8);
    p[3] = static_cast<unsigned char>(v);
}

int clamp_16(int score) {
    return score < 0 ? 0 : (score > 65535 ? 65535 : score);
}

// The extension counts only when it is whole, its checksum holds, and its
// scores agree with the ten leading bytes (a writer that knows only those
// may have changed them since).
bool extension_agrees(const unsigned char* bytes, int size) {
    if (size < high_score_file_size) {
        return false;
    }
    const unsigned char* ext = bytes + 10;
    if (std::memcmp(ext, extension_magic, 4) != 0 || ext[4] != extension_version) {
        return false;
    }
    if (crc32_of(ext, extension_body) != read_be32(ext + extension_body)) {
        return false;
    }
    for (int rank = 0; rank < high_score_count; ++rank) {
        const unsigned full = read_be32(bytes + record_at(rank));
        if (full > 0x7FFFFFFFu) {
            return false;
        }
        if (clamp_16(static_cast<int>(full)) != classic_score(bytes, rank)) {
            return false;
        }
    }
    return true;
}

// Best first; equal scores keep their order.
void sort_table() {
    for (int i = 1; i < high_score_count; ++i) {
        for (int j = i; j > 0 && high_scores[j] > high_scores[j - 1]; --j) {
            const int s = high_scores[j];
            high_scores[j] = high_scores[j - 1];
            high_scores[j - 1] = s;
            char name[high_score_name_length + 1];
            std::memcpy(name, high_score_names[j], sizeof name);
            std::memcpy(high_score_names[j], high_score_names[j - 1], sizeof name);
            std::memcpy(high_score_names[j - 1], name, sizeof name);
        }
    }
}

void step(int n) {
    if (high_score_save_step != nullptr) {
        high_score_save_step(n);
    }
}

bool write_all(int fd, const unsigned char* data, int size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, static_cast<std::size_t>(size));
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<int>(n);
    }
    return true;
}

}  // namespace

void decode_high_scores(const unsigned char* bytes, int size) {
    set_defaults();
    if (size < 10) {
        return;
    }
    const bool extended = extension_agrees(bytes, size);
    for (int rank = 0; rank < high_score_count; ++rank) {
        if (extended) {
            const unsigned char* record = bytes + record_at(rank);
            high_scores[rank] = static_cast<int>(read_be32(record));
            set_name(rank, reinterpret_cast<const char*>(record + 4), high_score_name_length + 1);
        } else {
            high_scores[rank] = classic_score(bytes, rank);
        }
    }
    sort_table();
}

void encode_high_scores(unsigned char out[high_score_file_size]) {
    std::memset(out, 0, high_score_file_size);
    for (int rank = 0; rank < high_score_count; ++rank) {
        const int s = clamp_16(high_scores[rank]);
        out[classic_at(rank)] = static_cast<unsigned char>(s >> 8);
        out[classic_at(rank) + 1] = static_cast<unsigned char>(s & 0xFF);
    }
    unsigned char* ext = out + 10;
    std::memcpy(ext, extension_magic, 4);
    ext[4] = extension_version;
    for (int rank = 0; rank < high_score_count; ++rank) {
        unsigned char* record = out + record_at(rank);
        write_be32(record, static_cast<unsigned>(high_scores[rank] < 0 ? 0 : high_scores[rank]));
        std::memcpy(record + 4, high_score_names[rank], std::strlen(high_score_names[rank]));
    }
    write_be32(ext + extension_body, crc32_of(ext, extension_body));
}

void load_high_scores() {
    unsigned char bytes[high_score_file_size];
    int size = 0;
    if (std::FILE* f = std::fopen("hiscores.dat", "rb")) {
        size = static_cast<int>(std::fread(bytes, 1, sizeof bytes, f));
        (void)std::fclose(f);  // only read: nothing to lose
    }
    decode_high_scores(bytes, size);
}

bool save_high_scores() {
    unsigned char bytes[high_score_file_size];
    encode_high_scores(bytes);
    const char* temporary = "hiscores.dat.new";
    const int fd = open(temporary, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        return false;
    }
    step(1);
    const bool written = write_all(fd, bytes, high_score_file_size);
    step(2);
    const bool synced = written && fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    step(3);
    if (!written || !synced || !closed || std::rename(temporary, "hiscores.dat") != 0) {
        // Nothing more can be done about a folder that refuses writes.
        (void)std::remove(temporary);
        return false;
    }
    step(4);
    // The rename itself lasts once the folder is on disk too.
    const int dir = open(".", O_RDONLY);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

int insert_high_score(int score, const char* name) {
    if (!is_high_score(score)) {
        return -1;
    }
    int rank = 0;
    while (high_scores[rank] >= score) {
        ++rank;
    }
    for (int i = high_score_count - 1; i > rank; --i) {
        high_scores[i] = high_scores[i - 1];
        std::memcpy(high_score_names[i], high_score_names[i - 1], sizeof high_score_names[i]);
    }
    high_scores[rank] = score;
    set_name(rank, name, high_score_name_length);
    return rank;
}

bool is_high_score(int score) {
    return score > high_scores[high_score_count - 1];
}
