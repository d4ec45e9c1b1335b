#include "renderer/resources/dib_rle.h"

#include "renderer/resources/dib_palette.h"

#include <algorithm>
#include <cstddef>

namespace kestrune {

namespace {

// Escape codes: a zero count followed by one of these.
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfBitmap = 1;
constexpr std::uint8_t kDelta = 2;

// Where the stream draws next. Positions past the right edge are held at the
// edge (nothing there is drawn until the next line), so they cannot grow
// without bound however long the stream is.
class RleCanvas {
public:
    RleCanvas(const DibHeader& header, std::uint8_t* out, const RgbPalette& palette)
        : m_width(static_cast<std::uint32_t>(header.width)),
          m_height(static_cast<std::uint32_t>(header.height)), m_out(out), m_palette(palette) {}

    bool Done() const { return m_y >= m_height; }

    void Put(std::uint8_t index) {
        if (m_x < m_width) {
            std::uint8_t* dst = m_out + (std::size_t(m_y) * m_width + m_x) * 3;
            const std::uint8_t* c = m_palette.rgb[index];
            dst[0] = c[0];
            dst[1] = c[1];
            dst[2] = c[2];
            ++m_x;
        }
    }

    void EndOfLine() {
        m_x = 0;
        ++m_y;
    }

    void Move(std::uint8_t right, std::uint8_t up) {
        m_x = std::min(m_x + right, m_width);
        m_y += up;
    }

private:
    std::uint32_t m_width;
    std::uint32_t m_height;
    std::uint32_t m_x = 0;
    std::uint32_t m_y = 0; // 0 is the bottom row, the first one stored
    std::uint8_t* m_out;
    const RgbPalette& m_palette;
};

// The index of pixel `i` of a run whose bytes are `b`: two pixels a byte, the
// high nibble first, for 4 bits; one a byte for 8 bits.
template <bool kFour> std::uint8_t PixelOf(const std::uint8_t* b, std::size_t i) {
    if constexpr (kFour) {
        return (i % 2 == 0) ? (b[i / 2] >> 4) : (b[i / 2] & 0x0F);
    } else {
        return b[i];
    }
}

template <bool kFour> void Decode(const DibHeader& header, std::uint8_t* out) {
    RgbPalette palette;
    BuildPalette(header, palette);
    RleCanvas canvas(header, out, palette);
    const std::uint8_t* data = header.pixels.data();
    const std::size_t size = header.pixels.size();
    std::size_t pos = 0;
    while (!canvas.Done() && size - pos >= 2) {
        const std::uint8_t count = data[pos];
        const std::uint8_t code = data[pos + 1];
        pos += 2;
        if (count > 0) {
            // An encoded run: `count` pixels from the one byte (two
            // alternating nibbles for 4 bits).
            for (std::size_t i = 0; i < count; ++i) {
                canvas.Put(kFour ? ((i % 2 == 0) ? (code >> 4) : (code & 0x0F)) : code);
            }
            continue;
        }
        switch (code) {
        case kEndOfLine:
            canvas.EndOfLine();
            break;
        case kEndOfBitmap:
            return;
        case kDelta:
            if (size - pos < 2) {
                return;
            }
            canvas.Move(data[pos], data[pos + 1]);
            pos += 2;
            break;
        default: {
            // An absolute run of `code` pixels, stored as they are and padded
            // to a 16-bit boundary. A run the stream cannot hold ends the
            // picture where the stream ends.
            const std::size_t bytes = kFour ? (code + 1) / 2 : code;
            const std::size_t available = std::min(bytes, size - pos);
            const std::size_t pixels =
                kFour ? std::min<std::size_t>(code, available * 2) : available;
            for (std::size_t i = 0; i < pixels; ++i) {
                canvas.Put(PixelOf<kFour>(data + pos, i));
            }
            if (available < bytes) {
                return;
            }
            pos += bytes + (bytes % 2);
            pos = std::min(pos, size);
            break;
        }
        }
    }
}

} // namespace

void DecodeRle(const DibHeader& header, std::uint8_t* out) {
    if (header.encoding == DibEncoding::Rle4) {
        Decode<true>(header, out);
    } else {
        Decode<false>(header, out);
    }
}

} // namespace kestrune
