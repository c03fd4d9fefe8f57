#include "platform.h"

#include <allegro.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "keyboard_random_clock.h"

namespace {

// The timer's thread wakes the main thread on every tick, so a loop that
// waits for the clock sleeps instead of polling it.
std::mutex tick_mutex;
std::condition_variable tick_moved;
void (*tick_callback)() = nullptr;

void real_tick() {
    tick_callback();
    // Taking the lock orders this tick after a waiter's last look, so the
    // wake-up cannot fall between that look and its sleep.
    { const std::lock_guard<std::mutex> hold(tick_mutex); }
    tick_moved.notify_all();
}

bool real_start_library() {
    if (allegro_init() != 0) {
        // Without a display the library refuses to start, and every further
        // call would crash; the caller reports it like a refused video mode.
        return false;
    }
    install_keyboard();
    install_timer();
    install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr);
    set_display_switch_mode(SWITCH_PAUSE);
    return true;
}

int real_set_video_mode(int color_depth, bool windowed) {
    set_color_depth(color_depth);
    return set_gfx_mode(windowed ? GFX_AUTODETECT_WINDOWED : GFX_AUTODETECT_FULLSCREEN, 800, 600, 0,
                        0);
}

void real_set_text_mode() {
    set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
}

const char* real_last_error() {
    return allegro_error;
}

void real_show_message(const char* text) {
    allegro_message("%s", text);
}

void real_start_tick(void (*callback)()) {
    tick_callback = callback;
    install_int_ex(real_tick, BPS_TO_TIMER(100));
}

int real_key_held(int scancode) {
    return key[scancode];
}

int real_read_key() {
    return readkey();
}

void real_clear_key_buffer() {
    clear_keybuf();
}

void real_rest(int milliseconds) {
    rest(static_cast<unsigned>(milliseconds));
}

void real_wait_for_tick(int seen_tick) {
    std::unique_lock<std::mutex> hold(tick_mutex);
    // The bound only matters if the timer stopped: the caller looks again.
    tick_moved.wait_for(hold, std::chrono::milliseconds(50), [seen_tick] {
        return tick_count.load(std::memory_order_relaxed) != seen_tick;
    });
}

void real_play_sample(const SAMPLE* sample, int volume, int pan, int frequency, int loop) {
    if (sample != nullptr) {
        play_sample(sample, volume, pan, frequency, loop);
    }
}

BITMAP* real_screen() {
    return screen;
}

void real_frame_presented() {}

const platform_backend real_backend = {
    real_start_library, real_set_video_mode,  real_set_text_mode,
    real_last_error,    real_show_message,    real_start_tick,
    real_key_held,      real_read_key,        real_clear_key_buffer,
    real_rest,          real_wait_for_tick,   real_play_sample,
    real_screen,        real_frame_presented,
};

const platform_backend* backend = &real_backend;

}  // namespace

void use_platform_backend(const platform_backend* b) {
    backend = b != nullptr ? b : &real_backend;
}

bool platform_start_library() {
    return backend->start_library();
}
int platform_set_video_mode(int color_depth, bool windowed) {
    return backend->set_video_mode(color_depth, windowed);
}
void platform_set_text_mode() {
    backend->set_text_mode();
}
const char* platform_last_error() {
    return backend->last_error();
}
void platform_show_message(const char* text) {
    backend->show_message(text);
}
void platform_start_tick(void (*callback)()) {
    backend->start_tick(callback);
}
bool platform_key_held(int scancode) {
    return backend->key_held(scancode) != 0;
}
int platform_read_key() {
    return backend->read_key();
}
void platform_clear_key_buffer() {
    backend->clear_key_buffer();
}
void platform_rest(int milliseconds) {
    backend->rest(milliseconds);
}
void platform_wait_for_tick(int seen_tick) {
    backend->wait_for_tick(seen_tick);
}
void platform_play_sample(const SAMPLE* sample, int volume, int pan, int frequency, int loop) {
    backend->play_sample(sample, volume, pan, frequency, loop);
}
BITMAP* platform_screen() {
    return backend->screen();
}
void platform_frame_presented() {
    backend->frame_presented();
}
