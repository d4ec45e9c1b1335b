// The sound services of the music module on Windows: the system's media
// control interface and sound player. The host keeps its strings in UTF-8;
// the ANSI calls take the system's code page, so names and replies are
// converted here, and a name that code page cannot hold is refused rather
// than sent with stand-in characters (which could name another file).

#include "host/music/mci_errors.h"
#include "host/music/mci_platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace kestrune {

namespace {

std::optional<std::wstring> Utf16FromCodePage(const char* text, UINT codePage, DWORD flags) {
    const int length = MultiByteToWideChar(codePage, flags, text, -1, nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (MultiByteToWideChar(codePage, flags, text, -1, wide.data(), length) != length) {
        return std::nullopt;
    }
    wide.resize(static_cast<std::size_t>(length - 1));
    return wide;
}

// UTF-8 to the ANSI code page; nothing when a character has no exact form.
std::optional<std::string> AnsiFromUtf8(const char* text) {
    const std::optional<std::wstring> wide = Utf16FromCodePage(text, CP_UTF8, MB_ERR_INVALID_CHARS);
    if (!wide) {
        return std::nullopt;
    }
    if (wide->empty()) {
        return std::string();
    }
    BOOL usedDefault = FALSE;
    const int size = static_cast<int>(wide->size());
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide->data(), size,
                                           nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide->data(), size, ansi.data(), length,
                        nullptr, &usedDefault);
    if (usedDefault) {
        return std::nullopt;
    }
    return ansi;
}

std::string Utf8FromAnsi(const char* text) {
    const std::optional<std::wstring> wide = Utf16FromCodePage(text, CP_ACP, 0);
    if (!wide || wide->empty()) {
        return std::string();
    }
    const int size = static_cast<int>(wide->size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide->data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return std::string();
    }
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide->data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

// The longest start of `text` that fits in `length` - 1 bytes without
// splitting a UTF-8 character.
std::size_t FittingLength(const std::string& text, std::size_t length) {
    std::size_t count = std::min(text.size(), length - 1);
    while (count > 0 && count < text.size() &&
           (static_cast<unsigned char>(text[count]) & 0xC0) == 0x80) {
        --count;
    }
    return count;
}

class Win32MciPlatform final : public MciPlatform {
public:
    std::uint32_t SendString(const char* command, char* reply, std::size_t replyLength) override {
        const std::optional<std::string> ansi = AnsiFromUtf8(command ? command : "");
        if (!ansi) {
            // Only a file name can hold such characters: the file cannot be
            // named to the system.
            return mci::kFileNotFound;
        }
        if (!reply || replyLength == 0) {
            return mciSendStringA(ansi->c_str(), nullptr, 0, nullptr);
        }
        std::vector<char> answer(replyLength, '\0');
        const MCIERROR error =
            mciSendStringA(ansi->c_str(), answer.data(), static_cast<UINT>(answer.size()), nullptr);
        if (error != 0) {
            return error;
        }
        answer.back() = '\0';
        const std::string utf8 = Utf8FromAnsi(answer.data());
        if (utf8.size() >= replyLength) {
            return mci::kParamOverflow;
        }
        std::memcpy(reply, utf8.c_str(), utf8.size() + 1);
        return 0;
    }

    bool GetErrorString(std::uint32_t code, char* buffer, std::size_t length) override {
        if (!buffer || length == 0) {
            return false;
        }
        std::vector<char> text(length, '\0');
        if (!mciGetErrorStringA(code, text.data(), static_cast<UINT>(text.size()))) {
            return false;
        }
        text.back() = '\0';
        const std::string utf8 = Utf8FromAnsi(text.data());
        const std::size_t count = FittingLength(utf8, length);
        std::memcpy(buffer, utf8.data(), count);
        buffer[count] = '\0';
        return true;
    }

    std::uint32_t WaveOutDeviceCount() override { return waveOutGetNumDevs(); }

    bool PlayWaveSound(const char* name, std::uint32_t flags) override {
        if (!name) {
            return PlaySoundA(nullptr, nullptr, flags) != FALSE;
        }
        const std::optional<std::string> ansi = AnsiFromUtf8(name);
        if (!ansi) {
            return false;
        }
        return PlaySoundA(ansi->c_str(), nullptr, flags) != FALSE;
    }
};

} // namespace

MciPlatform& SystemMciPlatform() {
    static Win32MciPlatform platform;
    return platform;
}

} // namespace kestrune
