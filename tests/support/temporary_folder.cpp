#include "tests/support/temporary_folder.h"

#include <random>
#include <string>

namespace kestrune::test {

namespace {

// Names tried before giving up; a clash needs another test run that drew the
// same random name at the same moment.
constexpr int kNameAttempts = 100;
constexpr int kRandomLetters = 10;

} // namespace

std::filesystem::path MakeTemporaryFolder(std::string_view prefix) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) {
        return {};
    }
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<std::size_t> letter(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name(prefix);
        name += '-';
        for (int i = 0; i < kRandomLetters; ++i) {
            name += kLetters[letter(random)];
        }
        const std::filesystem::path folder = (base / name).make_preferred();
        // create_directory is false for a folder that already exists, so
        // two tests never share one.
        if (std::filesystem::create_directory(folder, error)) {
            return folder;
        }
        if (error) {
            return {};
        }
    }
    return {};
}

} // namespace kestrune::test
