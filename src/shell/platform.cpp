#include "platform.h"

#include <allegro.h>
#include <allegro/internal/aintern.h>
#include <allegro/platform/aintunix.h>
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "frame_scaling.h"
#include "keyboard_random_clock.h"
#include "monitor_choice.h"

// The library's X11 side, after everything else: its X headers define
// names (None, Status, Bool) that nothing above should see.
#include <xalleg.h>
#include <X11/Xatom.h>
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

// The library's own: tells the display server about a changed rectangle
// of the screen, in one request.
extern "C" void _xwin_update_screen(int x, int y, int w, int h);

namespace {

// RandR's first event number, when the server has it; a change of the
// screen's size sets display_changed, which the game's thread acts on.
int randr_events = -1;
std::atomic<bool> display_changed{false};

// The library reads X input after a round trip to the server (XSync) on
// every call, so an idle game woke the server a hundred times a second.
// Sending what is buffered and reading what has arrived needs none; the
// library's reader runs only when there is something to read.
void read_x_input() {
    Display* d = _xwin.display;
    if (d == nullptr || XEventsQueued(d, QueuedAfterFlush) <= 0) {
        return;
    }
    XEvent e;
    while (randr_events >= 0 && XCheckTypedEvent(d, randr_events + RRScreenChangeNotify, &e)) {
        XRRUpdateConfiguration(&e);
        display_changed = true;
    }
    if (XEventsQueued(d, QueuedAlready) > 0) {
        _xwin_private_handle_input();
    }
}

}  // namespace

namespace {

// The library's own background thread, which reads X input, flushes the
// window and feeds the sound driver, wakes every millisecond to see whether
// 10 ms have passed: most of the game's CPU when idle. Ours runs the same
// jobs once a tick, woken by the tick (or after 15 ms before the clock
// runs), and sleeps in between.
std::mutex jobs_mutex;
std::condition_variable jobs_due;
std::condition_variable jobs_allowed;
std::vector<bg_func> jobs;
int jobs_held = 0;  // the library's "interrupts disabled" count
bool jobs_kicked = false;
bool jobs_running = false;
bool job_busy = false;  // a job is running, outside the lock
std::condition_variable job_done;
std::thread jobs_thread;

void run_jobs() {
    // The game's signals go to the main thread; a fault of this thread's
    // own still reaches the handlers (the sanitizers' reports among them).
    sigset_t all;
    sigfillset(&all);
    for (const int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL}) {
        sigdelset(&all, fault);
    }
    pthread_sigmask(SIG_BLOCK, &all, nullptr);
    std::unique_lock<std::mutex> hold(jobs_mutex);
    while (jobs_running) {
        jobs_due.wait_for(hold, std::chrono::milliseconds(15), [] { return jobs_kicked; });
        jobs_kicked = false;
        jobs_allowed.wait(hold, [] { return jobs_held == 0 || !jobs_running; });
        // Each job is read from the list just before it runs, so one taken
        // off is not run again from an older copy.
        for (std::size_t i = 0; jobs_running && i < jobs.size(); ++i) {
            const bg_func job = jobs[i];
            job_busy = true;
            hold.unlock();
            job(1);
            hold.lock();
            job_busy = false;
            job_done.notify_all();
        }
    }
}

int jobs_init() {
    const std::lock_guard<std::mutex> hold(jobs_mutex);
    jobs_running = true;
    jobs_thread = std::thread(run_jobs);
    return 0;
}

void jobs_exit() {
    {
        const std::lock_guard<std::mutex> hold(jobs_mutex);
        jobs_running = false;
    }
    jobs_due.notify_all();
    jobs_allowed.notify_all();
    if (jobs_thread.joinable()) {
        jobs_thread.join();
    }
    jobs.clear();
}

int jobs_register(bg_func job) {
    const std::lock_guard<std::mutex> hold(jobs_mutex);
    jobs.push_back(job);
    return 0;
}

