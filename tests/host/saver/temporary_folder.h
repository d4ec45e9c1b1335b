#pragma once

#include "tests/support/temporary_folder.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace kestrune::test {

// A fresh folder under the system's temporary folder, removed with all it
// holds when the object dies.
class TemporaryFolder {
public:
    TemporaryFolder() : m_path(MakeTemporaryFolder("kestrune-saver").string()) {}
    ~TemporaryFolder() {
        std::error_code ignored;
        if (!m_path.empty()) {
            std::filesystem::remove_all(m_path, ignored);
        }
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    bool ok() const { return !m_path.empty(); }
    const std::string& path() const { return m_path; }
    // `name` inside the folder, joined with the platform's separator.
    std::string operator/(const std::string& name) const {
        return (std::filesystem::path(m_path) / name).make_preferred().string();
    }

private:
    std::string m_path;
};

} // namespace kestrune::test
