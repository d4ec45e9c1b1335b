#include "renderer/show/show_timeline.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kestrune {
namespace {

// The figures a frame draws, as "figure:alpha" pairs in drawing order.
std::string Drawn(float t) {
    const FigureSchedule schedule = FiguresAt(t);
    std::string text;
    for (int i = 0; i < schedule.count; ++i) {
        char item[32];
        std::snprintf(item, sizeof item, "%s%d:%.3f", i ? " " : "", schedule.draws[i].figure,
                      schedule.draws[i].alpha);
        text += item;
    }
    return text;
}

TEST(ShowTimeline, FigureScheduleFadesAndCrossFadesLevelByLevel) {
    EXPECT_EQ(Drawn(0.0f), "");
    EXPECT_EQ(Drawn(0.0999f), "");
    EXPECT_EQ(Drawn(0.15f), "0:0.500");
    EXPECT_EQ(Drawn(0.25f), "0:1.000");
    // The outgoing figure is drawn before the incoming one.
    EXPECT_EQ(Drawn(0.35f), "0:0.500 1:0.500");
    EXPECT_EQ(Drawn(0.45f), "1:1.000");
    EXPECT_EQ(Drawn(0.575f), "1:0.250 2:0.750");
    EXPECT_EQ(Drawn(0.65f), "2:1.000");
    EXPECT_EQ(Drawn(0.79f), "2:0.100 3:0.900");
    EXPECT_EQ(Drawn(0.8f), "3:1.000");
    EXPECT_EQ(Drawn(5.0f), "3:1.000");
    EXPECT_EQ(Drawn(1000.0f), "3:1.000");
}

TEST(ShowTimeline, EachBoundTakesTheHigherRow) {
    // The bounds as the show computes them: elapsed ms / 100,000 as a float.
    const char* expected[] = {"0:0.000",         "0:1.000", "0:1.000 1:0.000", "1:1.000",
                              "1:1.000 2:0.000", "2:1.000", "2:1.000 3:0.000", "3:1.000"};
    for (int tenth = 1; tenth <= 8; ++tenth) {
        const float t = static_cast<float>(tenth * 10000.0 / 100000.0);
        EXPECT_EQ(Drawn(t), expected[tenth - 1]) << "t = " << tenth / 10.0;
    }
    // 70,000 ms is exactly 0.7f: the cross-fade to figure 3 begins there.
    EXPECT_EQ(Drawn(70000.0f / 100000.0f), "2:1.000 3:0.000");
    EXPECT_EQ(Drawn(std::nextafter(0.7f, 0.0f)), "2:1.000");
}

TEST(ShowTimeline, FadeInWanderAndCameraFollowT) {
    EXPECT_FLOAT_EQ(FadeInAlphaAt(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(FadeInAlphaAt(0.025f), 0.5f);
    EXPECT_NEAR(FadeInAlphaAt(0.0499f), 0.998f, 1e-5);
    EXPECT_FLOAT_EQ(FadeInAlphaAt(0.05f), 1.0f);
    EXPECT_FLOAT_EQ(FadeInAlphaAt(0.7f), 1.0f);

    EXPECT_FLOAT_EQ(WanderAmplitudeAt(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(WanderAmplitudeAt(0.04f), 0.2f);
    EXPECT_FLOAT_EQ(WanderAmplitudeAt(0.0999f), 0.4995f);
    EXPECT_FLOAT_EQ(WanderAmplitudeAt(0.1f), 0.5f);
    EXPECT_FLOAT_EQ(WanderAmplitudeAt(3.0f), 0.5f);

    float position[3];
    EmitterPositionAt(0, 0.0f, position);
    EXPECT_EQ(position[0], 0.0f);
    EXPECT_EQ(position[1], 0.0f);
    EXPECT_EQ(position[2], 0.0f);
    EmitterPositionAt(2, 0.5f, position);
    EXPECT_NEAR(position[0], 0.5 * std::sin(0.5 * 52.7), 1e-5);
    EXPECT_NEAR(position[1], 0.5 * std::sin(0.5 * 11.3), 1e-5);
    EXPECT_NEAR(position[2], 0.5 * std::sin(0.5 * 45.1), 1e-5);
    EmitterPositionAt(3, 0.05f, position); // amplitude 0.25 while it grows
    EXPECT_NEAR(position[0], 0.25 * std::sin(0.05 * 35.5), 1e-5);

    const CameraAngles angles = CameraAnglesAt(0.5f);
    EXPECT_FLOAT_EQ(angles.azimuth, 7.85f);
    EXPECT_FLOAT_EQ(angles.elevation, 13.0f);
    EXPECT_FLOAT_EQ(angles.roll, 4.5f);

    EXPECT_EQ(EmitterTimeAt(std::int64_t{0}), 0u);
    EXPECT_EQ(EmitterTimeAt(std::int64_t{70000}), 70000u);
    EXPECT_EQ(EmitterTimeAt(std::int64_t{12345}), 12345u);
    // The last millisecond before the tick count wraps, where t x 100,000 in
    // float arithmetic would be 2^32.
    EXPECT_EQ(EmitterTimeAt(std::int64_t{0xFFFFFFFF}), 0xFFFFFFFFu);
}

} // namespace
} // namespace kestrune
