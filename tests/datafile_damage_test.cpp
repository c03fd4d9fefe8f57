// Damaged datafiles: the check must name the fault of every broken file and
// never crash, and whatever it lets through must load safely. The files are
// either small ones written here byte by byte, so every offset can be hit,
// or damaged copies of the files the build made.
#include <allegro.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "asset_catalogue.h"
#include "datafile_check.h"

namespace {

namespace fs = std::filesystem;
using bytes = std::vector<std::uint8_t>;

const std::string game_dir = REFUEL_GAME_DIR;

bytes read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_file(const std::string& path, const bytes& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
}

// --- writing datafiles by hand ------------------------------------------------

void put32(bytes& b, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        b.push_back(static_cast<std::uint8_t>(v >> shift));
    }
}
void put16(bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v >> 8));
    b.push_back(static_cast<std::uint8_t>(v));
}
void append(bytes& b, const bytes& more) {
    b.insert(b.end(), more.begin(), more.end());
}

bytes object(int type, const bytes& payload, const std::string& name = "ENTRY") {
    bytes b;
    put32(b, DAT_PROPERTY);
    put32(b, DAT_ID('N', 'A', 'M', 'E'));
    put32(b, static_cast<std::uint32_t>(name.size()));
    b.insert(b.end(), name.begin(), name.end());
    put32(b, static_cast<std::uint32_t>(type));
    put32(b, static_cast<std::uint32_t>(payload.size()));
    put32(b, static_cast<std::uint32_t>(payload.size()));
    append(b, payload);
    return b;
}

bytes datafile(const std::vector<bytes>& objects) {
    bytes b;
    put32(b, 0x736C682E);  // "slh."
    put32(b, DAT_MAGIC);
    put32(b, static_cast<std::uint32_t>(objects.size()));
    for (const bytes& o : objects) {
        append(b, o);
    }
    return b;
}

// A 24-bit picture whose pixel (x, y) is (10x, 20y, 77).
bytes bitmap_payload(int w, int h) {
    bytes b;
    put16(b, 24);
    put16(b, static_cast<std::uint32_t>(w));
    put16(b, static_cast<std::uint32_t>(h));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            b.push_back(static_cast<std::uint8_t>(10 * x));
            b.push_back(static_cast<std::uint8_t>(20 * y));
            b.push_back(77);
        }
    }
    return b;
}

// A mono font of characters first..last, each a w x h box, one range per
// pair of (first, last).
bytes font_payload(const std::vector<std::pair<int, int>>& ranges, int w, int h) {
    bytes b;
    put16(b, 0);
    put16(b, static_cast<std::uint32_t>(ranges.size()));
    for (auto [first, last] : ranges) {
        b.push_back(1);
        put32(b, static_cast<std::uint32_t>(first));
        put32(b, static_cast<std::uint32_t>(last));
        for (int c = first; c <= last; ++c) {
            put16(b, static_cast<std::uint32_t>(w));
            put16(b, static_cast<std::uint32_t>(h));
            for (int i = 0; i < (w + 7) / 8 * h; ++i) {
                b.push_back(static_cast<std::uint8_t>(c * 7 + i));
            }
        }
    }
    return b;
}

// A 16-bit mono sound of `length` samples (stored little-endian, signed).
bytes sample_payload(int bits, int length, int channels = 1) {
    bytes b;
    put16(b, static_cast<std::uint32_t>(channels == 2 ? -bits : bits));
    put16(b, 22050);
    put32(b, static_cast<std::uint32_t>(length));
    for (int i = 0; i < length * channels * bits / 8; ++i) {
        b.push_back(static_cast<std::uint8_t>(i * 13));
    }
    return b;
}

bytes small_graph(int pictures) {
    std::vector<bytes> objects;
    for (int i = 0; i < pictures; ++i) {
        objects.push_back(object(DAT_BITMAP, bitmap_payload(3 + i % 3, 2 + i % 2)));
    }
    return datafile(objects);
}

