// Code page 932 conversion through the Win32 conversion calls, by way of
// UTF-16.
#include "host/core/text_codec.h"

#include "common/utf8_win32.h"

namespace kestrune {

namespace {

constexpr unsigned kCodePage932 = 932;

} // namespace

std::optional<std::string> PlatformUtf8ToCp932(std::string_view utf8) {
    const std::optional<std::wstring> wide = Widen(utf8);
    if (!wide) {
        return std::nullopt;
    }
    return CodePageFromWide(*wide, kCodePage932);
}

std::optional<std::string> PlatformCp932ToUtf8(std::string_view bytes) {
    const std::optional<std::wstring> wide = WideFromCodePage(bytes, kCodePage932);
    if (!wide) {
        return std::nullopt;
    }
    return Narrow(*wide);
}

} // namespace kestrune
