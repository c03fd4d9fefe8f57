#pragma once
// A fresh folder under /tmp that a test works in: entered on construction,
// left and removed (with whatever the test wrote there) on destruction.

#include <string>

class scratch_folder {
   public:
    scratch_folder();
    ~scratch_folder();
    scratch_folder(const scratch_folder&) = delete;
    scratch_folder& operator=(const scratch_folder&) = delete;

    const std::string& path() const { return path_; }
    // Copies a file from the build's game folder (a datafile) in here.
    void copy_from_game_dir(const char* name) const;

   private:
    std::string previous_;
    std::string path_;
};
