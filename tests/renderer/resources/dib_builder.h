#pragma once

// Builds BMP files byte by byte for the loader's tests, its fuzz seeds and its
// benchmark: every field is written where the file format puts it, so that a
// test can break exactly the one it means to.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace kestrune::test {

// Little-endian byte writer.
class Bytes {
public:
    Bytes& U8(std::uint32_t v) {
        m_bytes.push_back(static_cast<std::uint8_t>(v));
        return *this;
    }
    Bytes& U16(std::uint32_t v) { return U8(v).U8(v >> 8); }
    Bytes& U32(std::uint32_t v) { return U16(v).U16(v >> 16); }
    Bytes& I32(std::int32_t v) { return U32(static_cast<std::uint32_t>(v)); }
    Bytes& Append(const std::vector<std::uint8_t>& more) {
        m_bytes.insert(m_bytes.end(), more.begin(), more.end());
        return *this;
    }
    Bytes& Append(std::initializer_list<std::uint8_t> more) {
        m_bytes.insert(m_bytes.end(), more.begin(), more.end());
        return *this;
    }
    std::size_t Size() const { return m_bytes.size(); }
    const std::vector<std::uint8_t>& Contents() const { return m_bytes; }
    std::vector<std::uint8_t>& Contents() { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

// Compression values.
inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiRle8 = 1;
inline constexpr std::uint32_t kBiRle4 = 2;
inline constexpr std::uint32_t kBiBitfields = 3;

// One colour-table entry.
struct Bgr {
    std::uint8_t b, g, r;
};

// Everything a test may want to set; the defaults make a valid 40-byte-header
// BMP file around the given pixel data.
struct DibFields {
    bool fileHeader = true; // "BM" file; false: packed DIB
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = kBiRgb;
    std::uint32_t imageSize = 0;
    std::int32_t xDensity = 2835;
    std::int32_t yDensity = 2835;
    std::uint32_t coloursUsed = 0;
    std::vector<std::uint32_t> masks; // written after the header when not empty
    std::vector<Bgr> palette;         // written as 3- or 4-byte entries
    std::vector<std::uint8_t> pixels; // the stored pixel data, as it is
    std::int64_t pixelOffset = -1;    // file header's pixel offset; -1: where they are
    std::int64_t fileSizeField = -1;  // -1: the real size
};

inline std::vector<std::uint8_t> MakeDib(const DibFields& dib) {
    Bytes info;
    info.U32(dib.headerSize);
    if (dib.headerSize == 12) {
        info.U16(static_cast<std::uint32_t>(dib.width))
            .U16(static_cast<std::uint32_t>(dib.height))
            .U16(dib.planes)
            .U16(dib.bitCount);
    } else {
        info.I32(dib.width)
            .I32(dib.height)
            .U16(dib.planes)
            .U16(dib.bitCount)
            .U32(dib.compression)
            .U32(dib.imageSize)
            .I32(dib.xDensity)
            .I32(dib.yDensity)
            .U32(dib.coloursUsed)
            .U32(0);
        // Larger headers carry fields this builder leaves zero.
        while (info.Size() < dib.headerSize) {
            info.U8(0);
        }
    }
    for (std::uint32_t mask : dib.masks) {
        info.U32(mask);
    }
    for (const Bgr& c : dib.palette) {
        info.U8(c.b).U8(c.g).U8(c.r);
        if (dib.headerSize != 12) {
            info.U8(0);
        }
    }
    Bytes file;
    if (dib.fileHeader) {
        const std::size_t offset = 14 + info.Size();
        const std::size_t total = offset + dib.pixels.size();
        file.U8('B').U8('M');
        file.U32(dib.fileSizeField < 0 ? static_cast<std::uint32_t>(total)
                                       : static_cast<std::uint32_t>(dib.fileSizeField));
        file.U32(0);
        file.U32(dib.pixelOffset < 0 ? static_cast<std::uint32_t>(offset)
                                     : static_cast<std::uint32_t>(dib.pixelOffset));
    }
    file.Append(info.Contents()).Append(dib.pixels);
    return file.Contents();
}

// Stored rows of a 24-bit picture whose pixel (x, y), y counted in stored
// order, has the colour `colour(x, y)`; each row padded to 4 bytes with
// `padding`.
template <typename Colour>
std::vector<std::uint8_t> Rows24(int width, int height, Colour&& colour,
                                 std::uint8_t padding = 0xEE) {
    Bytes rows;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Bgr c = colour(x, y);
            rows.U8(c.b).U8(c.g).U8(c.r);
        }
        while (rows.Size() % 4 != 0) {
            rows.U8(padding);
        }
    }
    return rows.Contents();
}

// Stored rows of an indexed picture of 1, 4 or 8 bits per pixel whose pixel
// (x, y) has the index `index(x, y)`, the leftmost pixel in the high bits.
template <typename Index>
std::vector<std::uint8_t> RowsIndexed(int bitCount, int width, int height, Index&& index,
                                      std::uint8_t padding = 0xEE) {
    std::vector<std::uint8_t> rows;
    const std::size_t rowBytes = (std::size_t(width) * bitCount + 31) / 32 * 4;
    const std::size_t used = (std::size_t(width) * bitCount + 7) / 8;
    for (int y = 0; y < height; ++y) {
        std::vector<std::uint8_t> row(rowBytes, 0);
        for (std::size_t i = used; i < rowBytes; ++i) {
            row[i] = padding;
        }
        for (int x = 0; x < width; ++x) {
            const std::size_t bit = std::size_t(x) * bitCount;
            const int shift = 8 - bitCount - static_cast<int>(bit % 8);
            row[bit / 8] |=
                static_cast<std::uint8_t>((index(x, y) & ((1u << bitCount) - 1)) << shift);
        }
        rows.insert(rows.end(), row.begin(), row.end());
    }
    return rows;
}

} // namespace kestrune::test
