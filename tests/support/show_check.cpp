#include "tests/support/show_check.h"

#include "tests/support/child_process.h"

#include <algorithm>
#include <set>

namespace kestrune::test {

namespace {

using namespace std::chrono_literals;

// The picture is judged in a grid of cells; in each, the show's star field
// gives many shades over a wide range of brightness, at every moment of the
// show and at every window size down to a preview's. Measured over the show's
// course (0.5 s to 270 s) at 1024 x 768 and 200 x 150, a cell held at least
// 31 shades over a brightness range of at least 27, and the whole a mean
// brightness of 9 to 45; a bare sky, a message and a black screen hold one
// shade in most cells.
constexpr int kGrid = 4;
constexpr int kMinCellShades = 12;
constexpr int kMinCellBrightnessRange = 20;
constexpr double kMinMeanBrightness = 3.0;
constexpr double kMaxMeanBrightness = 110.0;
// How often the screen is looked at while waiting: often enough to see a
// show drawn at a frame a second, seldom enough to leave it the machine.
constexpr auto kLookInterval = 250ms;

int Brightness(const std::uint8_t* pixel) {
    return (299 * pixel[0] + 587 * pixel[1] + 114 * pixel[2]) / 1000;
}

} // namespace

std::string WhyNotAPictureOfTheShow(const std::vector<std::uint8_t>& rgb, int width, int height) {
    if (width < kGrid || height < kGrid ||
        rgb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) {
        return "no picture";
    }
    double total = 0.0;
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        total += Brightness(&rgb[i]);
    }
    const double mean = total / (static_cast<double>(width) * height);
    if (mean < kMinMeanBrightness) {
        return "black (mean brightness " + std::to_string(mean) + "), or still fading in";
    }
    if (mean > kMaxMeanBrightness) {
        return "too bright for a night sky (mean brightness " + std::to_string(mean) +
               "): a bare sky or a message";
    }
    for (int row = 0; row < kGrid; ++row) {
        for (int column = 0; column < kGrid; ++column) {
            std::set<std::uint32_t> shades;
            int darkest = 255;
            int brightest = 0;
            for (int y = row * height / kGrid; y < (row + 1) * height / kGrid; ++y) {
                for (int x = column * width / kGrid; x < (column + 1) * width / kGrid; ++x) {
                    const std::uint8_t* pixel = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
                    if (shades.size() < kMinCellShades) {
                        shades.insert(std::uint32_t{pixel[0]} << 16 | std::uint32_t{pixel[1]} << 8 |
                                      pixel[2]);
                    }
                    darkest = std::min(darkest, Brightness(pixel));
                    brightest = std::max(brightest, Brightness(pixel));
                }
            }
            if (shades.size() < kMinCellShades || brightest - darkest < kMinCellBrightnessRange) {
                return "flat in cell " + std::to_string(column) + "," + std::to_string(row) +
                       " of " + std::to_string(kGrid) + "x" + std::to_string(kGrid) + " (" +
                       std::to_string(shades.size()) + " shades, brightness " +
                       std::to_string(darkest) + " to " + std::to_string(brightest) +
                       "): no star field there";
            }
        }
    }
    return {};
}

ShowWatch WatchForTheShow(X11Connection& x11, const ScreenArea& area,
                          const std::function<bool()>& rendererRuns,
                          std::chrono::milliseconds deadline) {
    ShowWatch watch{.whyNot = "not looked at"};
    std::vector<std::uint8_t> earlier; // the last look that was a picture of the show
    watch.shown = WaitUntil(
        [&] {
            if (!rendererRuns()) {
                watch.whyNot = "no renderer runs";
                return false;
            }
            watch.lastPicture = x11.ScreenshotRgb(area.x, area.y, area.width, area.height);
            watch.whyNot = WhyNotAPictureOfTheShow(watch.lastPicture, area.width, area.height);
            if (!watch.whyNot.empty()) {
                earlier.clear();
                return false;
            }
            if (watch.lastPicture == earlier) {
                watch.whyNot = "the picture does not change: a frozen frame";
                return false;
            }
            const bool seenBefore = !earlier.empty();
            earlier = watch.lastPicture;
            watch.whyNot = "looked at once";
            return seenBefore;
        },
        deadline, kLookInterval);
    if (watch.shown) {
        watch.whyNot.clear();
    }
    return watch;
}

::testing::AssertionResult WaitForTheShow(X11Connection& x11, const ScreenArea& area,
                                          const std::function<bool()>& rendererRuns,
                                          std::chrono::milliseconds deadline) {
    const ShowWatch watch = WatchForTheShow(x11, area, rendererRuns, deadline);
    if (watch.shown) {
        return ::testing::AssertionSuccess();
    }
    if (!watch.lastPicture.empty()) {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        WritePpm(std::string(test ? test->name() : "show") + "-screen.ppm", area.width, area.height,
                 watch.lastPicture);
    }
    return ::testing::AssertionFailure() << "the screen does not show the show: " << watch.whyNot;
}

} // namespace kestrune::test
