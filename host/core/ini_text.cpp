// The rules below are those of the Windows profile calls
// (GetPrivateProfileStringA, WritePrivateProfileStringA) in code page 932.
// The differential test (tests/host/core/ini_differential_test.cpp) holds
// them against the profile calls themselves, run under Wine, over a corpus of
// hand-edited files; where Wine's profile calls are known to answer otherwise
// than Windows', that test says why and expects what Windows does.
//
// Encoding
// - A file that starts with the little-endian UTF-16 byte-order mark (FF FE)
//   is a Unicode file: it is read as UTF-16 and written back as UTF-16 with
//   its mark. A value read from it comes back in code page 932, "?" standing
//   for a character that code page cannot hold.
// - Every other file is code page 932, whatever it starts with: a UTF-8
//   byte-order mark is three bytes of text at the start of the first line
//   (so that a section header there is none), and the big-endian UTF-16 mark
//   makes no Unicode file either.
// - Windows converts a code page 932 file to UTF-16 before it parses it, so
//   a trail byte that happens to equal "[" or "]" (0x5B, 0x5D) or "\" is part
//   of its character and never structure. The parser here walks characters,
//   not bytes, wherever that matters (a line break, blank, "=", ";" or quote
//   is below 0x40 and can never be a trail byte).
//
// Lines
// - A line ends at CR LF, LF or a lone CR. Line breaks are kept as they are;
//   every line this code writes ends in CR LF.
// - Blanks are space, tab, vertical tab, form feed and the end-of-file mark
//   Ctrl-Z (0x1A). They are skipped at the start of every line and trimmed
//   around section names, keys and values, so that a Ctrl-Z after the last
//   line changes nothing. The ideographic space (81 40) is no blank.
// - A line whose first non-blank character is ";" is a comment, also when
//   the semicolon is indented. A semicolon anywhere else is an ordinary
//   character: there are no comments at the end of a line.
// - A line whose first non-blank character is "[" starts a section. Its name
//   runs to the first "]" (or to the end of the line when there is none);
//   whatever follows the "]" is ignored. An empty name ("[]") is a section
//   too, found by asking for "".
// - Every other non-blank line is an entry: the key up to the first "=", the
//   value after it. A line without "=" is a key with an empty value: it reads
//   as empty and a write replaces it. The key may be empty ("=value").
// - Entries before the first section belong to no section and are never
//   found.
//
// Reading
// - Names asked for have their leading and trailing spaces (only spaces)
//   removed, as the profile calls do with their arguments.
// - Names are compared without regard to the case of the ASCII letters.
//   Every other character must be the same, letters with case among them
//   (full-width Latin, Greek, Cyrillic): the profile calls were seen to fold
//   no others.
// - An empty key asked for finds an entry with an empty key.
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
#include "host/core/ini_text.h"

#include "host/core/text_codec.h"

#include <cstddef>
#include <vector>

