#include "platform.h"

#include <allegro.h>

namespace {

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
    return set_gfx_mode(windowed ? GFX_AUTODETECT_WINDOWED : GFX_AUTODETECT_FULLSCREEN, 800, 600,
                        0, 0);
}

void real_set_text_mode() { set_gfx_mode(GFX_TEXT, 0, 0, 0, 0); }

const char* real_last_error() { return allegro_error; }

void real_show_message(const char* text) { allegro_message("%s", text); }

void real_start_tick(void (*callback)()) { install_int_ex(callback, BPS_TO_TIMER(100)); }

int real_key_held(int scancode) { return key[scancode]; }

int real_read_key() { return readkey(); }

void real_clear_key_buffer() { clear_keybuf(); }

void real_rest(int milliseconds) { rest(static_cast<unsigned>(milliseconds)); }

void real_play_sample(const SAMPLE* sample, int volume, int pan, int frequency, int loop) {
    if (sample != nullptr) {
        play_sample(sample, volume, pan, frequency, loop);
    }
}

BITMAP* real_screen() { return screen; }

void real_frame_presented() {}

const platform_backend real_backend = {
    real_start_library, real_set_video_mode, real_set_text_mode,     real_last_error,
    real_show_message,  real_start_tick,     real_key_held,          real_read_key,
    real_clear_key_buffer, real_rest,        real_play_sample,       real_screen,
    real_frame_presented,
};

const platform_backend* backend = &real_backend;

}  // namespace

void use_platform_backend(const platform_backend* b) { backend = b != nullptr ? b : &real_backend; }

bool platform_start_library() { return backend->start_library(); }
int platform_set_video_mode(int color_depth, bool windowed) {
    return backend->set_video_mode(color_depth, windowed);
}
void platform_set_text_mode() { backend->set_text_mode(); }
const char* platform_last_error() { return backend->last_error(); }
void platform_show_message(const char* text) { backend->show_message(text); }
void platform_start_tick(void (*callback)()) { backend->start_tick(callback); }
bool platform_key_held(int scancode) { return backend->key_held(scancode) != 0; }
int platform_read_key() { return backend->read_key(); }
void platform_clear_key_buffer() { backend->clear_key_buffer(); }
void platform_rest(int milliseconds) { backend->rest(milliseconds); }
void platform_play_sample(const SAMPLE* sample, int volume, int pan, int frequency, int loop) {
    backend->play_sample(sample, volume, pan, frequency, loop);
}
BITMAP* platform_screen() { return backend->screen(); }
void platform_frame_presented() { backend->frame_presented(); }
