#include "datafile_check.h"

#include <allegro.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

// Layout of an uncompressed datafile (all numbers big-endian):
//   "slh." "ALL." count:32 object*count
//   object   = property* type:32 size:32 size_again:32 payload[size]
//   property = "prop" id:32 length:32 text[length]
// Payloads of the kinds the game uses:
//   bitmap = bits:16 width:16 height:16 pixels[width*height*bytes(bits)]
//   font   = 0:16 ranges:16 range*ranges
//            range = mono:8 first:32 last:32 glyph*(last-first+1)
//            glyph = width:16 height:16 data[mono ? (width+7)/8*height : width*height]
//   sample = bits:16 (negative for stereo) freq:16 length:32
//            data[length*channels*bits/8]
// The library's loader trusts every one of these numbers, so each is checked
// against the bytes that are really there before the loader sees the file.

namespace {

constexpr std::uint32_t uncompressed_magic = 0x736C682E;  // "slh."
constexpr std::uint32_t compressed_magic = 0x736C6821;    // "slh!"
constexpr std::uint32_t datafile_magic = 0x414C4C2E;      // "ALL."
// Far above the game's 25 MB of pictures; anything bigger is not ours.
constexpr long largest_file = 256L * 1024 * 1024;
// Bitmaps and glyphs beyond this are damage, not artwork; it also keeps
// width * height * 4 well inside 64 bits.
constexpr std::uint32_t largest_side = 16384;

char message[160];

const char* say(const char* text) {
    return text;
}

template <typename... Args>
const char* say(const char* format, Args... args) {
    std::snprintf(message, sizeof message, format, args...);
    return message;
}

// A cursor over the bytes of the file; every read first checks that the
// bytes are there, so nothing is read past the end.
struct cursor {
    const std::uint8_t* bytes;
    std::size_t size;
    std::size_t pos = 0;

    std::size_t left() const { return size - pos; }
    bool has(std::uint64_t n) const { return n <= left(); }
    std::uint32_t u32() {
        const std::uint8_t* p = bytes + pos;
        pos += 4;
        return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) |
               (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]};
    }
    std::uint16_t u16() {
        const std::uint8_t* p = bytes + pos;
        pos += 2;
        return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
    }
    std::uint8_t u8() { return bytes[pos++]; }
    void skip(std::uint64_t n) { pos += static_cast<std::size_t>(n); }
};

const char* kind_name(int type) {
    switch (type) {
        case DAT_BITMAP:
            return "a picture";
        case DAT_FONT:
            return "a font";
        case DAT_SAMPLE:
            return "a sound";
        default:
            return "of the kind needed";
    }
}

// Kinds the library decodes with readers of their own. The game uses only
// pictures, fonts and sounds; the rest are refused rather than trusted.
// Unknown kinds are kept by the loader as plain bytes, which is safe.
bool has_unchecked_reader(std::uint32_t type) {
    switch (type) {
        case DAT_FILE:
        case DAT_MIDI:
        case DAT_PATCH:
        case DAT_FLI:
        case DAT_RLE_SPRITE:
        case DAT_C_SPRITE:
        case DAT_XC_SPRITE:
        case DAT_PALETTE:
            return true;
        default:
            return false;
    }
}

int bytes_per_pixel(int bits) {
    switch (bits) {
        case 8:
            return 1;
        case 15:
        case 16:
            return 2;
        case 24:
            return 3;
        case 32:
        case -32:
            return 4;
        default:
            return 0;
    }
}

// Each payload check gets a cursor over exactly the object's bytes and
// returns nullptr when they hold what the header fields say.

const char* bitmap_fault(cursor c, int entry) {
    if (!c.has(6)) {
        return say("entry %d is a damaged picture (no header)", entry);
    }
    const int bits = static_cast<std::int16_t>(c.u16());
    const std::uint32_t width = c.u16();
    const std::uint32_t height = c.u16();
    const int bpp = bytes_per_pixel(bits);
    if (bpp == 0) {
        return say("entry %d is a damaged picture (colour depth %d)", entry, bits);
    }
    if (width == 0 || height == 0 || width > largest_side || height > largest_side) {
        return say("entry %d is a damaged picture (size %ux%u)", entry, width, height);
    }
    if (std::uint64_t{width} * height * bpp != c.left()) {
        return say("entry %d is a damaged picture (pixel data does not match %ux%u)", entry, width,
                   height);
    }
    return nullptr;
}

const char* font_fault(cursor c, int entry) {
    if (!c.has(4)) {
        return say("entry %d is a damaged font (no header)", entry);
    }
    const int form = static_cast<std::int16_t>(c.u16());
    if (form != 0) {
        return say("entry %d is a font of an old form (%d) that is not read", entry, form);
    }
    const int ranges = c.u16();
    if (ranges == 0) {
        return say("entry %d is a damaged font (no characters)", entry);
    }
    int first_mono = -1;
    for (int r = 0; r < ranges; ++r) {
        if (!c.has(9)) {
            return say("entry %d is a damaged font (range %d is cut short)", entry, r);
        }
        const int mono = c.u8();
        const std::uint32_t first = c.u32();
        const std::uint32_t last = c.u32();
        if (mono > 1 || (first_mono >= 0 && mono != first_mono)) {
            return say("entry %d is a damaged font (range %d has format %d)", entry, r, mono);
        }
        first_mono = mono;
        if (first > last || last > 0x10FFFF) {
            return say("entry %d is a damaged font (range %d runs from %u to %u)", entry, r, first,
                       last);
        }
        for (std::uint32_t ch = first; ch <= last; ++ch) {
            if (!c.has(4)) {
                return say("entry %d is a damaged font (character %u is cut short)", entry, ch);
            }
            const std::uint32_t w = c.u16();
            const std::uint32_t h = c.u16();
            if (w == 0 || h == 0 || w > largest_side || h > largest_side) {
                return say("entry %d is a damaged font (character %u is %ux%u)", entry, ch, w, h);
            }
            const std::uint64_t data = mono ? std::uint64_t{(w + 7) / 8} * h : std::uint64_t{w} * h;
            if (!c.has(data)) {
                return say("entry %d is a damaged font (character %u is cut short)", entry, ch);
            }
            c.skip(data);
        }
    }
    if (c.left() != 0) {
        return say("entry %d is a damaged font (%zu bytes too many)", entry, c.left());
    }
    return nullptr;
}

