#include "fake_platform.h"

#include <memory>

#include "keyboard_random_clock.h"
#include "platform.h"

namespace {

std::unique_ptr<fake_platform> current;
// The visible screen outlives every fake, so it is never lost to the leak
// checker.
BITMAP* shared_screen = nullptr;

bool fake_start_library() {
    return true;
}

int fake_set_video_mode(int depth, bool windowed) {
    current->events.push_back(std::string("mode ") + std::to_string(depth) +
                              (windowed ? " window" : " full"));
    int result = -1;
    if (depth == 16) {
        result = windowed ? current->mode_result_16_window : current->mode_result_16_full;
    } else if (depth == 15) {
        result = windowed ? current->mode_result_15_window : current->mode_result_15_full;
    }
    if (result == 0) {
        set_color_depth(depth);
        if (shared_screen != nullptr) {
            destroy_bitmap(shared_screen);
        }
        shared_screen = create_bitmap(800, 600);
        current->screen = shared_screen;
        clear_bitmap(current->screen);
    }
    return result;
}

void fake_set_text_mode() {
    current->events.push_back("text mode");
}
const char* fake_last_error() {
    return current->error_text.c_str();
}
void fake_show_message(const char* text) {
    current->events.push_back("message");
    current->messages.push_back(text);
}
void fake_start_tick(void (*callback)()) {
    current->events.push_back("tick");
    current->tick_callback = callback;
}

void stall_check() {
    if (++current->key_polls_since_present < current->stall_polls) {
        return;
    }
    current->key_polls_since_present = 0;
    if (!current->on_stall || !current->on_stall()) {
        throw script_exhausted("the program kept polling keys with nothing left to press");
    }
}

int tick_at_last_look = 0;

void look_check() {
    const int now = tick_count.load(std::memory_order_relaxed);
    if (!current->look_pending && now == tick_at_last_look) {
        return;
    }
    current->look_pending = false;
    tick_at_last_look = now;
    const int n = current->looks++;
    if (current->on_look) {
        current->on_look(n);
    }
}

int fake_key_held(int scancode) {
    look_check();
    stall_check();
    return current->held[scancode] ? 1 : 0;
}

int fake_read_key() {
    current->events.push_back("readkey");
    if (current->readkey_queue.empty()) {
        // The real call would wait for ever; a screen that keeps asking is
        // stuck.
        if (++current->empty_readkeys > 1000) {
            throw script_exhausted("the program kept waiting for keys in the buffer");
        }
        return 0;
    }
    const int k = current->readkey_queue.front();
    current->readkey_queue.erase(current->readkey_queue.begin());
    return k;
}

void advance_ticks(int n) {
    for (int i = 0; i < n; ++i) {
        if (current->tick_callback != nullptr) {
            current->tick_callback();
        } else {
            count_tick();
        }
        if (current->on_tick) {
            current->on_tick(tick_count.load(std::memory_order_relaxed));
        }
    }
}

void fake_wait_for_tick(int seen_tick) {
    const int n = current->waits++;
    if (!current->waits_are_noops && tick_count.load(std::memory_order_relaxed) == seen_tick) {
        advance_ticks(1);
    }
    if (current->on_wait) {
        current->on_wait(n);
    }
}

void fake_clear_key_buffer() {
    current->events.push_back("clear keys");
    current->readkey_queue = current->typed_after_clear;
    current->typed_after_clear.clear();
}

void fake_rest(int ms) {
    current->events.push_back("rest " + std::to_string(ms));
    current->rests.push_back(ms);
    const int total = current->rest_remainder_ms + ms;
    advance_ticks(total / 10);
    current->rest_remainder_ms = total % 10;
    if (current->on_rest) {
        current->on_rest(ms);
    }
}

void fake_play_sample(const SAMPLE* s, int volume, int pan, int frequency, int loop) {
    current->events.push_back("sound");
    current->sounds.push_back({s, volume, pan, frequency, loop});
}

BITMAP* fake_screen() {
    return current->screen;
}

void fake_present(BITMAP* frame) {
    blit(frame, current->screen, 0, 0, 0, 0, frame->w, frame->h);
    current->events.push_back("present");
    current->key_polls_since_present = 0;
    const int n = current->presents++;
    if (current->on_present) {
        current->on_present(n);
    }
}

const platform_backend fake_backend = {
    fake_start_library,    fake_set_video_mode, fake_set_text_mode, fake_last_error,
    fake_show_message,     fake_start_tick,     fake_key_held,      fake_read_key,
    fake_clear_key_buffer, fake_rest,           fake_wait_for_tick, fake_play_sample,
    fake_screen,           fake_present,
};

}  // namespace

void fake_platform::hold_only(std::initializer_list<int> keys) {
    for (bool& h : held) {
        h = false;
    }
    for (int k : keys) {
        held[k] = true;
    }
}

void fake_platform::script_per_look(std::vector<std::set<int>> steps) {
    on_look = [this, steps = std::move(steps)](int n) {
        for (bool& h : held) {
            h = false;
        }
        if (n < static_cast<int>(steps.size())) {
            for (int k : steps[static_cast<std::size_t>(n)]) {
                held[k] = true;
            }
        }
    };
}

int fake_platform::count_events(const std::string& name) const {
    int n = 0;
    for (const std::string& e : events) {
        n += e == name ? 1 : 0;
    }
    return n;
}

fake_platform& install_fake_platform() {
    current = std::make_unique<fake_platform>();
    // A test that changed the colour depth gets a screen of the new depth.
    if (shared_screen == nullptr || bitmap_color_depth(shared_screen) != get_color_depth()) {
        if (shared_screen != nullptr) {
            destroy_bitmap(shared_screen);
        }
        shared_screen = create_bitmap(800, 600);
    }
    current->screen = shared_screen;
    clear_bitmap(current->screen);
    use_platform_backend(&fake_backend);
    return *current;
}

void remove_fake_platform() {
    use_platform_backend(nullptr);
}

fake_platform& fake() {
    return *current;
}
