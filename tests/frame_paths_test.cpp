// The game frame's faster ways of drawing (the cockpit and the score digits
// copied by their opaque runs, the scenery left out under the opaque
// cockpit, the gauge columns written straight, the rails by lookup, the
// frame kept from one to the next and put back only where it was drawn
// over) must give whole frames identical, pixel for pixel, to the
// library's own calls.

#include <unistd.h>

#include <array>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "game_frame.h"
#include "game_test_support.h"
#include "high_scores.h"
#include "direct_pixels.h"
#include "kept_frame.h"
#include "text_stamps.h"
#include "rail_effect.h"

namespace {

struct catalogue_slots {
    BITMAP* levels[11];
    BITMAP* cockpit;
    BITMAP* strip;
    BITMAP* canister_1;
    BITMAP* canister_2;
    BITMAP* label;
    FONT* fonts[5];
};

catalogue_slots current_slots() {
    catalogue_slots s{};
    for (int l = 1; l <= 10; ++l)
        s.levels[l] = level_background[l];
    s.cockpit = cockpit_overlay;
    s.strip = score_digit_strip;
    s.canister_1 = canister_picture_1;
    s.canister_2 = canister_picture_2;
    s.label = label_bitmap;
    s.fonts[0] = font_answer;
    s.fonts[1] = font_readout;
    s.fonts[2] = font_panel;
    s.fonts[3] = font_banner;
    s.fonts[4] = font_label;
    return s;
}

void use_slots(const catalogue_slots& s) {
    for (int l = 1; l <= 10; ++l)
        level_background[l] = s.levels[l];
    cockpit_overlay = s.cockpit;
    score_digit_strip = s.strip;
    canister_picture_1 = s.canister_1;
    canister_picture_2 = s.canister_2;
    label_bitmap = s.label;
    font_answer = s.fonts[0];
    font_readout = s.fonts[1];
    font_panel = s.fonts[2];
    font_banner = s.fonts[3];
    font_label = s.fonts[4];
}

// The game's own pictures and fonts, loaded once as start-up loads them.
const catalogue_slots* built_catalogue() {
    static catalogue_slots built{};
    static bool loaded = false;
    static bool tried = false;
    if (!tried) {
        tried = true;
        char cwd[4096];
        if (getcwd(cwd, sizeof cwd) != nullptr && chdir(REFUEL_GAME_DIR) == 0) {
            const catalogue_slots before = current_slots();
            loaded = load_fonts() == nullptr && load_graphics() == nullptr;
            built = current_slots();
            use_slots(before);
            loaded = chdir(cwd) == 0 && loaded;
        }
    }
    return loaded ? &built : nullptr;
}

BITMAP* noise_picture(int w, int h, unsigned seed, int mask_share) {
    BITMAP* b = create_bitmap(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            const bool masked = static_cast<int>((seed >> 24) % 100) < mask_share;
            putpixel(b, x, y,
                     masked ? bitmap_mask_color(b)
                            : makecol((seed >> 8) & 255, (seed >> 16) & 255, (seed >> 4) & 255));
        }
    }
    return b;
}

class frame_paths_test : public game_test {
   protected:
    void SetUp() override {
        game_test::SetUp();
        saved = current_slots();
        reference = create_bitmap(800, 600);
    }
    void TearDown() override {
        draw_frames_by_library = false;
        use_slots(saved);
        destroy_bitmap(reference);
        game_test::TearDown();
    }

    // Draws the current state both ways over different leftovers in
    // back_buffer and counts the pixels in which the shown frames differ.
    int differing_pixels() {
        clear_to_color(back_buffer, makecol(255, 0, 0));
        draw_frames_by_library = true;
        draw_game_frame();
        blit(fake().screen, reference, 0, 0, 0, 0, 800, 600);
        const int library_color = draw_color;
        // Leftovers of another frame must not show through either.
        clear_to_color(back_buffer, makecol(0, 255, 0));
        draw_frames_by_library = false;
        draw_game_frame();
        EXPECT_EQ(draw_color, library_color);
        int differing = 0;
        for (int y = 0; y < 600; ++y) {
            for (int x = 0; x < 800; ++x) {
                differing += getpixel(fake().screen, x, y) != getpixel(reference, x, y) ? 1 : 0;
            }
        }
        return differing;
    }

