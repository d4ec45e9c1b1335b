#pragma once

#include "host/music/mci_errors.h"

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Splits an MCI command string into its words: the command, the device (or
// file) it addresses, and the parameters. Keywords are matched without
// regard to case, as the system's MCI does; a quoted word is never a keyword.
namespace kestrune::mci {

struct Word {
    std::string text; // without its quotes
    bool quoted = false;
};

struct ParsedCommand {
    std::string verb; // lower case
    Word device;
    std::vector<Word> parameters;
};

// Blanks (spaces and tabs) separate words; a word that starts with a double
// quote runs to the next double quote and must end at a blank or at the end
// of the string. Fails with kMissingCommandString for an empty string,
// kMissingDeviceName when nothing follows the command (the verb is set, so
// the caller can tell an unknown command first), kNoClosingQuote or
// kExtraCharacters for broken quoting.
Error ParseCommand(std::string_view text, ParsedCommand& command);

std::string ToLowerAscii(std::string_view text);

// Case-insensitive comparison of an unquoted word with a keyword.
bool IsKeyword(const Word& word, std::string_view keyword);

// Walks the parameters of a command from the left.
class ParameterReader {
public:
    explicit ParameterReader(const std::vector<Word>& parameters) : m_parameters(parameters) {}

    bool AtEnd() const { return m_next >= m_parameters.size(); }

    // Takes the keywords when the next words are exactly they, in order.
    bool Take(std::initializer_list<std::string_view> keywords);

    // Takes the next word, whatever it is; false at the end.
    bool TakeValue(std::string& value);

private:
    const std::vector<Word>& m_parameters;
    std::size_t m_next = 0;
};

} // namespace kestrune::mci
