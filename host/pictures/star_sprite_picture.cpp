#include "host/pictures/star_sprite_picture.h"

#include "host/pictures/star_painter.h"

namespace kestrune {

namespace {

// The star sits on the corner of the four middle pixels, so the picture is
// symmetric in both directions.
constexpr std::int64_t kCentre = kStarSpriteSize / 2 * kSubpixel;

// The white-hot core: far over full white, so it burns out to a white disc a
// few pixels across that softens at its rim.
constexpr std::int64_t kCoreRadius = 5 * kSubpixel;
constexpr Light kCoreLight = LightOf(255 * 3, 255 * 3, 255 * 3);

// A glow between core and halo, whiter than the halo.
constexpr std::int64_t kGlowCore = 3 * kSubpixel;
constexpr int kGlowReachPx = 20;
constexpr Light kGlowLight = LightOf(200, 215, 255);

// The halo: bluish white, wide and soft, gone 2 pixels inside the edges.
constexpr std::int64_t kHaloRadius = 29 * kSubpixel;
constexpr int kHaloPower = 4;
constexpr Light kHaloLight = LightOf(125, 150, 230);

// The rays: thin and faint, their light gone before the edge.
constexpr int kRayLengthPx = 29;
constexpr std::int64_t kRayHalfWidth = kSubpixel * 3 / 2;
constexpr Light kRayLight = LightOf(130, 150, 220);

// Where developing starts to roll off towards white.
constexpr int kKneeLevel = 200;

} // namespace

Picture MakeStarSpritePicture() {
    LightCanvas canvas(kStarSpriteSize, kStarSpriteSize);
    canvas.AddRadial(kCentre, kCentre, kStarSpriteSize / 2, kHaloLight,
                     [](std::int64_t r2) { return BumpWeight(r2, kHaloRadius, kHaloPower); });
    PaintStarGlow(canvas, kCentre, kCentre, kGlowLight, kGlowCore, kGlowReachPx);
    PaintStarRays(canvas, kCentre, kCentre, kRayLight, kRayLengthPx, kRayHalfWidth);
    PaintStarCore(canvas, kCentre, kCentre, kCoreLight, kCoreRadius);
    // No dither: the sprite stays exactly symmetric, and it is drawn far too
    // small for banding to show.
    return canvas.Develop(kKneeLevel, LightCanvas::Dither::None);
}

} // namespace kestrune
