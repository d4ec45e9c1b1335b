#include "tests/host/core/ini_corpus.h"

#include "host/core/ini_text.h"
#include "host/core/text_codec.h"

#include <cstdint>
#include <iterator>
#include <string_view>
#include <utility>

namespace kestrune::test {

namespace {

// SplitMix64: the same numbers with every compiler and standard library, so
// that the corpus is too.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}

    std::size_t Below(std::size_t count) { return static_cast<std::size_t>(Next() % count); }
    bool Chance(int percent) { return Below(100) < static_cast<std::size_t>(percent); }
    template <typename T> const T& Pick(const std::vector<T>& items) {
        return items[Below(items.size())];
    }

private:
    std::uint64_t Next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    std::uint64_t m_state;
};

// What can be odd about a hand-edited file.
enum class Oddity {
    KeysBeforeSection,
    TextAfterBracket,    // "[name] text", "[name]]", "[na]me]", "[name"
    BlanksAroundSection, // "[ name ]", "[\tname]", indented headers
    SemicolonLines,      // ";key=value", indented or not
    EmptyKeyName,        // "=value"
    TrailByteBrackets,   // names whose double-byte characters end in "[" or "]"
    CtrlZ,               // an end-of-file mark after the text
    Utf8Bom,
    Utf16LeBom,
    Utf16BeBom,
    LineEnds,         // LF or CR alone, no break after the last line
    Quotes,           // values in quotes, matched or not
    BlanksAroundKeys, // blanks, tabs and full-width blanks around keys and values
    Repeats,          // a section or a key twice
    LongValues,       // longer than the 255 bytes a read returns
};

constexpr const char* kOddityNames[] = {"keys-before-section",
                                        "text-after-bracket",
                                        "blanks-around-section",
                                        "semicolon-lines",
                                        "empty-key-name",
                                        "trail-byte-brackets",
                                        "ctrl-z",
                                        "bom-utf8",
                                        "bom-utf16le",
                                        "bom-utf16be",
                                        "line-ends",
                                        "quotes",
                                        "blanks-around-keys",
                                        "repeats",
                                        "long-values"};
constexpr int kOddityCount = static_cast<int>(std::size(kOddityNames));

constexpr int kFilesPerOddity = 8;
constexpr int kMixedFiles = 180;
constexpr std::size_t kMaxReads = 12;

// One name in the spellings a person might give it. The profile calls take
// those that differ in the case of ASCII letters for the same name, and the
// others (full-width, Greek, Cyrillic letters in another case) for other names.
using Name = std::vector<std::string>;

const std::vector<Name> kSections = {{"Section", "section", "SECTION"},
                                     {"Other", "OTHER"},
                                     {"表示"},
                                     {"ＢＧＭ", "ｂｇｍ"},
                                     {"ΑΒΓ", "αβγ"},
                                     {"ДОМ", "дом"},
                                     {"ⅠⅡ", "ⅰⅱ"},
                                     {"ﾃｽﾄ"},
                                     {"two words"},
                                     {"a;b"},
                                     {"x=y"}};
// "ー" and "ゼ" end in the byte "[", "評", "ゾ" and "Ь" in "]".
const std::vector<Name> kTrailByteSections = {
    {"データ"}, {"評価"}, {"ゼゾ"}, {"ЪЬ", "ъь"}, {"ゾーン"}};
const std::vector<Name> kKeys = {{"BGM区分", "bgm区分", "Bgm区分"},
                                 {"BGMﾘﾋﾟｰﾄ", "bgmﾘﾋﾟｰﾄ"},
                                 {"BGMﾌｧｲﾙ", "Bgmﾌｧｲﾙ"},
                                 {"key", "KEY", "Key"},
                                 {"キー"},
                                 {"ｷｰ"},
                                 {"ＫＥＹ", "ｋｅｙ"},
                                 {"two words"},
                                 {"k]"},
                                 {"Ж", "ж"}};
const std::vector<std::string> kValues = {
    " 2", "2", "-1", "0", "", "C:\\Music\\曲\\ﾃｽﾄ.mp3", "a b", "ソ表", "x ; y", "a=b", "1.9"};
const std::vector<std::string> kQuotedValues = {
    "\"quoted\"", "'single'", "\"unbalanced", "'mixed\"", "\"\"", "\"", "\" padded \"", "a \"b\""};
const std::vector<std::string> kWrittenValues = {" 2", "-1",         "C:\\Music\\曲\\ﾃｽﾄ.mp3",
                                                 "",   "  spaced  ", "新しい値"};

// Blanks that a person might put around names and values, and the
// ideographic space, which the profile calls take for no blank.
const std::vector<std::string> kBlanks = {" ", "  ", "\t", " \t", "　", "\v", "\f"};

std::string Cp932(std::string_view utf8) {
    return EncodeCp932(utf8).value();
}

// Values longer than a read returns; the last one puts a double-byte
// character across the 255th byte.
const std::vector<std::string>& LongValues() {
    static const std::vector<std::string> kValues = [] {
        std::string kanji;
        for (int i = 0; i < 200; ++i) {
            kanji += "\x8B\xC8"; // "曲"
        }
        return std::vector<std::string>{std::string(300, 'x'), kanji,
                                        "\"" + std::string(300, 'q') + "\"",
                                        std::string(254, 'x') + "\x8B\xC8"};
    }();
    return kValues;
}

// Code page 932 text as UTF-16 with its byte-order mark, in either order.
std::string ToUtf16(std::string_view cp932, bool bigEndian) {
    std::string bytes = "\xFF\xFE" + Utf8ToUtf16Le(DecodeCp932(cp932));
    for (std::size_t at = 0; bigEndian && at + 1 < bytes.size(); at += 2) {
        std::swap(bytes[at], bytes[at + 1]);
    }
    return bytes;
}

// One file being made: its text, and the names in it to ask about.
class FileMaker {
public:
    FileMaker(Random& random, std::vector<bool> oddities)
        : m_random(random), m_odd(std::move(oddities)) {}

