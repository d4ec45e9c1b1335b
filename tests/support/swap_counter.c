/* A preload library that counts the buffer swaps of a real program, for the
 * whole-program tests and the frame-rate benchmarks. Loaded with LD_PRELOAD;
 * it writes "<swaps> <first-swap monotonic ns>" as two fixed-width numbers to
 * the file named by KESTRUNE_SWAP_COUNT_FILE after every swap.
 *
 * SDL does not call glXSwapBuffers by its linked name: it opens libGL with
 * dlopen and fetches the function with dlsym on that handle, or through
 * glXGetProcAddressARB. So this library answers those lookups too, handing
 * out its own counting wrapper and keeping the real function to call. */
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
typedef void* (*DlsymFn)(void* handle, const char* name);

static SwapFn real_swap;
static GetProcFn real_get_proc;
static GetProcFn real_get_proc_arb;
static unsigned long long swaps;
static unsigned long long first_swap_ns;
static int count_fd = -2;

static DlsymFn real_dlsym(void) {
    static DlsymFn fn;
    if (!fn) {
        fn = (DlsymFn)dlvsym(RTLD_NEXT, "dlsym", "GLIBC_2.34");
        if (!fn) {
            fn = (DlsymFn)dlvsym(RTLD_NEXT, "dlsym", "GLIBC_2.2.5");
        }
    }
    return fn;
}

static void record_swap(void) {
    struct timespec now;
    char line[64];
    ++swaps;
    if (swaps == 1) {
        clock_gettime(CLOCK_MONOTONIC, &now);
        first_swap_ns =
            (unsigned long long)now.tv_sec * 1000000000ull + (unsigned long long)now.tv_nsec;
    }
    if (count_fd == -2) {
        const char* path = getenv("KESTRUNE_SWAP_COUNT_FILE");
        count_fd = path ? open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644) : -1;
    }
    if (count_fd >= 0) {
        int length = snprintf(line, sizeof line, "%020llu %020llu\n", swaps, first_swap_ns);
        if (pwrite(count_fd, line, (size_t)length, 0) != length) {
            /* Nothing to do: the reader sees the last full count. */
        }
    }
}

static void counting_swap(void* display, unsigned long drawable) {
    record_swap();
    if (real_swap) {
        real_swap(display, drawable);
    }
}

void glXSwapBuffers(void* display, unsigned long drawable) {
    if (!real_swap) {
        real_swap = (SwapFn)real_dlsym()(RTLD_NEXT, "glXSwapBuffers");
    }
    counting_swap(display, drawable);
}

static void* counting_get_proc(const unsigned char* name) {
    if (strcmp((const char*)name, "glXSwapBuffers") == 0) {
        if (!real_swap && real_get_proc) {
            real_swap = (SwapFn)real_get_proc(name);
        }
        return (void*)counting_swap;
    }
    return real_get_proc ? real_get_proc(name) : NULL;
}

static void* counting_get_proc_arb(const unsigned char* name) {
    if (strcmp((const char*)name, "glXSwapBuffers") == 0) {
        if (!real_swap && real_get_proc_arb) {
            real_swap = (SwapFn)real_get_proc_arb(name);
        }
        return (void*)counting_swap;
    }
    return real_get_proc_arb ? real_get_proc_arb(name) : NULL;
}

void* dlsym(void* handle, const char* name) {
    DlsymFn original = real_dlsym();
    void* found = original(handle, name);
    if (!found || !name) {
        return found;
    }
    if (strcmp(name, "glXSwapBuffers") == 0) {
        if (found != (void*)counting_swap && found != (void*)glXSwapBuffers) {
            real_swap = (SwapFn)found;
        }
        return (void*)counting_swap;
    }
    if (strcmp(name, "glXGetProcAddressARB") == 0) {
        if (found != (void*)counting_get_proc_arb) {
            real_get_proc_arb = (GetProcFn)found;
        }
        return (void*)counting_get_proc_arb;
    }
    if (strcmp(name, "glXGetProcAddress") == 0) {
        if (found != (void*)counting_get_proc) {
            real_get_proc = (GetProcFn)found;
        }
        return (void*)counting_get_proc;
    }
    return found;
}
