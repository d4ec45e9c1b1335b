#include "host/forms/surface.h"

#include <algorithm>
#include <cstdlib>

namespace kestrune::forms {

namespace {

void Put(Picture& image, int x, int y, Rgb colour) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) {
        return;
    }
    std::uint8_t* pixel = image.PixelAt(x, y);
    pixel[0] = colour.red;
    pixel[1] = colour.green;
    pixel[2] = colour.blue;
}

// One channel of a gradient row: `from` on step 0, `to` on step `last`,
// rounded to the nearest value in between.
std::uint8_t Blend(std::uint8_t from, std::uint8_t to, int step, int last) {
    const int span = int(to) - int(from);
    const int scaled = span * step;
    const int rounded = scaled >= 0 ? (scaled + last / 2) / last : -((-scaled + last / 2) / last);
    return static_cast<std::uint8_t>(int(from) + rounded);
}

// Fills the part of `box` that lies on the image.
void Fill(Picture& image, const Box& box, Rgb colour) {
    const int left = std::max(box.x, 0);
    const int top = std::max(box.y, 0);
    const int right = std::min(box.x + box.width, image.width);
    const int bottom = std::min(box.y + box.height, image.height);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            Put(image, x, y, colour);
        }
    }
}

} // namespace

Surface::Surface(int width, int height, Rgb fill) {
    Resize(width, height, fill);
}

Rgb Surface::PixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) {
        return Rgb{};
    }
    const std::uint8_t* pixel = m_image.PixelAt(x, y);
    return Rgb{pixel[0], pixel[1], pixel[2]};
}

void Surface::Resize(int width, int height, Rgb fill) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == Width() && height == Height()) {
        return;
    }
    Picture resized(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Put(resized, x, y, x < Width() && y < Height() ? PixelAt(x, y) : fill);
        }
    }
    m_image = std::move(resized);
}

void Surface::Clear(Rgb colour) {
    Fill(m_image, Box{0, 0, Width(), Height()}, colour);
}

void Surface::DrawLine(Point from, Point to, Rgb colour) {
    // Bresenham's walk from `from` towards `to`, stopping before the last
    // point, as the window system's own line drawing does: lines drawn end to
    // end then never cover a pixel twice.
    const int dx = std::abs(to.x - from.x);
    const int dy = -std::abs(to.y - from.y);
    const int stepX = from.x < to.x ? 1 : -1;
    const int stepY = from.y < to.y ? 1 : -1;
    int error = dx + dy;
    Point at = from;
    while (at != to) {
        Put(m_image, at.x, at.y, colour);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            at.x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            at.y += stepY;
        }
    }
}

void Surface::DrawRectangle(const Box& box, Rgb colour) {
    if (box.width <= 0 || box.height <= 0) {
        return;
    }
    const int right = box.x + box.width - 1;
    const int bottom = box.y + box.height - 1;
    Fill(m_image, Box{box.x, box.y, box.width, 1}, colour);
    Fill(m_image, Box{box.x, bottom, box.width, 1}, colour);
    Fill(m_image, Box{box.x, box.y, 1, box.height}, colour);
    Fill(m_image, Box{right, box.y, 1, box.height}, colour);
}

void Surface::DrawPicture(const Picture& picture, int x, int y) {
    StretchPicture(picture, Box{0, 0, picture.width, picture.height},
                   Box{x, y, picture.width, picture.height});
}

void Surface::StretchPicture(const Picture& picture, const Box& source, const Box& destination) {
    if (source.width <= 0 || source.height <= 0 || destination.width <= 0 ||
        destination.height <= 0) {
        return;
    }
    const int left = std::max(destination.x, 0);
    const int top = std::max(destination.y, 0);
    const int right = std::min(destination.x + destination.width, Width());
    const int bottom = std::min(destination.y + destination.height, Height());
    for (int y = top; y < bottom; ++y) {
        // The source pixel whose span holds the centre of this row.
        const long long row = (2LL * (y - destination.y) + 1) * source.height;
        const int sourceY = source.y + static_cast<int>(row / (2LL * destination.height));
        if (sourceY < 0 || sourceY >= picture.height) {
            continue;
        }
        for (int x = left; x < right; ++x) {
            const long long column = (2LL * (x - destination.x) + 1) * source.width;
            const int sourceX = source.x + static_cast<int>(column / (2LL * destination.width));
            if (sourceX < 0 || sourceX >= picture.width) {
                continue;
            }
            const std::uint8_t* pixel = picture.PixelAt(sourceX, sourceY);
            Put(m_image, x, y, Rgb{pixel[0], pixel[1], pixel[2]});
        }
    }
}

void Surface::FillVerticalGradient(const Box& box, Rgb top, Rgb bottom) {
    const int last = box.height - 1;
    for (int row = 0; row < box.height; ++row) {
        const Rgb colour = last == 0 ? top
                                     : Rgb{Blend(top.red, bottom.red, row, last),
                                           Blend(top.green, bottom.green, row, last),
                                           Blend(top.blue, bottom.blue, row, last)};
        Fill(m_image, Box{box.x, box.y + row, box.width, 1}, colour);
    }
}

} // namespace kestrune::forms
