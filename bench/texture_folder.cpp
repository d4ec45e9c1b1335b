#include "bench/texture_folder.h"

#include "common/kestrune_names.h"
#include "host/pictures/texture_pictures.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <unistd.h>

namespace kestrune {

TemporaryTextureFolder::TemporaryTextureFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/kestrune-bench-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) == nullptr) {
        m_error = "cannot make a temporary folder in " + pattern;
        return;
    }
    m_path = name.data();
    if (!SaveTexturePictures(m_path, &m_error)) {
        // Whatever was written goes, and the folder with it.
        Remove();
    }
}

TemporaryTextureFolder::~TemporaryTextureFolder() {
    Remove();
}

void TemporaryTextureFolder::Remove() {
    if (m_path.empty()) {
        return;
    }
    for (int number = 1; number <= kTextureFileCount; ++number) {
        std::remove(TextureFilePath(m_path, number).c_str());
    }
    rmdir(m_path.c_str());
    m_path.clear();
}

} // namespace kestrune
