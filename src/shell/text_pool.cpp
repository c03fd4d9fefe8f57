#include "text_pool.h"

#include <cstring>

char text_pool[text_pool_size];
int text_pool_cursor = 0;

namespace {

void advance_cursor(int written) {
    // One byte more than was written: the cursor steps past the NUL and a
    // spare byte.
    text_pool_cursor += written + 2;
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
    advance_cursor(k);
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
        advance_cursor(1);
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
