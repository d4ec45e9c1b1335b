// The rules below follow what the Windows profile calls
// (GetPrivateProfileStringA, WritePrivateProfileStringA) are documented and
// observed to do with a file in the ANSI code page:
//
// Lines
// - A line ends at CR LF, LF or a lone CR. Line breaks are kept as they are;
//   every line this code writes ends in CR LF.
// - Blanks are space, tab and vertical tab. They are skipped at the start of
//   every line and trimmed around section names, keys and values.
// - A line whose first non-blank character is ";" is a comment, also when
//   the semicolon is indented. A semicolon anywhere else is an ordinary
//   character: there are no comments at the end of a line.
// - A line whose first non-blank character is "[" starts a section. Its name
//   runs to the first "]" (or to the end of the line when there is none);
//   whatever follows the "]" is ignored.
// - Every other non-blank line is an entry: the key up to the first "=", the
//   value after it. A line without "=" is a key with an empty value: it reads
//   as empty and a write replaces it.
// - Entries before the first section belong to no section and are never
//   found.
//
// Double-byte characters
// - Windows converts the file to UTF-16 before it parses it, so a trail byte
//   that happens to equal "[" or "]" (0x5B, 0x5D) or "\" is part of its
//   character and never structure. The parser here walks characters, not
//   bytes, wherever that matters (a line break, blank, "=", ";" or quote is
//   below 0x40 and can never be a trail byte).
// - Names are compared as characters, without regard to case
//   (unicode_case.h).
//
// Reading
// - Names asked for have their leading and trailing spaces (only spaces)
//   removed, as the profile calls do with their arguments.
// - When a section appears twice, only the first one counts; when a key
//   appears twice in it, only the first one counts. Writes change that same
//   first occurrence.
// - A value enclosed in a matching pair of double or single quotes loses
//   that one outer pair; blanks inside the quotes stay. Quotes that do not
//   match ("a' or 'a) are kept.
//
// Writing
// - An existing key keeps its spelling in the file (its case); its line is
//   rewritten as key "=" value and CR LF. The value is written exactly as
//   given, blanks included.
// - A new key goes right after the last entry of its section (after the
//   section line when the section is empty), so comments and blank lines
//   that end a section stay below it.
// - A new section goes at the end of the file, as "[" section "]" and the
//   key's line. A last line without a line break gets CR LF first.
// - Unlike Windows, a write that would break the file's structure is refused
//   instead of written: a line break or NUL in any part, "=" in a key, a key
//   that would read back as a comment or section, "]" in a section name.
#include "host/startup/ini_text.h"

#include "host/startup/text_codec.h"
#include "host/startup/unicode_case.h"

namespace kestrune {

namespace {

constexpr std::string_view kNewLine = "\r\n";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v';
}

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Names passed in by the program lose leading and trailing spaces only; a tab
// stays and then matches nothing, as with the profile calls.
std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view StripMatchingQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Position of the first "]" that is a character of its own, or npos.
std::size_t FindClosingBracket(std::string_view text) {
    for (std::size_t at = 0; at < text.size(); at += Cp932CharLength(text, at)) {
        if (text[at] == ']') {
            return at;
        }
    }
    return std::string_view::npos;
}

void SortLine(std::string_view text, ProfileLine& line) {
    std::string_view content = text.substr(line.begin, line.content_end - line.begin);
    while (!content.empty() && IsBlank(content.front())) {
        content.remove_prefix(1);
    }
    if (content.empty()) {
        line.kind = ProfileLineKind::Blank;
    } else if (content.front() == ';') {
        line.kind = ProfileLineKind::Comment;
    } else if (content.front() == '[') {
        line.kind = ProfileLineKind::Section;
        content.remove_prefix(1);
        line.name = TrimBlanks(content.substr(0, FindClosingBracket(content)));
    } else {
        line.kind = ProfileLineKind::Entry;
        const std::size_t equals = content.find('=');
        line.name = TrimBlanks(content.substr(0, equals));
        if (equals != std::string_view::npos) {
            line.value = StripMatchingQuotes(TrimBlanks(content.substr(equals + 1)));
        }
    }
}

bool NameMatches(std::string_view name_in_file, std::string_view wanted) {
    return EqualIgnoringCase(DecodeCp932(name_in_file), wanted);
}

// Where a section and a key were found.
struct Lookup {
    std::optional<std::size_t> section;    // index of the section line
    std::optional<std::size_t> entry;      // index of the key's line
    std::optional<std::size_t> last_entry; // index of the section's last entry
};

Lookup Find(const std::vector<ProfileLine>& lines, std::string_view section, std::string_view key) {
    Lookup found;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == ProfileLineKind::Section && NameMatches(lines[i].name, section)) {
            found.section = i;
            break;
        }
    }
    if (!found.section) {
        return found;
    }
    for (std::size_t i = *found.section + 1;
         i < lines.size() && lines[i].kind != ProfileLineKind::Section; ++i) {
        if (lines[i].kind != ProfileLineKind::Entry) {
            continue;
        }
        found.last_entry = i;
        if (!found.entry && !key.empty() && NameMatches(lines[i].name, key)) {
            found.entry = i;
        }
    }
    return found;
}

