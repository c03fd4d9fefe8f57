// The datafiles the build makes: every entry of the kind and size the game
// needs, transparent exactly where the game expects it, fonts that fit the
// places their texts are drawn in, and sounds that never clip.
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "asset_catalogue.h"
#include "datafile_check.h"
#include "drawing_kit.h"
#include "fake_platform.h"
#include "guide_screen.h"
#include "high_scores.h"

namespace {

const std::string game_dir = REFUEL_GAME_DIR;

int entry_count(const DATAFILE* d) {
    int n = 0;
    while (d[n].type != DAT_END) {
        ++n;
    }
    return n;
}

// The three files, loaded once at 16 bits per pixel, as the game runs.
class BuiltDatafiles : public testing::Test {
   protected:
    static void SetUpTestSuite() {
        graph = load_datafile((game_dir + "/graph1.dat").c_str());
        fonts = load_datafile((game_dir + "/fonts.dat").c_str());
        sounds = load_datafile((game_dir + "/sounds.dat").c_str());
    }
    static void TearDownTestSuite() {
        for (DATAFILE** d : {&graph, &fonts, &sounds}) {
            if (*d != nullptr) {
                unload_datafile(*d);
                *d = nullptr;
            }
        }
    }
    void SetUp() override {
        ASSERT_NE(graph, nullptr);
        ASSERT_NE(fonts, nullptr);
        ASSERT_NE(sounds, nullptr);
        ASSERT_EQ(bitmap_color_depth(picture(0)), 16);
    }
    static BITMAP* picture(int i) { return static_cast<BITMAP*>(graph[i].dat); }
    static FONT* font_at(int i) { return static_cast<FONT*>(fonts[i].dat); }
    static SAMPLE* sample_at(int i) { return static_cast<SAMPLE*>(sounds[i].dat); }

    static DATAFILE* graph;
    static DATAFILE* fonts;
    static DATAFILE* sounds;
};
DATAFILE* BuiltDatafiles::graph = nullptr;
DATAFILE* BuiltDatafiles::fonts = nullptr;
DATAFILE* BuiltDatafiles::sounds = nullptr;

constexpr int background_entries[] = {0, 1, 2, 13, 14, 15, 16, 17, 18, 19};
constexpr int screen_entries[] = {6, 7, 10, 11, 12};
constexpr int cockpit = 3, canister_1 = 4, canister_2 = 5, digit_strip = 8, highlight = 9;

bool is_mask(BITMAP* b, int x, int y) {
    return getpixel(b, x, y) == bitmap_mask_color(b);
}

// Counts mask pixels in a rectangle (x0..x1, y0..y1 inclusive).
int mask_pixels(BITMAP* b, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            n += is_mask(b, x, y) ? 1 : 0;
        }
    }
    return n;
}

// Brightest pixel of a rectangle, as the largest of r, g and b.
int brightest(BITMAP* b, int x0, int y0, int x1, int y1) {
    int best = 0;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const int c = getpixel(b, x, y);
            best = std::max({best, getr(c), getg(c), getb(c)});
        }
    }
    return best;
}

TEST_F(BuiltDatafiles, PassTheLoaderCheckAndHoldExactlyTheirEntries) {
    EXPECT_EQ(datafile_fault((game_dir + "/graph1.dat").c_str(), DAT_BITMAP, graph1_entry_count),
              nullptr);
    EXPECT_EQ(datafile_fault((game_dir + "/fonts.dat").c_str(), DAT_FONT, fonts_entry_count),
              nullptr);
    EXPECT_EQ(datafile_fault((game_dir + "/sounds.dat").c_str(), DAT_SAMPLE, sounds_entry_count),
              nullptr);
    ASSERT_EQ(entry_count(graph), 20);
    ASSERT_EQ(entry_count(fonts), 10);
    ASSERT_EQ(entry_count(sounds), 7);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(graph[i].type, DAT_BITMAP) << "graph1.dat entry " << i;
    }
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(fonts[i].type, DAT_FONT) << "fonts.dat entry " << i;
    }
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(sounds[i].type, DAT_SAMPLE) << "sounds.dat entry " << i;
    }
}

