#include "tests/support/temporary_folder.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace kestrune::test {

namespace {

// Names tried before giving up; a clash needs another test run that drew the
// same random name at the same moment.
constexpr int kNameAttempts = 100;
constexpr int kRandomLetters = 10;

// UTF-8 text as a path and back, the same on both platforms (on Windows a
// narrow string would be read in the system's code page).
std::filesystem::path PathOf(std::string_view utf8) {
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

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

TempFolder::TempFolder(std::string_view prefix) : m_path(Utf8Of(MakeTemporaryFolder(prefix))) {}

TempFolder::~TempFolder() {
    if (m_path.empty()) {
        return;
    }
    std::error_code ignored;
    // A test may leave the folder without write permission behind.
    std::filesystem::permissions(PathOf(m_path), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(PathOf(m_path), ignored);
}

std::string TempFolder::File(std::string_view name) const {
    return Utf8Of((PathOf(m_path) / PathOf(name)).make_preferred());
}

std::string TempFolder::Write(std::string_view name, std::string_view bytes) const {
    const std::string file = File(name);
    WriteBytes(file, bytes);
    return file;
}

std::string TempFolder::Write(std::string_view name, const std::vector<std::uint8_t>& bytes) const {
    return Write(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string ReadBytes(const std::string& path) {
    return ReadBytes(PathOf(path));
}

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(PathOf(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void CopyProgram(const std::filesystem::path& from, const std::filesystem::path& to) {
    namespace fs = std::filesystem;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
    fs::permissions(to, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec);
}

std::string FolderListing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(PathOf(folder))) {
        names.push_back(Utf8Of(entry.path().filename()));
    }
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const std::string& name : names) {
        listing += name + "\n";
    }
    return listing;
}

} // namespace kestrune::test
