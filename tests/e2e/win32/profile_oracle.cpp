// profile-oracle: answers questions about settings files twice, with the
// Windows profile calls themselves (GetPrivateProfileStringA and
// WritePrivateProfileStringA, in code page 932) and with the project's own
// reader and writer as built for Windows, for the differential test of the
// settings file (tests/host/core/ini_differential_test.cpp), which runs it
// under Wine.
//
//   profile-oracle QUESTIONS ANSWERS
//
// QUESTIONS holds one question a line, its fields apart by single blanks and
// every text field in hexadecimal ("-" when empty; code page 932 bytes).
// Each names two files: the one the profile calls get and the one the
// project gets (the same file, or one that Windows would read alike: see the
// test).
//   read FILES SECTION KEY         the value of the key
//   write FILES SECTION KEY VALUE  the file's bytes after setting the key
//   canon FILES                    the file's bytes as the profile calls save it
// ANSWERS gets one line for each question: the profile calls' answer and the
// project's, in hexadecimal, apart by one blank ("-" where the project has no
// answer). A read answers with the bytes the profile calls return and the
// UTF-8 text ReadIniString returns; a write works on copies of the files and
// answers with the bytes of each copy afterwards, the profile calls' copy in
// its canonical form (below).
//
// Exit code 0 when every question was answered; 1 when the process does not
// run in code page 932 or a file could not be read or written; 2 for a wrong
// command line.

#include "host/core/ini_file.h"
#include "host/core/text_codec.h"
#include "tests/host/core/ini_oracle_format.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

using kestrune::test::FromHex;
using kestrune::test::ToHex;

constexpr UINT kCodePage932 = 932;
// GetPrivateProfileStringA gets the same buffer as the host's ReadIniValue.
constexpr DWORD kValueBufferSize = 256;
// A section that no file of the corpus has, added and removed again to make
// the profile calls save a file.
constexpr const char* kScratchSection = "profile-oracle canonical form";

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The profile calls keep the files they have read in a cache of their own;
// every write works on a fresh copy, so that the cache never answers for a
// file that has changed since.
bool Copy(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

// Wine's profile calls rewrite the whole file from what they parsed on every
// write (Windows changes the one line). Saving a file once more through them
// gives its canonical form: the same for two files that the profile calls
// read alike.
bool Canonicalise(const std::string& path) {
    if (!WritePrivateProfileStringA(kScratchSection, "k", "v", path.c_str()) ||
        !WritePrivateProfileStringA(kScratchSection, nullptr, nullptr, path.c_str())) {
        return false;
    }
    // Flush the cache to the file. Wine answers FALSE to this request even
    // when it did it, so the answer is not looked at.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
    return true;
}

struct Answer {
    bool ok = false;
    DWORD error = 0; // when not ok: the failing call's error
    std::string profile;
    std::string project = "-";
};

// The two files of a question.
struct Files {
    std::string profile;
    std::string project;
};

Answer Read(const Files& files, const std::string& section, const std::string& key) {
    Answer answer;
    char buffer[kValueBufferSize] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, kValueBufferSize,
                             files.profile.c_str());
    // The host takes the buffer's text up to its first NUL, whatever length
    // the call reports.
    answer.profile = ToHex(buffer);
    answer.project =
        ToHex(kestrune::ReadIniString(files.project, kestrune::DecodeCp932(section),
                                      kestrune::DecodeCp932(key), kValueBufferSize - 1));
    answer.ok = true;
    return answer;
}

Answer Write(const Files& files, const std::string& section, const std::string& key,
             const std::string& value, int question) {
    Answer answer;
    const std::string profileCopy = files.profile + ".profile" + std::to_string(question);
    const std::string projectCopy = files.project + ".project" + std::to_string(question);
    if (!Copy(files.profile, profileCopy) || !Copy(files.project, projectCopy) ||
        !WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                    profileCopy.c_str()) ||
        !Canonicalise(profileCopy)) {
        answer.error = GetLastError();
        return answer;
    }
    const kestrune::IniWriteResult result =
        kestrune::WriteIniString(projectCopy, kestrune::DecodeCp932(section),
                                 kestrune::DecodeCp932(key), kestrune::DecodeCp932(value));
    answer.profile = ToHex(ReadBytes(profileCopy));
    answer.project =
        ToHex(result == kestrune::IniWriteResult::Written
                  ? ReadBytes(projectCopy)
                  : std::string("refused: ") + kestrune::DescribeIniWriteResult(result));
    answer.ok = true;
    return answer;
}

Answer Canon(const Files& files, int question) {
    Answer answer;
    const std::string copy = files.profile + ".canon" + std::to_string(question);
    if (!Copy(files.profile, copy) || !Canonicalise(copy)) {
        answer.error = GetLastError();
        return answer;
    }
    answer.profile = ToHex(ReadBytes(copy));
    answer.ok = true;
    return answer;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: profile-oracle QUESTIONS ANSWERS\n");
        return 2;
    }
    // The A calls convert with the process's ANSI code page: in any other
    // than 932 they would answer other questions than the ones asked.
    if (GetACP() != kCodePage932) {
        std::fprintf(stderr, "profile-oracle: the ANSI code page is %u, not 932\n", GetACP());
        return 1;
    }
    std::ifstream questions(argv[1]);
    std::ofstream answers(argv[2], std::ios::binary);
    std::string line;
    for (int number = 1; std::getline(questions, line); ++number) {
        std::istringstream fields(line);
        std::string command;
        Files files;
        std::string section;
        std::string key;
        std::string value;
        fields >> command >> files.profile >> files.project >> section >> key >> value;
        Answer answer;
        if (command == "read") {
            answer = Read(files, FromHex(section), FromHex(key));
        } else if (command == "write") {
            answer = Write(files, FromHex(section), FromHex(key), FromHex(value), number);
        } else if (command == "canon") {
            answer = Canon(files, number);
        } else {
            std::fprintf(stderr, "profile-oracle: line %d: unknown question \"%s\"\n", number,
                         command.c_str());
            return 2;
        }
        if (!answer.ok) {
            std::fprintf(stderr, "profile-oracle: line %d: %s failed for %s (error %lu)\n", number,
                         command.c_str(), files.profile.c_str(), answer.error);
            return 1;
        }
        answers << answer.profile << ' ' << answer.project << '\n';
    }
    return answers.good() ? 0 : 1;
}