    // A spread of moments: every level and bob, the canister from the
    // horizon to over the cockpit, every gauge and lamp, answers rising,
    // at rest, with the beam and after Space, banner and prompt.
    void expect_identical_frames(int states) {
        unsigned seed = 99;
        auto pick = [&seed](int n) {
            seed = seed * 1103515245u + 12345u;
            return static_cast<int>((seed >> 8) % static_cast<unsigned>(n));
        };
        const int timers[] = {0, 4, 100, 176, 180, 220, 224, 230, 239, 240, 300, 9999};
        const int fuels[] = {-7, -1, 0, 9, 19, 20, 21, 43, 59, 60, 150};
        for (int i = 0; i < states; ++i) {
            level = 1 + i % 10;
            view_offset_y = i % 7 == 0 ? 0 : -10 - pick(21);
            canister_distance = i % 5 == 0 ? 1000 : 1000 + pick(5001);
            canister_lane = 180000 * (pick(3) - 1);
            canister_scale = 100000.0 / canister_distance;
            canister_y = 200000 / canister_distance + 100;
            canister_x_offset = canister_lane / canister_distance;
            fuel = fuels[pick(11)];
            fuel_pending = pick(3) == 0 ? 5 : 0;
            phase = pick(300);
            score = pick(3) == 0 ? 999999 : pick(1000000);
            answer_timer = timers[pick(12)];
            std::strcpy(typed_answer, pick(4) == 0 ? "" : "1234");
            problem.operand_a = pick(100);
            problem.operand_b = pick(100);
            ASSERT_EQ(differing_pixels(), 0)
                << "level " << level << " offset " << view_offset_y << " depth "
                << canister_distance << " fuel " << fuel << " timer " << answer_timer;
        }
    }

    // A text drawn from its stamp on back_buffer and by the library on the
    // reference: the same pixels, all inside the area the stamp gives.
    void texts_as_library(FONT* f, const char* text, int x, int y, int centre = 1) {
        const int ground = makecol(10, 20, 30);
        clear_to_color(back_buffer, ground);
        clear_to_color(reference, ground);
        set_draw_font(f);
        set_draw_color(200, 100, 50);
        set_draw_target(back_buffer);
        const text_area a = draw_stamped_text(x, y, text, centre, centre);
        set_draw_target(reference);
        draw_text(x, y, text, centre, centre);
        set_draw_target(back_buffer);
        int differing = 0;
        int outside = 0;
        for (int yy = 0; yy < 600; ++yy) {
            const auto* drawn = reinterpret_cast<const unsigned short*>(back_buffer->line[yy]);
            const auto* library = reinterpret_cast<const unsigned short*>(reference->line[yy]);
            for (int xx = 0; xx < 800; ++xx) {
                const int p = library[xx];
                differing += drawn[xx] != p ? 1 : 0;
                const bool in_area =
                    xx >= a.left && xx < a.left + a.w && yy >= a.top && yy < a.top + a.h;
                outside += p != ground && !in_area ? 1 : 0;
            }
        }
        EXPECT_EQ(differing, 0) << "\"" << text << "\" at " << x << "," << y;
        EXPECT_EQ(outside, 0) << "\"" << text << "\" at " << x << "," << y;
    }

    catalogue_slots saved{};
    BITMAP* reference = nullptr;
};

TEST_F(frame_paths_test, the_games_own_pictures_give_identical_frames) {
    const catalogue_slots* built = built_catalogue();
    ASSERT_NE(built, nullptr) << "the built datafiles in " << REFUEL_GAME_DIR;
    use_slots(*built);
    launch();
    expect_identical_frames(60);
}

TEST_F(frame_paths_test, pictures_with_scattered_transparency_give_identical_frames) {
    // Half the cockpit and digit pixels in the mask colour, in no order:
    // runs of every length, at both edges.
    static BITMAP* cockpit = noise_picture(800, 300, 5, 50);
    static BITMAP* strip = noise_picture(490, 32, 6, 30);
    static BITMAP* scenery = noise_picture(800, 671, 7, 0);
    cockpit_overlay = cockpit;
    score_digit_strip = strip;
    for (int l = 1; l <= 10; ++l)
        level_background[l] = scenery;
    launch();
    expect_identical_frames(20);
}

TEST_F(frame_paths_test, a_new_picture_in_a_slot_is_read_afresh) {
    // The runs belong to the picture: another cockpit, another result.
    static BITMAP* first = noise_picture(800, 300, 11, 40);
    static BITMAP* second = noise_picture(800, 300, 12, 60);
    launch();
    for (BITMAP* cockpit : {first, second, first}) {
        cockpit_overlay = cockpit;
        EXPECT_EQ(differing_pixels(), 0);
    }
    // A reload may put another picture at the same address: here the same
    // bitmap gets a windscreen cut into it, then a narrower one, each time
    // counted as a new load as load_graphics counts it.
    static BITMAP* changed = noise_picture(800, 300, 15, 0);
    cockpit_overlay = changed;
    EXPECT_EQ(differing_pixels(), 0);
    rectfill(changed, 100, 20, 699, 150, bitmap_mask_color(changed));
    ++catalogue_generation;
    EXPECT_EQ(differing_pixels(), 0);
    rectfill(changed, 100, 20, 199, 150, makecol(1, 2, 3));
    ++catalogue_generation;
    EXPECT_EQ(differing_pixels(), 0);
}

