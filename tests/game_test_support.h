#pragma once
// Shared by the flight game's tests: a fixture with the fake device layer,
// the synthetic catalogue and a fresh game, helpers that start a level and
// launch canisters the way the game loop does, and pixel readers.

#include <gtest/gtest.h>

#include <allegro.h>

#include <climits>
#include <cstring>
#include <string>

#include "asset_catalogue.h"
#include "canister_label.h"
#include "drawing_kit.h"
#include "fake_platform.h"
#include "game_loop.h"
#include "keyboard_random_clock.h"
#include "problem_generator.h"
#include "simulation_tick.h"
#include "test_assets.h"
#include "text_pool.h"

class game_test : public testing::Test {
   protected:
    void SetUp() override {
        install_test_assets();
        install_fake_platform();
        // Tick-level tests poll keys for thousands of ticks without a frame.
        fake().stall_polls = INT_MAX;
        seed_rand15(4242);
        reset_game();
        current_key = -1;
        previous_key = -1;
        backspace_latch = 0;
        set_draw_target(back_buffer);
        drawing_mode(DRAW_MODE_SOLID, nullptr, 0, 0);
    }
    void TearDown() override { remove_fake_platform(); }

    // What the game loop does at the start of a level and at a launch.
    static void start_level(int n) {
        level = n;
        canister_count = 1;
        fuel = start_fuel_table[n];
        phase = 0;
        wrong_penalty = first_wrong_penalty;
        launch();
    }
    static void launch() {
        new_problem();
        reset_canister();
        render_label();
    }

    // One tick with exactly these keys held.
    static void tick_with(std::initializer_list<int> keys) {
        fake().hold_only(keys);
        game_tick();
    }

    // Types a text as a player would: each digit pressed for a tick and
    // released for a tick.
    static void type_digits(const std::string& text) {
        for (char c : text) {
            tick_with({KEY_0 + (c - '0')});
            tick_with({});
        }
    }

    static bool pixel_is(BITMAP* b, int x, int y, int r, int g, int bl) {
        return getpixel(b, x, y) == makecol(r, g, bl);
    }

    static std::string last_sound() {
        if (fake().sounds.empty()) {
            return "none";
        }
        const played_sample& s = fake().sounds.back();
        return std::string(sample_name(s.sample)) + "/" + std::to_string(s.volume) + "/" +
               std::to_string(s.pan) + "/" + std::to_string(s.frequency) + "/" +
               std::to_string(s.loop);
    }
};
