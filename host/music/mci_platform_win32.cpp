// The sound services of the music module on Windows: the system's media
// control interface and sound player. The host keeps its strings in UTF-8;
// they go to the system through the wide-character calls (mciSendStringW,
// mciGetErrorStringW, PlaySoundW where the module was written against the
// ANSI ones), so that a music file whose name holds Japanese characters
// plays on a Windows of any system locale. The command strings themselves
// are the same texts, only in UTF-16.

#include "host/music/mci_errors.h"
#include "host/music/mci_platform.h"

#include "common/utf8_win32.h"
#include "host/core/file_access.h"

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

std::string Utf8FromWide(const wchar_t* text) {
    return Narrow(text).value_or(std::string());
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
        const std::optional<std::wstring> wide = Widen(command ? command : "");
        if (!wide) {
            // Only a file name can hold bytes that are no UTF-8: the file
            // cannot be named to the system.
            return mci::kFileNotFound;
        }
        if (!reply || replyLength == 0) {
            return mciSendStringW(wide->c_str(), nullptr, 0, nullptr);
        }
        // The reply buffer's length counts characters; every character of a
        // reply that fits in the caller's bytes fits in as many UTF-16 units.
        std::vector<wchar_t> answer(replyLength, L'\0');
        const MCIERROR error =
            mciSendStringW(wide->c_str(), answer.data(), static_cast<UINT>(answer.size()), nullptr);
        if (error != 0) {
            return error;
        }
        answer.back() = L'\0';
        const std::string utf8 = Utf8FromWide(answer.data());
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
        std::vector<wchar_t> text(length, L'\0');
        if (!mciGetErrorStringW(code, text.data(), static_cast<UINT>(text.size()))) {
            return false;
        }
        text.back() = L'\0';
        const std::string utf8 = Utf8FromWide(text.data());
        const std::size_t count = FittingLength(utf8, length);
        std::memcpy(buffer, utf8.data(), count);
        buffer[count] = '\0';
        return true;
    }

    std::uint32_t WaveOutDeviceCount() override { return waveOutGetNumDevs(); }

    bool PlayWaveSound(const char* name, std::uint32_t flags) override {
        if (!name) {
            const bool stopped = PlaySoundW(nullptr, nullptr, flags) != FALSE;
            m_sound.clear();
            return stopped;
        }
        const std::optional<std::wstring> wide = Widen(name);
        if (!wide) {
            return false;
        }
        // The sound that plays now goes first, and its bytes with it.
        PlaySoundW(nullptr, nullptr, 0);
        m_sound.clear();
        // A file is read here and played from memory: the system's own file
        // lookup behind PlaySoundW goes through the ANSI code page on some
        // systems (Wine's), which cannot name every file. Any other name is
        // left to the system, which takes it for a sound alias.
        if (ReadWholeFile(name, m_sound) == FileReadStatus::Read) {
            return PlaySoundW(reinterpret_cast<LPCWSTR>(m_sound.data()), nullptr,
                              flags | SND_MEMORY) != FALSE;
        }
        m_sound.clear();
        return PlaySoundW(wide->c_str(), nullptr, flags) != FALSE;
    }

private:
    // The bytes of the sound that plays from memory; they must stay while it
    // loops.
    std::string m_sound;
};

} // namespace

MciPlatform& SystemMciPlatform() {
    static Win32MciPlatform platform;
    return platform;
}

} // namespace kestrune
