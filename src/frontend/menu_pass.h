#pragma once
// The loop the main menu and the two settings menus share: one pass per tick
// of the clock, a picture presented only when the selection changed, digits
// and Enter read with read_key_code, the arrows through a latch (an arrow
// held down moves the selection once), and the one confirm sound.

struct BITMAP;

struct menu_rules {
    BITMAP* background;
    // Draws the selection's highlight over the background on back_buffer.
    void (*highlight)(int selection);
    // The arrows cycle through `count` selections from `first`: the main menu
    // leaves 0 (no choice) out, the settings menus count their back row 0 in.
    // Digits from '0' up to the last selection select directly.
    int first;
    int count;
    // Enter on a selection above 0, after the confirm sound and a 500 ms
    // pause: returns what the menu returns, or -1 to carry on with the pass.
    int (*confirm)(int selection);
};

// Shows the background, then runs passes from `selection` until an Enter
// returns; Enter on selection 0 returns 0 right after the confirm sound.
int run_menu_passes(const menu_rules& rules, int selection);
