#include "host/core/Kestrune_B.h"

#include "common/kestrune_names.h"
#include "host/core/file_access.h"
#include "host/core/ini_file.h"
#include "host/core/numeric_text.h"
#include "host/core/path_rules.h"
#include "host/core/program_path.h"
#include "host/core/settings_location.h"

#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

namespace kestrune {

std::int16_t BgmKind = 0;
std::int16_t BgmRepeat = 0;
std::string BgmFile;
std::string BgmFolder;
int CursorCount = 0;

namespace {

// ReadIniValue reads into a 256-character buffer whose last place holds the
// terminating NUL.
constexpr std::size_t kValueBufferSize = 256;
// WriteIniValue holds section and key in 128-character fields, NUL-terminated.
constexpr std::size_t kNameFieldSize = 128;

// The first `count` characters (code points) of UTF-8 text.
std::string FirstCharacters(std::string_view text, std::size_t count) {
    std::size_t at = 0;
    for (std::size_t n = 0; n < count && at < text.size(); ++n) {
        ++at;
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) {
            ++at;
        }
    }
    return std::string(text.substr(0, at));
}

// A setting read as a number: the text rounded down to an integer, or 0 when
// it is empty, no number, or outside the 16-bit range.
std::int16_t SettingNumber(const std::string& text) {
    if (text.empty()) {
        return 0;
    }
    const std::optional<double> number = ParseNumericText(text);
    if (!number) {
        return 0;
    }
    const double whole = std::floor(*number);
    if (!(whole >= -32768.0 && whole <= 32767.0)) {
        return 0;
    }
    return static_cast<std::int16_t>(whole);
}

} // namespace

std::string ReadIniValue(const std::string& section, const std::string& key,
                         const std::string& filePath) {
    std::string value = ReadIniString(filePath, section, key, kValueBufferSize - 1);
    // The buffer's text ends at its first NUL.
    if (const std::size_t nul = value.find('\0'); nul != std::string::npos) {
        value.resize(nul);
    }
    return value;
}

bool WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& filePath) {
    const IniEntry one{key, value};
    return WriteIniValues(section, std::span(&one, 1), filePath);
}

bool WriteIniValues(const std::string& section, std::span<const IniEntry> values,
                    const std::string& filePath) {
    // The per-user settings folder is made by the first save, not before:
    // a user who never saves leaves no trace.
    PrepareSettingsFolder(filePath);
    std::vector<std::string> keys;
    std::vector<IniEntry> entries;
    keys.reserve(values.size());
    for (const IniEntry& one : values) {
        keys.push_back(FirstCharacters(one.key, kNameFieldSize - 1));
        entries.push_back(IniEntry{keys.back(), one.value});
    }
    return WriteIniStrings(filePath, FirstCharacters(section, kNameFieldSize - 1), entries) ==
           IniWriteResult::Written;
}

void LoadSettings() {
    LoadSettingsFrom(SettingsFilePath(), ProgramFolder());
}

void LoadSettingsFrom(const std::string& settingsFile, const std::string& programFolder) {
    // Each load starts from the values a fresh process has, so that a step
    // that fails leaves 0 or empty behind.
    BgmKind = 0;
    BgmRepeat = 0;
    BgmFile.clear();
    BgmFolder.clear();

    BgmKind = SettingNumber(ReadIniValue(kSettingsSection, kBgmKindKey, settingsFile));
    BgmRepeat = SettingNumber(ReadIniValue(kSettingsSection, kBgmRepeatKey, settingsFile));

    BgmFile = ReadIniValue(kSettingsSection, kBgmFileKey, settingsFile);
    if (!BgmFile.empty() && !FileExists(BgmFile)) {
        BgmFile.clear();
    }
    // Without a file there is no file music to play.
    if (BgmFile.empty() && BgmKind == 2) {
        BgmKind = 0;
    }

    BgmFolder = BgmFile.empty() ? programFolder : FolderOfPath(BgmFile);
}

bool FileExists(const std::string& path) {
    return IsReadableRegularFile(std::string(WithoutTrailingPlatformSeparator(path)));
}

std::string FolderOfPath(const std::string& path) {
    return FolderOfPlatformPath(path);
}

std::string ProgramFolder() {
    return ProgramFolderOf(RunningProgramPath());
}

std::string RendererProgramPath() {
    return RendererProgramPathOf(RunningProgramPath());
}

std::string RendererProgramPathOf(const std::string& programPath) {
    const std::string folder = FolderOfPath(programPath);
    return folder.empty() ? std::string() : JoinPlatformPath(folder, kRendererProgramName);
}

std::string ProgramFolderOf(const std::string& programPath) {
    // A program whose own path the system cannot tell (no /proc, say) keeps
    // its settings in the working folder. The folder of an empty path is
    // empty, and the settings file would become one in the root folder. When
    // even the working folder cannot be named (it was removed), "." still
    // means it and never the root.
    if (std::string folder = FolderOfPath(programPath); !folder.empty()) {
        return folder;
    }
    std::string working = WorkingFolder();
    return working.empty() ? std::string(".") : working;
}

std::string SettingsFilePath() {
    // Beside the host, or on Linux in the user's settings folder when the
    // host's folder is not the user's to write (settings_location.h).
    return SettingsFileOf(ProgramFolder());
}

} // namespace kestrune
