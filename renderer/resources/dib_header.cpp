#include "renderer/resources/dib_header.h"

namespace kestrune {

namespace {

// Layout of the file header and the two info headers.
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kPixelOffsetField = 10;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::size_t kMaskBytes = 12; // red, green and blue masks after the info header

// Compression values of the info header.
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;

// The channel masks that 16- and 32-bit files without masks of their own use.
constexpr std::uint32_t kDefaultMasks16[3] = {0x7C00, 0x03E0, 0x001F};
constexpr std::uint32_t kDefaultMasks32[3] = {0xFF0000, 0x00FF00, 0x0000FF};

std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::int32_t I32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::int32_t>(U32(b, at));
}

// Entries in a colour table whose size the header leaves open.
std::uint32_t DefaultColourCount(std::uint16_t bitCount) {
    switch (bitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

// The fields of either info header, widened to the 40-byte header's types.
struct RawHeader {
    std::uint32_t size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t colourCount = 0;
};

RawHeader ParseRawHeader(std::span<const std::uint8_t> file, std::size_t at, std::uint32_t size) {
    RawHeader raw;
    raw.size = size;
    if (size == kCoreHeaderSize) {
        // The core header's sizes are unsigned 16-bit: always bottom-up.
        raw.width = U16(file, at + 4);
        raw.height = U16(file, at + 6);
        raw.planes = U16(file, at + 8);
        raw.bitCount = U16(file, at + 10);
        raw.colourCount = DefaultColourCount(raw.bitCount);
    } else {
        raw.width = I32(file, at + 4);
        raw.height = I32(file, at + 8);
        raw.planes = U16(file, at + 12);
        raw.bitCount = U16(file, at + 14);
        raw.compression = U32(file, at + 16);
        const std::uint32_t used = U32(file, at + 32);
        // Only the low 16 bits of a non-zero count are meaningful.
        raw.colourCount = used != 0 ? (used & 0xFFFF) : DefaultColourCount(raw.bitCount);
    }
    return raw;
}

bool TooLarge(std::int32_t width, std::int32_t height) {
    const std::uint64_t w = width < 0 ? -static_cast<std::int64_t>(width) : width;
    const std::uint64_t h = height < 0 ? -static_cast<std::int64_t>(height) : height;
    if (w == 0 || h == 0) {
        return false;
    }
    // w * 3 cannot overflow; comparing h with the quotient avoids the product.
    return h > kMaxImageBytes / (w * 3);
}

bool ChooseEncoding(const RawHeader& raw, DibEncoding& encoding) {
    switch (raw.compression) {
    case kBiRgb:
        switch (raw.bitCount) {
        case 1:
        case 4:
        case 8:
            encoding = DibEncoding::Indexed;
            return true;
        case 16:
        case 32:
            encoding = DibEncoding::Masked;
            return true;
        case 24:
            encoding = DibEncoding::Direct24;
            return true;
        default:
            return false;
        }
    case kBiRle8:
        encoding = DibEncoding::Rle8;
        return raw.bitCount == 8;
    case kBiRle4:
        encoding = DibEncoding::Rle4;
        return raw.bitCount == 4;
    case kBiBitfields:
        encoding = DibEncoding::Masked;
        return raw.size == kInfoHeaderSize && (raw.bitCount == 16 || raw.bitCount == 32);
    default:
        return false;
    }
}

} // namespace

DibStatus ReadDibHeader(std::span<const std::uint8_t> file, DibHeader& header) {
    const std::size_t size = file.size();
    const bool hasFileHeader = size >= 2 && file[0] == 'B' && file[1] == 'M';
    const std::size_t infoAt = hasFileHeader ? kFileHeaderSize : 0;
    if (size < infoAt + 4) {
        return DibStatus::UnknownFormat;
    }
    const std::uint32_t headerSize = U32(file, infoAt);
    if ((headerSize != kCoreHeaderSize && headerSize != kInfoHeaderSize) ||
        size - infoAt < headerSize) {
        return DibStatus::UnknownFormat;
    }
    const RawHeader raw = ParseRawHeader(file, infoAt, headerSize);

    // The size decides before anything else is looked at, so that a hostile
    // size is refused for what it is.
    if (TooLarge(raw.width, raw.height)) {
        return DibStatus::OutOfMemory;
    }

    DibEncoding encoding = DibEncoding::Indexed;
    if (raw.planes != 1 || raw.width <= 0 || raw.height == 0 || !ChooseEncoding(raw, encoding)) {
        return DibStatus::ConversionError;
    }
    const bool runLength = encoding == DibEncoding::Rle8 || encoding == DibEncoding::Rle4;
    // A run-length stream has no defined order for top-down rows.
    if (runLength && raw.height < 0) {
        return DibStatus::ConversionError;
    }

    // Masks follow the info header; the colour table follows the masks.
    std::uint64_t tableAt = infoAt + headerSize;
    const bool ownMasks = raw.compression == kBiBitfields;
    if (ownMasks) {
        if (size - tableAt < kMaskBytes) {
            return DibStatus::ConversionError;
        }
        for (int i = 0; i < 3; ++i) {
            header.masks[i] = U32(file, tableAt + 4 * i);
        }
        tableAt += kMaskBytes;
    } else {
        const auto& defaults = raw.bitCount == 16 ? kDefaultMasks16 : kDefaultMasks32;
        for (int i = 0; i < 3; ++i) {
            header.masks[i] = defaults[i];
        }
    }
    const std::size_t entrySize = headerSize == kCoreHeaderSize ? 3 : 4;
    const std::uint64_t tableBytes = std::uint64_t{raw.colourCount} * entrySize;
    const bool needsTable = raw.bitCount <= 8;
    // Depths above 8 bits never look at a colour table, so only the palette
    // depths insist that theirs lies in the file.
    if (needsTable && tableAt + tableBytes > size) {
        return DibStatus::ConversionError;
    }

    // A file header says where the pixels are; a packed DIB has them right
    // after its colour table.
    const std::uint64_t pixelsAt =
        hasFileHeader ? U32(file, kPixelOffsetField) : tableAt + tableBytes;
    if (pixelsAt > size) {
        return DibStatus::ConversionError;
    }

    header.width = raw.width;
    header.height = raw.height < 0 ? -raw.height : raw.height;
    header.topDown = raw.height < 0;
    header.bitCount = raw.bitCount;
    header.encoding = encoding;
    header.colourEntrySize = entrySize;
    header.colourCount = needsTable ? raw.colourCount : 0;
    header.colourTable =
        needsTable ? file.subspan(tableAt, tableBytes) : std::span<const std::uint8_t>();
    header.pixels = file.subspan(pixelsAt);
    header.rowBytes = 0;

    if (!runLength) {
        // Every row but the last needs its padding; the last needs only its
        // pixels.
        const std::uint64_t bits = std::uint64_t{raw.bitCount} * std::uint64_t(header.width);
        const std::uint64_t rowBytes = (bits + 31) / 32 * 4;
        const std::uint64_t needed = rowBytes * std::uint64_t(header.height - 1) + (bits + 7) / 8;
        if (needed > header.pixels.size()) {
            return DibStatus::ConversionError;
        }
        header.rowBytes = rowBytes;
    }
    return DibStatus::Decoded;
}

} // namespace kestrune
