#pragma once

#include "common/kestrune_names.h"
#include "host/pictures/bmp_writer.h"
#include "host/pictures/texture_pictures.h"
#include "tests/support/temporary_folder.h"

#include <string>
#include <vector>

namespace kestrune::test {

// The numbers of the texture files in `folder` that do not hold the saver's
// pictures byte for byte, as " 2 4"; empty when all four do. What every test
// of the written pictures checks, whoever wrote them.
inline std::string TextureFilesNotCurrent(const std::string& folder) {
    std::string differing;
    for (int number = 1; number <= kTextureFileCount; ++number) {
        const std::vector<std::uint8_t> expected = EncodeBmp(Pic1Picture(number));
        if (ReadBytes(TextureFilePath(folder, number)) !=
            std::string(expected.begin(), expected.end())) {
            differing += " " + std::to_string(number);
        }
    }
    return differing;
}

} // namespace kestrune::test
