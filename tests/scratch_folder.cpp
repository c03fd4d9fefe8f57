#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <ftw.h>
#include <unistd.h>

#include <cstdio>

scratch_folder::scratch_folder() {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) != nullptr) {
        previous_ = cwd;
    }
    char pattern[] = "/tmp/refuel-test-XXXXXX";
    if (mkdtemp(pattern) == nullptr || chdir(pattern) != 0) {
        ADD_FAILURE() << "cannot make a scratch folder";
        return;
    }
    path_ = pattern;
}

scratch_folder::~scratch_folder() {
    if (!previous_.empty() && chdir(previous_.c_str()) != 0) {
        ADD_FAILURE() << "cannot go back to " << previous_;
    }
    if (!path_.empty()) {
        // Depth first, links removed as links: whatever the test left there.
        nftw(
            path_.c_str(),
            [](const char* p, const struct stat*, int, FTW*) {
                (void)std::remove(p);
                return 0;
            },
            16, FTW_DEPTH | FTW_PHYS);
    }
}

void scratch_folder::copy_from_game_dir(const char* name) const {
    std::FILE* in = std::fopen((std::string(REFUEL_GAME_DIR) + "/" + name).c_str(), "rb");
    ASSERT_NE(in, nullptr) << "needs the built " << name;
    std::FILE* out = std::fopen((path_ + "/" + name).c_str(), "wb");
    ASSERT_NE(out, nullptr);
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        std::fwrite(buffer, 1, n, out);
    }
    std::fclose(in);
    std::fclose(out);
}