TEST_F(frame_paths_test, a_fully_opaque_or_fully_clear_cockpit_gives_identical_frames) {
    static BITMAP* opaque = noise_picture(800, 300, 13, 0);
    static BITMAP* clear = noise_picture(800, 300, 14, 100);
    launch();
    for (BITMAP* cockpit : {opaque, clear}) {
        cockpit_overlay = cockpit;
        expect_identical_frames(5);
    }
}

TEST_F(frame_paths_test, fifteen_bit_frames_are_identical_too) {
    // Never freed, like the catalogue's pictures: the runs know a picture
    // by its address.
    set_color_depth(15);
    static BITMAP* buffer = create_bitmap(800, 600);
    static BITMAP* label = create_bitmap(280, 200);
    static BITMAP* cockpit = noise_picture(800, 300, 21, 50);
    static BITMAP* strip = noise_picture(490, 32, 22, 30);
    static BITMAP* scenery = noise_picture(800, 671, 23, 0);
    static BITMAP* canister = noise_picture(320, 200, 24, 10);
    static BITMAP* reference_15 = create_bitmap(800, 600);
    BITMAP* saved_buffer = back_buffer;
    BITMAP* saved_reference = reference;
    back_buffer = buffer;
    reference = reference_15;
    label_bitmap = label;
    cockpit_overlay = cockpit;
    score_digit_strip = strip;
    canister_picture_1 = canister_picture_2 = canister;
    for (int l = 1; l <= 10; ++l)
        level_background[l] = scenery;
    install_fake_platform();  // a screen of the new depth
    fake().stall_polls = INT_MAX;
    set_draw_target(back_buffer);
    launch();
    expect_identical_frames(10);
    back_buffer = saved_buffer;
    reference = saved_reference;
    set_color_depth(16);
    install_fake_platform();
}

TEST_F(frame_paths_test, every_colour_passes_through_the_rails_as_the_pixel_calls_make_it) {
    // Ten frames whose rail pixels take every 16-bit value, under a bright
    // and a dark stripe; runs of one colour come with the pictures above.
    std::vector<std::pair<int, int>> rail;
    for (int y = 101; y <= 399; ++y) {
        for (int x = 500 - (26 * y + 24) / 25; x <= 500 - y; ++x)
            rail.emplace_back(x, y);
        for (int x = 300 + y; x <= 300 + 26 * y / 25; ++x)
            rail.emplace_back(x, y);
    }
    ASSERT_EQ(rail.size(), 6578u);
    for (int distance : {6000, 5800}) {
        canister_distance = distance;
        for (int value = 0; value < 65536; value += static_cast<int>(rail.size())) {
            for (std::size_t i = 0; i < rail.size(); ++i) {
                // 7919 is prime to 6578: each frame a shuffle of the next
                // 6578 values, so neighbours are far apart.
                const int v = (value + static_cast<int>(i * 7919 % rail.size())) & 0xFFFF;
                reinterpret_cast<unsigned short*>(
                    back_buffer->line[rail[i].second])[rail[i].first] =
                    static_cast<unsigned short>(v);
            }
            blit(back_buffer, reference, 0, 0, 0, 0, 800, 600);
            draw_rails();
            BITMAP* fast = back_buffer;
            back_buffer = reference;
            set_draw_target(reference);
            draw_rails_by_pixel();
            back_buffer = fast;
            set_draw_target(fast);
            for (const auto& p : rail) {
                ASSERT_EQ(getpixel(fast, p.first, p.second), getpixel(reference, p.first, p.second))
                    << p.first << "," << p.second << " at depth " << distance;
            }
        }
    }
}

// Rows of two same-sized bitmaps compared whole; the pixels that differ.
int differing_pixels_between(BITMAP* a, BITMAP* b) {
    int differing = 0;
    for (int y = 0; y < a->h; ++y) {
        const auto* ra = reinterpret_cast<const unsigned short*>(a->line[y]);
        const auto* rb = reinterpret_cast<const unsigned short*>(b->line[y]);
        for (int x = 0; x < a->w; ++x) {
            differing += ra[x] != rb[x] ? 1 : 0;
        }
    }
    return differing;
}

