#pragma once
// One page of instructions in black on white, closed with Enter.
void show_guide();
