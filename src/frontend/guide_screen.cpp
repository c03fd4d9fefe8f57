#include "guide_screen.h"

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "keyboard_random_clock.h"
#include "platform.h"

namespace {

struct guide_line {
    int x;
    int y;
    const char* text;
};

// Continuation lines start one pixel left of the numbered lines and begin
// with four spaces, so their words line up under the text above.
constexpr guide_line guide_lines[] = {
    {30, 80, "QUICK GETTING STARTED GUIDE"},
    {45, 140, "SETTING UP THE GAME"},
    {45, 180,
     "1. Select the LEVEL SETTINGS option from the main menu, and select the desired difficulty"},
    {44, 200, "    level with the UP and DOWN arrow keys. When you are done, press ENTER."},
    {45, 220,
     "2. Select the desired topic with the arrow keys, and press ENTER to save your changes"},
    {44, 240, "    and return to the Main Menu."},
    {45, 260, "3. Select PLAY THE GAME."},
    {45, 320, "PLAYING THE GAME"},
    {45, 360, "1. You will see a fuel canister with a math problem inscribed on it."},
    {45, 380, "2. Use the number keys '0' to '9' to enter your answer to the problem."},
    {45, 400, "3. When you are done, press ENTER."},
    {45, 420,
     "4. If your answer is right, your fuel tanks will fill up. If it is wrong, or if the fuel"},
    {44, 440, "    tank hits your ship, you will loose fuel."},
    {45, 460,
     "5. When your fuel tank is full, you will see a message telling you it's time to boost your"},
    {44, 480, "    ship to the next level. Press SPACE in order to do so."},
    {45, 500, "6. If you run out of fuel, the game is over."},
    {45, 540, "ENJOY!"},
};

}  // namespace

void show_guide() {
    set_draw_target(back_buffer);
    set_draw_color(255, 255, 255);
    draw_box(0, 0, 800, 600, 1);
    set_draw_font(font_text);
    set_draw_color(0, 0, 0);
    draw_box(30, 120, 740, 450, 0);
    draw_box(31, 121, 738, 448, 0);
    for (const guide_line& line : guide_lines) {
        draw_text(line.x, line.y, line.text, 0, 0);
    }
    present_frame();
    // The picture stays as it is until Enter.
    wait_for_enter();
    platform_rest(500);
}
