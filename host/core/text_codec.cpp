#include "host/core/text_codec.h"

namespace kestrune {

namespace {

// Lead bytes of double-byte characters in code page 932.
bool IsLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Bytes that can follow a lead byte.
bool IsTrailByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

} // namespace

std::size_t Cp932CharLength(std::string_view bytes, std::size_t at) {
    if (at + 1 < bytes.size() && IsLeadByte(static_cast<unsigned char>(bytes[at])) &&
        IsTrailByte(static_cast<unsigned char>(bytes[at + 1]))) {
        return 2;
    }
    return 1;
}

std::string_view Cp932Prefix(std::string_view bytes, std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < bytes.size()) {
        const std::size_t length = Cp932CharLength(bytes, end);
        if (end + length > maxBytes) {
            break;
        }
        end += length;
    }
    return bytes.substr(0, end);
}

std::optional<std::string> EncodeCp932(std::string_view utf8) {
    std::optional<std::string> encoded = PlatformUtf8ToCp932(utf8);
    if (!encoded) {
        return std::nullopt;
    }
    // Converters map some characters to a look-alike (U+00A5 to 0x5C, U+203E
    // to 0x7E). Only text that comes back unchanged is written.
    const std::optional<std::string> back = PlatformCp932ToUtf8(*encoded);
    if (!back || *back != utf8) {
        return std::nullopt;
    }
    return encoded;
}

std::string DecodeCp932(std::string_view bytes) {
    if (std::optional<std::string> whole = PlatformCp932ToUtf8(bytes)) {
        return *whole;
    }
    // Something in there is no character: go one character at a time so that
    // only the broken ones are replaced.
    std::string text;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t length = Cp932CharLength(bytes, at);
        if (std::optional<std::string> one = PlatformCp932ToUtf8(bytes.substr(at, length))) {
            text += *one;
        } else {
            text += kReplacementCharacter;
        }
        at += length;
    }
    return text;
}

} // namespace kestrune