// Returns only when no job is running on the thread: the caller goes on to
// close what the job uses (the X display, as the game quits), which a job
// still running would then touch.
int jobs_unregister(bg_func job) {
    std::unique_lock<std::mutex> hold(jobs_mutex);
    const auto it = std::find(jobs.begin(), jobs.end(), job);
    if (it == jobs.end()) {
        return -1;
    }
    jobs.erase(it);
    if (std::this_thread::get_id() != jobs_thread.get_id()) {
        job_done.wait(hold, [] { return !job_busy; });
    }
    return 0;
}

void jobs_enable() {
    const std::lock_guard<std::mutex> hold(jobs_mutex);
    if (--jobs_held == 0) {
        jobs_allowed.notify_all();
    }
}

void jobs_disable() {
    const std::lock_guard<std::mutex> hold(jobs_mutex);
    ++jobs_held;
}

int jobs_disabled() {
    const std::lock_guard<std::mutex> hold(jobs_mutex);
    return jobs_held > 0 ? 1 : 0;
}

// Put in the library's place before allegro_init, which starts it.
void use_own_background_thread() {
    _bg_man_pthreads.init = jobs_init;
    _bg_man_pthreads.exit = jobs_exit;
    _bg_man_pthreads.register_func = jobs_register;
    _bg_man_pthreads.unregister_func = jobs_unregister;
    _bg_man_pthreads.enable_interrupts = jobs_enable;
    _bg_man_pthreads.disable_interrupts = jobs_disable;
    _bg_man_pthreads.interrupts_disabled = jobs_disabled;
}

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
    {
        const std::lock_guard<std::mutex> hold(jobs_mutex);
        jobs_kicked = true;
    }
    jobs_due.notify_one();
}

// What the screen holds, as far as present knows: rows equal to it need not
// be sent again, which spares the display server most of each game frame.
// Anyone who asks for the screen may draw on it, so that forgets it.
BITMAP* shown_frame = nullptr;
std::atomic<bool> shown_frame_valid{false};

// Coming back to the display, the screen is not taken on trust.
void forget_shown_frame() {
    shown_frame_valid = false;
}

// A display bigger than the picture shows it scaled into `area`. Then the
// screen the game draws on is shown_frame itself, and what is drawn there
// goes to the display before the game next waits or reads a key.
bool sharp_only = false;
int asked_multiple = 0;
bool scaled = false;
picture_area area;
scaling_plan plan;
BITMAP* scaled_frame = nullptr;
bool drawn_on = false;

bool on_x11_screen() {
    return gfx_driver != nullptr &&
           (gfx_driver->id == GFX_XWINDOWS || gfx_driver->id == GFX_XWINDOWS_FULLSCREEN);
}

void send_part(picture_area changed) {
    if (!is_sub_bitmap(scaled_frame)) {
        const picture_area out = scale_picture(shown_frame, scaled_frame, plan, changed);
        blit(scaled_frame, screen, out.x, out.y, area.x + out.x, area.y + out.y, out.w, out.h);
        return;
    }
    // Scaled straight into the screen's rows. The X11 screen is then told
    // of the changed rectangle in one request; the library's way, a row at
    // a time, sends each whole row in a request of its own.
    acquire_screen();
    const picture_area out = scale_picture(shown_frame, scaled_frame, plan, changed);
    if (on_x11_screen()) {
        _xwin_update_screen(area.x + out.x, area.y + out.y, out.w, out.h);
    } else {
        for (int y = area.y + out.y; y < area.y + out.y + out.h; ++y) {
            (void)bmp_write_line(screen, y);
        }
        bmp_unwrite_line(screen);
    }
    release_screen();
}

// The bars beside the picture, and the whole picture.
void send_whole() {
    const int right = area.x + area.w;
    const int bottom = area.y + area.h;
    rectfill(screen, 0, 0, SCREEN_W - 1, area.y - 1, 0);
    rectfill(screen, 0, bottom, SCREEN_W - 1, SCREEN_H - 1, 0);
    rectfill(screen, 0, area.y, area.x - 1, bottom - 1, 0);
    rectfill(screen, right, area.y, SCREEN_W - 1, bottom - 1, 0);
    send_part({0, 0, picture_w, picture_h});
    shown_frame_valid = true;
    drawn_on = false;
}

