/* Pins what time() returns to REFUEL_TEST_TIME when the test sets it, so
 * the game's random seed, and with it every problem, is known in advance;
 * makes each fsync() last REFUEL_TEST_FSYNC_SECONDS, as on a slow disk. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdlib.h>
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