bytes small_fonts(int count) {
    std::vector<bytes> objects;
    for (int i = 0; i < count; ++i) {
        objects.push_back(object(DAT_FONT, font_payload({{32, 40}}, 5 + i % 6, 7)));
    }
    return datafile(objects);
}

bytes small_sounds(int count) {
    std::vector<bytes> objects;
    for (int i = 0; i < count; ++i) {
        objects.push_back(object(DAT_SAMPLE, sample_payload(16, 10 + i)));
    }
    return datafile(objects);
}

// --- a scratch folder --------------------------------------------------------

class DamagedDatafiles : public testing::Test {
   protected:
    void SetUp() override {
        char pattern[] = "/tmp/refuel_datafile_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    // Writes the bytes to a file in the scratch folder and checks it.
    std::string check(const bytes& data, int type, int count) {
        const std::string path = folder + "/test.dat";
        write_file(path, data);
        const char* fault = datafile_fault(path.c_str(), type, count);
        return fault == nullptr ? "" : fault;
    }
    // Whenever the check passes a file, the library must load it, with
    // the needed entries of the needed kind. Under AddressSanitizer this
    // also shows that the loader never read out of bounds.
    void expect_loads_if_passed(const bytes& data, int type, int count, const std::string& what) {
        if (!check(data, type, count).empty()) {
            return;
        }
        DATAFILE* d = load_datafile((folder + "/test.dat").c_str());
        ASSERT_NE(d, nullptr) << what;
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(d[i].type, type) << what << ", entry " << i;
            ASSERT_NE(d[i].dat, nullptr) << what << ", entry " << i;
        }
        unload_datafile(d);
    }

    std::string folder;
};

// --- the hand-written files -----------------------------------------------------

TEST_F(DamagedDatafiles, WellFormedFilesPassAndLoadAsTheCheckReadThem) {
    EXPECT_EQ(check(small_graph(20), DAT_BITMAP, 20), "");
    DATAFILE* d = load_datafile((folder + "/test.dat").c_str());
    ASSERT_NE(d, nullptr);
    BITMAP* b = static_cast<BITMAP*>(d[4].dat);  // 3 + 4 % 3 = 4 wide, 2 + 4 % 2 = 2 high
    EXPECT_EQ(b->w, 4);
    EXPECT_EQ(b->h, 2);
    EXPECT_EQ(getpixel(b, 3, 1), makecol(30, 20, 77));
    unload_datafile(d);

    EXPECT_EQ(
        check(datafile({object(DAT_FONT, font_payload({{32, 40}, {65, 90}}, 9, 11))}), DAT_FONT, 1),
        "");
    d = load_datafile((folder + "/test.dat").c_str());
    ASSERT_NE(d, nullptr);
    FONT* f = static_cast<FONT*>(d[0].dat);
    EXPECT_EQ(get_font_ranges(f), 2);
    EXPECT_EQ(get_font_range_end(f, 1), 90);
    EXPECT_EQ(text_height(f), 11);
    EXPECT_EQ(text_length(f, "AB"), 18);
    unload_datafile(d);

    EXPECT_EQ(check(datafile({object(DAT_SAMPLE, sample_payload(16, 25, 2)),
                              object(DAT_SAMPLE, sample_payload(8, 40))}),
                    DAT_SAMPLE, 2),
              "");
    d = load_datafile((folder + "/test.dat").c_str());
    ASSERT_NE(d, nullptr);
    const SAMPLE* s = static_cast<SAMPLE*>(d[0].dat);
    EXPECT_EQ(s->bits, 16);
    EXPECT_TRUE(s->stereo);
    EXPECT_EQ(s->len, 25u);
    EXPECT_EQ(static_cast<SAMPLE*>(d[1].dat)->len, 40u);
    unload_datafile(d);
}

