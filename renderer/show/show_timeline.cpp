#include "renderer/show/show_timeline.h"

#include <cmath>

namespace kestrune {

namespace {

// One row of the figure schedule: from `start` (inclusive) to the next row's
// start, figure `from` fades out while figure `to` fades in over the tenth.
// A row with from == to shows that figure alone at full alpha; from < 0
// marks a fade-in from nothing.
struct ScheduleRow {
    float start;
    int from;
    int to;
};

constexpr ScheduleRow kSchedule[] = {
    {0.1f, -1, 0}, // figure 0 fades in
    {0.2f, 0, 0},  // figure 0 alone
    {0.3f, 0, 1},  // cross-fade to figure 1
    {0.4f, 1, 1},  {0.5f, 1, 2}, {0.6f, 2, 2},
    {0.7f, 2, 3},  {0.8f, 3, 3}, // from here on the last figure stays
};

// Length of one row, in t; the fraction e of a row runs from 0 to 1 over it.
constexpr float kRowsPerUnit = 10.0f;

} // namespace

float FadeInAlphaAt(float t) {
    if (t >= 0.0f && t < kFadeInEnd) {
        return t * kFadeInRate;
    }
    return 1.0f;
}

CameraAngles CameraAnglesAt(float t) {
    return {t * kAzimuthRate, t * kElevationRate, t * kRollRate};
}

float WanderAmplitudeAt(float t) {
    if (t >= 0.0f && t < kWanderGrowthEnd) {
        return kWanderGrowthRate * t;
    }
    return kFullWander;
}

void EmitterPositionAt(int index, float t, float position[3]) {
    const float amplitude = WanderAmplitudeAt(t);
    for (int axis = 0; axis < 3; ++axis) {
        position[axis] = amplitude * std::sin(t * kEmitterPathFactors[index][axis]);
    }
}

std::uint32_t EmitterTimeAt(std::int64_t elapsedMs) {
    // A span of two 32-bit tick readings always fits.
    return static_cast<std::uint32_t>(elapsedMs);
}

FigureSchedule FiguresAt(float t) {
    FigureSchedule schedule;
    // The last row whose start t has reached: at each bound the higher row.
    const ScheduleRow* row = nullptr;
    for (const ScheduleRow& candidate : kSchedule) {
        if (t >= candidate.start) {
            row = &candidate;
        }
    }
    if (!row) {
        return schedule; // before the first figure
    }
    const float e = (t - row->start) * kRowsPerUnit;
    if (row->from == row->to) {
        schedule.draws[schedule.count++] = {row->to, 1.0f};
        return schedule;
    }
    if (row->from >= 0) {
        schedule.draws[schedule.count++] = {row->from, 1.0f - e};
    }
    schedule.draws[schedule.count++] = {row->to, e};
    return schedule;
}

} // namespace kestrune
