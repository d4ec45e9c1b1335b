#pragma once

#include "tests/support/temporary_folder.h"

#include <cstdint>
#include <string>
#include <vector>

// Sound files, disc images and audio-output readings for the music tests,
// all made at test time.
namespace kestrune::test {

// A fresh folder under the temporary folder, removed with its files.
using MusicFolder = TempFolder;

// A 16-bit stereo 44.1 kHz WAV file holding a square wave of `amplitude`
// for `milliseconds`.
void WriteToneWav(const std::string& path, int milliseconds, int amplitude);

// The same tone as an MP3 file, encoded with lame. False when lame failed.
bool WriteToneMp3(const std::string& path, int milliseconds, int amplitude);

// A CUE/BIN disc image (`stem`.cue, `stem`.bin): one audio track per entry
// of `trackSectors`, each that many sectors long; track N holds a square
// wave of amplitude 1000 * N, so what is heard tells which track played.
// Returns the path of the cue sheet.
std::string WriteDiscImage(const std::string& folder, const std::string& stem,
                           const std::vector<int>& trackSectors);
inline constexpr int kTrackAmplitudeStep = 1000;

// The left-channel samples that SDL's disk audio driver wrote to `path`.
std::vector<std::int16_t> ReadDiskOutput(const std::string& path);

// The loudest left-channel sample of each `windowMs` slice of the output.
std::vector<int> PeaksPerWindow(const std::vector<std::int16_t>& samples, int windowMs);

// Points SDL at the disk driver (writing to `output`), the dummy driver, or
// a driver that does not exist.
void UseDiskAudio(const std::string& output);
void UseDummyAudio();
void UseNoAudio();

} // namespace kestrune::test
