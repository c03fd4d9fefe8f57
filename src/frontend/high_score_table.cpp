#include "high_score_table.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "data_file.h"
#include "game_paths.h"

const char* const default_high_score_name = "HALBREK";

int high_scores[high_score_count] = {16000, 8000, 4000, 2000, 1000};
char high_score_names[high_score_count][high_score_name_length + 1] = {
    "HALBREK", "HALBREK", "HALBREK", "HALBREK", "HALBREK"};
std::string high_score_path;
std::string high_score_seed_path;
bool high_score_file_writable = true;
int high_score_lock_patience_ms = 20000;

namespace {

// hiscores.dat in the working folder until start-up says where it is.
std::string score_file() {
    return high_score_path.empty() ? std::string("hiscores.dat") : high_score_path;
}

// Bytes of the file past what this version understands: written back after
// the table, so a later version's additions survive our saves.
std::vector<unsigned char> kept_tail;
// The tail starts at byte 10, not after our extension: the file holds
// something else there, which a save keeps in place (and so leaves the
// names and full scores out).
bool tail_after_classic = false;
// A larger file is not ours to rewrite.
constexpr std::size_t largest_kept_file = 1 << 20;

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

namespace {

// Whether bytes 10 on are our own extension (whole or not), which a save
// rewrites; anything else there is kept.
bool extension_is_ours(const unsigned char* bytes, int size) {
    return size >= 15 && std::memcmp(bytes + 10, extension_magic, 4) == 0 &&
           bytes[14] == extension_version;
}

enum class table_file { read, missing, unreadable };

// Reads the table and the bytes to keep from path; both stay as they are
// when it cannot.
table_file read_table(const std::string& path) {
    std::vector<unsigned char> bytes;
    bool cut = false;
    const data_file_state state =
        read_data_file(data_file_target(path), largest_kept_file, bytes, cut);
    if (state != data_file_read || cut) {
        return state == data_file_missing ? table_file::missing : table_file::unreadable;
    }
    const int size = static_cast<int>(bytes.size());
    decode_high_scores(bytes.data(), size);
    kept_tail.clear();
    tail_after_classic = false;
    if (extension_is_ours(bytes.data(), size)) {
        if (size > high_score_file_size) {
            kept_tail.assign(bytes.begin() + high_score_file_size, bytes.end());
        }
    } else if (size > 10) {
        kept_tail.assign(bytes.begin() + 10, bytes.end());
        tail_after_classic = true;
    }
    return table_file::read;
}

}  // namespace

void load_high_scores() {
    kept_tail.clear();
    tail_after_classic = false;
    decode_high_scores(nullptr, 0);
    const table_file found = read_table(score_file());
    if (found == table_file::missing && !high_score_seed_path.empty()) {
        (void)read_table(high_score_seed_path);  // only shown: the defaults when it fails
    }
    // Only a file that is not there may be replaced by a fresh table; one we
    // cannot read is left alone for the whole run.
    high_score_file_writable = found != table_file::unreadable;
}

int record_high_score(int score, const char* name, bool& saved) {
    // The lock lies beside the table itself, wherever links lead, so that
    // copies reaching it by different paths take turns all the same.
    const int lock = lock_data_file(data_file_target(score_file()), high_score_lock_patience_ms);
    // A table gone since start-up leaves the one in view, which the save
    // then writes out.
    high_score_file_writable = read_table(score_file()) != table_file::unreadable;
    const int rank = insert_high_score(score, name);
    // Without the lock another copy may be between its reading and its
    // saving, and one of the two tables would replace the other: the score
    // stays in view, unsaved, rather than lose someone's.
    saved = rank < 0 || (lock >= 0 && save_high_scores());
    if (lock >= 0) {
        (void)close(lock);
    }
    return rank;
}

bool save_high_scores() {
    if (!high_score_file_writable) {
        return false;
    }
    std::vector<unsigned char> bytes(high_score_file_size);
    encode_high_scores(bytes.data());
    if (tail_after_classic) {
        bytes.resize(10);
    }
    bytes.insert(bytes.end(), kept_tail.begin(), kept_tail.end());
    // A player's own table is kept in a folder made on the first save.
    make_folders_for(high_score_path);
    return replace_data_file(data_file_target(score_file()), bytes);
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
