// Code page 932 conversion through the Win32 conversion calls, by way of
// UTF-16.
#include "host/startup/text_codec.h"

#include <windows.h>

namespace kestrune {

namespace {

constexpr UINT kCodePage932 = 932;

// Strict conversion of `bytes` in `code_page` to UTF-16.
std::optional<std::wstring> ToWide(UINT code_page, std::string_view bytes) {
    if (bytes.empty()) {
        return std::wstring();
    }
    const int length = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(),
                                           static_cast<int>(bytes.size()), nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(),
                            static_cast<int>(bytes.size()), wide.data(), length) != length) {
        return std::nullopt;
    }
    return wide;
}

// Strict conversion of UTF-16 to `code_page`. For code page 932 no best-fit
// look-alikes are used, and a character that needed the default character
// makes the whole conversion fail. (UTF-8 takes neither flag nor check.)
std::optional<std::string> FromWide(UINT code_page, const std::wstring& wide) {
    if (wide.empty()) {
        return std::string();
    }
    const bool is_utf8 = code_page == CP_UTF8;
    const DWORD flags = is_utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL used_default = FALSE;
    BOOL* used_default_out = is_utf8 ? nullptr : &used_default;
    const int length =
        WideCharToMultiByte(code_page, flags, wide.data(), static_cast<int>(wide.size()), nullptr,
                            0, nullptr, used_default_out);
    if (length <= 0 || used_default) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(length), '\0');
    if (WideCharToMultiByte(code_page, flags, wide.data(), static_cast<int>(wide.size()),
                            bytes.data(), length, nullptr, used_default_out) != length ||
        used_default) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace

std::optional<std::string> PlatformUtf8ToCp932(std::string_view utf8) {
    const std::optional<std::wstring> wide = ToWide(CP_UTF8, utf8);
    if (!wide) {
        return std::nullopt;
    }
    return FromWide(kCodePage932, *wide);
}

std::optional<std::string> PlatformCp932ToUtf8(std::string_view bytes) {
    const std::optional<std::wstring> wide = ToWide(kCodePage932, bytes);
    if (!wide) {
        return std::nullopt;
    }
    return FromWide(CP_UTF8, *wide);
}

} // namespace kestrune
