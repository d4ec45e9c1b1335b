#pragma once

#include <cstddef>
#include <cstdint>

// The four sound services the music module needs from the platform, by the
// names Windows gives them. Strings are UTF-8 bytes on every platform; the
// Windows implementation converts at its edge.
namespace kestrune {

class MciPlatform {
public:
    virtual ~MciPlatform() = default;

    // mciSendStringA: runs one command string. When `reply` is not null and
    // `replyLength` is not 0, the device's answer is written there,
    // NUL-terminated; a failed command leaves the buffer as it was. Returns 0
    // or an MCI error code.
    virtual std::uint32_t SendString(const char* command, char* reply, std::size_t replyLength) = 0;

    // mciGetErrorStringA: writes the text of `code` into `buffer`,
    // NUL-terminated. Returns whether a text was given.
    virtual bool GetErrorString(std::uint32_t code, char* buffer, std::size_t length) = 0;

    // waveOutGetNumDevs: the number of audio output devices.
    virtual std::uint32_t WaveOutDeviceCount() = 0;

    // PlaySoundA with no module: `name` null stops the sound that plays.
    // (Not called PlaySound: Windows headers make that name a macro.)
    virtual bool PlayWaveSound(const char* name, std::uint32_t flags) = 0;
};

// PlaySoundA's flags as the host uses them.
inline constexpr std::uint32_t kSoundSync = 0x0000;
inline constexpr std::uint32_t kSoundAsync = 0x0001;
inline constexpr std::uint32_t kSoundNoDefault = 0x0002;
inline constexpr std::uint32_t kSoundLoop = 0x0008;

// The platform's own implementation, alive for the whole process.
MciPlatform& SystemMciPlatform();

} // namespace kestrune