const char* sample_fault(cursor c, int entry) {
    if (!c.has(8)) {
        return say("entry %d is a damaged sound (no header)", entry);
    }
    const int bits = static_cast<std::int16_t>(c.u16());
    const std::uint32_t freq = c.u16();
    const std::uint32_t length = c.u32();
    const int channels = bits < 0 ? 2 : 1;
    const int depth = bits < 0 ? -bits : bits;
    if (depth != 8 && depth != 16) {
        return say("entry %d is a damaged sound (%d bits)", entry, bits);
    }
    if (freq == 0) {
        return say("entry %d is a damaged sound (no sample rate)", entry);
    }
    if (std::uint64_t{length} * channels * (depth / 8) != c.left()) {
        return say("entry %d is a damaged sound (%u samples do not match its data)", entry, length);
    }
    return nullptr;
}

// Walks the whole file: header, every object with its properties, and the
// payload of every picture, font and sound.
const char* structure_fault(cursor& c, int type, int entry_count) {
    if (!c.has(8)) {
        return say("the file is truncated");
    }
    const std::uint32_t magic = c.u32();
    if (magic == compressed_magic) {
        return say("it is a compressed datafile; only uncompressed ones are read");
    }
    if (magic != uncompressed_magic || c.u32() != datafile_magic) {
        return say("it is not a datafile");
    }
    if (!c.has(4)) {
        return say("the file is truncated");
    }
    const std::uint32_t count = c.u32();
    // An object takes at least its 12 header bytes.
    if (count > c.left() / 12) {
        return say("the file is truncated (it claims %u entries)", count);
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        const int entry = static_cast<int>(i);
        std::uint32_t id = 0;
        for (;;) {
            if (!c.has(4)) {
                return say("the file is truncated (in entry %d)", entry);
            }
            id = c.u32();
            if (id != static_cast<std::uint32_t>(DAT_PROPERTY)) {
                break;
            }
            if (!c.has(8)) {
                return say("the file is truncated (in entry %d)", entry);
            }
            c.u32();  // the property's own id
            const std::uint32_t length = c.u32();
            if (!c.has(length)) {
                return say("the file is truncated (in entry %d)", entry);
            }
            c.skip(length);
        }
        if (!c.has(8)) {
            return say("the file is truncated (in entry %d)", entry);
        }
        const std::uint32_t stored = c.u32();
        const std::uint32_t size = c.u32();
        if (stored != size || size > 0x7FFFFFFF) {
            return say("entry %d is damaged or compressed (sizes %u and %u)", entry, stored, size);
        }
        if (!c.has(size)) {
            return say("the file is truncated (in entry %d)", entry);
        }
        const cursor payload{c.bytes + c.pos, size};
        c.skip(size);

        if (entry < entry_count && id != static_cast<std::uint32_t>(type)) {
            return say("entry %d is not %s", entry, kind_name(type));
        }
        const char* fault = nullptr;
        if (id == static_cast<std::uint32_t>(DAT_BITMAP)) {
            fault = bitmap_fault(payload, entry);
        } else if (id == static_cast<std::uint32_t>(DAT_FONT)) {
            fault = font_fault(payload, entry);
        } else if (id == static_cast<std::uint32_t>(DAT_SAMPLE)) {
            fault = sample_fault(payload, entry);
        } else if (has_unchecked_reader(id)) {
            fault = say("entry %d is of a kind the game does not read", entry);
        }
        if (fault != nullptr) {
            return fault;
        }
    }
    if (c.left() != 0) {
        return say("it has %zu stray bytes after its last entry", c.left());
    }
    if (count < static_cast<std::uint32_t>(entry_count)) {
        return say("it holds %u entries, %d are needed", count, entry_count);
    }
    return nullptr;
}

struct file_closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

const char* datafile_fault(const char* path, int type, int entry_count) {
    errno = 0;
    std::unique_ptr<std::FILE, file_closer> file(std::fopen(path, "rb"));
    if (!file) {
        return errno == ENOENT ? say("the file is missing") : say("the file cannot be read");
    }
    // A folder opens like a file here but has no bytes to read.
    struct stat info {};
    if (fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode)) {
        return say("the file cannot be read (it is not a plain file)");
    }
    long size = -1;
    if (std::fseek(file.get(), 0, SEEK_END) == 0) {
        size = std::ftell(file.get());
    }
    if (size < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) {
        return say("the file cannot be read");
    }
    if (size == 0) {
        return say("the file is empty");
    }
    if (size > largest_file) {
        return say("the file is too large to be a datafile of this game");
    }
    std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[static_cast<std::size_t>(size)]);
    if (std::fread(bytes.get(), 1, static_cast<std::size_t>(size), file.get()) !=
        static_cast<std::size_t>(size)) {
        return say("the file cannot be read");
    }
    cursor c{bytes.get(), static_cast<std::size_t>(size)};
    return structure_fault(c, type, entry_count);
}