void refit_to_display();

void show_drawing() {
    refit_to_display();
    if (scaled && drawn_on) {
        send_whole();
    }
}

// The X screen's monitors (RandR 1.5, else Xinerama), the pointer, and the
// work area of the current desktop that a window manager publishes.
struct x_layout {
    std::vector<monitor_rect> monitors;
    int pointer_x = 0, pointer_y = 0;
    bool has_work_area = false;
    screen_rect work_area;
};

std::vector<monitor_rect> randr_monitors(Display* d, Window root) {
    std::vector<monitor_rect> found;
    int event_base = 0;
    int error_base = 0;
    int major = 0;
    int minor = 0;
    if (!XRRQueryExtension(d, &event_base, &error_base) || !XRRQueryVersion(d, &major, &minor) ||
        major * 100 + minor < 105) {
        return found;
    }
    int n = 0;
    XRRMonitorInfo* m = XRRGetMonitors(d, root, True, &n);
    for (int i = 0; m != nullptr && i < n; ++i) {
        found.push_back({{m[i].x, m[i].y, m[i].width, m[i].height}, m[i].primary != 0});
    }
    if (m != nullptr) {
        XRRFreeMonitors(m);
    }
    return found;
}

std::vector<monitor_rect> xinerama_monitors(Display* d) {
    std::vector<monitor_rect> found;
    int event_base = 0;
    int error_base = 0;
    if (!XineramaQueryExtension(d, &event_base, &error_base) || !XineramaIsActive(d)) {
        return found;
    }
    int n = 0;
    XineramaScreenInfo* s = XineramaQueryScreens(d, &n);
    for (int i = 0; s != nullptr && i < n; ++i) {
        found.push_back({{s[i].x_org, s[i].y_org, s[i].width, s[i].height}, false});
    }
    if (s != nullptr) {
        XFree(s);
    }
    return found;
}

// A root window property of 32-bit numbers, as many as there are.
std::vector<long> root_numbers(Display* d, Window root, const char* name) {
    std::vector<long> numbers;
    const Atom property = XInternAtom(d, name, True);
    if (property == None) {
        return numbers;
    }
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d, root, property, 0, 1024, False, XA_CARDINAL, &type, &format, &count,
                           &after, &data) == Success &&
        data != nullptr && type == XA_CARDINAL && format == 32) {
        const auto* values = reinterpret_cast<const long*>(data);
        numbers.assign(values, values + count);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return numbers;
}

x_layout read_x_layout() {
    x_layout l;
    Display* d = _xwin.display;
    if (system_driver == nullptr || system_driver->id != SYSTEM_XWINDOWS || d == nullptr) {
        return l;
    }
    XLOCK();
    const Window root = RootWindow(d, _xwin.screen);
    l.monitors = randr_monitors(d, root);
    if (l.monitors.empty()) {
        l.monitors = xinerama_monitors(d);
    }
    Window child = None;
    Window root_back = None;
    int wx = 0;
    int wy = 0;
    unsigned int buttons = 0;
    XQueryPointer(d, root, &root_back, &child, &l.pointer_x, &l.pointer_y, &wx, &wy, &buttons);
    const std::vector<long> work = root_numbers(d, root, "_NET_WORKAREA");
    const std::vector<long> desktop = root_numbers(d, root, "_NET_CURRENT_DESKTOP");
    const bool known = !desktop.empty() && desktop[0] >= 0 && desktop[0] < 256;
    const std::size_t at = known ? 4 * static_cast<std::size_t>(desktop[0]) : 0;
    if (work.size() >= at + 4) {
        l.has_work_area = true;
        l.work_area = {static_cast<int>(work[at]), static_cast<int>(work[at + 1]),
                       static_cast<int>(work[at + 2]), static_cast<int>(work[at + 3])};
    }
    XUNLOCK();
    return l;
}

