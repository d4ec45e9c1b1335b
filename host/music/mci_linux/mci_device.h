#pragma once

#include "host/music/mci_command_parser.h"

#include <string>
#include <vector>

// One open device of the Linux device layer, addressed by its name or alias.
// The words that every device reads alike (the commands, "status mode",
// "status time format", "set time format") are read here once; each device
// supplies what its commands do and the status items of its own.
namespace kestrune::mci {

// What "status NAME mode" answers for a device that has a medium.
enum class PlayState { Stopped, Playing, Paused };
const char* ModeWord(PlayState state);

class MciDevice {
public:
    virtual ~MciDevice() = default;

    // Runs "play", "stop", "pause", "resume", "status" or "set" with its
    // parameters; a reply, if any, goes to `reply`.
    Error Execute(const std::string& verb, const std::vector<Word>& parameters, std::string& reply);

protected:
    // Catches up, before every command, with what changed by itself since
    // the last one: a file that ended, a disc taken out or put in.
    virtual void Refresh() {}

    virtual Error Play(const std::vector<Word>& parameters) = 0;
    virtual void Stop() = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;

    // The answers to "status NAME mode" and "status NAME time format".
    virtual std::string Mode() = 0;
    virtual std::string TimeFormatWord() const = 0;
    // Answers the other status item that `reader` is at, leaving the reader
    // after its words; kUnrecognizedKeyword for an item the device lacks.
    virtual Error StatusItem(ParameterReader& reader, std::string& reply) = 0;
    // Changes to the time format named by `word`; false when the device has
    // no such format.
    virtual bool SetTimeFormat(const std::string& word) = 0;

private:
    Error Status(const std::vector<Word>& parameters, std::string& reply);
    Error Set(const std::vector<Word>& parameters);
};

// Reads a whole unsigned decimal number; false for anything else.
bool ReadUnsigned(const std::string& text, long& value);

} // namespace kestrune::mci
