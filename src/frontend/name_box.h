#pragma once
// The box a name is typed into: the high-score name and a new player's
// name. Letters (as capitals) and digits up to player_name_length,
// Backspace, Enter; the box is drawn on back_buffer and presented after
// every key.

#include <string>

struct name_box {
    int x, y, w, h;          // the panel
    int question_y, name_y;  // the centres of the question and of the name
    const char* question;
    // A box that Escape cancels needs a name before Enter takes it; one that
    // cannot be cancelled takes what is there, an empty name too, on Enter
    // or Escape.
    bool escape_cancels;
};

// Lets the Enter that led here go up first (its repeats would confirm at
// once), then edits name, starting from what it holds. False when Escape
// cancelled. Returns only once Enter is up again, so that the screen that
// follows is not closed by the same key.
bool edit_name(const name_box& box, std::string& name);
