#include "tests/host/startup/temp_folder.h"

#include "tests/support/temporary_folder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace kestrune::test {

TempFolder::TempFolder() : m_path(MakeTemporaryFolder("kestrune-ini").string()) {}

std::string TempFolder::File(std::string_view name) const {
    return (std::filesystem::path(m_path) / name).make_preferred().string();
}

TempFolder::~TempFolder() {
    if (!m_path.empty()) {
        std::error_code ignored;
        // A test may leave a folder without write permission behind.
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string FolderListing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const std::string& name : names) {
        listing += name + "\n";
    }
    return listing;
}

} // namespace kestrune::test
