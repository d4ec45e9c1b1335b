#include "host/music/mci_errors.h"

#include <array>

namespace kestrune::mci {

namespace {

struct ErrorEntry {
    Error code;
    std::string_view text;
};

// Every error the Linux device layer gives, with the text the error-string
// call returns for it. Windows supplies its own texts for the same codes.
constexpr std::array kErrorTable = {
    ErrorEntry{kUnrecognizedKeyword, "The command holds a word this device does not understand."},
    ErrorEntry{kUnrecognizedCommand, "The command is not recognized."},
    ErrorEntry{kInvalidDeviceName, "The device is not open or is not known."},
    ErrorEntry{kDeviceOpen, "The device is already open in this program; open it under an alias."},
    ErrorEntry{kCannotLoadDriver,
               "The device cannot be opened: no audio CD drive or disc image was found."},
    ErrorEntry{kMissingCommandString, "No command was given."},
    ErrorEntry{kParamOverflow, "The reply does not fit in the buffer given for it."},
    ErrorEntry{kMissingStringArgument, "A keyword of the command needs a value after it."},
    ErrorEntry{kBadInteger, "A number or a position was expected."},
    ErrorEntry{kMissingParameter, "The command needs a parameter."},
    ErrorEntry{kFileNotFound, "The file cannot be found or cannot be opened."},
    ErrorEntry{kDeviceNotReady, "The device is not ready: there is no audio disc in the drive."},
    ErrorEntry{kCannotUseAll, "The name \"all\" cannot be used with this command."},
    ErrorEntry{kOutOfRange, "The value is out of range for this device or disc."},
    ErrorEntry{kDuplicateAlias, "The alias is already in use in this program."},
    ErrorEntry{kMissingDeviceName, "The command needs a device name."},
    ErrorEntry{kBadTimeFormat, "The time format is not supported by this device."},
    ErrorEntry{kNoClosingQuote, "A quoted name has no closing quote."},
    ErrorEntry{kDuplicateFlags, "A keyword was given twice."},
    ErrorEntry{kInvalidFile, "The file cannot be played: its format is not recognized."},
    ErrorEntry{kExtraCharacters,
               "A quoted name must end at a blank: a name cannot hold a double quote."},
    ErrorEntry{kDeviceNotInstalled, "No device of this type is installed."},
    ErrorEntry{kNoAudioOutput, "No audio output device can be opened."},
};

} // namespace

std::string_view MciErrorText(Error code) {
    for (const ErrorEntry& entry : kErrorTable) {
        if (entry.code == code) {
            return entry.text;
        }
    }
    return {};
}

} // namespace kestrune::mci
