#pragma once

#include <string>

namespace kestrune {

// A private temporary folder holding the four texture files as the saver
// writes them, removed with everything in it when the object goes. The
// benchmarks draw with the real pictures, at their real sizes.
class TemporaryTextureFolder {
public:
    TemporaryTextureFolder();
    ~TemporaryTextureFolder();
    TemporaryTextureFolder(const TemporaryTextureFolder&) = delete;
    TemporaryTextureFolder& operator=(const TemporaryTextureFolder&) = delete;

    // Empty when the folder or a file could not be made; Error() says why.
    const std::string& Path() const { return m_path; }
    const std::string& Error() const { return m_error; }

private:
    void Remove();

    std::string m_path;
    std::string m_error;
};

} // namespace kestrune
