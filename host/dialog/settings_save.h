#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Saving the dialog's choice to the settings file, and the checks that keep
// a choice from being lost on the way.
namespace kestrune {

enum class SaveResult {
    Saved,
    Unrepresentable, // code page 932 cannot hold the music file's path
    FileError,       // the settings file could not be read or replaced
};

// Writes "BGM区分", "BGMﾘﾋﾟｰﾄ" and "BGMﾌｧｲﾙ" into the section "Section" of
// `settingsFile`, in that order and in one replacement of the file: the two
// numbers as number text, the music file as a file value (FileValueText).
// Unless the result is Saved, the file is exactly as it was.
SaveResult SaveSettings(const std::string& settingsFile, std::int16_t kind, std::int16_t repeat,
                        const std::string& musicFile);

// The text a music file's path is stored as. The settings file trims blanks
// around a value and drops one pair of quotes enclosing it, so a path that
// begins or ends with a blank is written inside double quotes to come back
// whole; every other path is written as it is.
std::string FileValueText(const std::string& path);

// The message that tells the user that nothing was saved, why, and where.
std::string SaveFailureMessage(SaveResult result, const std::string& musicFile,
                               const std::string& settingsFile);

// The longest path, in bytes of code page 932, that the settings file keeps:
// reading stops after 255 bytes.
inline constexpr std::size_t kLongestStoredPath = 255;

// Why a path chosen as the music file cannot be kept, as a message for the
// user, or nothing when it can. A path longer than the settings file keeps
// would come back cut and be dropped by the next load.
std::optional<std::string> RefusedPathMessage(const std::string& path);

} // namespace kestrune