// Where the game opens: the chosen monitor, and the part of it a window
// may cover.
screen_rect monitor_used;
screen_rect window_room;

void find_monitor() {
    int desktop_w = 0;
    int desktop_h = 0;
    if (get_desktop_resolution(&desktop_w, &desktop_h) != 0) {
        desktop_w = picture_w;
        desktop_h = picture_h;
    }
    const x_layout l = read_x_layout();
    monitor_used =
        choose_monitor(l.monitors, l.pointer_x, l.pointer_y, {0, 0, desktop_w, desktop_h});
    window_room = usable_area(monitor_used, l.has_work_area ? &l.work_area : nullptr);
}

// The monitor's size when full screen; the window's from the largest
// multiple that fits its work area.
void choose_size(bool windowed, int& w, int& h) {
    w = picture_w;
    h = picture_h;
    find_monitor();
    if (!windowed) {
        if (monitor_used.w >= picture_w && monitor_used.h >= picture_h) {
            w = monitor_used.w;
            h = monitor_used.h;
        }
        return;
    }
    std::string warning;
    const int k = window_multiple(asked_multiple, window_room.w, window_room.h, warning);
    if (!warning.empty()) {
        (void)std::fprintf(stderr, "%s\n", warning.c_str());
        asked_multiple = k;  // said once
    }
    w = picture_w * k;
    h = picture_h * k;
}

// Full screen, the library's cover of the whole X screen shrunk to the
// chosen monitor with the game in its middle; a window in the middle of
// the monitor's work area, or at its corner when it does not fit. Not
// after a mode switch (a full screen of another size than the monitor's),
// where the library's own placing holds.
void place_window(bool windowed) {
    Display* d = _xwin.display;
    if (!on_x11_screen() || d == nullptr) {
        return;
    }
    const screen_rect& m = monitor_used;
    XLOCK();
    if (windowed && _xwin.wm_window != None) {
        const screen_rect& r = window_room;
        XMoveWindow(d, _xwin.wm_window, r.x + std::max(0, (r.w - SCREEN_W) / 2),
                    r.y + std::max(0, (r.h - SCREEN_H) / 2));
    } else if (!windowed && _xwin.fs_window != None && SCREEN_W == m.w && SCREEN_H == m.h) {
        XMoveResizeWindow(d, _xwin.fs_window, m.x, m.y, static_cast<unsigned>(m.w),
                          static_cast<unsigned>(m.h));
        XMoveWindow(d, _xwin.window, 0, 0);
    }
    XFlush(d);
    XUNLOCK();
}

// Told of changes of the screen's size (a monitor plugged in, the
// resolution changed), which the reader above picks out.
void hear_of_resizes() {
    Display* d = _xwin.display;
    int error_base = 0;
    if (!on_x11_screen() || d == nullptr || randr_events >= 0) {
        return;
    }
    XLOCK();
    if (XRRQueryExtension(d, &randr_events, &error_base)) {
        XRRSelectInput(d, RootWindow(d, _xwin.screen), RRScreenChangeNotifyMask);
    } else {
        randr_events = -1;
    }
    XUNLOCK();
}

