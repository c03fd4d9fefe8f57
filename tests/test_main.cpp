// Tests run without a display: the library is started with no system driver,
// which still allows memory bitmaps, colours, text and datafiles.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>

#undef main

int main(int argc, char** argv) {
    if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) {
        return 2;
    }
    set_color_depth(16);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