bool HasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool SectionNameIsWritable(std::string_view section) {
    return !HasLineBreakOrNul(section) && section.find(']') == std::string_view::npos;
}

bool KeyIsWritable(std::string_view key) {
    const std::string_view trimmed = TrimBlanks(key);
    return !trimmed.empty() && !HasLineBreakOrNul(key) && key.find('=') == std::string_view::npos &&
           trimmed.front() != ';' && trimmed.front() != '[';
}

} // namespace

std::vector<ProfileLine> ParseProfileLines(std::string_view text) {
    std::vector<ProfileLine> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        ProfileLine line;
        line.begin = at;
        while (at < text.size() && !IsLineBreak(text[at])) {
            ++at;
        }
        line.content_end = at;
        if (at < text.size()) {
            at += (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ? 2 : 1;
        }
        line.end = at;
        SortLine(text, line);
        lines.push_back(line);
    }
    return lines;
}

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key) {
    key = TrimSpaces(key);
    if (key.empty()) {
        return std::nullopt;
    }
    const std::vector<ProfileLine> lines = ParseProfileLines(text);
    const Lookup found = Find(lines, TrimSpaces(section), key);
    if (!found.entry) {
        return std::nullopt;
    }
    return std::string(lines[*found.entry].value);
}

ProfileEdit SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value) {
    section = TrimSpaces(section);
    key = TrimSpaces(key);
    if (!SectionNameIsWritable(section) || !KeyIsWritable(key) || HasLineBreakOrNul(value)) {
        return {ProfileEditStatus::InvalidName, {}};
    }
    const std::optional<std::string> section_bytes = EncodeCp932(section);
    const std::optional<std::string> key_bytes = EncodeCp932(key);
    const std::optional<std::string> value_bytes = EncodeCp932(value);
    if (!section_bytes || !key_bytes || !value_bytes) {
        return {ProfileEditStatus::Unrepresentable, {}};
    }

    const std::vector<ProfileLine> lines = ParseProfileLines(text);
    const Lookup found = Find(lines, section, key);
    ProfileEdit edit{ProfileEditStatus::Changed, {}};
    std::string& out = edit.text;

    if (found.entry) {
        // Rewrite the key's line, keeping the key as the file spells it.
        const ProfileLine& line = lines[*found.entry];
        out.append(text.substr(0, line.begin));
        out.append(line.name);
        out.append("=");
        out.append(*value_bytes);
        out.append(kNewLine);
        out.append(text.substr(line.end));
        return edit;
    }

    const std::string new_line = *key_bytes + "=" + *value_bytes + std::string(kNewLine);
    if (found.section) {
        // A new key after the section's last entry (or its header).
        const ProfileLine& after = lines[found.last_entry.value_or(*found.section)];
        out.append(text.substr(0, after.end));
        if (after.end == after.content_end) {
            out.append(kNewLine);
        }
        out.append(new_line);
        out.append(text.substr(after.end));
        return edit;
    }

    // A new section at the end of the file.
    out.append(text);
    if (!out.empty() && !IsLineBreak(out.back())) {
        out.append(kNewLine);
    }
    out.append("[");
    out.append(*section_bytes);
    out.append("]");
    out.append(kNewLine);
    out.append(new_line);
    return edit;
}

} // namespace kestrune
