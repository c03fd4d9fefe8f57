#pragma once
// Shared by the tests of the menus and screens: a fixture with the fake
// device layer and the synthetic catalogue, and readers of what was shown.

#include <gtest/gtest.h>

#include <allegro.h>

#include <set>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "test_assets.h"

class screen_test : public testing::Test {
   protected:
    void SetUp() override {
        install_test_assets();
        install_fake_platform();
    }
    void TearDown() override { remove_fake_platform(); }

    // Keys held on each pass of a menu: pass 1 is the first pass that reads
    // keys, right after the first highlighted frame.
    void keys_per_pass(std::vector<std::set<int>> passes) {
        passes.insert(passes.begin(), std::set<int>{});
        fake().script_per_present(std::move(passes));
    }

    static bool pixel_is(BITMAP* b, int x, int y, const int rgb[3]) {
        return getpixel(b, x, y) == makecol(rgb[0], rgb[1], rgb[2]);
    }
};
