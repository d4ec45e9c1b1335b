#include "tests/host/music/music_fixtures.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace kestrune::test {

namespace {

constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr int kSectorFrames = 588; // 2352 bytes of CD audio
constexpr int kSquarePeriodFrames = 100;
constexpr int kSectorsPerSecond = 75;

void PutLe16(std::string& out, int value) {
    const auto bits = static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
    out.push_back(static_cast<char>(bits & 0xFF));
    out.push_back(static_cast<char>(bits >> 8));
}

void PutLe32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

void AppendSquare(std::string& out, int frames, int amplitude) {
    for (int i = 0; i < frames; ++i) {
        const int value = (i / (kSquarePeriodFrames / 2)) % 2 == 0 ? amplitude : -amplitude;
        for (int channel = 0; channel < kChannels; ++channel) {
            PutLe16(out, value);
        }
    }
}

std::string Msf(int sectors) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", sectors / kSectorsPerSecond / 60,
                  sectors / kSectorsPerSecond % 60, sectors % kSectorsPerSecond);
    return text;
}

} // namespace

void WriteToneWav(const std::string& path, int milliseconds, int amplitude) {
    std::string samples;
    AppendSquare(samples, kRate * milliseconds / 1000, amplitude);
    std::string file = "RIFF";
    PutLe32(file, static_cast<std::uint32_t>(36 + samples.size()));
    file += "WAVEfmt ";
    PutLe32(file, 16);
    PutLe16(file, 1); // PCM
    PutLe16(file, kChannels);
    PutLe32(file, kRate);
    PutLe32(file, kRate * kChannels * 2);
    PutLe16(file, kChannels * 2);
    PutLe16(file, 16);
    file += "data";
    PutLe32(file, static_cast<std::uint32_t>(samples.size()));
    file += samples;
    WriteBytes(path, file);
}

bool WriteToneMp3(const std::string& path, int milliseconds, int amplitude) {
    const std::string wav = path + ".wav";
    WriteToneWav(wav, milliseconds, amplitude);
    const std::string command = "lame --quiet '" + wav + "' '" + path + "'";
    const bool ok = std::system(command.c_str()) == 0;
    std::filesystem::remove(wav);
    return ok && std::filesystem::exists(path);
}

std::string WriteDiscImage(const std::string& folder, const std::string& stem,
                           const std::vector<int>& trackSectors) {
    std::string bin;
    std::string cue = "FILE \"" + stem + ".bin\" BINARY\r\n";
    int start = 0;
    for (std::size_t i = 0; i < trackSectors.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        AppendSquare(bin, trackSectors[i] * kSectorFrames, kTrackAmplitudeStep * number);
        char track[64];
        std::snprintf(track, sizeof track, "  TRACK %02d AUDIO\r\n    INDEX 01 %s\r\n", number,
                      Msf(start).c_str());
        cue += track;
        start += trackSectors[i];
    }
    WriteBytes(folder + "/" + stem + ".bin", bin);
    WriteBytes(folder + "/" + stem + ".cue", cue);
    return folder + "/" + stem + ".cue";
}

std::vector<std::int16_t> ReadDiskOutput(const std::string& path) {
    const std::string bytes = ReadBytes(path);
    std::vector<std::int16_t> left;
    for (std::size_t i = 0; i + 3 < bytes.size(); i += 4) {
        const auto low = static_cast<std::uint8_t>(bytes[i]);
        const auto high = static_cast<std::uint8_t>(bytes[i + 1]);
        left.push_back(static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8))));
    }
    return left;
}

std::vector<int> PeaksPerWindow(const std::vector<std::int16_t>& samples, int windowMs) {
    const std::size_t window = static_cast<std::size_t>(kRate * windowMs / 1000);
    std::vector<int> peaks;
    for (std::size_t start = 0; start < samples.size(); start += window) {
        int peak = 0;
        for (std::size_t i = start; i < std::min(samples.size(), start + window); ++i) {
            peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
        }
        peaks.push_back(peak);
    }
    return peaks;
}

void UseDiskAudio(const std::string& output) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
}

void UseDummyAudio() {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

void UseNoAudio() {
    setenv("SDL_AUDIODRIVER", "kestrune-no-such-driver", 1);
}

} // namespace kestrune::test
