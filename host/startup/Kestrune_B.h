#pragma once

#include <cstdint>
#include <string>

// The host's start-up module: the settings in memory for the life of the
// process. They start as 0 or empty and are filled by LoadSettings.
namespace kestrune {

// Music choice: 1 audio CD, 2 music file (MP3 or WAV); any other value none.
extern std::int16_t BgmKind;
// Audio CD track to repeat; 0 lets the disc play on.
extern std::int16_t BgmRepeat;
// The music file, empty or a path that could be opened when it was loaded.
extern std::string BgmFile;
// Folder of BgmFile, or the program folder when BgmFile is empty.
extern std::string BgmFolder;

} // namespace kestrune
