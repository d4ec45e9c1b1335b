#pragma once

#include "bench/allocation_counter.h"
#include "bench/malloc_counter.h"

#include <chrono>
#include <ctime>

#include <sys/resource.h>

namespace kestrune {

// What a stretch of benchmark work used: wall time, the CPU time of the
// calling thread (the scene's own work and the driver's command processing),
// the CPU time of the whole process (llvmpipe's rasterising threads too), and
// the allocations made, by operator new and by the C allocator.
struct BenchSample {
    double wallSeconds = 0.0;
    double threadCpuSeconds = 0.0;
    double processCpuSeconds = 0.0;
    long newCalls = 0;
    MallocCounts mallocCalls;

    static double WallNow() {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    static BenchSample Now() {
        BenchSample sample;
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
        d.newCalls = newCalls - earlier.newCalls;
        d.mallocCalls.allThreads = mallocCalls.allThreads - earlier.mallocCalls.allThreads;
        d.mallocCalls.mainThread = mallocCalls.mainThread - earlier.mallocCalls.mainThread;
        return d;
    }

    BenchSample& operator+=(const BenchSample& more) {
        wallSeconds += more.wallSeconds;
        threadCpuSeconds += more.threadCpuSeconds;
        processCpuSeconds += more.processCpuSeconds;
        newCalls += more.newCalls;
        mallocCalls.allThreads += more.mallocCalls.allThreads;
        mallocCalls.mainThread += more.mallocCalls.mainThread;
        return *this;
    }
};

} // namespace kestrune
