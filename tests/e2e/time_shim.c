/* Pins what time() returns to REFUEL_TEST_TIME when the test sets it, so
 * the game's random seed, and with it every problem, is known in advance;
 * makes each fsync() last REFUEL_TEST_FSYNC_SECONDS, as on a slow disk;
 * and lists the monitors of REFUEL_TEST_MONITORS ("x,y,w,h,primary;..."),
 * as RandR would on a desk of several, which Xvfb cannot show. */
#define _GNU_SOURCE
#include <X11/extensions/Xrandr.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

time_t time(time_t* out) {
    const char* pinned = getenv("REFUEL_TEST_TIME");
    const time_t now = pinned != NULL && *pinned != '\0'
                           ? (time_t)strtoll(pinned, NULL, 10)
                           : ((time_t(*)(time_t*))dlsym(RTLD_NEXT, "time"))(NULL);
    if (out != NULL) {
        *out = now;
    }
    return now;
}

int fsync(int fd) {
    const char* slow = getenv("REFUEL_TEST_FSYNC_SECONDS");
    sleep(slow != NULL ? (unsigned)strtoul(slow, NULL, 10) : 0);
    return ((int (*)(int))dlsym(RTLD_NEXT, "fsync"))(fd);
}

/* Freed by the library's XRRFreeMonitors, which frees the one block. */
XRRMonitorInfo* XRRGetMonitors(Display* display, Window window, Bool active, int* count) {
    const char* listed = getenv("REFUEL_TEST_MONITORS");
    if (listed == NULL || *listed == '\0') {
        typedef XRRMonitorInfo* (*real_t)(Display*, Window, Bool, int*);
        return ((real_t)dlsym(RTLD_NEXT, "XRRGetMonitors"))(display, window, active, count);
    }
    XRRMonitorInfo* monitors = calloc(8, sizeof *monitors);
    int n = 0;
    for (const char* p = listed; monitors != NULL && n < 8 && *p != '\0'; ++n) {
        XRRMonitorInfo* m = &monitors[n];
        int primary = 0;
        int used = 0;
        if (sscanf(p, "%d,%d,%d,%d,%d%n", &m->x, &m->y, &m->width, &m->height, &primary, &used) !=
            5) {
            break;
        }
        m->primary = primary != 0;
        m->automatic = True;
        p += used;
        p += *p == ';';
    }
    *count = n;
    return monitors;
}
