// The settings file's reader and writer against the Windows profile calls.
// Every file of the corpus (ini_corpus.h) and every question to it goes to
// profile-oracle.exe under Wine, which answers with GetPrivateProfileStringA
// and WritePrivateProfileStringA in code page 932 and with the project's own
// Windows build; this side answers with the Linux build. All three must give
// the same bytes, except where Wine's profile calls are known to differ from
// Windows' (WindowsView below).
//
// Needs the mingw build and a Wine prefix: scripts/test-windows.sh runs it.

#include "host/startup/ini_file.h"
#include "host/startup/ini_text.h"
#include "host/startup/text_codec.h"
#include "tests/host/startup/ini_corpus.h"
#include "tests/support/child_process.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

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

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string WindowsPath(const fs::path& path) {
    std::string windows = "Z:" + path.string();
    for (char& c : windows) {
        c = c == '/' ? '\\' : c;
    }
    return windows;
}

std::string Hex(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (const char c : bytes) {
        hex += kDigits[static_cast<unsigned char>(c) >> 4];
        hex += kDigits[static_cast<unsigned char>(c) & 0x0F];
    }
    return hex.empty() ? "-" : hex;
}

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t at = 0; at + 1 < hex.size(); at += 2) {
        bytes += static_cast<char>(std::stoi(hex.substr(at, 2), nullptr, 16));
    }
    return bytes;
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

// The lines of a file in code page 932 (or UTF-8, for a UTF-16 file) as
// Windows parses them, rewritten so that Wine parses them alike:
// - A line whose first non-blank character is ";" is a comment to Windows,
//   which skips it; Wine has no comments and reads such a line as a key
//   (";key"). The line is left empty.
// - A section name runs to the first "]" with Windows ("[a]b]" is section
//   "a"), to the last one with Wine; and a header without "]" is a section
//   to Windows, a key to Wine. The header is written anew as "[name]".
// Both are what a reverse-engineering test suite run on Windows 10 records
// of its profile calls (its comment and square-bracket cases). Lines end
// and blanks are skipped as both read them.
std::string WindowsLines(std::string_view text, bool utf8) {
    const auto isBlank = [](char c) {
        return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A';
    };
    std::string view;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t contentEnd = text.find_first_of("\r\n", begin);
        contentEnd = contentEnd == std::string_view::npos ? text.size() : contentEnd;
        std::size_t end = contentEnd;
        if (end < text.size()) {
            end += text.substr(end, 2) == "\r\n" ? 2 : 1;
        }
        const std::string_view content = text.substr(begin, contentEnd - begin);
        const std::string_view lineBreak = text.substr(contentEnd, end - contentEnd);
        begin = end;
        std::size_t at = 0;
        while (at < content.size() && isBlank(content[at])) {
            ++at;
        }
        if (at < content.size() && content[at] == ';') {
            view += lineBreak;
        } else if (at < content.size() && content[at] == '[') {
            std::size_t nameEnd = at + 1;
            while (nameEnd < content.size() && content[nameEnd] != ']') {
                nameEnd += utf8 ? 1 : Cp932CharLength(content, nameEnd);
            }
            view += "[" + std::string(content.substr(at + 1, nameEnd - at - 1)) + "]" +
                    std::string(lineBreak);
        } else {
            view += content;
            view += lineBreak;
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
    const auto lines = [](const std::string& text) {
        std::vector<std::string> split;
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t end = text.find('\n', at);
            const std::size_t next = end == std::string::npos ? text.size() : end + 1;
            split.push_back(text.substr(at, next - at));
            at = next;
        }
        return split;
    };
    const std::vector<std::string> old = lines(before);
    const std::vector<std::string> now = lines(after);
    std::size_t head = 0;
    while (head < old.size() && head < now.size() && old[head] == now[head]) {
        ++head;
    }
    std::size_t tail = 0;
    while (tail < old.size() - head && tail < now.size() - head &&
           old[old.size() - 1 - tail] == now[now.size() - 1 - tail]) {
        ++tail;
    }
    return old.size() - head - tail <= 1 && now.size() - head - tail <= 3;
}

// One question as this side asked it, and what it answered.
struct Asked {
    const IniCorpusFile* file = nullptr;
    const IniQuestion* question = nullptr;
    std::string onLinux;      // the Linux build's answer (UTF-8 for reads, bytes for writes)
    int oracleLine = 0;       // the oracle's line with the answers to compare
    int canonLine = 0;        // writes: Wine's rewrite of the Linux build's file
    bool windowsView = false; // Wine gets WindowsView(file), not the file
};

class Oracle {
public:
    explicit Oracle(fs::path folder) : m_folder(std::move(folder)) {}

    int Ask(const std::string& line) {
        m_questions += line + "\n";
        return ++m_count;
    }

    // Runs the oracle; an empty result when it failed.
    std::vector<std::pair<std::string, std::string>> Run(const fs::path& program) {
        const fs::path questions = m_folder / "questions.txt";
        const fs::path answers = m_folder / "answers.txt";
        WriteFile(questions, m_questions);
        ChildProcess::Options options;
        options.arguments = {program.string(), WindowsPath(questions), WindowsPath(answers)};
        options.environment = {{"LC_ALL", kJapaneseLocale}};
        options.outputPath = (m_folder / "oracle.out").string();
        const std::optional<int> code = RunProgram("/usr/bin/wine", options, kOracleDeadline);
        if (code != 0) {
            ADD_FAILURE() << "profile-oracle failed (" << (code ? std::to_string(*code) : "timeout")
                          << "): " << ReadFile(m_folder / "oracle.out");
            return {};
        }
        std::vector<std::pair<std::string, std::string>> lines;
        std::istringstream in(ReadFile(answers));
        std::string line;
        while (std::getline(in, line)) {
            const std::size_t blank = line.find(' ');
            lines.emplace_back(FromHex(line.substr(0, blank)), line.substr(blank + 1));
        }
        return lines;
    }

private:
    fs::path m_folder;
    std::string m_questions;
    int m_count = 0;
};

