// The settings file's reader and writer against the Windows profile calls.
// Every file of the corpus (ini_corpus.h) and every question to it goes to
// profile-oracle.exe under Wine, which answers with GetPrivateProfileStringA
// and WritePrivateProfileStringA in code page 932 and with the project's own
// Windows build; this side answers with the Linux build. All three must give
// the same bytes, except where Wine's profile calls are known to differ from
// Windows' (WindowsView below).
//
// Needs the mingw build and a Wine prefix: scripts/test-windows.sh runs it.

#include "host/core/ini_file.h"
#include "host/core/ini_text.h"
#include "host/core/text_codec.h"
#include "tests/host/core/ini_corpus.h"
#include "tests/host/core/ini_oracle_format.h"
#include "tests/support/child_process.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;

namespace fs = std::filesystem;

constexpr auto kOracleDeadline = 600s;
// ReadIniValue's buffer holds 255 bytes and the terminating NUL.
constexpr std::size_t kValueBytes = 255;
// Disagreements shown in full; the rest are only counted.
constexpr int kShownDisagreements = 25;

// The A profile calls convert with the process's ANSI code page, which Wine
// takes from the locale named by LC_ALL. Wine uses that name even when the C
// library has no such locale (it then falls back to LC_ALL's text), so this
// works on a stock Debian 12 without Japanese locales; file names are then
// ASCII only, which the corpus's are.
constexpr const char* kJapaneseLocale = "ja_JP.UTF-8";

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string WindowsPath(const fs::path& path) {
    std::string windows = "Z:" + path.string();
    for (char& c : windows) {
        c = c == '/' ? '\\' : c;
    }
    return windows;
}

// Bytes as C would write them, for messages.
std::string Escaped(const std::string& bytes) {
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"') {
            text += '\\';
            text += c;
        } else if (byte >= 0x20 && byte < 0x7F) {
            text += c;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            text += escape;
        }
    }
    return "\"" + text + "\"";
}

bool StartsWith(const std::string& text, std::string_view start) {
    return text.compare(0, start.size(), start) == 0;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// A line of a file and the break that ends it ("" for a last line without).
struct TextLine {
    std::string_view content;
    std::string_view lineBreak;
};

// Lines end at CR LF, LF or a lone CR, for Windows and Wine alike.
std::vector<TextLine> SplitLines(std::string_view text) {
    std::vector<TextLine> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t contentEnd = std::min(text.find_first_of("\r\n", begin), text.size());
        std::size_t end = contentEnd;
        if (end < text.size()) {
            end += text.substr(end, 2) == "\r\n" ? 2 : 1;
        }
        lines.push_back(
            {text.substr(begin, contentEnd - begin), text.substr(contentEnd, end - contentEnd)});
        begin = end;
    }
    return lines;
}

// The lines of a file in code page 932 (or UTF-8, for a UTF-16 file) as
// Windows parses them, rewritten so that Wine parses them alike:
// - A line whose first non-blank character is ";" is a comment to Windows,
//   which skips it; Wine has no comments and reads such a line as a key
//   (";key"). The line is left empty.
// - A section name runs to the first "]" with Windows ("[a]b]" is section
//   "a"), to the last one with Wine; and a header without "]" is a section
//   to Windows, a key to Wine. The header is written anew as "[name]".
// Both are what a reverse-engineering test suite run on Windows 10 records
// of its profile calls (its comment and square-bracket cases). Blanks are
// skipped as both skip them.
std::string WindowsLines(std::string_view text, bool utf8) {
    std::string view;
    for (const TextLine& line : SplitLines(text)) {
        const std::string_view content = line.content;
        const std::size_t at = std::min(content.find_first_not_of(" \t\v\f\x1A"), content.size());
        if (content.substr(at, 1) == ";") {
            view += line.lineBreak;
        } else if (content.substr(at, 1) == "[") {
            std::size_t nameEnd = at + 1;
            while (nameEnd < content.size() && content[nameEnd] != ']') {
                nameEnd += utf8 ? 1 : Cp932CharLength(content, nameEnd);
            }
            view += "[" + std::string(content.substr(at + 1, nameEnd - at - 1)) + "]" +
                    std::string(line.lineBreak);
        } else {
            view += std::string(content) + std::string(line.lineBreak);
        }
    }
    return view;
}

// What Wine's profile calls are given in place of a file, so that their
// answer is the one Windows gives for the file itself. Besides the lines
// above:
// - Wine reads a file that starts with a UTF-8 byte-order mark as UTF-8.
//   Windows knows no such mark: its profile calls read the three bytes as
//   code page 932 text at the start of the first line, so that a section
//   header there becomes a key of no section. Three letters in their place
//   do the same for Wine.
// - A file that starts with the little-endian UTF-16 mark is UTF-16 to both.
std::string WindowsView(const std::string& text) {
    if (StartsWith(text, kUtf16LeMark)) {
        const std::string units = text.substr(kUtf16LeMark.size());
        return std::string(kUtf16LeMark) + Utf8ToUtf16Le(WindowsLines(Utf16LeToUtf8(units), true)) +
               units.substr(units.size() - units.size() % 2);
    }
    if (StartsWith(text, kUtf8Mark)) {
        return "BOM" + WindowsLines(text.substr(kUtf8Mark.size()), false);
    }
    return WindowsLines(text, false);
}