TEST_F(BuiltDatafiles, PicturesHaveTheSizesTheirPlacesNeed) {
    for (int i : background_entries) {
        // Drawn at y = 0 down to y = -71, so 671 rows keep the frame covered.
        EXPECT_GE(picture(i)->w, 800) << "background entry " << i;
        EXPECT_GE(picture(i)->h, 671) << "background entry " << i;
    }
    for (int i : screen_entries) {
        EXPECT_EQ(picture(i)->w, 800) << "screen entry " << i;
        EXPECT_EQ(picture(i)->h, 600) << "screen entry " << i;
    }
    EXPECT_EQ(picture(cockpit)->w, 800);
    EXPECT_EQ(picture(cockpit)->h, 300);
    for (int i : {canister_1, canister_2}) {
        // Drawn at x = -30 on the 280x200 label, which it must cover.
        EXPECT_GE(picture(i)->w, 310) << "canister entry " << i;
        EXPECT_GE(picture(i)->h, 200) << "canister entry " << i;
    }
    EXPECT_GE(picture(digit_strip)->w, 48 * 9 + 5 + 48);
    EXPECT_GE(picture(digit_strip)->h, 32);
    // The frame must surround a label without reaching the next choice,
    // 112 pixels further down, or the right edge of the screen from x = 180.
    EXPECT_LE(picture(highlight)->h, 112);
    EXPECT_LE(picture(highlight)->w, 620);
    EXPECT_GE(picture(highlight)->w, 300);
}

TEST_F(BuiltDatafiles, PicturesDrawnWithAPlainBlitHaveNoMaskColour) {
    for (int i : background_entries) {
        EXPECT_EQ(mask_pixels(picture(i), 0, 0, picture(i)->w - 1, picture(i)->h - 1), 0)
            << "background entry " << i;
    }
    for (int i : screen_entries) {
        EXPECT_EQ(mask_pixels(picture(i), 0, 0, 799, 599), 0) << "screen entry " << i;
    }
}

// The rails are painted over whatever the background holds where they run:
// as the view bobs (offsets -10 to -30) and recoils (down to -71), every row
// of both rails must fall on plain track bed, one colour across the rail (a
// sleeper or the bed between them), not on the ground beside the track or on
// scenery. Only near the horizon at the top of the bob, where the rails meet
// 8 rows above the picture's vanishing point and are barely tinted, may they
// reach past the bed.
TEST_F(BuiltDatafiles, RailsRunOnPlainTrackBedAtEveryViewOffset) {
    for (int i : background_entries) {
        BITMAP* b = picture(i);
        int worst = 0, worst_offset = 0, worst_row = 0;
        for (int offset : {-10, -20, -30, -41, -51, -61, -71}) {
            for (int y = 160; y <= 399; ++y) {
                const int spans[2][2] = {{500 - (26 * y + 24) / 25, 500 - y},
                                         {300 + y, 300 + 26 * y / 25}};
                for (const auto& span : spans) {
                    int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
                    for (int x = span[0]; x <= span[1]; ++x) {
                        const int c = getpixel(b, x, y - offset);
                        const int rgb[3] = {getr(c), getg(c), getb(c)};
                        for (int k = 0; k < 3; ++k) {
                            lo[k] = std::min(lo[k], rgb[k]);
                            hi[k] = std::max(hi[k], rgb[k]);
                        }
                    }
                    const int spread = std::max({hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]});
                    if (spread > worst) {
                        worst = spread;
                        worst_offset = offset;
                        worst_row = y;
                    }
                }
            }
        }
        EXPECT_LE(worst, 24) << "background entry " << i << ": a rail crosses " << worst
                             << " levels of colour in screen row " << worst_row
                             << " at view offset " << worst_offset;
    }
}

