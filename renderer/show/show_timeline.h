#pragma once

#include <cstdint>

// Every time-dependent value of the show, as a function of the show time t:
// elapsed milliseconds since the first frame divided by the show period. t is
// a float and is compared with float constants, so that a time such as
// 70,000 ms (t = 0.7f) lands on the higher row at each bound, as intended.
namespace kestrune {

// Time that t takes to go from 0 to 1.
inline constexpr std::int32_t kShowPeriodMs = 100000;

// The fade-in from black: the overlay's alpha rises as t x 20 until t = 0.05.
inline constexpr float kFadeInEnd = 0.05f;
inline constexpr float kFadeInRate = 20.0f;

// Camera angles in radians per unit of t.
inline constexpr float kAzimuthRate = 15.7f;
inline constexpr float kElevationRate = 26.0f;
inline constexpr float kRollRate = 9.0f;

// The emitters' wander grows as 5 t until t = 0.1, then stays at 0.5.
inline constexpr float kWanderGrowthEnd = 0.1f;
inline constexpr float kWanderGrowthRate = 5.0f;
inline constexpr float kFullWander = 0.5f;

// Each emitter's path: sine factors of t for x, y and z.
inline constexpr float kEmitterPathFactors[4][3] = {
    {50.4f, 88.5f, 95.8f},
    {87.5f, 33.1f, 67.3f},
    {52.7f, 11.3f, 45.1f},
    {35.5f, 32.9f, 45.8f},
};

// The overlay's alpha at t: t x 20 during the fade-in, 1 after it.
//
// Once the fade-in is over the picture is shown unchanged. Keeping whatever
// alpha the last fade-in frame happened to set would leave the whole show
// dimmed for good after a stalled start, or black if no frame at all fell
// inside the first five seconds, so the end of the fade-in always sets 1.
float FadeInAlphaAt(float t);

struct CameraAngles {
    float azimuth;
    float elevation;
    float roll;
};
CameraAngles CameraAnglesAt(float t);

float WanderAmplitudeAt(float t);

// Where emitter `index` (0 to 3) is at time t.
void EmitterPositionAt(int index, float t, float position[3]);

// The time value the emitters are drawn with: the elapsed show time in whole
// milliseconds, which is t x 100,000 truncated with the 100,000 ms period.
// It is taken from the millisecond count itself, never from the float t:
// near the end of the tick count's range t x 100,000 rounds up to 2^32, which
// no 32-bit value holds, and a float has long lost the milliseconds by then.
std::uint32_t EmitterTimeAt(std::int64_t elapsedMs);
std::uint32_t EmitterTimeAt(float t) = delete;

// Which figures a frame draws, in order, and with what alpha.
struct FigureDraw {
    int figure;
    float alpha;
};
struct FigureSchedule {
    int count = 0;
    FigureDraw draws[2] = {};
};
FigureSchedule FiguresAt(float t);

} // namespace kestrune
