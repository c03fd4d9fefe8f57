#pragma once
// The hub: five choices (play, high scores, guide, level settings, exit)
// picked with the digits or the arrows and confirmed with Enter. Returns 0
// when the program is to end, 1 to be called again.
int main_menu();
