#pragma once

#include <string>
#include <vector>

// Settings files of the kind people edit by hand, made the same way on every
// run, with questions to put to each: the corpus of the differential test
// that holds the project's reader and writer against the Windows profile
// calls.
namespace kestrune::test {

// A question put to a settings file: the value of a key, or the file after
// setting one. Names and values are code page 932 bytes, as the profile calls
// get them.
struct IniQuestion {
    bool write = false;
    std::string section;
    std::string key;
    std::string value; // what a write sets
};

struct IniCorpusFile {
    std::string name; // what it tries, for messages ("ctrl-z", "mix-017")
    std::string text; // its bytes
    std::vector<IniQuestion> questions;
};

// Each oddity of hand-edited files on its own in a few files, then random
// mixes of them: a few hundred files.
std::vector<IniCorpusFile> MakeIniCorpus();

} // namespace kestrune::test
