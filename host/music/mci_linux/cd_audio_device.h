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
// one is set, as the system's device starts).
namespace kestrune::mci {

class CdAudioDevice final : public MciDevice {
public:
    // Opens the drive or image named by `source` (empty: the default drive).
    // kCannotLoadDriver when there is none. A drive without a disc opens;
    // its queries then answer "not ready".
    static Error Open(AudioOutput& output, const std::string& source,
                      std::unique_ptr<MciDevice>& device);

    CdAudioDevice(AudioOutput& output, std::unique_ptr<CdDisc> disc);
    ~CdAudioDevice() override;

    Error Execute(const std::string& verb, const std::vector<Word>& parameters,
                  std::string& reply) override;

private:
    Error Play(const std::vector<Word>& parameters);
    Error Status(const std::vector<Word>& parameters, std::string& reply);
    Error Set(const std::vector<Word>& parameters);
    // Reads a track number word: kBadInteger or kOutOfRange when it is none.
    Error ReadTrack(ParameterReader& reader, std::size_t& index);

    AudioOutput& m_output;
    std::unique_ptr<CdDisc> m_disc;
    CdPlayer m_player;
    CdTimeFormat m_format = CdTimeFormat::Msf;
    bool m_holds_output = false;
};

} // namespace kestrune::mci