TEST(IniDifferentialTest, ReaderAndWriterAnswerAsTheWindowsProfileCallsDo) {
    const std::string build = Environment("KESTRUNE_WINDOWS_BUILD");
    const fs::path oracleProgram = fs::path(build) / "tests/e2e/profile-oracle.exe";
    ASSERT_TRUE(fs::exists(oracleProgram))
        << "KESTRUNE_WINDOWS_BUILD names no mingw build with profile-oracle.exe "
           "(scripts/test-windows.sh sets it)";
    ASSERT_FALSE(Environment("WINEPREFIX").empty())
        << "no WINEPREFIX: run under scripts/wine-env.sh";
    const fs::path folder = MakeTemporaryFolder("kestrune-ini-differential");
    ASSERT_FALSE(folder.empty());

    const std::vector<IniCorpusFile> corpus = MakeIniCorpus();
    Oracle oracle(folder);
    std::vector<Asked> asked;
    int reads = 0;
    int writes = 0;
    for (std::size_t f = 0; f < corpus.size(); ++f) {
        const IniCorpusFile& file = corpus[f];
        const fs::path path = folder / ("c" + std::to_string(f) + ".ini");
        WriteFile(path, file.text);
        fs::path viewPath = path;
        if (WindowsView(file.text) != file.text) {
            viewPath = folder / ("c" + std::to_string(f) + ".view.ini");
            WriteFile(viewPath, WindowsView(file.text));
        }
        const std::string files = WindowsPath(viewPath) + " " + WindowsPath(path);
        for (std::size_t q = 0; q < file.questions.size(); ++q) {
            const IniQuestion& question = file.questions[q];
            Asked one{&file, &question, {}, 0, 0, viewPath != path};
            const std::string section = DecodeCp932(question.section);
            const std::string key = DecodeCp932(question.key);
            if (!question.write) {
                ++reads;
                one.onLinux = ReadIniString(path.string(), section, key, kValueBytes);
                one.oracleLine = oracle.Ask("read " + files + " " + Hex(question.section) + " " +
                                            Hex(question.key));
            } else {
                ++writes;
                const fs::path copy =
                    folder / ("c" + std::to_string(f) + "q" + std::to_string(q) + ".ini");
                fs::copy_file(path, copy);
                const IniWriteResult result =
                    WriteIniString(copy.string(), section, key, DecodeCp932(question.value));
                one.onLinux = result == IniWriteResult::Written
                                  ? ReadFile(copy)
                                  : std::string("refused: ") + DescribeIniWriteResult(result);
                WriteFile(copy.string() + ".view", WindowsView(one.onLinux));
                one.oracleLine = oracle.Ask("write " + files + " " + Hex(question.section) + " " +
                                            Hex(question.key) + " " + Hex(question.value));
                one.canonLine = oracle.Ask("canon " + WindowsPath(copy.string() + ".view") + " " +
                                           WindowsPath(copy));
            }
            asked.push_back(one);
        }
    }

    const auto answers = oracle.Run(oracleProgram);
    ASSERT_FALSE(answers.empty());

    int disagreements = 0;
    int betweenBuilds = 0;
    const auto report = [&](const Asked& one, const std::string& what, const std::string& windows,
                            const std::string& project) {
        if (++disagreements > kShownDisagreements) {
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
        const auto& [profile, projectOnWindows] = answers.at(one.oracleLine - 1);
        const bool nothing = WindowsReadsAsNothing(one.file->text);
        if (!one.question->write) {
            const std::string windows = nothing ? "" : DecodeCp932(profile);
            if (one.onLinux != windows) {
                report(one, "read differs", windows, one.onLinux);
            }
            if (FromHex(projectOnWindows) != one.onLinux) {
                ++betweenBuilds;
                report(one, "the Windows build reads otherwise", one.onLinux,
                       FromHex(projectOnWindows));
            }
            continue;
        }
        if (!ChangesOneLineInPlace(one.file->text, one.onLinux) &&
            !StartsWith(one.file->text, kUtf16LeMark)) {
            report(one, "write changes more than the key's line", one.file->text, one.onLinux);
        }
        if (!nothing) {
            const std::string& linuxRewritten = answers.at(one.canonLine - 1).first;
            if (linuxRewritten != profile) {
                report(one, "write differs (both files as Wine rewrites them)", profile,
                       linuxRewritten);
            }
        }
        if (FromHex(projectOnWindows) != one.onLinux) {
            ++betweenBuilds;
            report(one, "the Windows build writes otherwise", one.onLinux,
                   FromHex(projectOnWindows));
        }
    }
    std::printf("%zu files, %d reads, %d writes: %d answers differ from the profile calls' "
                "(%d between the project's Linux and Windows builds)\n",
                corpus.size(), reads, writes, disagreements, betweenBuilds);
    EXPECT_EQ(disagreements, 0);

    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

} // namespace
} // namespace kestrune::test