TEST_F(BuiltDatafiles, BackgroundsAreTenDifferentScenes) {
    std::set<std::vector<int>> seen;
    for (int i : background_entries) {
        std::vector<int> samples;
        for (int y = 80; y < 400; y += 16) {
            for (int x = 0; x < 800; x += 16) {
                samples.push_back(getpixel(picture(i), x, y));
            }
        }
        EXPECT_TRUE(seen.insert(samples).second) << "background entry " << i << " repeats another";
    }
}

TEST_F(BuiltDatafiles, CockpitShowsTheViewAboveAndCalmPanelsWhereTheGameDraws) {
    BITMAP* c = picture(cockpit);
    // The view shows through the top rows and through the gap in the middle
    // where the answer rises.
    EXPECT_EQ(mask_pixels(c, 0, 0, 799, 19), 800 * 20);
    EXPECT_EQ(mask_pixels(c, 360, 0, 440, 150), 81 * 151);
    // Gauges (screen rows 362-437), lamp and level boxes (screen y 463,
    // 100x30) and the three readouts (centred on screen y 576) sit on opaque
    // panels; around the readouts the panels are dark so white text reads.
    struct area {
        int x0, y0, x1, y1;
        bool dark;
    };
    const area areas[] = {
        {135, 62, 184, 137, true},   {615, 62, 664, 137, true},  {100, 163, 199, 192, false},
        {590, 163, 689, 192, false}, {100, 262, 220, 290, true}, {580, 262, 700, 290, true},
        {340, 262, 460, 290, true},
    };
    for (const area& a : areas) {
        EXPECT_EQ(mask_pixels(c, a.x0, a.y0, a.x1, a.y1), 0) << "area at " << a.x0 << "," << a.y0;
        if (a.dark) {
            EXPECT_LT(brightest(c, a.x0, a.y0, a.x1, a.y1), 110)
                << "area at " << a.x0 << "," << a.y0;
        }
    }
}

TEST_F(BuiltDatafiles, CanistersAreTransparentOutsideAndCarryADarkPlateUnderTheLabel) {
    for (int i : {canister_1, canister_2}) {
        BITMAP* b = picture(i);
        const int w = b->w, h = b->h;
        for (auto [x, y] : {std::pair{30, 0}, {w - 1, 0}, {30, h - 1}, {w - 1, h - 1}}) {
            EXPECT_TRUE(is_mask(b, x, y)) << "canister entry " << i << " at " << x << "," << y;
        }
        // The label text is centred at label (140, 99), picture (170, 99);
        // the widest problem, with its bold copies, spans about 230 x 60.
        EXPECT_EQ(mask_pixels(b, 60, 70, 280, 128), 0) << "canister entry " << i;
        EXPECT_LT(brightest(b, 64, 62, 276, 136), 80) << "canister entry " << i;
    }
    // The second picture is the alternate colour scheme, not a copy.
    int differing = 0;
    for (int y = 0; y < 200; y += 4) {
        for (int x = 30; x < 310; x += 4) {
            differing += getpixel(picture(canister_1), x, y) != getpixel(picture(canister_2), x, y);
        }
    }
    EXPECT_GT(differing, 500);
}

TEST_F(BuiltDatafiles, DigitStripKeepsEachDigitInTheLeftFortyPixelsOfItsCell) {
    BITMAP* b = picture(digit_strip);
    std::set<std::vector<bool>> shapes;
    for (int d = 0; d < 10; ++d) {
        const int left = 48 * d + 5;
        // Cells are drawn 40 pixels apart on screen: the last 8 columns of a
        // cell overlap the next digit and must be transparent.
        EXPECT_EQ(mask_pixels(b, left + 40, 0, left + 47, 31), 8 * 32) << "digit " << d;
        std::vector<bool> shape;
        for (int y = 0; y < 32; ++y) {
            for (int x = left; x < left + 40; ++x) {
                shape.push_back(!is_mask(b, x, y));
            }
        }
        const int inked = static_cast<int>(std::count(shape.begin(), shape.end(), true));
        EXPECT_GT(inked, 60) << "digit " << d << " is too faint";
        EXPECT_LT(inked, 40 * 32 - 200) << "digit " << d << " leaves no transparent space";
        EXPECT_TRUE(shapes.insert(shape).second) << "digit " << d << " repeats another";
    }
    // Left of the first cell nothing may show.
    EXPECT_EQ(mask_pixels(b, 0, 0, 4, 31), 5 * 32);
}

