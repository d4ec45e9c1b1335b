#include "renderer/shell/stop_signals.h"

#include <csignal>

namespace kestrune {

namespace {

// Written by the handler, read by the loop: the one kind of variable a
// signal handler may touch.
volatile std::sig_atomic_t g_stopRequested = 0;

void OnStopSignal(int) {
    g_stopRequested = 1;
}

} // namespace

void InstallStopSignalHandlers() {
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
}

bool StopRequested() {
    return g_stopRequested != 0;
}

} // namespace kestrune
