#pragma once
// "Who is playing?": once two or more children play on one computer, the
// screen after the title lists them (digits, Up, Down and Enter, as the
// menus are worked), with a row that adds a player. The player chosen is
// the current player of players.h. With one player or none it never shows.

#include <string>
#include <vector>

// Shows the screen when players.txt lists two players or more; the player
// chosen (or added there) plays. Does nothing otherwise.
void choose_who_is_playing();

// Asks a new player's name on the screen (and first the first player's,
// when they have none yet), adds them and makes them the one playing.
// False when Escape left the box or the name was taken by another player.
bool add_player_on_screen();

// The screen's rows as drawn: the players, and the add row at the bottom.
// Shown on back_buffer with `selected` highlighted (0: the add row).
void draw_player_menu(const std::vector<std::string>& players, int selected);
