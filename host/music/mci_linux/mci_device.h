#pragma once

#include "host/music/mci_command_parser.h"

#include <string>
#include <vector>

// One open device of the Linux device layer, addressed by its name or alias.
namespace kestrune::mci {

class MciDevice {
public:
    virtual ~MciDevice() = default;

    // Runs "play", "stop", "pause", "resume", "status" or "set" with its
    // parameters; a reply, if any, goes to `reply`.
    virtual Error Execute(const std::string& verb, const std::vector<Word>& parameters,
                          std::string& reply) = 0;
};

// Reads a whole unsigned decimal number; false for anything else.
bool ReadUnsigned(const std::string& text, long& value);

} // namespace kestrune::mci
