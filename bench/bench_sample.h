#pragma once

#include "bench/allocation_counter.h"
#include "bench/malloc_counter.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace kestrune {

// What a stretch of benchmark work used: wall time, the CPU time of the
// calling thread (the scene's own work and the driver's command processing),
// the CPU time of the whole process (llvmpipe's rasterising threads too), and
// the allocations made, by operator new and by the C allocator. The busy
// time of the whole machine tells how much else ran meanwhile: the machine's
// cores are shared.
struct BenchSample {
    double wallSeconds = 0.0;
    double threadCpuSeconds = 0.0;
    double processCpuSeconds = 0.0;
    double machineBusySeconds = 0.0;
    long newCalls = 0;
    MallocCounts mallocCalls;

    static double WallNow() {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    // All cores' time outside idle and I/O wait, from /proc/stat; read with
    // plain system calls, so that the reading allocates nothing.
    static double MachineBusyNow() {
        const int fd = open("/proc/stat", O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            return 0.0;
        }
        char text[256] = {};
        const ssize_t length = read(fd, text, sizeof text - 1);
        close(fd);
        unsigned long long user = 0, nice = 0, system = 0, idle = 0, iowait = 0, irq = 0,
                           softirq = 0, steal = 0;
        if (length <= 0 ||
            std::sscanf(text, "cpu %llu %llu %llu %llu %llu %llu %llu %llu", &user, &nice, &system,
                        &idle, &iowait, &irq, &softirq, &steal) != 8) {
            return 0.0;
        }
        return static_cast<double>(user + nice + system + irq + softirq + steal) /
               static_cast<double>(sysconf(_SC_CLK_TCK));
    }

    static BenchSample Now() {
        BenchSample sample;
        sample.machineBusySeconds = MachineBusyNow();
        sample.wallSeconds = WallNow();
        timespec thread{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &thread);
        sample.threadCpuSeconds = static_cast<double>(thread.tv_sec) + thread.tv_nsec * 1e-9;
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        sample.processCpuSeconds =
            static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
            (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
        sample.newCalls = AllocationCount();
        sample.mallocCalls = MallocCount();
        return sample;
    }

    BenchSample operator-(const BenchSample& earlier) const {
        BenchSample d;
        d.wallSeconds = wallSeconds - earlier.wallSeconds;
        d.threadCpuSeconds = threadCpuSeconds - earlier.threadCpuSeconds;
        d.processCpuSeconds = processCpuSeconds - earlier.processCpuSeconds;
        d.machineBusySeconds = machineBusySeconds - earlier.machineBusySeconds;
        d.newCalls = newCalls - earlier.newCalls;
        d.mallocCalls.allThreads = mallocCalls.allThreads - earlier.mallocCalls.allThreads;
        d.mallocCalls.mainThread = mallocCalls.mainThread - earlier.mallocCalls.mainThread;
        return d;
    }

    BenchSample& operator+=(const BenchSample& more) {
        wallSeconds += more.wallSeconds;
        threadCpuSeconds += more.threadCpuSeconds;
        processCpuSeconds += more.processCpuSeconds;
        machineBusySeconds += more.machineBusySeconds;
        newCalls += more.newCalls;
        mallocCalls.allThreads += more.mallocCalls.allThreads;
        mallocCalls.mainThread += more.mallocCalls.mainThread;
        return *this;
    }
};

} // namespace kestrune