bool real_start_library() {
    use_own_background_thread();
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

// The mode last set, for setting it again when the display changes size.
int mode_depth = 0;
bool mode_windowed = false;

int real_set_video_mode(int color_depth, bool windowed);

// After the display changed size, the picture is fitted to it again (full
// screen at the monitor's new size, a window at the multiple that now
// fits) and shown as it was. When that mode is refused, a window of the
// picture's size; when that is refused too, the game says so and ends.
void refit_to_display() {
    if (!display_changed.exchange(false) || mode_depth == 0) {
        return;
    }
    int w = 0;
    int h = 0;
    choose_size(mode_windowed, w, h);
    if (w == SCREEN_W && h == SCREEN_H) {
        return;
    }
    if (real_set_video_mode(mode_depth, mode_windowed) != 0 &&
        real_set_video_mode(mode_depth, true) != 0) {
        (void)std::fprintf(stderr,
                           "refuel: the display changed size and no video mode fits it: %s\n",
                           allegro_error);
        // Nothing is left to show on, nor to restore: the process ends here.
        std::_Exit(1);
    }
    if (!scaled && shown_frame != nullptr && shown_frame->w == SCREEN_W &&
        shown_frame->h == SCREEN_H &&
        bitmap_color_depth(shown_frame) == bitmap_color_depth(screen)) {
        blit(shown_frame, screen, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
        shown_frame_valid = true;
    }
}

int real_set_video_mode(int color_depth, bool windowed) {
    shown_frame_valid = false;
    scaled = false;
    drawn_on = false;
    set_color_depth(color_depth);
    // A part of the old screen goes with it.
    destroy_bitmap(scaled_frame);
    scaled_frame = nullptr;
    const int kind = windowed ? GFX_AUTODETECT_WINDOWED : GFX_AUTODETECT_FULLSCREEN;
    int w = 0;
    int h = 0;
    choose_size(windowed, w, h);
    int result = -1;
    if (w != picture_w || h != picture_h) {
        // Scaled, the picture is converted as it is scaled: a screen of
        // the display's own depth spares the library a pass over it.
        set_color_depth(32);
        result = set_gfx_mode(kind, w, h, 0, 0);
        set_color_depth(color_depth);
    }
    if (result != 0) {
        result = set_gfx_mode(kind, w, h, 0, 0);
    }
    if (result != 0 && (w != picture_w || h != picture_h)) {
        // As before: the picture's own size, and the library's way with it.
        result = set_gfx_mode(kind, picture_w, picture_h, 0, 0);
    }
    if (result != 0) {
        return result;
    }
    set_display_switch_callback(SWITCH_IN, forget_shown_frame);
    place_window(windowed);
    if (on_x11_screen() && _xwin_input_handler == nullptr) {
        _xwin_input_handler = read_x_input;
    }
    hear_of_resizes();
    mode_depth = color_depth;
    mode_windowed = windowed;
    if (SCREEN_W != picture_w || SCREEN_H != picture_h) {
        scaled = true;
        area = fit_picture(SCREEN_W, SCREEN_H, sharp_only);
        plan = plan_scaling(picture_w, picture_h, area.w, area.h);
        // The picture is kept when the mode is set again at the same depth
        // (the display changed size), and someone may still draw on it.
        if (shown_frame == nullptr || bitmap_color_depth(shown_frame) != color_depth ||
            shown_frame->w != picture_w || shown_frame->h != picture_h) {
            destroy_bitmap(shown_frame);
            shown_frame = create_bitmap_ex(color_depth, picture_w, picture_h);
            clear_bitmap(shown_frame);
        }
        scaled_frame = is_linear_bitmap(screen) && bitmap_color_depth(screen) == 32
                           ? create_sub_bitmap(screen, area.x, area.y, area.w, area.h)
                           : create_bitmap_ex(bitmap_color_depth(screen), area.w, area.h);
        send_whole();
    }
    return 0;
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

void real_wait_for_tick(int seen_tick);

// Waits a tick at a time, so a display that changes size meanwhile gets
// the picture fitted to it.
int real_read_key() {
    while (!keypressed()) {
        real_wait_for_tick(tick_count.load(std::memory_order_relaxed));
    }
    show_drawing();
    return readkey();
}

void real_clear_key_buffer() {
    clear_keybuf();
}

void real_rest(int milliseconds) {
    show_drawing();
    rest(static_cast<unsigned>(milliseconds));
}

void real_wait_for_tick(int seen_tick) {
    show_drawing();
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
    if (scaled) {
        drawn_on = true;
        return shown_frame;
    }
    shown_frame_valid = false;
    return screen;
}

void send_rows(BITMAP* frame, int top, int bottom) {
    blit(frame, screen, 0, top, 0, top, frame->w, bottom - top);
    blit(frame, shown_frame, 0, top, 0, top, frame->w, bottom - top);
}

// The columns of rows [top, bottom) where frame and shown_frame differ.
picture_area changed_part(BITMAP* frame, int top, int bottom) {
    int left = frame->w;
    int right = 0;
    for (int y = top; y < bottom; ++y) {
        const auto* a = reinterpret_cast<const std::uint16_t*>(frame->line[y]);
        const auto* b = reinterpret_cast<const std::uint16_t*>(shown_frame->line[y]);
        int l = 0;
        while (l < left && a[l] == b[l]) {
            ++l;
        }
        int r = frame->w;
        while (r > std::max(right, l) && a[r - 1] == b[r - 1]) {
            --r;
        }
        left = std::min(left, l);
        right = std::max(right, r);
    }
    return {left, top, std::max(0, right - left), bottom - top};
}

void present_scaled(BITMAP* frame, std::size_t row_bytes) {
    if (!shown_frame_valid || drawn_on) {
        blit(frame, shown_frame, 0, 0, 0, 0, frame->w, frame->h);
        send_whole();
        return;
    }
    int top = -1;
    for (int y = 0; y <= frame->h; ++y) {
        const bool changed =
            y < frame->h && std::memcmp(frame->line[y], shown_frame->line[y], row_bytes) != 0;
        if (changed && top < 0) {
            top = y;
        } else if (!changed && top >= 0) {
            const picture_area part = changed_part(frame, top, y);
            blit(frame, shown_frame, part.x, top, part.x, top, part.w, part.h);
            send_part(part);
            top = -1;
        }
    }
}

void real_present(BITMAP* frame) {
    refit_to_display();
    const int depth = bitmap_color_depth(frame);
    const std::size_t row_bytes = static_cast<std::size_t>(frame->w) * ((depth + 7) / 8);
    if (scaled) {
        if (is_memory_bitmap(frame) && frame->w == picture_w && frame->h == picture_h &&
            depth == bitmap_color_depth(shown_frame)) {
            present_scaled(frame, row_bytes);
        }
        return;
    }
    const bool comparable = is_memory_bitmap(frame) && frame->w == SCREEN_W &&
                            frame->h == SCREEN_H && depth == bitmap_color_depth(screen);
    if (!comparable) {
        blit(frame, screen, 0, 0, 0, 0, frame->w, frame->h);
        return;
    }
    if (shown_frame == nullptr || bitmap_color_depth(shown_frame) != depth ||
        shown_frame->w != frame->w || shown_frame->h != frame->h) {
        shown_frame = create_bitmap_ex(depth, frame->w, frame->h);
        shown_frame_valid = false;
    }
    if (!shown_frame_valid) {
        send_rows(frame, 0, frame->h);
        shown_frame_valid = true;
        return;
    }
    // Runs of changed rows go in one blit each.
    int top = -1;
    for (int y = 0; y <= frame->h; ++y) {
        const bool changed =
            y < frame->h && std::memcmp(frame->line[y], shown_frame->line[y], row_bytes) != 0;
        if (changed && top < 0) {
            top = y;
        } else if (!changed && top >= 0) {
            send_rows(frame, top, y);
            top = -1;
        }
    }
}

const platform_backend real_backend = {
    real_start_library,    real_set_video_mode, real_set_text_mode, real_last_error,
    real_show_message,     real_start_tick,     real_key_held,      real_read_key,
    real_clear_key_buffer, real_rest,           real_wait_for_tick, real_play_sample,
    real_screen,           real_present,
};

const platform_backend* backend = &real_backend;

}  // namespace

void platform_choose_scaling(bool sharp, int window_multiple) {
    sharp_only = sharp;
    asked_multiple = window_multiple;
}

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
void platform_present(BITMAP* frame) {
    backend->present(frame);
}
