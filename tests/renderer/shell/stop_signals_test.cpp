#include "renderer/shell/stop_signals.h"

#include <gtest/gtest.h>

#include <csignal>

namespace kestrune {
namespace {

TEST(StopSignals, TerminationIsARequestNotAnEnd) {
    InstallStopSignalHandlers();
    EXPECT_FALSE(StopRequested());
    // The default action would end this test program here.
    ASSERT_EQ(std::raise(SIGTERM), 0);
    EXPECT_TRUE(StopRequested());
}

} // namespace
} // namespace kestrune