TEST_F(DamagedDatafiles, ExtraEntriesOfOtherKindsAfterTheNeededOnesAreAccepted) {
    std::vector<bytes> objects = {object(DAT_SAMPLE, sample_payload(16, 10)),
                                  object(DAT_ID('D', 'A', 'T', 'A'), bytes{1, 2, 3})};
    EXPECT_EQ(check(datafile(objects), DAT_SAMPLE, 1), "");
    expect_loads_if_passed(datafile(objects), DAT_SAMPLE, 1, "extra data entry");
    // A picture after the needed sounds is checked like any other.
    bytes bad = bitmap_payload(4, 4);
    bad.pop_back();
    objects[1] = object(DAT_BITMAP, bad);
    EXPECT_EQ(check(datafile(objects), DAT_SAMPLE, 1),
              "entry 1 is a damaged picture (pixel data does not match 4x4)");
}

TEST_F(DamagedDatafiles, FilesThatAreNotPlainDatafilesAreRefused) {
    EXPECT_EQ(check({}, DAT_BITMAP, 1), "the file is empty");
    EXPECT_STREQ(datafile_fault(folder.c_str(), DAT_BITMAP, 1),
                 "the file cannot be read (it is not a plain file)");
    EXPECT_EQ(check({'s', 'l'}, DAT_BITMAP, 1), "the file is truncated");
    EXPECT_EQ(check({'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0}, DAT_BITMAP, 1),
              "it is not a datafile");
    bytes packed = small_graph(2);
    packed[3] = '!';  // "slh!": the LZSS-compressed form
    EXPECT_EQ(check(packed, DAT_BITMAP, 1),
              "it is a compressed datafile; only uncompressed ones are read");
    bytes stray = small_graph(2);
    stray.push_back(0);
    stray.push_back(0);
    EXPECT_EQ(check(stray, DAT_BITMAP, 1), "it has 2 stray bytes after its last entry");
}

TEST_F(DamagedDatafiles, TooFewEntriesAndWrongKindsAreNamed) {
    EXPECT_EQ(check(small_graph(15), DAT_BITMAP, 20), "it holds 15 entries, 20 are needed");
    EXPECT_EQ(check(datafile({}), DAT_SAMPLE, 7), "it holds 0 entries, 7 are needed");
    EXPECT_EQ(check(small_sounds(7), DAT_FONT, 10), "entry 0 is not a font");
    EXPECT_EQ(check(small_fonts(10), DAT_SAMPLE, 7), "entry 0 is not a sound");
    EXPECT_EQ(check(small_sounds(7), DAT_BITMAP, 20), "entry 0 is not a picture");
    std::vector<bytes> mixed;
    for (int i = 0; i < 20; ++i) {
        mixed.push_back(i == 12 ? object(DAT_SAMPLE, sample_payload(16, 5))
                                : object(DAT_BITMAP, bitmap_payload(2, 2)));
    }
    EXPECT_EQ(check(datafile(mixed), DAT_BITMAP, 20), "entry 12 is not a picture");
    // Kinds with readers of their own that the game never uses are refused
    // even after the needed entries: the loader would trust their insides.
    for (int kind : {DAT_FILE, DAT_MIDI, DAT_RLE_SPRITE, DAT_PALETTE, DAT_FLI}) {
        EXPECT_EQ(
            check(datafile({object(DAT_SAMPLE, sample_payload(16, 5)), object(kind, bytes(16, 0))}),
                  DAT_SAMPLE, 1),
            "entry 1 is of a kind the game does not read");
    }
}

TEST_F(DamagedDatafiles, PayloadsThatContradictTheirHeadersAreNamed) {
    auto one = [](int type, const bytes& payload) { return datafile({object(type, payload)}); };
    bytes picture = bitmap_payload(4, 3);
    picture[1] = 12;  // 12 bits per pixel
    EXPECT_EQ(check(one(DAT_BITMAP, picture), DAT_BITMAP, 1),
              "entry 0 is a damaged picture (colour depth 12)");
    picture = bitmap_payload(4, 3);
    picture[3] = 0;  // 0 pixels wide
    EXPECT_EQ(check(one(DAT_BITMAP, picture), DAT_BITMAP, 1),
              "entry 0 is a damaged picture (size 0x3)");
    picture = bitmap_payload(4, 3);
    picture[5] = 4;  // four rows claimed, three stored
    EXPECT_EQ(check(one(DAT_BITMAP, picture), DAT_BITMAP, 1),
              "entry 0 is a damaged picture (pixel data does not match 4x4)");
    EXPECT_EQ(check(one(DAT_BITMAP, {0, 24, 0}), DAT_BITMAP, 1),
              "entry 0 is a damaged picture (no header)");

    bytes sound = sample_payload(16, 10);
    sound[1] = 24;
    EXPECT_EQ(check(one(DAT_SAMPLE, sound), DAT_SAMPLE, 1), "entry 0 is a damaged sound (24 bits)");
    sound = sample_payload(16, 10);
    sound[7] = 11;
    EXPECT_EQ(check(one(DAT_SAMPLE, sound), DAT_SAMPLE, 1),
              "entry 0 is a damaged sound (11 samples do not match its data)");
    sound = sample_payload(16, 10);
    sound[2] = sound[3] = 0;
    EXPECT_EQ(check(one(DAT_SAMPLE, sound), DAT_SAMPLE, 1),
              "entry 0 is a damaged sound (no sample rate)");

    bytes font = font_payload({{32, 40}}, 5, 7);
    font[1] = 8;  // the old 8x8 form
    EXPECT_EQ(check(one(DAT_FONT, font), DAT_FONT, 1),
              "entry 0 is a font of an old form (8) that is not read");
    font = font_payload({{32, 40}}, 5, 7);
    font[12] = 31;  // last character 31, before the first
    EXPECT_EQ(check(one(DAT_FONT, font), DAT_FONT, 1),
              "entry 0 is a damaged font (range 0 runs from 32 to 31)");
    font = font_payload({{32, 40}}, 5, 7);
    font[4] = 3;  // neither 1-bit nor 8-bit glyphs
    EXPECT_EQ(check(one(DAT_FONT, font), DAT_FONT, 1),
              "entry 0 is a damaged font (range 0 has format 3)");
    font = font_payload({{32, 40}, {48, 57}}, 5, 7);
    font[4 + 9 + 9 * (4 + 7)] = 0;  // the second range claims 8-bit glyphs
    EXPECT_EQ(check(one(DAT_FONT, font), DAT_FONT, 1),
              "entry 0 is a damaged font (range 1 has format 0)");
    font = font_payload({{32, 40}}, 5, 7);
    font.push_back(0);
    EXPECT_EQ(check(one(DAT_FONT, font), DAT_FONT, 1),
              "entry 0 is a damaged font (1 bytes too many)");

    bytes sizes = one(DAT_SAMPLE, sample_payload(16, 4));
    sizes[sizes.size() - 16 - 1] ^= 1;  // the second size field, before the 16-byte payload
    EXPECT_EQ(check(sizes, DAT_SAMPLE, 1).rfind("entry 0 is damaged or compressed", 0), 0u);
}

TEST_F(DamagedDatafiles, EveryTruncationIsReportedAsSuch) {
    const std::pair<bytes, int> files[] = {
        {small_graph(3), DAT_BITMAP}, {small_fonts(2), DAT_FONT}, {small_sounds(3), DAT_SAMPLE}};
    for (const auto& [whole, type] : files) {
        for (std::size_t size = 1; size < whole.size(); ++size) {
            const bytes cut(whole.begin(), whole.begin() + static_cast<long>(size));
            const std::string fault = check(cut, type, 1);
            EXPECT_NE(fault.find("truncated"), std::string::npos)
                << "cut at " << size << ": " << fault;
        }
    }
}

TEST_F(DamagedDatafiles, NoSingleByteChangeGetsADamagedFileToTheLoader) {
    struct sample_file {
        bytes data;
        int type;
        int count;
    };
    const sample_file files[] = {
        {small_graph(3), DAT_BITMAP, 3},
        {small_fonts(2), DAT_FONT, 2},
        {datafile({object(DAT_FONT, font_payload({{32, 36}, {48, 50}}, 9, 4))}), DAT_FONT, 1},
        {small_sounds(3), DAT_SAMPLE, 3},
    };
    for (const sample_file& f : files) {
        for (std::size_t at = 0; at < f.data.size(); ++at) {
            for (std::uint8_t change : {0xFF, 0x01, 0x80}) {
                bytes damaged = f.data;
                damaged[at] ^= change;
                expect_loads_if_passed(
                    damaged, f.type, f.count,
                    "byte " + std::to_string(at) + " ^ " + std::to_string(change));
                if (HasFatalFailure()) {
                    return;
                }
            }
        }
    }
}

TEST_F(DamagedDatafiles, RandomBytesAreRefused) {
    std::mt19937 random(1234);
    for (int round = 0; round < 200; ++round) {
        bytes data(static_cast<std::size_t>(random() % 4000));
        for (auto& b : data) {
            b = static_cast<std::uint8_t>(random());
        }
        // Half of them start like a datafile, so the walk itself is tried.
        if (round % 2 == 1 && data.size() >= 12) {
            const bytes head = datafile({});
            std::copy(head.begin(), head.begin() + 8, data.begin());
        }
        EXPECT_NE(check(data, DAT_SAMPLE, 1), "") << "round " << round;
    }
}

// --- damaged copies of the built files -------------------------------------------

TEST_F(DamagedDatafiles, CutsAndChangesToTheBuiltFilesAreCaught) {
    struct built {
        const char* name;
        int type;
        int count;
    };
    const built files[] = {{"fonts.dat", DAT_FONT, 10}, {"sounds.dat", DAT_SAMPLE, 7}};
    std::mt19937 random(99);
    for (const built& f : files) {
        const bytes whole = read_file(game_dir + "/" + f.name);
        ASSERT_GT(whole.size(), 10000u) << f.name;
        ASSERT_EQ(check(whole, f.type, f.count), "") << f.name;
        for (int i = 0; i < 150; ++i) {
            const std::size_t size =
                i < 50 ? static_cast<std::size_t>(i + 1) : 1 + random() % (whole.size() - 1);
            const bytes cut(whole.begin(), whole.begin() + static_cast<long>(size));
            EXPECT_NE(check(cut, f.type, f.count).find("truncated"), std::string::npos)
                << f.name << " cut at " << size;
        }
        // Changes in the first entries' headers, then anywhere.
        for (int i = 0; i < 300; ++i) {
            const std::size_t at = i < 150 ? static_cast<std::size_t>(i) : random() % whole.size();
            bytes damaged = whole;
            damaged[at] ^= static_cast<std::uint8_t>(1 + random() % 255);
            expect_loads_if_passed(damaged, f.type, f.count,
                                   std::string(f.name) + " byte " + std::to_string(at));
            if (HasFatalFailure()) {
                return;
            }
        }
    }
}

// --- the loaders the game calls ------------------------------------------------------

// Runs the game's loaders in the scratch folder, which holds what the test
// put there, and goes back to the old working folder afterwards.
class DamagedDatafilesInTheGameFolder : public DamagedDatafiles {
   protected:
    void SetUp() override {
        DamagedDatafiles::SetUp();
        char* here = getcwd(nullptr, 0);
        ASSERT_NE(here, nullptr);
        old_folder = here;
        std::free(here);
        ASSERT_EQ(chdir(folder.c_str()), 0);
    }
    void TearDown() override {
        EXPECT_EQ(chdir(old_folder.c_str()), 0);
        DamagedDatafiles::TearDown();
    }
    static std::string message_of(const char* m) { return m == nullptr ? "" : m; }
    // The loader's message must name the file and carry the check's reason.
    static void expect_message(const char* message, const char* file, const std::string& fault) {
        ASSERT_NE(message, nullptr) << file << ": " << fault;
        const std::string m = message;
        EXPECT_NE(m.find(file), std::string::npos) << m;
        EXPECT_NE(m.find(fault), std::string::npos) << m;
    }

    std::string old_folder;
};

TEST_F(DamagedDatafilesInTheGameFolder, EachLoaderNamesItsFileAndTheFault) {
    // Missing.
    expect_message(load_fonts(), "fonts.dat", "the file is missing");
    expect_message(load_sounds(), "sounds.dat", "the file is missing");
    expect_message(load_graphics(), "graph1.dat", "the file is missing");

    // Empty.
    write_file("fonts.dat", {});
    expect_message(load_fonts(), "fonts.dat", "the file is empty");

    // Too few entries.
    write_file("graph1.dat", small_graph(15));
    expect_message(load_graphics(), "graph1.dat", "it holds 15 entries, 20 are needed");
    write_file("sounds.dat", small_sounds(6));
    expect_message(load_sounds(), "sounds.dat", "it holds 6 entries, 7 are needed");

    // Wrong kind: the sounds in place of the fonts and the other way round.
    write_file("fonts.dat", read_file(game_dir + "/sounds.dat"));
    expect_message(load_fonts(), "fonts.dat", "entry 0 is not a font");
    write_file("sounds.dat", read_file(game_dir + "/fonts.dat"));
    expect_message(load_sounds(), "sounds.dat", "entry 0 is not a sound");
    write_file("graph1.dat", read_file(game_dir + "/fonts.dat"));
    expect_message(load_graphics(), "graph1.dat", "entry 0 is not a picture");
}

TEST_F(DamagedDatafilesInTheGameFolder, LoadersRefuseCutAndScrambledCopiesWithoutCrashing) {
    const bytes fonts = read_file(game_dir + "/fonts.dat");
    const bytes sounds = read_file(game_dir + "/sounds.dat");
    std::mt19937 random(7);
    for (int i = 0; i < 40; ++i) {
        const std::size_t cut_fonts = 1 + random() % (fonts.size() - 1);
        write_file("fonts.dat", bytes(fonts.begin(), fonts.begin() + static_cast<long>(cut_fonts)));
        const std::string fault = message_of(load_fonts());
        EXPECT_NE(fault.find("fonts.dat"), std::string::npos) << fault;
        EXPECT_NE(fault.find("the file is truncated"), std::string::npos) << fault;

        const std::size_t cut_sounds = 1 + random() % (sounds.size() - 1);
        write_file("sounds.dat",
                   bytes(sounds.begin(), sounds.begin() + static_cast<long>(cut_sounds)));
        const std::string sound_fault = message_of(load_sounds());
        EXPECT_NE(sound_fault.find("sounds.dat"), std::string::npos) << sound_fault;
        EXPECT_NE(sound_fault.find("the file is truncated"), std::string::npos) << sound_fault;
    }
    for (int i = 0; i < 40; ++i) {
        bytes noise(static_cast<std::size_t>(12 + random() % 3000));
        for (auto& b : noise) {
            b = static_cast<std::uint8_t>(random());
        }
        write_file("graph1.dat", noise);
        const std::string fault = message_of(load_graphics());
        // Mostly "it is not a datafile"; whatever the reason, it is named.
        EXPECT_NE(fault.find("graph1.dat"), std::string::npos) << fault;
        EXPECT_NE(fault.find("datafile"), std::string::npos) << fault;
    }
    // A real copy of graph1.dat cut inside its pictures.
    const bytes graph = read_file(game_dir + "/graph1.dat");
    for (std::size_t cut : {graph.size() / 3, graph.size() - 1}) {
        write_file("graph1.dat", bytes(graph.begin(), graph.begin() + static_cast<long>(cut)));
        const std::string fault = message_of(load_graphics());
        EXPECT_NE(fault.find("graph1.dat"), std::string::npos) << fault;
        EXPECT_NE(fault.find("the file is truncated"), std::string::npos) << fault;
    }
}

}  // namespace
