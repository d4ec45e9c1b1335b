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
#include "host/music/wave_sizes.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
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

// A view of a whole file, released with it. Copy-on-write: what is written
// into it stays private to this process and never reaches the file.
struct ViewRelease {
    void operator()(void* view) const { UnmapViewOfFile(view); }
};
using FileView = std::unique_ptr<void, ViewRelease>;

// The file at `path` mapped into memory, with its size; nothing when it
// cannot be opened as a file. Nothing is read here: the system brings the
// pages in as the player reaches them.
FileView MapFile(const std::wstring& path, std::size_t& size) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    LARGE_INTEGER length{};
    HANDLE mapping = nullptr;
    if (GetFileSizeEx(file, &length) && length.QuadPart > 0 &&
        static_cast<std::uint64_t>(length.QuadPart) <= SIZE_MAX) {
        mapping = CreateFileMappingW(file, nullptr, PAGE_WRITECOPY, 0, 0, nullptr);
    }
    CloseHandle(file);
    if (!mapping) {
        return nullptr;
    }
    // The view keeps the mapping, and the mapping the file.
    FileView view(MapViewOfFile(mapping, FILE_MAP_COPY, 0, 0, 0));
    CloseHandle(mapping);
    size = static_cast<std::size_t>(length.QuadPart);
    return view;
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
            m_sound.reset();
            return stopped;
        }
        const std::optional<std::wstring> wide = Widen(name);
        if (!wide) {
            return false;
        }
        // The sound that plays now goes first, and its file with it.
        PlaySoundW(nullptr, nullptr, 0);
        m_sound.reset();
        // A file is played from memory, mapped rather than read: the
        // system's own file lookup behind PlaySoundW goes through the ANSI
        // code page on some systems (Wine's), which cannot name every file,
        // and reading a large file whole would hold back the renderer's
        // start. Any other name is left to the system, which takes it for a
        // sound alias.
        std::size_t size = 0;
        if (FileView view = MapFile(*wide, size)) {
            // A file cut short would be played past its end.
            FitWaveSizesToFile(static_cast<std::uint8_t*>(view.get()), size);
            m_sound = std::move(view);
            return PlaySoundW(static_cast<LPCWSTR>(m_sound.get()), nullptr, flags | SND_MEMORY) !=
                   FALSE;
        }
        return PlaySoundW(wide->c_str(), nullptr, flags) != FALSE;
    }

private:
    // The file of the sound that plays from memory; it must stay while the
    // sound loops.
    FileView m_sound;
};

} // namespace

MciPlatform& SystemMciPlatform() {
    static Win32MciPlatform platform;
    return platform;
}

} // namespace kestrune