TEST_F(BuiltDatafiles, MenuHighlightIsAFrameWithATransparentMiddle) {
    BITMAP* b = picture(highlight);
    const int w = b->w, h = b->h;
    EXPECT_EQ(mask_pixels(b, 30, 20, w - 31, h - 21), (w - 60) * (h - 40));
    // The frame: every side has opaque pixels.
    EXPECT_LT(mask_pixels(b, 0, 0, w - 1, 4), w * 5 / 2);
    EXPECT_LT(mask_pixels(b, 0, h - 5, w - 1, h - 1), w * 5 / 2);
    EXPECT_LT(mask_pixels(b, 0, 0, 4, h - 1), h * 5 / 2);
    EXPECT_LT(mask_pixels(b, w - 5, 0, w - 1, h - 1), h * 5 / 2);
}

// --- fonts ---------------------------------------------------------------

TEST_F(BuiltDatafiles, EveryFontIsAMonoFontOfCharacters32To126) {
    for (int i = 0; i < 10; ++i) {
        FONT* f = font_at(i);
        EXPECT_TRUE(is_mono_font(f)) << "font " << i << " would ignore the colour it is given";
        ASSERT_EQ(get_font_ranges(f), 1) << "font " << i;
        EXPECT_EQ(get_font_range_begin(f, 0), 32) << "font " << i;
        EXPECT_EQ(get_font_range_end(f, 0), 126) << "font " << i;
        EXPECT_GT(text_height(f), 8) << "font " << i;
    }
}

TEST_F(BuiltDatafiles, FontsDrawInTheColourTheyAreGiven) {
    BITMAP* b = create_bitmap(800, 120);
    const int background = makecol(0, 0, 64);
    const int ink = makecol(255, 192, 128);
    for (int i = 0; i < 10; ++i) {
        clear_to_color(b, background);
        textout_ex(b, font_at(i), "Ag7/x", 4, 4, ink, -1);
        int inked = 0, other = 0;
        for (int y = 0; y < b->h; ++y) {
            for (int x = 0; x < b->w; ++x) {
                const int c = getpixel(b, x, y);
                inked += c == ink;
                other += c != ink && c != background;
            }
        }
        EXPECT_GT(inked, 20) << "font " << i;
        EXPECT_EQ(other, 0) << "font " << i;
    }
    destroy_bitmap(b);
}

TEST_F(BuiltDatafiles, TextsFitThePlacesTheyAreDrawnIn) {
    FONT* answer = font_at(0);
    FONT* readout = font_at(1);
    FONT* panel = font_at(4);
    FONT* text = font_at(6);
    FONT* banner = font_at(7);
    FONT* intro = font_at(8);

    // Guide: lines 20 pixels apart (their width: GuidePageStaysInsideItsFrame).
    EXPECT_LE(text_height(text), 20);
    // The message box is 100 high; the text is centred on y = 185 in it.
    EXPECT_LT(text_height(text), 60);

    // Readouts: operands up to 1000 inside the 180-wide windows; the
    // high-score rows are 70 apart, names at x = 150 clear of scores at 550.
    EXPECT_LT(text_length(readout, "1000"), 160);
    EXPECT_LT(text_height(readout), 48);

    // The answer at rest is bigger than while it is typed.
    EXPECT_GT(text_height(answer), text_height(readout));
    EXPECT_LT(text_length(answer, "1000"), 400);

    // The level box is 100x30 with a one-pixel outline.
    EXPECT_LE(text_length(panel, "Level 10"), 94);
    EXPECT_LE(text_height(panel), 28);

    // Banners are big but stay on screen.
    EXPECT_GE(text_height(banner), 40);
    EXPECT_LE(text_length(banner, "GAME OVER"), 780);
    EXPECT_LE(text_length(banner, "Level 10"), 780);
    EXPECT_LE(text_length(intro, "Halbrek Software presents..."), 780);
}

