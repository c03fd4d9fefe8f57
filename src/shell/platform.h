#pragma once
// The one place that waits or touches a device: key state, the key buffer,
// pauses, sound, the visible screen, the video mode and the timer. Everything
// else in the game calls these, so tests can install a backend of their own
// that scripts keys, records sounds and waits, and keeps the presented frame
// on a memory bitmap.

struct BITMAP;
struct SAMPLE;

struct platform_backend {
    // Library bring-up before the video mode: keyboard, timer, sound and the
    // display-switch rule. False when the library itself cannot start.
    bool (*start_library)();
    // A video mode showing the 800x600 picture at the given depth; 0 on
    // success. The real one takes one monitor's size full screen, and a
    // window of a whole multiple that fits the monitor's work area, and
    // scales the picture to them (again when the display changes size).
    int (*set_video_mode)(int color_depth, bool windowed);
    void (*set_text_mode)();
    const char* (*last_error)();
    void (*show_message)(const char* text);
    void (*start_tick)(void (*callback)());
    int (*key_held)(int scancode);
    int (*read_key)();
    void (*clear_key_buffer)();
    void (*rest)(int milliseconds);
    // Sleeps until tick_count differs from seen_tick; returns at once when
    // it already does.
    void (*wait_for_tick)(int seen_tick);
    void (*play_sample)(const SAMPLE* sample, int volume, int pan, int frequency, int loop);
    BITMAP* (*screen)();
    // Makes the screen show the whole of `frame` (back_buffer).
    void (*present)(BITMAP* frame);
};

// How the real display shows the 800x600 picture when it is bigger, set
// before the video mode: full screen in whole multiples only (sharp), and
// the window's multiple (0: the largest that fits the monitor's work area).
void platform_choose_scaling(bool sharp, int window_multiple);

// Installs a backend; nullptr goes back to the real library.
void use_platform_backend(const platform_backend* backend);

bool platform_start_library();
int platform_set_video_mode(int color_depth, bool windowed);
void platform_set_text_mode();
const char* platform_last_error();
void platform_show_message(const char* text);
void platform_start_tick(void (*callback)());
bool platform_key_held(int scancode);
int platform_read_key();
// Drops the keys waiting in the library's buffer (readkey's queue).
void platform_clear_key_buffer();
void platform_rest(int milliseconds);
// The loops that wait for the player call this instead of spinning: it
// returns once the 100 Hz clock has moved past seen_tick.
void platform_wait_for_tick(int seen_tick);
void platform_play_sample(const SAMPLE* sample, int volume, int pan, int frequency, int loop);
BITMAP* platform_screen();
void platform_present(BITMAP* frame);