    IniCorpusFile Make(std::string name);

private:
    struct Entry {
        const Name* section;
        const Name* key;
    };

    bool Odd(Oddity oddity) const { return m_odd[static_cast<int>(oddity)]; }
    std::string Spelling(const Name& name) { return Cp932(m_random.Pick(name)); }
    std::string Blank() { return Cp932(m_random.Pick(kBlanks)); }

    void Line(const std::string& content);
    void BlankLines();
    void Header(const Name& section);
    void KeyLine(const Name* section, const Name& key);
    std::string Value();
    std::string Finish();
    std::vector<IniQuestion> Questions();

    Random& m_random;
    std::vector<bool> m_odd;
    std::string m_text;
    std::vector<const Name*> m_sections;
    std::vector<Entry> m_entries;
    // Names that only an odd line gives, asked for as they stand.
    std::vector<std::string> m_oddSections;
    std::vector<std::string> m_oddKeys;
};

void FileMaker::Line(const std::string& content) {
    std::string end = "\r\n";
    if (Odd(Oddity::LineEnds) && m_random.Chance(40)) {
        end = m_random.Chance(70) ? "\n" : "\r";
    }
    m_text += content + end;
}

void FileMaker::BlankLines() {
    while (m_random.Chance(20)) {
        Line(m_random.Chance(50) ? "" : Blank());
    }
}

void FileMaker::Header(const Name& section) {
    const std::string name = Spelling(section);
    std::string line = "[" + name + "]";
    if (Odd(Oddity::BlanksAroundSection) && m_random.Chance(60)) {
        switch (m_random.Below(4)) {
        case 0:
            line = "[" + Blank() + name + Blank() + "]";
            break;
        case 1:
            line = Blank() + "[" + name + "]" + Blank();
            break;
        case 2:
            line = "[" + Blank() + name + "]";
            break;
        default:
            line = "[" + name + Blank() + "]";
            break;
        }
    }
    if (Odd(Oddity::TextAfterBracket) && m_random.Chance(60)) {
        switch (m_random.Below(5)) {
        case 0:
            line += m_random.Chance(50) ? " text" : " ; note";
            break;
        case 1:
            line += "]";
            m_oddSections.push_back(name + "]");
            break;
        case 2:
            line = "[" + name + "]x]";
            m_oddSections.push_back(name + "]x");
            break;
        case 3:
            line = "[" + name; // no bracket: a section all the same
            m_oddKeys.push_back(line);
            break;
        default:
            line = "[" + name + "] ]";
            m_oddSections.push_back(name + "] ");
            break;
        }
    }
    Line(line);
    m_sections.push_back(&section);
}

std::string FileMaker::Value() {
    if (Odd(Oddity::Quotes) && m_random.Chance(50)) {
        return Cp932(m_random.Pick(kQuotedValues));
    }
    if (Odd(Oddity::LongValues) && m_random.Chance(40)) {
        return m_random.Pick(LongValues());
    }
    return Cp932(m_random.Pick(kValues));
}

void FileMaker::KeyLine(const Name* section, const Name& key) {
    const std::string name = Spelling(key);
    const std::string value = Value();
    std::string line = name + "=" + value;
    if (Odd(Oddity::BlanksAroundKeys) && m_random.Chance(60)) {
        line = (m_random.Chance(30) ? Blank() : "") + name + Blank() + "=" + Blank() + value +
               (m_random.Chance(50) ? Blank() : "");
    }
    if (Odd(Oddity::SemicolonLines) && m_random.Chance(40)) {
        line = (m_random.Chance(30) ? Blank() : "") + ";" + line;
        m_oddKeys.push_back(";" + name);
    } else if (Odd(Oddity::EmptyKeyName) && m_random.Chance(30)) {
        line = (m_random.Chance(30) ? Blank() : "") + "=" + value;
    } else if (m_random.Chance(5)) {
        line = name; // a key without "="
    }
    Line(line);
    if (section) {
        m_entries.push_back({section, &key});
    }
}

std::string FileMaker::Finish() {
    std::string text = m_text;
    if (Odd(Oddity::LineEnds) && m_random.Chance(50)) {
        while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) {
            text.pop_back();
        }
    }
    if (Odd(Oddity::CtrlZ)) {
        text += m_random.Chance(50) ? "\x1A" : m_random.Chance(50) ? "\r\n\x1A" : "\x1A\r\n";
    }
    if (Odd(Oddity::Utf16LeBom) || Odd(Oddity::Utf16BeBom)) {
        return ToUtf16(text, Odd(Oddity::Utf16BeBom));
    }
    if (Odd(Oddity::Utf8Bom)) {
        return "\xEF\xBB\xBF" + text;
    }
    return text;
}

