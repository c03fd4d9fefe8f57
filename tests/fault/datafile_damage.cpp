// Makes damaged copies of a datafile for the end-to-end damage tests, and
// tells where its structure lies, so flips can aim at the numbers the
// loader trusts as well as at plain pixel or sound data.
//
//   refuel_datafile_damage entries FILE        index type offset-of-type end
//   refuel_datafile_damage fields FILE         one offset a line: every byte
//                                              of a header, count, size or
//                                              payload header
//   refuel_datafile_damage flip IN OUT OFFSET XOR
//   refuel_datafile_damage kind IN OUT ENTRY FOURCC
//   refuel_datafile_damage keep IN OUT N       the first N entries, count
//                                              rewritten, the rest dropped
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t prop_id = 0x70726F70;  // "prop"

std::uint32_t fourcc(const char* s) {
    return (std::uint32_t{static_cast<std::uint8_t>(s[0])} << 24) |
           (std::uint32_t{static_cast<std::uint8_t>(s[1])} << 16) |
           (std::uint32_t{static_cast<std::uint8_t>(s[2])} << 8) |
           std::uint32_t{static_cast<std::uint8_t>(s[3])};
}

bool read_file(const char* path, bytes& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool write_file(const char* path, const bytes& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
    return static_cast<bool>(out);
}

std::uint32_t be32(const bytes& b, std::size_t at) {
    return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) |
           (std::uint32_t{b[at + 2]} << 8) | std::uint32_t{b[at + 3]};
}

std::uint32_t be16(const bytes& b, std::size_t at) {
    return (std::uint32_t{b[at]} << 8) | std::uint32_t{b[at + 1]};
}

void put32(bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
    }
}

struct entry {
    std::uint32_t type = 0;
    std::size_t start = 0;       // first byte of its properties
    std::size_t type_at = 0;     // the type field
    std::size_t payload_at = 0;  // first byte after the two size fields
    std::size_t end = 0;         // one past the payload
    std::vector<std::size_t> property_headers;
};

// Walks a well-formed uncompressed datafile; the tool is only ever given
// the files the build made, so any surprise is an error.
bool walk(const bytes& b, std::vector<entry>& out) {
    if (b.size() < 12 || be32(b, 0) != fourcc("slh.") || be32(b, 4) != fourcc("ALL.")) {
        return false;
    }
    const std::uint32_t count = be32(b, 8);
    std::size_t pos = 12;
    for (std::uint32_t i = 0; i < count; ++i) {
        entry e;
        e.start = pos;
        for (;;) {
            if (pos + 4 > b.size()) {
                return false;
            }
            if (be32(b, pos) != prop_id) {
                break;
            }
            if (pos + 12 > b.size()) {
                return false;
            }
            e.property_headers.push_back(pos);
            pos += 12 + be32(b, pos + 8);
        }
        if (pos + 12 > b.size()) {
            return false;
        }
        e.type = be32(b, pos);
        e.type_at = pos;
        const std::uint32_t size = be32(b, pos + 8);
        e.payload_at = pos + 12;
        e.end = e.payload_at + size;
        if (e.end > b.size()) {
            return false;
        }
        pos = e.end;
        out.push_back(e);
    }
    return pos == b.size();
}

void print_range(std::size_t from, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        std::printf("%zu\n", from + i);
    }
}

// The bytes whose values the loader believes: headers, counts, sizes and
// the header fields of each picture, font and sound.
void print_fields(const bytes& b, const std::vector<entry>& entries) {
    print_range(0, 12);
    for (const entry& e : entries) {
        for (const std::size_t p : e.property_headers) {
            print_range(p, 12);
        }
        print_range(e.type_at, 12);
        const std::size_t p = e.payload_at;
        if (e.type == fourcc("BMP ")) {
            print_range(p, 6);
        } else if (e.type == fourcc("SAMP")) {
            print_range(p, 8);
        } else if (e.type == fourcc("FONT")) {
            print_range(p, 4);
            const std::uint32_t ranges = be16(b, p + 2);
            std::size_t at = p + 4;
            for (std::uint32_t r = 0; r < ranges && at + 9 <= e.end; ++r) {
                const bool mono = b[at] != 0;
                const std::uint32_t first = be32(b, at + 1);
                const std::uint32_t last = be32(b, at + 5);
                print_range(at, 9);
                at += 9;
                for (std::uint32_t c = first; c <= last && at + 4 <= e.end; ++c) {
                    const std::uint32_t w = be16(b, at);
                    const std::uint32_t h = be16(b, at + 2);
                    print_range(at, 4);
                    at += 4 + (mono ? (w + 7) / 8 * h : w * h);
                }
            }
        }
    }
}

int usage() {
    std::fprintf(stderr,
                 "usage: refuel_datafile_damage entries FILE | fields FILE | flip IN OUT OFFSET "
                 "XOR | kind IN OUT ENTRY FOURCC | keep IN OUT N\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        return usage();
    }
    const std::string mode = argv[1];
    bytes b;
    std::vector<entry> entries;
    if (!read_file(argv[2], b) || !walk(b, entries)) {
        std::fprintf(stderr, "%s is not a datafile this tool can read\n", argv[2]);
        return 1;
    }
    if (mode == "entries" && argc == 3) {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::uint32_t t = entries[i].type;
            std::printf("%zu %c%c%c%c %zu %zu\n", i, static_cast<char>(t >> 24),
                        static_cast<char>(t >> 16), static_cast<char>(t >> 8), static_cast<char>(t),
                        entries[i].type_at, entries[i].end);
        }
        return 0;
    }
    if (mode == "fields" && argc == 3) {
        print_fields(b, entries);
        return 0;
    }
    if (mode == "flip" && argc == 6) {
        const std::size_t at = std::strtoull(argv[4], nullptr, 10);
        const unsigned x = static_cast<unsigned>(std::strtoul(argv[5], nullptr, 10));
        if (at >= b.size() || x == 0 || x > 255) {
            return usage();
        }
        b[at] = static_cast<std::uint8_t>(b[at] ^ x);
        return write_file(argv[3], b) ? 0 : 1;
    }
    if (mode == "kind" && argc == 6) {
        const std::size_t i = std::strtoull(argv[4], nullptr, 10);
        if (i >= entries.size() || std::strlen(argv[5]) != 4) {
            return usage();
        }
        put32(b, entries[i].type_at, fourcc(argv[5]));
        return write_file(argv[3], b) ? 0 : 1;
    }
    if (mode == "keep" && argc == 5) {
        const std::size_t n = std::strtoull(argv[4], nullptr, 10);
        if (n > entries.size()) {
            return usage();
        }
        put32(b, 8, static_cast<std::uint32_t>(n));
        b.resize(n == 0 ? 12 : entries[n - 1].end);
        return write_file(argv[3], b) ? 0 : 1;
    }
    return usage();
}
