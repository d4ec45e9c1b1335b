#pragma once

#include "tests/support/temporary_folder.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kestrune::test {

// A folder of its own for one test's files, removed with everything in it
// when the object goes.
class TempFolder {
public:
    TempFolder() : m_path(MakeTemporaryFolder("kestrune-bmp")) {}
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

    // Writes `bytes` to the named file in the folder and returns its path.
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        const std::filesystem::path file = m_path / name;
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return file.string();
    }

private:
    std::filesystem::path m_path;
};

} // namespace kestrune::test
