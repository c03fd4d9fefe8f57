#pragma once
// Shared by the tests of the menus and screens: a fixture with the fake
// device layer and the synthetic catalogue.

#include <gtest/gtest.h>

#include "fake_platform.h"
#include "test_assets.h"

class screen_test : public testing::Test {
   protected:
    void SetUp() override {
        install_test_assets();
        install_fake_platform();
    }
    void TearDown() override { remove_fake_platform(); }

    static bool pixel_is(BITMAP* b, int x, int y, const int rgb[3]) {
        return getpixel(b, x, y) == makecol(rgb[0], rgb[1], rgb[2]);
    }
};
