#pragma once
// A stand-in for the device layer: keys are scripted per presented frame or
// per look (the first key poll after the clock moved), sounds, pauses and
// messages are recorded, time advances only through the pauses, the waits
// for a tick and the frames, and the visible screen is a memory bitmap.

#include <allegro.h>

#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

struct played_sample {
    const SAMPLE* sample;
    int volume;
    int pan;
    int frequency;
    int loop;
};

// Thrown when the program under test keeps polling without anything the
// script could still change: a screen waiting for a key that never comes.
struct script_exhausted : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct fake_platform {
    // Result of set_video_mode for (depth 16/15) x (fullscreen, windowed).
    int mode_result_16_full = 0;
    int mode_result_15_full = 0;
    int mode_result_16_window = -1;
    int mode_result_15_window = -1;
    std::string error_text = "no such mode";

    bool held[KEY_MAX] = {};
    // What readkey returns, in order: (scancode << 8) | ASCII.
    std::vector<int> readkey_queue;
    int empty_readkeys = 0;
    // Keys typed once the buffer has been cleared: they replace the queue then.
    std::vector<int> typed_after_clear;

    // What happened, in order: "sound", "rest 500", "present", "readkey",
    // "mode 16 full", "text mode", "message", "tick".
    std::vector<std::string> events;
    std::vector<played_sample> sounds;
    std::vector<int> rests;
    std::vector<std::string> messages;
    void (*tick_callback)() = nullptr;
    BITMAP* screen = nullptr;
    int presents = 0;
    int key_polls_since_present = 0;

    // Called after every present with its 0-based number; scripts keys.
    std::function<void(int)> on_present;
    // Called at the first key poll after the clock moved (and at the very
    // first poll), with its 0-based number: one per pass of a menu, one per
    // tick of the game. Keys set here are the ones that poll reads.
    std::function<void(int)> on_look;
    int looks = 0;
    // Makes the next poll a look even if the clock has not moved.
    bool look_pending = true;
    // Waits for a tick: each one moves the clock one tick unless it has
    // already moved past the caller's last look, or the waits are no-ops.
    int waits = 0;
    bool waits_are_noops = false;
    // Called after every wait with its 0-based number.
    std::function<void(int)> on_wait;
    // Called after every tick of the clock with the new tick_count.
    std::function<void(int)> on_tick;
    // Called when the program has polled keys this many times without a
    // present; if it changes nothing, script_exhausted is thrown.
    int stall_polls = 20000;
    std::function<bool()> on_stall;
    // Called after every wait with its length.
    std::function<void(int)> on_rest;
    int rest_remainder_ms = 0;

    // Holds exactly these keys.
    void hold_only(std::initializer_list<int> keys);
    // Runs the given key sets one per look, then holds nothing.
    void script_per_look(std::vector<std::set<int>> steps);
    int count_events(const std::string& name) const;
};

fake_platform& install_fake_platform();  // a fresh fake, installed
void remove_fake_platform();
fake_platform& fake();