TEST_F(frame_paths_test, texts_from_stamps_are_the_librarys_texts_inside_the_area_given) {
    const catalogue_slots* built = built_catalogue();
    ASSERT_NE(built, nullptr) << "the built datafiles in " << REFUEL_GAME_DIR;
    use_slots(*built);
    const char* texts[] = {
        "", "7", "1234567890", "Level 10", "GREAT! PRESS \"SPACE\" TO NEXT LEVEL", "Wj|gq_"};
    // Forty texts more than the stamps kept, each twice and far apart: a
    // stamp thrown out and made again must still be right.
    std::vector<std::string> many;
    for (int i = 0; i < 40; ++i)
        many.push_back(std::to_string(i * 7919));
    for (int round = 0; round < 2; ++round)
        for (const std::string& t : many)
            texts_as_library(font_readout, t.c_str(), 400, 300);
    for (FONT* f : {font_answer, font_readout, font_panel, font_banner, font_label, font}) {
        for (const char* t : texts) {
            for (int centre = 0; centre <= 1; ++centre) {
                // In the middle, at the corners and half off the frame.
                for (const auto& at : std::vector<std::pair<int, int>>{
                         {400, 300}, {0, 0}, {799, 599}, {-10, 590}, {780, -5}}) {
                    texts_as_library(f, t, at.first, at.second, centre);
                }
            }
        }
    }
}

TEST_F(frame_paths_test, lines_drawn_directly_are_the_librarys_lines) {
    // From the beam's five starts to points all over the frame, every
    // direction and slope, and some that leave it; each line in its own
    // colour, so that a pixel set by the wrong line shows too.
    BITMAP* direct = back_buffer;
    clear_to_color(direct, 0);
    clear_to_color(reference, 0);
    int colour = 1;
    for (int x0 = 398; x0 <= 402; ++x0) {
        for (int x = -20; x <= 820; x += 19) {
            for (int y = -20; y <= 620; y += 23) {
                set_draw_target(direct);
                draw_color = colour;
                draw_direct_line(x0, 340, x, y);
                line(reference, x0, 340, x, y, colour);
                colour = colour % 65535 + 1;
            }
        }
    }
    for (const auto& l : std::vector<std::array<int, 4>>{
             {0, 0, 799, 599}, {799, 0, 0, 599}, {5, 5, 5, 500}, {5, 5, 700, 5}, {3, 3, 3, 3}}) {
        draw_color = colour;
        draw_direct_line(l[0], l[1], l[2], l[3]);
        line(reference, l[0], l[1], l[2], l[3], colour);
        ++colour;
    }
    EXPECT_EQ(differing_pixels_between(direct, reference), 0);
}

// A whole game as a player plays it, through play_game: every frame it
// shows, drawn on the frame kept from the one before, must be the frame the
// library draws afresh from the same state on a bitmap of its own.
class kept_frames_test : public frame_paths_test {
   protected:
    void SetUp() override {
        frame_paths_test::SetUp();
        shown = create_bitmap(800, 600);
        high_scores[4] = 1000000;  // no name to ask: the game ends with Escape
    }
    void TearDown() override {
        decode_high_scores(nullptr, 0);
        destroy_bitmap(shown);
        frame_paths_test::TearDown();
    }

    // The pixels in which the frame just shown differs from one drawn by
    // the library alone; the shown frame is left on the screen.
    int differs_from_frame_drawn_afresh() {
        blit(fake().screen, shown, 0, 0, 0, 0, 800, 600);
        // The reference goes on a bitmap of its own, which the drawing kit
        // takes for back_buffer while it is drawn: its drawings are not the
        // game's and must not cost the game its kept frame.
        const unsigned game_drawings = back_buffer_drawings;
        BITMAP* game_buffer = back_buffer;
        back_buffer = reference;
        set_draw_target(reference);
        draw_frames_by_library = true;
        drawing_reference = true;
        draw_game_frame();
        drawing_reference = false;
        draw_frames_by_library = false;
        back_buffer = game_buffer;
        set_draw_target(game_buffer);
        back_buffer_drawings = game_drawings;
        int differing = 0;
        for (int y = 0; y < 600; ++y) {
            const auto* a = reinterpret_cast<const unsigned short*>(fake().screen->line[y]);
            const auto* b = reinterpret_cast<const unsigned short*>(shown->line[y]);
            for (int x = 0; x < 800; ++x) {
                differing += a[x] != b[x] ? 1 : 0;
            }
        }
        blit(shown, fake().screen, 0, 0, 0, 0, 800, 600);
        return differing;
    }

