// The built datafiles hold what the game takes from them by position, and the
// check that guards the library's loader refuses each kind of damage to them.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "datafile_check.h"
#include "scratch_folder.h"

namespace {

using bytes = std::vector<std::uint8_t>;

struct datafile_copy {
    bytes data;
    int type, count;  // what the game needs of it
};

datafile_copy built(const char* name, int type, int count) {
    std::ifstream in(std::string(REFUEL_GAME_DIR) + "/" + name, std::ios::binary);
    return {bytes(std::istreambuf_iterator<char>(in), {}), type, count};
}

std::uint32_t get(const bytes& f, std::size_t at, int size = 4) {
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i) {
        value = value << 8 | f[at + i];
    }
    return value;
}

// Where entry i's kind lies: past the header, earlier entries and its properties.
std::size_t entry(const bytes& f, int i) {
    for (std::size_t at = 12;; at += 12 + get(f, at + 4)) {
        while (get(f, at) == static_cast<std::uint32_t>(DAT_PROPERTY)) {
            at += 12 + get(f, at + 8);
        }
        if (i-- == 0) {
            return at;
        }
    }
}

// Entry 3's pixel bytes read as a picture of another depth, as tall as they make it.
void repack(bytes& f, int bits) {
    const std::size_t at = entry(f, 3) + 12;  // depth, width, height
    const std::uint32_t height = get(f, at + 4, 2) * ((get(f, at, 2) + 7) / 8) / ((bits + 7) / 8);
    const unsigned char header[] = {0, static_cast<unsigned char>(bits)};
    std::memcpy(&f[at], header, 2);
    f[at + 4] = static_cast<unsigned char>(height >> 8), f[at + 5] = height & 0xFF;
}

// The check's verdict on the bytes, written to a file in the current folder.
std::string fault_of(const bytes& data, int type, int count) {
    std::ofstream("checked.dat", std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
    const char* fault = datafile_fault("checked.dat", type, count);
    return fault != nullptr ? fault : "";
}

TEST(built_datafiles, hold_the_entries_the_game_takes_by_position) {
    const scratch_folder folder;
    const datafile_copy files[] = {built("graph1.dat", DAT_BITMAP, 20),
                                   built("fonts.dat", DAT_FONT, 10),
                                   built("sounds.dat", DAT_SAMPLE, 7)};
    for (const datafile_copy& f : files) {
        EXPECT_EQ(fault_of(f.data, f.type, f.count), "") << "type " << f.type;
    }
    // Fonts: one range (14 bytes after the kind) of mono glyphs (16), drawn in the colour
    // given, for characters 32 (17) to 126 (21).
    const bytes& fonts = files[1].data;
    for (int i = 0; i < 10; ++i) {
        const std::size_t at = entry(fonts, i);
        EXPECT_TRUE(get(fonts, at + 14, 2) == 1 && fonts[at + 16] == 1 &&
                    get(fonts, at + 17) == 32 && get(fonts, at + 21) == 126)
            << "font " << i;
    }
}

TEST(datafile_check, refuses_each_kind_of_damage) {
    const scratch_folder folder;
    // Checked for six sounds: a seventh entry may be of another kind.
    const datafile_copy sounds = built("sounds.dat", DAT_SAMPLE, 6);
    const datafile_copy fonts = built("fonts.dat", DAT_FONT, 10);
    const datafile_copy eight_sounds = built("sounds.dat", DAT_SAMPLE, 8);
    const datafile_copy pictures = built("graph1.dat", DAT_BITMAP, 20);
    const struct {
        const datafile_copy* file;
        void (*damage)(bytes&);
        const char* fault;
    } cases[] = {
        {&sounds, [](bytes& f) { f.clear(); }, "the file is empty"},
        {&sounds, [](bytes& f) { f.resize(6); }, "the file is truncated"},
        {&sounds, [](bytes& f) { f[0] = 'G'; }, "it is not a datafile"},
        {&sounds, [](bytes& f) { f.resize(entry(f, 5) - 3); }, "truncated (in entry 5)"},
        {&sounds, [](bytes& f) { f.resize(entry(f, 3) + 99); }, "truncated (in entry 3)"},
        {&sounds, [](bytes& f) { f[entry(f, 2) + 11] ^= 1; }, "entry 2 is damaged"},
        {&sounds, [](bytes& f) { std::memcpy(&f[entry(f, 4)], "FONT", 4); }, "4 is not a sound"},
        {&eight_sounds, [](bytes&) {}, "it holds 7 entries, 8 are needed"},
        // A kind that the loader decodes itself.
        {&sounds, [](bytes& f) { std::memcpy(&f[entry(f, 6)], "MIDI", 4); }, "does not read"},
        {&sounds, [](bytes& f) { f[entry(f, 1) + 19] ^= 1; }, "samples do not match"},
        {&sounds, [](bytes& f) { f[entry(f, 1) + 14] = f[entry(f, 1) + 15] = 0; },
         "no sample rate"},
        // Marked stereo (negative bits): twice the samples are then due.
        {&sounds,
         [](bytes& f) {
             const int bits = f[entry(f, 1) + 12] << 8 | f[entry(f, 1) + 13];
             f[entry(f, 1) + 12] = static_cast<unsigned char>((-bits) >> 8);
             f[entry(f, 1) + 13] = static_cast<unsigned char>(-bits);
         },
         "samples do not match"},
        {&fonts, [](bytes& f) { f[entry(f, 0) + 24] = 31; }, "runs from 32 to 31"},
        {&pictures, [](bytes& f) { ++f[entry(f, 3) + 17]; }, "entry 3 is a damaged picture"},
        {&pictures, [](bytes& f) { --f[entry(f, 3) + 17]; }, "entry 3 is a damaged picture"},
        // Every depth the library reads is taken (no fault expected).
        {&pictures, [](bytes& f) { repack(f, 8); }, ""},
        {&pictures, [](bytes& f) { repack(f, 24); }, ""},
        {&pictures, [](bytes& f) { repack(f, 32); }, ""},
    };
    for (const auto& c : cases) {
        bytes damaged = c.file->data;
        c.damage(damaged);
        const std::string fault = fault_of(damaged, c.file->type, c.file->count);
        EXPECT_TRUE(*c.fault != '\0' ? fault.find(c.fault) != std::string::npos : fault.empty())
            << c.fault << ", got: " << fault;
    }
}

}  // namespace
