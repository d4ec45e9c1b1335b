/* Counts the buffer swaps of the real renderer, for the whole-program tests
 * and the frame-rate benchmarks. SDL is told to load this library as its
 * OpenGL library (SDL_OPENGL_LIBRARY=<path of this file>). It depends on the
 * real libGL, so every function SDL looks up in it resolves to libGL's own,
 * except the two defined here: glXSwapBuffers, which counts and forwards, and
 * glXGetProcAddress[ARB], which hands out that counting glXSwapBuffers too.
 *
 * After every swap it writes "<swaps> <first-swap wall-clock ns>", two
 * fixed-width numbers, to the file named by KESTRUNE_SWAP_COUNT_FILE. When
 * KESTRUNE_SWAP_TIMES_FILE names a file too, every swap also appends the
 * monotonic clock's nanoseconds at the swap's call, one line each, for the
 * benchmarks that look at the spread of frame times.
 *
 * (An LD_PRELOAD library would have to interpose dlsym, since SDL fetches the
 * function with dlsym on libGL's handle; that breaks AddressSanitizer's own
 * start-up, so the counter takes SDL's documented way in instead.) */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

typedef void (*SwapFn)(void* display, unsigned long drawable);
typedef void* (*GetProcFn)(const unsigned char* name);

static unsigned long long g_swaps;
static unsigned long long g_firstSwapNs;
static int g_countFd = -2;
static int g_timesFd = -2;

static unsigned long long Nanoseconds(clockid_t clock) {
    struct timespec now;
    clock_gettime(clock, &now);
    return (unsigned long long)now.tv_sec * 1000000000ull + (unsigned long long)now.tv_nsec;
}

static void AppendSwapTime(void) {
    char line[32];
    int length;
    if (g_timesFd == -2) {
        const char* path = getenv("KESTRUNE_SWAP_TIMES_FILE");
        g_timesFd =
            path ? open(path, O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644) : -1;
    }
    if (g_timesFd < 0) {
        return;
    }
    length = snprintf(line, sizeof line, "%llu\n", Nanoseconds(CLOCK_MONOTONIC));
    if (write(g_timesFd, line, (size_t)length) != length) {
        /* Nothing to do: a lost line is a lost sample. */
    }
}

static void RecordSwap(void) {
    char line[64];
    ++g_swaps;
    if (g_swaps == 1) {
        g_firstSwapNs = Nanoseconds(CLOCK_REALTIME); /* comparable with `date +%s%N` */
    }
    AppendSwapTime();
    if (g_countFd == -2) {
        const char* path = getenv("KESTRUNE_SWAP_COUNT_FILE");
        g_countFd = path ? open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644) : -1;
    }
    if (g_countFd >= 0) {
        int length = snprintf(line, sizeof line, "%020llu %020llu\n", g_swaps, g_firstSwapNs);
        if (pwrite(g_countFd, line, (size_t)length, 0) != length) {
            /* Nothing to do: the reader sees the last full count. */
        }
    }
}

/* Handed out by address: a static function, because the address of an
 * exported one would resolve to libGL's own when libGL is loaded globally. */
static void CountingSwap(void* display, unsigned long drawable) {
    static SwapFn realSwap;
    if (!realSwap) {
        realSwap = (SwapFn)dlsym(RTLD_NEXT, "glXSwapBuffers");
    }
    RecordSwap();
    if (realSwap) {
        realSwap(display, drawable);
    }
}

void glXSwapBuffers(void* display, unsigned long drawable) {
    CountingSwap(display, drawable);
}

static void* Lookup(const char* realName, const unsigned char* name) {
    GetProcFn real = (GetProcFn)dlsym(RTLD_NEXT, realName);
    if (strcmp((const char*)name, "glXSwapBuffers") == 0) {
        return (void*)CountingSwap;
    }
    return real ? real(name) : NULL;
}

void* glXGetProcAddressARB(const unsigned char* name) {
    return Lookup("glXGetProcAddressARB", name);
}

void* glXGetProcAddress(const unsigned char* name) {
    return Lookup("glXGetProcAddress", name);
}