// Wine also reads a file that starts with the big-endian UTF-16 mark as
// UTF-16. Windows recognises only the little-endian mark and reads such a
// file as code page 932 text, where every line but the first starts with a
// NUL byte: no name in it matches a name asked for. Reads of such files must
// come out empty, and writes are held to the in-place rule alone.
bool WindowsReadsAsNothing(const std::string& text) {
    return StartsWith(text, kUtf16BeMark);
}

// Windows changes a file where the key is: apart from the key's own line, or
// the lines a write adds, every line stays as it was, byte for byte. (Wine
// rewrites the whole file instead; writes are compared with Wine's answer
// after both files went through Wine's rewrite.)
bool ChangesOneLineInPlace(const std::string& before, const std::string& after) {
    if (StartsWith(before, kUtf16LeMark)) {
        return StartsWith(after, kUtf16LeMark) &&
               ChangesOneLineInPlace(Utf16LeToUtf8(before.substr(kUtf16LeMark.size())),
                                     Utf16LeToUtf8(after.substr(kUtf16LeMark.size())));
    }
    const std::vector<TextLine> old = SplitLines(before);
    const std::vector<TextLine> now = SplitLines(after);
    const auto same = [](const TextLine& a, const TextLine& b) {
        return a.content == b.content && a.lineBreak == b.lineBreak;
    };
    std::size_t head = 0;
    while (head < old.size() && head < now.size() && same(old[head], now[head])) {
        ++head;
    }
    std::size_t tail = 0;
    while (tail < old.size() - head && tail < now.size() - head &&
           same(old[old.size() - 1 - tail], now[now.size() - 1 - tail])) {
        ++tail;
    }
    return old.size() - head - tail <= 1 && now.size() - head - tail <= 3;
}

// The oracle's program, run once over every question put to it.
class Oracle {
public:
    Oracle(fs::path program, fs::path folder)
        : m_program(std::move(program)), m_folder(std::move(folder)) {}

    // Adds a question; returns the number of the line that will answer it.
    std::size_t Ask(const std::string& line) {
        m_questions += line + "\n";
        return m_count++;
    }

    std::size_t Count() const { return m_count; }

    // Each answer line as the profile calls' bytes and the project's field;
    // nothing when the oracle failed.
    std::vector<std::pair<std::string, std::string>> Run() {
        const fs::path questions = m_folder / "questions.txt";
        const fs::path answers = m_folder / "answers.txt";
        WriteBytes(questions.string(), m_questions);
        ChildProcess::Options options;
        options.arguments = {m_program.string(), WindowsPath(questions), WindowsPath(answers)};
        options.environment = {{"LC_ALL", kJapaneseLocale}};
        options.outputPath = (m_folder / "oracle.out").string();
        const std::optional<int> code = RunProgram("/usr/bin/wine", options, kOracleDeadline);
        if (code != 0) {
            ADD_FAILURE() << "profile-oracle failed (" << (code ? std::to_string(*code) : "timeout")
                          << "): " << ReadBytes(m_folder / "oracle.out");
            return {};
        }
        std::vector<std::pair<std::string, std::string>> lines;
        std::istringstream in(ReadBytes(answers));
        std::string line;
        while (std::getline(in, line)) {
            const std::size_t blank = line.find(' ');
            lines.emplace_back(FromHex(line.substr(0, blank)), line.substr(blank + 1));
        }
        return lines;
    }

private:
    fs::path m_program;
    fs::path m_folder;
    std::string m_questions;
    std::size_t m_count = 0;
};

