// The sound services of the music module on Linux: the project's own media
// control layer and simple sound player, over SDL_mixer and libcdio.

#include "host/music/mci_errors.h"
#include "host/music/mci_linux/audio_output_sdl.h"
#include "host/music/mci_linux/mci_device_layer.h"
#include "host/music/mci_linux/wave_player_sdl.h"
#include "host/music/mci_platform.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace kestrune {

namespace {

class LinuxMciPlatform final : public MciPlatform {
public:
    std::uint32_t SendString(const char* command, char* reply, std::size_t replyLength) override {
        std::string answer;
        const mci::Error error = m_layer.Send(command ? command : "", answer);
        if (error != mci::kOk) {
            return error;
        }
        if (reply && replyLength > 0) {
            // As the system's MCI: an answer that does not fit is an error,
            // never a cut answer that could be read as another.
            if (answer.size() >= replyLength) {
                return mci::kParamOverflow;
            }
            std::memcpy(reply, answer.c_str(), answer.size() + 1);
        }
        return mci::kOk;
    }

    bool GetErrorString(std::uint32_t code, char* buffer, std::size_t length) override {
        const std::string_view text = mci::MciErrorText(code);
        if (text.empty() || !buffer || length == 0) {
            return false;
        }
        const std::size_t count = std::min(text.size(), length - 1);
        std::memcpy(buffer, text.data(), count);
        buffer[count] = '\0';
        return true;
    }

    std::uint32_t WaveOutDeviceCount() override { return m_output.DeviceCount(); }

    bool PlayWaveSound(const char* name, std::uint32_t flags) override {
        return m_wave.Play(name, flags);
    }

private:
    // Declared in this order so the devices go before the output they use.
    mci::AudioOutput m_output;
    mci::WavePlayer m_wave{m_output};
    mci::MciDeviceLayer m_layer{m_output};
};

} // namespace

MciPlatform& SystemMciPlatform() {
    static LinuxMciPlatform platform;
    return platform;
}

} // namespace kestrune