TEST_F(BuiltDatafiles, LabelFontFitsThePlateAndStaysReadableFarAway) {
    FONT* label = font_at(9);
    // The widest problems the generator makes, drawn with a one-pixel bold
    // spread on each side, must fit on the plate (242 x 104, centred on the
    // text) with a few pixels to spare.
    for (const char* problem : {"200-100", "100+100", "100x10", "196/14", "144/12"}) {
        EXPECT_LE(text_length(label, problem) + 2, 242 - 6) << problem;
    }
    EXPECT_LE(text_height(label) + 2, 104);
    // At launch the label is squeezed from 200 to 33 rows: the digits, ink
    // and all, must still cover 6 rows there.
    BITMAP* b = create_bitmap(300, 100);
    clear_to_color(b, makecol(0, 0, 0));
    textout_ex(b, label, "0123456789", 0, 0, makecol(255, 255, 255), -1);
    int top = b->h, bottom = -1;
    for (int y = 0; y < b->h; ++y) {
        for (int x = 0; x < b->w; ++x) {
            if (getpixel(b, x, y) != makecol(0, 0, 0)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    destroy_bitmap(b);
    EXPECT_GE((bottom - top + 1) * 33 / 200, 6) << "digits " << bottom - top + 1 << " rows high";
}

// --- the game's own screens, drawn with the built fonts and pictures --------

// The widest of the given characters, repeated n times: the widest text a
// field of n of them can hold.
std::string widest_text(FONT* f, const char* characters, int n) {
    char widest = characters[0];
    for (const char* c = characters; *c != '\0'; ++c) {
        const char one[2] = {*c, '\0'};
        const char best[2] = {widest, '\0'};
        if (text_length(f, one) > text_length(f, best)) {
            widest = *c;
        }
    }
    return std::string(static_cast<std::size_t>(n), widest);
}

constexpr const char* name_characters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

// Runs a screen of the game on the scripted device layer with Enter held,
// drawing with the given fonts and pictures; the catalogue slots and the
// back buffer are put back afterwards.
class BuiltScreens : public BuiltDatafiles {
   protected:
    void SetUp() override {
        BuiltDatafiles::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        installed_ = true;
        saved_ = {font_text, font_readout, highscore_background, back_buffer};
        font_text = font_at(6);
        font_readout = font_at(1);
        highscore_background = picture(6);
        back_buffer = create_bitmap(800, 600);
        install_fake_platform().hold_only({KEY_ENTER});
    }
    void TearDown() override {
        if (!installed_) {
            return;
        }
        remove_fake_platform();
        destroy_bitmap(back_buffer);
        font_text = saved_.text;
        font_readout = saved_.readout;
        highscore_background = saved_.highscore;
        back_buffer = saved_.back;
        set_draw_target(back_buffer);
    }
    // Pixels of one colour in a rectangle (x0..x1, y0..y1 inclusive).
    static int pixels_of(BITMAP* b, int color, int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                n += getpixel(b, x, y) == color ? 1 : 0;
            }
        }
        return n;
    }

   private:
    bool installed_ = false;
    struct {
        FONT* text;
        FONT* readout;
        BITMAP* highscore;
        BITMAP* back;
    } saved_{};
};

TEST_F(BuiltScreens, GuidePageStaysInsideItsFrame) {
    show_guide();
    BITMAP* s = fake().screen;
    const int black = makecol(0, 0, 0);
    // The frame's inner line is column 768 and row 568; every line of text,
    // the longest included, ends at least 8 pixels before it.
    EXPECT_EQ(pixels_of(s, black, 760, 122, 767, 567), 0) << "a guide line runs into the frame";
    EXPECT_EQ(pixels_of(s, black, 32, 560, 767, 567), 0) << "the last line runs into the frame";
    EXPECT_EQ(pixels_of(s, black, 770, 0, 799, 599), 0) << "ink right of the frame";
    // Every line leaves ink: the text is really there.
    for (int y : {140, 180, 200, 220, 240, 260, 320, 360, 380, 400, 420, 440, 460, 480, 500, 540}) {
        EXPECT_GT(pixels_of(s, black, 44, y, 767, y + 15), 10) << "guide line at y " << y;
    }
}

TEST_F(BuiltScreens, HighScoreNamesAndScoresFitTheirColumnsOnACalmPanel) {
    FONT* readout = font_at(1);
    // Names hold up to 7 letters or digits; scores are shown with 6 digits.
    const std::string name = widest_text(readout, name_characters, high_score_name_length);
    const std::string digits = widest_text(readout, "0123456789", 6);
    EXPECT_LE(150 + text_length(readout, name.c_str()), 550 - 8) << name;
    // The score column ends inside the row bands, which end at x = 700.
    EXPECT_LE(550 + text_length(readout, digits.c_str()), 700 - 4) << digits;
    // Rows are 70 apart; each band is 44 high.
    EXPECT_LE(text_height(readout), 40);

    // Behind every name and score the picture is dark and plain, so white
    // and gold text read.
    const int rows[] = {160, 230, 300, 370, 440};
    for (int y : rows) {
        EXPECT_LT(brightest(picture(6), 146, y, 700 - 4, y + text_height(readout)), 80)
            << "row at y " << y;
    }

    // And on the screen itself nothing of the widest name reaches the score.
    decode_high_scores(nullptr, 0);
    for (int rank = 0; rank < high_score_count; ++rank) {
        std::strcpy(high_score_names[rank], name.c_str());
    }
    show_high_scores();
    decode_high_scores(nullptr, 0);
    const int white = makecol(255, 255, 255);
    for (int y : rows) {
        EXPECT_GT(pixels_of(fake().screen, white, 150, y, 549 - 8, y + 40), 100);
        EXPECT_EQ(pixels_of(fake().screen, white, 549 - 8, y, 549, y + 40), 0) << "row " << y;
    }
}

TEST_F(BuiltDatafiles, NameBoxHoldsItsPromptAndTheWidestName) {
    FONT* text = font_at(6);
    FONT* readout = font_at(1);
    // The box spans x = 200 to 599 and y = 270 to 379; both texts are
    // centred on x = 400, the prompt on y = 300 and the name on y = 345.
    const int prompt = text_length(text, "Type your name and press Enter:");
    EXPECT_GE(400 - prompt / 2, 200 + 8);
    EXPECT_LE(400 + prompt - prompt / 2, 599 - 8);
    const std::string name = widest_text(readout, name_characters, high_score_name_length);
    const int name_width = text_length(readout, name.c_str());
    EXPECT_GE(400 - name_width / 2, 200 + 8) << name;
    EXPECT_LE(400 + name_width - name_width / 2, 599 - 8) << name;
    // The prompt's lower half and the name's upper half do not meet, and the
    // name stays above the box's bottom edge.
    EXPECT_LT(300 + text_height(text) / 2, 345 - text_height(readout) / 2);
    EXPECT_LT(345 + text_height(readout) / 2, 379);
    EXPECT_GT(300 - text_height(text) / 2, 270);
}

TEST_F(BuiltDatafiles, GameOverMessagesFitTheScreenAndTheBox) {
    FONT* readout = font_at(1);
    FONT* text = font_at(6);
    // The prompt is centred on x = 400 and, as its shadow, on x = 397.
    const int prompt = text_length(readout, "GREAT! PRESS \"SPACE\" TO NEXT LEVEL");
    EXPECT_GE(397 - prompt / 2, 0);
    EXPECT_LE(400 + prompt - prompt / 2, 800);
    // The message starts at x = 220 in the box from x = 200 to 599.
    EXPECT_LE(220 + text_length(text, "Congratulations! You've made a high score."), 599 - 8);
}

// --- sounds --------------------------------------------------------------

// Allegro keeps 16-bit samples unsigned, centred on 0x8000.
int peak_of(const SAMPLE* s) {
    const auto* data = static_cast<const unsigned short*>(s->data);
    const int channels = s->stereo ? 2 : 1;
    int peak = 0;
    for (unsigned long i = 0; i < s->len * channels; ++i) {
        peak = std::max(peak, std::abs(static_cast<int>(data[i]) - 0x8000));
    }
    return peak;
}

TEST_F(BuiltDatafiles, SoundsAre16BitShortAndNeverClip) {
    const int minus_1_dbfs = static_cast<int>(32768 * std::pow(10.0, -1.0 / 20.0));
    const int minus_12_dbfs = static_cast<int>(32768 * std::pow(10.0, -12.0 / 20.0));
    for (int i = 0; i < 7; ++i) {
        const SAMPLE* s = sample_at(i);
        ASSERT_EQ(s->bits, 16) << "sound " << i;
        ASSERT_GT(s->len, 0u) << "sound " << i;
        EXPECT_GE(s->freq, 11025) << "sound " << i;
        const double seconds = static_cast<double>(s->len) / s->freq;
        EXPECT_LE(seconds, 4.0) << "sound " << i;
        const int peak = peak_of(s);
        EXPECT_LE(peak, minus_1_dbfs) << "sound " << i << " peaks above -1 dBFS";
        EXPECT_GE(peak, minus_12_dbfs) << "sound " << i << " is too quiet";
    }
}

TEST_F(BuiltDatafiles, SoundsAreSevenDifferentSounds) {
    std::set<std::vector<unsigned short>> seen;
    for (int i = 0; i < 7; ++i) {
        const SAMPLE* s = sample_at(i);
        const auto* data = static_cast<const unsigned short*>(s->data);
        EXPECT_TRUE(seen.insert(std::vector<unsigned short>(data, data + s->len)).second)
            << "sound " << i << " repeats another";
    }
    // The confirm blip is the shortest: it follows every menu choice.
    for (int i = 0; i < 6; ++i) {
        EXPECT_LT(sample_at(6)->len, sample_at(i)->len) << "sound " << i;
    }
}

// --- the stored colours, before any conversion ------------------------------

// Loaded at 24 bits per pixel, the pictures keep the colours they were
// made with, so colours that 15- and 16-bit conversion would turn into the
// mask colour can be found.
TEST(BuiltPictures, NoColourTurnsIntoTheMaskColourAt15Or16Bits) {
    set_color_depth(24);
    DATAFILE* graph = load_datafile((game_dir + "/graph1.dat").c_str());
    set_color_depth(16);
    ASSERT_NE(graph, nullptr);
    for (int i = 0; graph[i].type != DAT_END; ++i) {
        BITMAP* b = static_cast<BITMAP*>(graph[i].dat);
        ASSERT_EQ(bitmap_color_depth(b), 24);
        int near = 0, exact = 0;
        for (int y = 0; y < b->h; ++y) {
            for (int x = 0; x < b->w; ++x) {
                const int c = _getpixel24(b, x, y);
                const int r = getr24(c), g = getg24(c), bl = getb24(c);
                if (r == 255 && g == 0 && bl == 255) {
                    ++exact;
                } else if (r >= 248 && bl >= 248 && g <= 7) {
                    ++near;
                }
            }
        }
        EXPECT_EQ(near, 0) << "entry " << i << " has colours that would turn transparent";
        const bool masked = i == cockpit || i == canister_1 || i == canister_2 ||
                            i == digit_strip || i == highlight;
        if (masked) {
            EXPECT_GT(exact, 0) << "entry " << i << " has no transparent part";
        }
    }
    unload_datafile(graph);
}

}  // namespace