// A folder of the test's own, removed with what it holds when the test ends.
struct ScratchFolder {
    fs::path path = MakeTemporaryFolder("kestrune-ini-differential");
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

// One question as this side asked it, and what it answered.
struct Asked {
    const IniCorpusFile* file = nullptr;
    const IniQuestion* question = nullptr;
    std::string onLinux;        // the Linux build's answer (UTF-8 for reads, bytes for writes)
    std::size_t oracleLine = 0; // the oracle's answers to compare with it
    std::size_t canonLine = 0;  // writes: Wine's rewrite of the Linux build's file
};

// Writes the files of the corpus into `folder`, answers every question with
// the Linux build and puts it to the oracle as well.
std::vector<Asked> AskEverything(const std::vector<IniCorpusFile>& corpus, const fs::path& folder,
                                 Oracle& oracle) {
    std::vector<Asked> asked;
    for (std::size_t f = 0; f < corpus.size(); ++f) {
        const IniCorpusFile& file = corpus[f];
        const std::string name = "c" + std::to_string(f);
        const fs::path path = folder / (name + ".ini");
        const fs::path view = folder / (name + ".view.ini");
        WriteBytes(path.string(), file.text);
        WriteBytes(view.string(), WindowsView(file.text));
        const std::string files = WindowsPath(view) + " " + WindowsPath(path);
        for (std::size_t q = 0; q < file.questions.size(); ++q) {
            const IniQuestion& question = file.questions[q];
            Asked one{&file, &question, {}, 0, 0};
            const std::string section = DecodeCp932(question.section);
            const std::string key = DecodeCp932(question.key);
            const std::string names = ToHex(question.section) + " " + ToHex(question.key);
            if (!question.write) {
                one.onLinux = ReadIniString(path.string(), section, key, kValueBytes);
                one.oracleLine = oracle.Ask("read " + files + " " + names);
            } else {
                const fs::path copy = folder / (name + "q" + std::to_string(q) + ".ini");
                const fs::path copyView = folder / (name + "q" + std::to_string(q) + ".view.ini");
                fs::copy_file(path, copy);
                const IniWriteResult result =
                    WriteIniString(copy.string(), section, key, DecodeCp932(question.value));
                one.onLinux = result == IniWriteResult::Written
                                  ? ReadBytes(copy)
                                  : std::string("refused: ") + DescribeIniWriteResult(result);
                WriteBytes(copyView.string(), WindowsView(one.onLinux));
                one.oracleLine =
                    oracle.Ask("write " + files + " " + names + " " + ToHex(question.value));
                one.canonLine =
                    oracle.Ask("canon " + WindowsPath(copyView) + " " + WindowsPath(copy));
            }
            asked.push_back(std::move(one));
        }
    }
    return asked;
}

TEST(IniDifferentialTest, ReaderAndWriterAnswerAsTheWindowsProfileCallsDo) {
    const fs::path program =
        fs::path(Environment("KESTRUNE_WINDOWS_BUILD")) / "tests/e2e/profile-oracle.exe";
    ASSERT_TRUE(fs::exists(program))
        << "KESTRUNE_WINDOWS_BUILD names no mingw build with profile-oracle.exe "
           "(scripts/test-windows.sh sets it)";
    ASSERT_FALSE(Environment("WINEPREFIX").empty())
        << "no WINEPREFIX: run under scripts/wine-env.sh";
    const ScratchFolder scratch;
    const fs::path& folder = scratch.path;
    ASSERT_FALSE(folder.empty());

    const std::vector<IniCorpusFile> corpus = MakeIniCorpus();
    Oracle oracle(program, folder);
    const std::vector<Asked> asked = AskEverything(corpus, folder, oracle);
    const auto answers = oracle.Run();
    ASSERT_EQ(answers.size(), oracle.Count()) << "the oracle left questions unanswered";

    int differ = 0;
    int betweenBuilds = 0;
    const auto report = [&](const Asked& one, const char* what, const std::string& windows,
                            const std::string& project) {
        if (++differ > kShownDisagreements) {
            return;
        }
        const IniQuestion& question = *one.question;
        ADD_FAILURE() << one.file->name << " " << Escaped(one.file->text) << "\n  "
                      << (question.write ? "write " : "read ") << Escaped(question.section) << " "
                      << Escaped(question.key)
                      << (question.write ? " " + Escaped(question.value) : "") << ": " << what
                      << "\n  Windows: " << Escaped(windows) << "\n  project: " << Escaped(project);
    };
    for (const Asked& one : asked) {
        const auto& [profile, projectField] = answers[one.oracleLine];
        const std::string onWindows = FromHex(projectField);
        const bool nothing = WindowsReadsAsNothing(one.file->text);
        if (onWindows != one.onLinux) {
            ++betweenBuilds;
            report(one, "the Windows build answers otherwise", one.onLinux, onWindows);
        }
        if (!one.question->write) {
            const std::string windows = nothing ? "" : DecodeCp932(profile);
            if (one.onLinux != windows) {
                report(one, "read differs", windows, one.onLinux);
            }
            continue;
        }
        if (!ChangesOneLineInPlace(one.file->text, one.onLinux)) {
            report(one, "write changes more than the key's line", one.file->text, one.onLinux);
        }
        const std::string& rewritten = answers[one.canonLine].first;
        if (!nothing && rewritten != profile) {
            report(one, "write differs (both files as Wine rewrites them)", profile, rewritten);
        }
    }
    const std::size_t writes = static_cast<std::size_t>(std::count_if(
        asked.begin(), asked.end(), [](const Asked& a) { return a.question->write; }));
    std::printf("%zu files, %zu reads, %zu writes: %d answers differ from Windows' "
                "(%d between the project's Linux and Windows builds)\n",
                corpus.size(), asked.size() - writes, writes, differ, betweenBuilds);
    EXPECT_EQ(differ, 0);
}

} // namespace
} // namespace kestrune::test
