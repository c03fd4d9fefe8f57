#pragma once
// Numbers into text and texts glued together without allocation: every
// result is written into one rotating area and handed out as a pointer into
// it. A result stays intact until the area has been used through once more,
// so callers use it at once and never keep it.

constexpr int text_pool_size = 65536;
// The cursor falls back to 0 once an operation leaves it here or beyond; the
// room above keeps any result of up to 4,096 characters inside the pool.
constexpr int text_pool_wrap = 61440;

extern char text_pool[text_pool_size];
extern int text_pool_cursor;

const char* number_text(int n);  // n >= 0; "0" for 0, no leading zeros
const char* join_text(const char* a, const char* b);
const char* join_text3(const char* a, const char* b, const char* c);
const char* join_number(const char* text, int n);
