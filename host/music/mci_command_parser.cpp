#include "host/music/mci_command_parser.h"

namespace kestrune::mci {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Reads the word that starts at `position` (no blank there) and moves past it.
Error ReadWord(std::string_view text, std::size_t& position, Word& word) {
    if (text[position] == '"') {
        const std::size_t close = text.find('"', position + 1);
        if (close == std::string_view::npos) {
            return kNoClosingQuote;
        }
        if (close + 1 < text.size() && !IsBlank(text[close + 1])) {
            return kExtraCharacters;
        }
        word.text = std::string(text.substr(position + 1, close - position - 1));
        word.quoted = true;
        position = close + 1;
        return kOk;
    }
    const std::size_t start = position;
    while (position < text.size() && !IsBlank(text[position])) {
        // A quote inside a bare word would start a name that swallows the
        // words after it.
        if (text[position] == '"') {
            return kExtraCharacters;
        }
        ++position;
    }
    word.text = std::string(text.substr(start, position - start));
    word.quoted = false;
    return kOk;
}

} // namespace

std::string ToLowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

bool IsKeyword(const Word& word, std::string_view keyword) {
    return !word.quoted && ToLowerAscii(word.text) == keyword;
}

Error ParseCommand(std::string_view text, ParsedCommand& command) {
    std::vector<Word> words;
    std::size_t position = 0;
    while (true) {
        while (position < text.size() && IsBlank(text[position])) {
            ++position;
        }
        if (position >= text.size()) {
            break;
        }
        Word word;
        if (const Error error = ReadWord(text, position, word); error != kOk) {
            return error;
        }
        words.push_back(std::move(word));
    }
    if (words.empty()) {
        return kMissingCommandString;
    }
    if (words.front().quoted) {
        return kUnrecognizedCommand;
    }
    command.verb = ToLowerAscii(words[0].text);
    if (words.size() < 2) {
        return kMissingDeviceName;
    }
    command.device = std::move(words[1]);
    command.parameters.assign(std::make_move_iterator(words.begin() + 2),
                              std::make_move_iterator(words.end()));
    return kOk;
}

bool ParameterReader::Take(std::initializer_list<std::string_view> keywords) {
    if (m_next + keywords.size() > m_parameters.size()) {
        return false;
    }
    std::size_t index = m_next;
    for (const std::string_view keyword : keywords) {
        if (!IsKeyword(m_parameters[index], keyword)) {
            return false;
        }
        ++index;
    }
    m_next = index;
    return true;
}

bool ParameterReader::TakeValue(std::string& value) {
    if (AtEnd()) {
        return false;
    }
    value = m_parameters[m_next].text;
    ++m_next;
    return true;
}

} // namespace kestrune::mci
