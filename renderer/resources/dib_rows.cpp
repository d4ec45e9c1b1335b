#include "renderer/resources/dib_rows.h"

#include "renderer/resources/dib_palette.h"

#include <bit>
#include <cstddef>

namespace kestrune {

namespace {

void IndexedRow8(const std::uint8_t* src, std::uint8_t* dst, std::int32_t width,
                 const RgbPalette& palette) {
    for (std::int32_t x = 0; x < width; ++x) {
        const std::uint8_t* c = palette.rgb[src[x]];
        dst[0] = c[0];
        dst[1] = c[1];
        dst[2] = c[2];
        dst += 3;
    }
}

// 1- and 4-bit pixels: the leftmost pixel sits in the most significant bits.
template <int kBits>
void IndexedRowPacked(const std::uint8_t* src, std::uint8_t* dst, std::int32_t width,
                      const RgbPalette& palette) {
    constexpr int kPerByte = 8 / kBits;
    constexpr unsigned kMask = (1u << kBits) - 1;
    for (std::int32_t x = 0; x < width; ++x) {
        const int shift = 8 - kBits * (x % kPerByte + 1);
        const std::uint8_t* c = palette.rgb[(src[x / kPerByte] >> shift) & kMask];
        dst[0] = c[0];
        dst[1] = c[1];
        dst[2] = c[2];
        dst += 3;
    }
}

void DirectRow24(const std::uint8_t* src, std::uint8_t* dst, std::int32_t width) {
    for (std::int32_t x = 0; x < width; ++x) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
        src += 3;
        dst += 3;
    }
}

// One channel of a masked pixel, scaled so that the mask's largest value
// becomes 255 (a 5-bit 31 becomes 255, not 248).
class Channel {
public:
    explicit Channel(std::uint32_t mask)
        : m_mask(mask), m_shift(mask ? std::countr_zero(mask) : 0), m_max(mask >> m_shift) {
        m_small = m_max <= 255;
        if (m_small) {
            for (std::uint32_t v = 0; v <= m_max; ++v) {
                m_table[v] = Scale(v);
            }
        }
    }

    std::uint8_t operator()(std::uint32_t pixel) const {
        const std::uint32_t v = (pixel & m_mask) >> m_shift;
        return m_small ? m_table[v] : Scale(v);
    }

private:
    std::uint8_t Scale(std::uint32_t v) const {
        if (m_max == 0) {
            return 0;
        }
        // A mask with gaps can still give values up to m_max only.
        return static_cast<std::uint8_t>((std::uint64_t{v} * 255 + m_max / 2) / m_max);
    }

    std::uint32_t m_mask;
    int m_shift;
    std::uint32_t m_max;
    bool m_small = false;
    std::uint8_t m_table[256] = {};
};

template <int kBytes>
void MaskedRow(const std::uint8_t* src, std::uint8_t* dst, std::int32_t width, const Channel& red,
               const Channel& green, const Channel& blue) {
    for (std::int32_t x = 0; x < width; ++x) {
        std::uint32_t pixel = src[0] | (src[1] << 8);
        if constexpr (kBytes == 4) {
            pixel |= (static_cast<std::uint32_t>(src[2]) << 16) |
                     (static_cast<std::uint32_t>(src[3]) << 24);
        }
        dst[0] = red(pixel);
        dst[1] = green(pixel);
        dst[2] = blue(pixel);
        src += kBytes;
        dst += 3;
    }
}

// Runs `convert(src, dst)` for every stored row with the row's place in the
// picture. A top-down file stores the top row first; the picture's first row
// is always its bottom row.
template <typename Convert>
void ForEachRow(const DibHeader& header, std::uint8_t* out, Convert&& convert) {
    const std::size_t outRow = static_cast<std::size_t>(header.width) * 3;
    for (std::int32_t row = 0; row < header.height; ++row) {
        const std::int32_t target = header.topDown ? header.height - 1 - row : row;
        convert(header.pixels.data() + header.rowBytes * std::size_t(row),
                out + outRow * std::size_t(target));
    }
}

} // namespace

void ConvertRows(const DibHeader& header, std::uint8_t* out) {
    const std::int32_t width = header.width;
    switch (header.encoding) {
    case DibEncoding::Indexed: {
        RgbPalette palette;
        BuildPalette(header, palette);
        if (header.bitCount == 8) {
            ForEachRow(header, out, [&](const std::uint8_t* src, std::uint8_t* dst) {
                IndexedRow8(src, dst, width, palette);
            });
        } else if (header.bitCount == 4) {
            ForEachRow(header, out, [&](const std::uint8_t* src, std::uint8_t* dst) {
                IndexedRowPacked<4>(src, dst, width, palette);
            });
        } else {
            ForEachRow(header, out, [&](const std::uint8_t* src, std::uint8_t* dst) {
                IndexedRowPacked<1>(src, dst, width, palette);
            });
        }
        break;
    }
    case DibEncoding::Direct24:
        ForEachRow(header, out, [&](const std::uint8_t* src, std::uint8_t* dst) {
            DirectRow24(src, dst, width);
        });
        break;
    case DibEncoding::Masked: {
        const Channel red(header.masks[0]);
        const Channel green(header.masks[1]);
        const Channel blue(header.masks[2]);
        if (header.bitCount == 16) {
            ForEachRow(header, out, [&](const std::uint8_t* src, std::uint8_t* dst) {
                MaskedRow<2>(src, dst, width, red, green, blue);
            });
        } else {
            ForEachRow(header, out, [&](const std::uint8_t* src, std::uint8_t* dst) {
                MaskedRow<4>(src, dst, width, red, green, blue);
            });
        }
        break;
    }
    case DibEncoding::Rle8:
    case DibEncoding::Rle4:
        break; // streams, not rows: DecodeRle reads these
    }
}

} // namespace kestrune
