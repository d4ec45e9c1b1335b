#pragma once

#include "host/core/ini_file.h"

#include <cstdint>
#include <span>
#include <string>

// The host's start-up module: the settings in memory for the life of the
// process, the settings file they come from, and the small file and path
// routines around it.
namespace kestrune {

// Music choice: 1 audio CD, 2 music file (MP3 or WAV); any other value none.
extern std::int16_t BgmKind;
// Audio CD track to repeat; 0 lets the disc play on.
extern std::int16_t BgmRepeat;
// The music file, empty or a path that could be opened when it was loaded.
extern std::string BgmFile;
// Folder of BgmFile, or the program folder when BgmFile is empty.
extern std::string BgmFolder;

// The cursor display count that hiding the cursor for a screensaver run
// returned; the run's end gives it back. Set only in run mode with /s.
extern int CursorCount;

// The settings file, its one section and its three keys (UTF-8 here; the file
// holds them in code page 932).
inline constexpr const char* kSettingsFileName = "Kestrune.ini";
inline constexpr const char* kSettingsSection = "Section";
inline constexpr const char* kBgmKindKey = "BGM区分";
inline constexpr const char* kBgmRepeatKey = "BGMﾘﾋﾟｰﾄ";
inline constexpr const char* kBgmFileKey = "BGMﾌｧｲﾙ";

// The value of `key` in `section` of the settings file at `filePath`: at
// most 255 characters (bytes of code page 932), empty when the file, the
// section or the key is missing.
std::string ReadIniValue(const std::string& section, const std::string& key,
                         const std::string& filePath);

// Sets `key` in `section` of the settings file at `filePath`, creating the
// file, section and key as needed (and, for the per-user settings file on
// Linux, its folder: settings_location.h). Returns whether the value was
// written; a value that code page 932 cannot hold (many Linux file names) is
// not written, and the file is left as it was, so the caller can tell the
// user instead of losing the choice silently.
bool WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& filePath);

// WriteIniValue for several keys of one section, in the given order, in one
// replacement of the file: either every key is written, or the file is left
// exactly as it was and false is returned. A choice saved half (the new music
// kind with the old file) is never left behind.
bool WriteIniValues(const std::string& section, std::span<const IniEntry> values,
                    const std::string& filePath);

// Fills the four settings variables from the settings file
// (SettingsFilePath).
void LoadSettings();

// LoadSettings for a given settings file and program folder: what
// LoadSettings does, where the tests can point it.
void LoadSettingsFrom(const std::string& settingsFile, const std::string& programFolder);

// Whether `path` (without one trailing separator) is a file that can be
// opened for reading: folders, an empty path and unreadable or special files
// give false.
bool FileExists(const std::string& path);

// The folder part of `path` by the platform's rules (path_rules.h).
std::string FolderOfPath(const std::string& path);

// The folder of the running program, without a trailing separator (except a
// root's own).
std::string ProgramFolder();
// The renderer program, Kestrune.dll in the program folder; empty when the
// system cannot tell where the running program lies. Never one in the working
// folder, which may be anyone's: a program found there is not ours to start.
std::string RendererProgramPath();
// The same for a running program at `programPath`.
std::string RendererProgramPathOf(const std::string& programPath);
// The settings file: Kestrune.ini in the program folder; on Linux, when that
// file does not exist and the folder is not writable (an installed host),
// Kestrune.ini in the user's settings folder instead (settings_location.h).
std::string SettingsFilePath();

// The folder of the program at `programPath`, or the working folder when that
// path names no folder (the system could not tell where the program lies):
// never the root folder by accident.
std::string ProgramFolderOf(const std::string& programPath);

} // namespace kestrune
