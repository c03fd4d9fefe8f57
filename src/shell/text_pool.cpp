#include "text_pool.h"

#include <cstring>

char text_pool[text_pool_size];
int text_pool_cursor = 0;

namespace {

// Tested after the move, so every result starts below text_pool_wrap and
// the room above it holds the longest one.
void advance_cursor(int step) {
    text_pool_cursor += step;
    if (text_pool_cursor >= text_pool_wrap) {
        text_pool_cursor = 0;
    }
}

const char* join_parts(const char* const* parts, int count) {
    char* p = text_pool + text_pool_cursor;
    int k = 0;
    for (int i = 0; i < count; ++i) {
        const std::size_t n = std::strlen(parts[i]);
        // Parts may themselves be pool results lying after p; memmove keeps
        // an overlapping copy correct.
        std::memmove(p + k, parts[i], n);
        k += static_cast<int>(n);
    }
    p[k] = '\0';
    // One byte more than was written: past the NUL and a spare byte.
    advance_cursor(k + 2);
    return p;
}

}  // namespace

const char* join_text(const char* a, const char* b) {
    const char* parts[] = {a, b};
    return join_parts(parts, 2);
}

const char* join_text3(const char* a, const char* b, const char* c) {
    const char* parts[] = {a, b, c};
    return join_parts(parts, 3);
}

const char* number_text(int n) {
    if (n < 10) {
        char* p = text_pool + text_pool_cursor;
        p[0] = static_cast<char>('0' + n);
        p[1] = '\0';
        // A lone digit takes just its two bytes, with no spare one.
        advance_cursor(2);
        return p;
    }
    const char* lo = number_text(n % 10);
    const char* hi = number_text(n / 10);
    return join_text(hi, lo);
}

const char* join_number(const char* text, int n) {
    const char* digits = number_text(n);
    return join_text(text, digits);
}
