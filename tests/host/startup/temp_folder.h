#pragma once

#include <string>
#include <string_view>

namespace kestrune::test {

// A fresh folder under the system's temporary folder, removed with all it
// holds when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return m_path; }
    // `name` inside the folder, joined with the platform's separator (the
    // settings routines split paths by the platform's rules).
    std::string File(std::string_view name) const;

private:
    std::string m_path;
};

// The whole file's bytes ("" when it cannot be read) and a file written with
// exactly `bytes`.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, std::string_view bytes);

// The names in a folder, "." and ".." left out, sorted.
std::string FolderListing(const std::string& folder);

} // namespace kestrune::test
