#pragma once

#include "host/music/mci_errors.h"
#include "host/music/mci_linux/audio_output_sdl.h"
#include "host/music/mci_linux/mci_device.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The media control layer on Linux: it takes the command strings the host
// sends and answers them as the system's MCI does, with its devices over
// SDL_mixer (music files) and libcdio (audio CD).
//
// Commands: open ELEMENT [type TYPE] [alias NAME] [shareable] [wait];
// close NAME | all; play NAME [from POS] [to POS] (a music file: from only);
// stop, pause, resume NAME; status NAME mode | position | length |
// time format, and for the CD also current track | number of tracks |
// position track N | length track N | media present | ready;
// set NAME time format tmsf | msf | milliseconds | ms.
// Keywords and names are matched without regard to case. Nothing is opened
// by itself: a command to a name that is not open fails.
namespace kestrune::mci {

// Names the drive or CUE/BIN image "open cdaudio" uses (default drive when
// unset).
inline constexpr char kCdAudioDeviceVariable[] = "KESTRUNE_CDAUDIO_DEVICE";

class MciDeviceLayer {
public:
    explicit MciDeviceLayer(AudioOutput& output) : m_output(output) {}
    ~MciDeviceLayer();
    MciDeviceLayer(const MciDeviceLayer&) = delete;
    MciDeviceLayer& operator=(const MciDeviceLayer&) = delete;

    // Runs one command; `reply` receives the answer when it succeeds.
    Error Send(std::string_view command, std::string& reply);

private:
    using NamedDevice = std::pair<std::string, std::unique_ptr<MciDevice>>;

    Error Open(const ParsedCommand& command);
    std::vector<NamedDevice>::iterator Find(const std::string& name);

    AudioOutput& m_output;
    std::vector<NamedDevice> m_devices; // by lower-case name, in the order opened
};

} // namespace kestrune::mci
