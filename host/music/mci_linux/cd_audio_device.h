#pragma once

#include "host/music/cd_positions.h"
#include "host/music/mci_linux/audio_output_sdl.h"
#include "host/music/mci_linux/cd_disc_cdio.h"
#include "host/music/mci_linux/cd_player.h"
#include "host/music/mci_linux/mci_device.h"

#include <memory>
#include <string>

// The CD audio device ("cdaudio"): track and position queries on the disc,
// and play from and to a position, in the time format set on it (MSF until
// one is set, as the system's device starts). Without a disc the device
// answers as the system's does: its mode is "not ready" and the other
// queries and play fail with kDeviceNotReady.
namespace kestrune::mci {

class CdAudioDevice final : public MciDevice {
public:
    // Opens the drive or image named by `source` (empty: the default drive).
    // kCannotLoadDriver when there is none. A drive without a disc opens;
    // its queries then answer "not ready".
    static Error Open(AudioOutput& output, const std::string& source,
                      std::unique_ptr<MciDevice>& device);

    CdAudioDevice(AudioOutput& output, std::shared_ptr<CdDisc> disc);
    ~CdAudioDevice() override;

private:
    // Follows the disc: one taken out leaves the device not ready, and
    // another one put in is a new table of contents, stopped at its start.
    void Refresh() override;
    Error Play(const std::vector<Word>& parameters) override;
    void Stop() override;
    void Pause() override;
    void Resume() override;
    std::string Mode() override;
    std::string TimeFormatWord() const override;
    Error StatusItem(ParameterReader& reader, std::string& reply) override;
    bool SetTimeFormat(const std::string& word) override;

    // Reads a track number word: kBadInteger or kOutOfRange when it is none.
    Error ReadTrack(ParameterReader& reader, std::size_t& index);

    AudioOutput& m_output;
    // Shared with the player's reader, which may finish a slow read after
    // the device is closed.
    std::shared_ptr<CdDisc> m_disc;
    CdPlayer m_player;
    CdTimeFormat m_format = CdTimeFormat::Msf;
    bool m_holdsOutput = false;
};

} // namespace kestrune::mci
