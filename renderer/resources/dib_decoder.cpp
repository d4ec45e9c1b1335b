#include "renderer/resources/dib_decoder.h"

#include "renderer/resources/dib_header.h"
#include "renderer/resources/dib_rle.h"
#include "renderer/resources/dib_rows.h"

#include <new>
#include <utility>

namespace kestrune {

const char* DibStatusMessage(DibStatus status) {
    switch (status) {
    case DibStatus::Decoded:
        return nullptr;
    case DibStatus::UnknownFormat:
        return "Unknown DIB file format.";
    case DibStatus::OutOfMemory:
        return "Out of memory.";
    case DibStatus::ConversionError:
        return "Image file conversion error.";
    }
    return nullptr;
}

DibStatus DecodeDib(std::span<const std::uint8_t> file, RgbImage& image) {
    DibHeader header;
    if (const DibStatus status = ReadDibHeader(file, header); status != DibStatus::Decoded) {
        return status;
    }
    // The header check has capped the size at kMaxImageBytes; memory can
    // still run out below it.
    std::vector<std::uint8_t> pixels;
    try {
        pixels.resize(std::size_t(header.width) * std::size_t(header.height) * 3);
    } catch (const std::bad_alloc&) {
        return DibStatus::OutOfMemory;
    }
    if (header.encoding == DibEncoding::Rle8 || header.encoding == DibEncoding::Rle4) {
        DecodeRle(header, pixels.data());
    } else {
        ConvertRows(header, pixels.data());
    }
    image.width = header.width;
    image.height = header.height;
    image.pixels = std::move(pixels);
    return DibStatus::Decoded;
}

} // namespace kestrune