    // Plays `ticks` ticks: the player answers, one answer in five wrong,
    // lets every sixth canister hit the ship and presses Space on a full
    // tank; each game frame is checked as it is shown.
    void play_and_check(int ticks) {
        const int start = tick_count.load();
        int answers = 0;
        int canisters = 0;
        int last_distance = INT_MAX;
        bool letting_through = false;
        std::deque<std::set<int>> keys;
        fake().on_look = [&](int) {
            fake().hold_only({});
            // A wrong frame ends the game: one report is enough.
            if (tick_count.load() - start >= ticks || out_of_fuel != 0 || HasFailure()) {
                fake().hold_only({KEY_ESC, KEY_ENTER});
                return;
            }
            if (canister_distance > last_distance) {
                letting_through = ++canisters % 6 == 5;
            }
            last_distance = canister_distance;
            if (keys.empty() && !letting_through) {
                keys = next_player_keys(answers);
            }
            if (!keys.empty()) {
                for (int k : keys.front())
                    fake().held[k] = true;
                keys.pop_front();
            }
        };
        fake().on_present = [&](int n) {
            if (drawing_reference || draw_target != back_buffer) {
                return;
            }
            ++checked;
            hits_seen = std::max(hits_seen, canister_count);
            levels_seen = std::max(levels_seen, level);
            ASSERT_EQ(differs_from_frame_drawn_afresh(), 0)
                << "frame " << n << " level " << level << " offset " << view_offset_y << " depth "
                << canister_distance << " fuel " << fuel << " timer " << answer_timer << " phase "
                << phase;
        };
        play_game();
    }

    BITMAP* shown = nullptr;
    bool drawing_reference = false;
    int checked = 0;
    int hits_seen = 0;
    int levels_seen = 0;
};

TEST_F(kept_frames_test, a_played_game_shows_the_frames_the_library_draws_afresh) {
    const catalogue_slots* built = built_catalogue();
    ASSERT_NE(built, nullptr) << "the built datafiles in " << REFUEL_GAME_DIR;
    use_slots(*built);
    play_and_check(2500);
    EXPECT_GT(checked, 2000);
    EXPECT_GE(hits_seen, 2) << "canisters reached the ship";
    EXPECT_GE(levels_seen, 2) << "the player reached the next level";
}

TEST_F(kept_frames_test, scattered_transparency_shows_the_frames_the_library_draws_afresh) {
    static BITMAP* cockpit = noise_picture(800, 300, 31, 50);
    static BITMAP* strip = noise_picture(490, 32, 32, 30);
    static BITMAP* scenery = noise_picture(800, 671, 33, 0);
    static BITMAP* other_scenery = noise_picture(800, 671, 34, 0);
    cockpit_overlay = cockpit;
    score_digit_strip = strip;
    for (int l = 1; l <= 10; ++l)
        level_background[l] = l % 2 == 0 ? other_scenery : scenery;
    play_and_check(1500);
    EXPECT_GT(checked, 1200);
}

TEST_F(kept_frames_test, what_is_drawn_between_frames_stays_until_the_frame_is_forgotten) {
    // Kept frames put back only what they drew themselves: a mark made in
    // the sky behind the drawing kit's back outlives the next frame, and
    // forget_game_frame clears it.
    launch();
    view_offset_y = -20;
    const int red = makecol(255, 0, 0);
    draw_game_frame();
    rectfill(back_buffer, 700, 240, 720, 250, red);
    draw_game_frame();
    EXPECT_EQ(getpixel(fake().screen, 710, 245), red) << "the frame was drawn afresh";
    forget_game_frame();
    draw_game_frame();
    EXPECT_NE(getpixel(fake().screen, 710, 245), red);
    EXPECT_EQ(differs_from_frame_drawn_afresh(), 0);
    // A picture drawn through the drawing kit is noticed by itself.
    draw_game_frame();
    set_draw_color(255, 0, 0);
    draw_box(700, 240, 21, 11, 1);
    draw_game_frame();
    EXPECT_NE(getpixel(fake().screen, 710, 245), red);
    EXPECT_EQ(differs_from_frame_drawn_afresh(), 0);
    // So does a move of the view, which copies the scenery whole.
    rectfill(back_buffer, 700, 240, 720, 250, red);
    view_offset_y = -21;
    draw_game_frame();
    EXPECT_NE(getpixel(fake().screen, 710, 245), red);
}

}  // namespace
