#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune::test {

// Makes a new, empty folder with a unique name that starts with `prefix`
// under the system's temporary folder, and returns its path in the
// platform's own form (backslashes on Windows). Returns an empty path when
// no folder could be made.
std::filesystem::path MakeTemporaryFolder(std::string_view prefix);

// A folder of its own for one test's files, removed with everything in it
// when the object goes (also when a test took its write permission away).
class TempFolder {
public:
    explicit TempFolder(std::string_view prefix = "kestrune-test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Whether the folder could be made; Path() is empty when not.
    bool Ok() const { return !m_path.empty(); }
    // The folder's path (UTF-8, in the platform's own form).
    const std::string& Path() const { return m_path; }
    // `name` inside the folder, joined with the platform's separator (the
    // code under test splits paths by the platform's rules).
    std::string File(std::string_view name) const;
    // Writes `bytes` to the file `name` in the folder and returns its path.
    std::string Write(std::string_view name, std::string_view bytes) const;
    std::string Write(std::string_view name, const std::vector<std::uint8_t>& bytes) const;

private:
    std::string m_path;
};

// The whole file's bytes ("" when it cannot be read) and a file written with
// exactly `bytes`.
std::string ReadBytes(const std::string& path);
std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::string& path, std::string_view bytes);

// Copies a program (and replaces an earlier copy) where every user may run
// it: tests run programs from folders of their own, as an installation would,
// and as other users, who may not enter the build tree (a checkout in a
// private home folder).
void CopyProgram(const std::filesystem::path& from, const std::filesystem::path& to);

// The names in a folder, "." and ".." left out, sorted, one a line.
std::string FolderListing(const std::string& folder);

} // namespace kestrune::test
