#pragma once

#include <string>

// The text fields that the settings file differential test and its Windows
// program (profile-oracle) exchange: bytes in hexadecimal, "-" for none, so
// that every field is one word on its line.
namespace kestrune::test {

inline std::string ToHex(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    if (bytes.empty()) {
        return "-";
    }
    std::string hex;
    for (const char c : bytes) {
        hex += kDigits[static_cast<unsigned char>(c) >> 4];
        hex += kDigits[static_cast<unsigned char>(c) & 0x0F];
    }
    return hex;
}

inline std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t at = 0; at + 1 < hex.size(); at += 2) {
        bytes += static_cast<char>(std::stoi(hex.substr(at, 2), nullptr, 16));
    }
    return bytes;
}

} // namespace kestrune::test