namespace kestrune {

namespace {

constexpr std::string_view kNewLine = "\r\n";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr char kUnrepresentable = '?';

// How the text of a file is held while it is parsed: code page 932 bytes as
// they are in the file, or the UTF-8 form of a UTF-16 file.
enum class TextForm { Cp932, Utf8 };

// Length in bytes of the character at `at`. UTF-8 goes byte by byte: its
// multi-byte characters hold no ASCII bytes, so no structure is ever found
// inside one.
std::size_t CharLength(TextForm form, std::string_view text, std::size_t at) {
    return form == TextForm::Cp932 ? Cp932CharLength(text, at) : 1;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A';
}

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

// Blanks are all below 0x40, where no trail byte is, so the text can be
// trimmed byte by byte from either end.
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
std::size_t FindClosingBracket(TextForm form, std::string_view text) {
    for (std::size_t at = 0; at < text.size(); at += CharLength(form, text, at)) {
        if (text[at] == ']') {
            return at;
        }
    }
    return std::string_view::npos;
}

std::string ToUtf8(TextForm form, std::string_view text) {
    return form == TextForm::Cp932 ? DecodeCp932(text) : std::string(text);
}

// Code page 932 for the UTF-8 form of UTF-16 text: "?" for each code unit of
// a character that code page cannot hold, as Windows converts. (Windows
// writes a look-alike for a few of them instead, "e" for "é"; a path or a
// number with such a character in it is no better for that.)
std::string ToCp932(std::string_view utf8) {
    if (std::optional<std::string> whole = EncodeCp932(utf8)) {
        return *whole;
    }
    std::string bytes;
    std::size_t at = 0;
    while (at < utf8.size()) {
        std::size_t length = 1;
        while (at + length < utf8.size() &&
               (static_cast<unsigned char>(utf8[at + length]) & 0xC0) == 0x80) {
            ++length;
        }
        // A character beyond 16 bits takes two code units.
        const std::string unrepresentable(length == 4 ? 2 : 1, kUnrepresentable);
        bytes += EncodeCp932(utf8.substr(at, length)).value_or(unrepresentable);
        at += length;
    }
    return bytes;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// UTF-8 names equal but for the case of ASCII letters. Bytes of multi-byte
// characters are never ASCII, so comparing byte by byte is exact.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

// What a line of the file is.
enum class LineKind {
    Blank,   // nothing but blanks
    Comment, // first non-blank character ";"
    Section, // first non-blank character "["
    Entry,   // anything else: a key, with or without "=" and a value
};

// One line of the file, as positions in the text and views into it.
struct Line {
    std::size_t begin = 0;      // first byte of the line
    std::size_t contentEnd = 0; // first byte of its line break (or the end)
    std::size_t end = 0;        // first byte after its line break
    LineKind kind = LineKind::Blank;
    std::string_view name;  // section name or key, blanks trimmed
    std::string_view value; // value of an entry, trimmed and unquoted
};

void SortLine(TextForm form, std::string_view text, Line& line) {
    const std::string_view content =
        TrimBlanks(text.substr(line.begin, line.contentEnd - line.begin));
    if (content.empty()) {
        line.kind = LineKind::Blank;
    } else if (content.front() == ';') {
        line.kind = LineKind::Comment;
    } else if (content.front() == '[') {
        line.kind = LineKind::Section;
        const std::string_view inside = content.substr(1);
        line.name = TrimBlanks(inside.substr(0, FindClosingBracket(form, inside)));
    } else {
        line.kind = LineKind::Entry;
        const std::size_t equals = content.find('=');
        line.name = TrimBlanks(content.substr(0, equals));
        if (equals != std::string_view::npos) {
            line.value = StripMatchingQuotes(TrimBlanks(content.substr(equals + 1)));
        }
    }
}

std::vector<Line> ParseLines(TextForm form, std::string_view text) {
    std::vector<Line> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        Line line;
        line.begin = at;
        while (at < text.size() && !IsLineBreak(text[at])) {
            ++at;
        }
        line.contentEnd = at;
        if (at < text.size()) {
            at += (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ? 2 : 1;
        }
        line.end = at;
        SortLine(form, text, line);
        lines.push_back(line);
    }
    return lines;
}

// Where a section and a key were found.
struct Lookup {
    std::optional<std::size_t> section;   // index of the section line
    std::optional<std::size_t> entry;     // index of the key's line
    std::optional<std::size_t> lastEntry; // index of the section's last entry
};

// Looks up UTF-8 names in the lines of a file held in `form`.
Lookup Find(TextForm form, const std::vector<Line>& lines, std::string_view section,
            std::string_view key) {
    const auto matches = [form](std::string_view nameInFile, std::string_view wanted) {
        return EqualIgnoringAsciiCase(ToUtf8(form, nameInFile), wanted);
    };
    Lookup found;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == LineKind::Section && matches(lines[i].name, section)) {
            found.section = i;
            break;
        }
    }
    if (!found.section) {
        return found;
    }
    for (std::size_t i = *found.section + 1; i < lines.size() && lines[i].kind != LineKind::Section;
         ++i) {
        if (lines[i].kind != LineKind::Entry) {
            continue;
        }
        found.lastEntry = i;
        if (!found.entry && matches(lines[i].name, key)) {
            found.entry = i;
        }
    }
    return found;
}

bool IsUnicodeFile(std::string_view text) {
    return text.substr(0, kUtf16LeMark.size()) == kUtf16LeMark;
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

// The names and value of a write, in the form of the file's text.
struct Change {
    std::string_view section; // UTF-8, to look the section up
    std::string_view key;     // UTF-8, to look the key up
    std::string sectionText;  // as written into the file
    std::string keyText;
    std::string valueText;
};

std::string Edit(TextForm form, std::string_view text, const Change& change) {
    const std::vector<Line> lines = ParseLines(form, text);
    const Lookup found = Find(form, lines, change.section, change.key);
    std::string out;

    if (found.entry) {
        // Rewrite the key's line, keeping the key as the file spells it.
        const Line& line = lines[*found.entry];
        out.append(text.substr(0, line.begin));
        out.append(line.name);
        out.append("=");
        out.append(change.valueText);
        out.append(kNewLine);
        out.append(text.substr(line.end));
        return out;
    }

    const std::string newLine = change.keyText + "=" + change.valueText + std::string(kNewLine);
    if (found.section) {
        // A new key after the section's last entry (or its header).
        const Line& after = lines[found.lastEntry.value_or(*found.section)];
        out.append(text.substr(0, after.end));
        if (after.end == after.contentEnd) {
            out.append(kNewLine);
        }
        out.append(newLine);
        out.append(text.substr(after.end));
        return out;
    }

    // A new section at the end of the file.
    out.append(text);
    if (!out.empty() && !IsLineBreak(out.back())) {
        out.append(kNewLine);
    }
    out.append("[");
    out.append(change.sectionText);
    out.append("]");
    out.append(kNewLine);
    out.append(newLine);
    return out;
}

// Appends the UTF-8 form of `c`.
void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf16Le(std::string& out, char32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key) {
    const TextForm form = IsUnicodeFile(text) ? TextForm::Utf8 : TextForm::Cp932;
    std::string utf8;
    if (form == TextForm::Utf8) {
        utf8 = Utf16LeToUtf8(text.substr(kUtf16LeMark.size()));
        text = utf8;
    }
    const std::vector<Line> lines = ParseLines(form, text);
    const Lookup found = Find(form, lines, TrimSpaces(section), TrimSpaces(key));
    if (!found.entry) {
        return std::nullopt;
    }
    const std::string_view value = lines[*found.entry].value;
    return form == TextForm::Cp932 ? std::string(value) : ToCp932(value);
}

ProfileEdit SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value) {
    section = TrimSpaces(section);
    key = TrimSpaces(key);
    if (!SectionNameIsWritable(section) || !KeyIsWritable(key) || HasLineBreakOrNul(value)) {
        return {ProfileEditStatus::InvalidName, {}};
    }
    std::optional<std::string> sectionBytes = EncodeCp932(section);
    std::optional<std::string> keyBytes = EncodeCp932(key);
    std::optional<std::string> valueBytes = EncodeCp932(value);
    if (!sectionBytes || !keyBytes || !valueBytes) {
        return {ProfileEditStatus::Unrepresentable, {}};
    }
    if (!IsUnicodeFile(text)) {
        const Change change{section, key, std::move(*sectionBytes), std::move(*keyBytes),
                            std::move(*valueBytes)};
        return {ProfileEditStatus::Changed, Edit(TextForm::Cp932, text, change)};
    }
    // A Unicode file is edited in its UTF-8 form and written back as UTF-16.
    // An odd last byte, which no code unit holds, stays where it was.
    std::string_view units = text.substr(kUtf16LeMark.size());
    const std::string_view oddByte = units.substr(units.size() - units.size() % 2);
    units.remove_suffix(oddByte.size());
    const Change change{section, key, std::string(section), std::string(key), std::string(value)};
    const std::string edited = Edit(TextForm::Utf8, Utf16LeToUtf8(units), change);
    return {ProfileEditStatus::Changed,
            std::string(kUtf16LeMark) + Utf8ToUtf16Le(edited) + std::string(oddByte)};
}

std::string Utf16LeToUtf8(std::string_view bytes) {
    std::string utf8;
    const auto unitAt = [&](std::size_t at) {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[at]) |
                                     (static_cast<unsigned char>(bytes[at + 1]) << 8));
    };
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        const char32_t unit = unitAt(at);
        if (IsHighSurrogate(unit) && at + 3 < bytes.size() && IsLowSurrogate(unitAt(at + 2))) {
            AppendUtf8(utf8, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(at + 2) - 0xDC00));
            at += 2;
        } else {
            AppendUtf8(utf8, unit);
        }
    }
    return utf8;
}

std::string Utf8ToUtf16Le(std::string_view utf8) {
    std::string bytes;
    std::size_t at = 0;
    while (at < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[at]);
        const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t i = 1; i < length && at + i < utf8.size(); ++i) {
            c = (c << 6) | (static_cast<unsigned char>(utf8[at + i]) & 0x3F);
        }
        at += length;
        if (c >= 0x10000) {
            AppendUtf16Le(bytes, 0xD800 + ((c - 0x10000) >> 10));
            AppendUtf16Le(bytes, 0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            AppendUtf16Le(bytes, c);
        }
    }
    return bytes;
}

} // namespace kestrune