std::vector<IniQuestion> FileMaker::Questions() {
    std::vector<IniQuestion> reads;
    for (const Entry& entry : m_entries) {
        reads.push_back({false, Spelling(*entry.section), Spelling(*entry.key), {}});
    }
    const auto someSection = [&] {
        return m_sections.empty() || m_random.Chance(20) ? Spelling(m_random.Pick(kSections))
                                                         : Spelling(*m_random.Pick(m_sections));
    };
    for (const std::string& section : m_oddSections) {
        reads.push_back({false, section, Spelling(m_random.Pick(kKeys)), {}});
    }
    for (const std::string& key : m_oddKeys) {
        reads.push_back({false, someSection(), key, {}});
    }
    if (Odd(Oddity::EmptyKeyName)) {
        reads.push_back({false, someSection(), " ", {}});
        reads.push_back({false, someSection(), "", {}});
    }
    for (int i = 0; i < 3; ++i) {
        reads.push_back({false, someSection(), Spelling(m_random.Pick(kKeys)), {}});
    }
    // At most kMaxReads of them, picked at random.
    while (reads.size() > kMaxReads) {
        reads.erase(reads.begin() + static_cast<std::ptrdiff_t>(m_random.Below(reads.size())));
    }

    // Writes: a key that is there, a new key in a section that is there, and
    // a new section. Only names the writer accepts.
    const auto writable = [](const Name& name) {
        const std::string& first = name.front();
        return first.find_first_of("=;[]") == std::string::npos;
    };
    const auto value = [&] { return Cp932(m_random.Pick(kWrittenValues)); };
    std::vector<IniQuestion> questions = reads;
    for (const Entry& entry : m_entries) {
        if (writable(*entry.key) && m_random.Chance(50)) {
            questions.push_back({true, Spelling(*entry.section), Spelling(*entry.key), value()});
            break;
        }
    }
    if (!m_sections.empty()) {
        questions.push_back(
            {true, Spelling(*m_random.Pick(m_sections)), Cp932("BGMﾌｧｲﾙ"), value()});
    }
    questions.push_back({true, Cp932("新しい節"), Cp932("BGM区分"), value()});
    return questions;
}

