#include "common/utf8_win32.h"

#include <windows.h>

namespace kestrune {

std::optional<std::wstring> WideFromCodePage(std::string_view bytes, unsigned codePage) {
    if (bytes.empty()) {
        return std::wstring();
    }
    const int size = static_cast<int>(bytes.size());
    const int length =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(),
                            length) != length) {
        return std::nullopt;
    }
    return wide;
}

std::optional<std::string> CodePageFromWide(std::wstring_view wide, unsigned codePage) {
    if (wide.empty()) {
        return std::string();
    }
    // UTF-8 can hold every valid character and takes neither the best-fit
    // flag nor the default-character report; other code pages must say when
    // they had to put their default character in.
    const bool isUtf8 = codePage == CP_UTF8;
    const DWORD flags = isUtf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = isUtf8 ? nullptr : &usedDefault;
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr,
                                           usedDefaultOut);
    if (length <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(length), '\0');
    if (WideCharToMultiByte(codePage, flags, wide.data(), size, bytes.data(), length, nullptr,
                            usedDefaultOut) != length ||
        usedDefault) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::wstring> Widen(std::string_view utf8) {
    return WideFromCodePage(utf8, CP_UTF8);
}

std::optional<std::string> Narrow(std::wstring_view wide) {
    return CodePageFromWide(wide, CP_UTF8);
}

} // namespace kestrune
