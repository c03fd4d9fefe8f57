#pragma once
// Builds the typed answer from the digit keys once per tick; Backspace,
// Enter to submit, Space to leave a level with a full tank.
void read_answer_input();