IniCorpusFile FileMaker::Make(std::string name) {
    if (Odd(Oddity::KeysBeforeSection)) {
        for (std::size_t i = 1 + m_random.Below(3); i > 0; --i) {
            KeyLine(nullptr, m_random.Pick(kKeys));
        }
    }
    BlankLines();
    const std::size_t sectionCount = 1 + m_random.Below(3);
    for (std::size_t s = 0; s < sectionCount; ++s) {
        const bool trailByte = Odd(Oddity::TrailByteBrackets) && m_random.Chance(70);
        const Name& section = Odd(Oddity::Repeats) && !m_sections.empty() && m_random.Chance(40)
                                  ? *m_random.Pick(m_sections)
                                  : m_random.Pick(trailByte ? kTrailByteSections : kSections);
        Header(section);
        BlankLines();
        for (std::size_t k = 1 + m_random.Below(4); k > 0; --k) {
            const Name& key = m_random.Pick(kKeys);
            KeyLine(&section, key);
            if (Odd(Oddity::Repeats) && m_random.Chance(30)) {
                KeyLine(&section, key);
            }
            BlankLines();
        }
    }
    IniCorpusFile file;
    file.name = std::move(name);
    file.text = Finish();
    file.questions = Questions();
    return file;
}

std::vector<bool> OnlyOddity(int oddity) {
    std::vector<bool> odd(kOddityCount, false);
    odd[oddity] = true;
    return odd;
}

std::vector<bool> RandomOddities(Random& random) {
    std::vector<bool> odd(kOddityCount, false);
    for (std::size_t count = 2 + random.Below(4); count > 0; --count) {
        odd[random.Below(kOddityCount)] = true;
    }
    // A file has one encoding.
    const int encodings[] = {static_cast<int>(Oddity::Utf8Bom),
                             static_cast<int>(Oddity::Utf16LeBom),
                             static_cast<int>(Oddity::Utf16BeBom)};
    bool seen = false;
    for (const int encoding : encodings) {
        odd[encoding] = odd[encoding] && !seen;
        seen = seen || odd[encoding];
    }
    return odd;
}

} // namespace

std::vector<IniCorpusFile> MakeIniCorpus() {
    Random random(0x4B657374'72756E65ULL); // "Kestrune"
    std::vector<IniCorpusFile> corpus;
    for (int oddity = 0; oddity < kOddityCount; ++oddity) {
        for (int i = 0; i < kFilesPerOddity; ++i) {
            corpus.push_back(
                FileMaker(random, OnlyOddity(oddity))
                    .Make(std::string(kOddityNames[oddity]) + "-" + std::to_string(i)));
        }
    }
    for (int i = 0; i < kMixedFiles; ++i) {
        corpus.push_back(
            FileMaker(random, RandomOddities(random)).Make("mix-" + std::to_string(i)));
    }
    // The odd extremes: nothing, a mark alone, an end-of-file mark alone, and
    // a UTF-16 file holding what code page 932 has no form for: characters
    // without a look-alike, one beyond 16 bits, an unpaired surrogate.
    const std::string unicode = "\xFF\xFE" + Utf8ToUtf16Le("[Section]\r\nkey=€ 😀 ―\r\nlone=") +
                                std::string("\x00\xD8", 2) + Utf8ToUtf16Le("x\r\n");
    for (const std::string& text : {std::string(), std::string("\xEF\xBB\xBF"),
                                    std::string("\xFF\xFE"), std::string("\x1A"), unicode}) {
        IniCorpusFile file{"bare-" + std::to_string(corpus.size()), text, {}};
        file.questions = {{false, "Section", "key", {}},
                          {false, "Section", "lone", {}},
                          {true, "Section", Cp932("BGM区分"), " 2"}};
        corpus.push_back(file);
    }
    return corpus;
}

} // namespace kestrune::test
