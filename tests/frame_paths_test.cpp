// The game frame's faster ways of drawing (the cockpit and the score digits
// copied by their opaque runs, the scenery left out under the opaque
// cockpit, the gauge columns written straight, the rails by lookup) must
// give whole frames identical, pixel for pixel, to the library's own calls.

#include <unistd.h>

#include <string>
#include <vector>

#include "game_frame.h"
#include "game_test_support.h"
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
    // bitmap gets a windscreen cut into it, then a narrower one. (Pictures
    // are read-only once loaded; only another picture is looked for.)
    static BITMAP* changed = noise_picture(800, 300, 15, 0);
    cockpit_overlay = changed;
    EXPECT_EQ(differing_pixels(), 0);
    rectfill(changed, 100, 20, 699, 150, bitmap_mask_color(changed));
    EXPECT_EQ(differing_pixels(), 0);
    rectfill(changed, 100, 20, 199, 150, makecol(1, 2, 3));
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

}  // namespace
