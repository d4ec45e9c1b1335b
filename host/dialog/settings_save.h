#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Saving the dialog's choice to the settings file, and the checks that keep
// a choice from being lost on the way.
namespace kestrune {

// One setting that could not be written, and why.
struct SaveFailure {
    std::string key;
    std::string value;
    bool unrepresentable = false; // code page 932 cannot hold the value
};

// Writes "BGM区分", "BGMﾘﾋﾟｰﾄ" and "BGMﾌｧｲﾙ" into the section "Section" of
// `settingsFile`, in that order, each as its own write: the two numbers as
// number text, the music file as a file value (FileValueText). Returns the
// settings that could not be written; those keys keep what the file had.
std::vector<SaveFailure> SaveSettings(const std::string& settingsFile, std::int16_t kind,
                                      std::int16_t repeat, const std::string& musicFile);

// The text a music file's path is stored as. The settings file trims blanks
// around a value and drops one pair of quotes enclosing it, so a path that
// begins or ends with a blank is written inside double quotes to come back
// whole; every other path is written as it is.
std::string FileValueText(const std::string& path);

// The message that tells the user which settings were not saved, and where.
std::string SaveFailureMessage(const std::vector<SaveFailure>& failures,
                               const std::string& settingsFile);

// The longest path, in bytes of code page 932, that the settings file keeps:
// reading stops after 255 bytes.
inline constexpr std::size_t kLongestStoredPath = 255;

// Why a path chosen as the music file cannot be kept, as a message for the
// user, or nothing when it can. A path longer than the settings file keeps
// would come back cut and be dropped by the next load.
std::optional<std::string> RefusedPathMessage(const std::string& path);

} // namespace kestrune
