#include "host/hack/current_pictures.h"

#include "common/kestrune_names.h"
#include "host/pictures/bmp_writer.h"
#include "host/pictures/texture_pictures.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

namespace kestrune {

namespace {

// Whether `path` is a regular file of its own (not reached through a link)
// holding exactly `bytes`.
bool Holds(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(path, error);
    if (error || !std::filesystem::is_regular_file(status) ||
        std::filesystem::file_size(path, error) != bytes.size() || error) {
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> held(bytes.size());
    in.read(reinterpret_cast<char*>(held.data()), static_cast<std::streamsize>(held.size()));
    return in.gcount() == static_cast<std::streamsize>(bytes.size()) && held == bytes;
}

} // namespace

bool WriteCurrentTexturePictures(const std::string& folder, std::string* error) {
    bool allCurrent = true;
    for (int number = 1; number <= kTextureFileCount; ++number) {
        const std::string path = TextureFilePath(folder, number);
        const Picture picture = Pic1Picture(number);
        if (Holds(path, EncodeBmp(picture))) {
            continue;
        }
        std::string reason;
        if (!SaveBmp(path, picture, &reason)) {
            allCurrent = false;
            if (error) {
                *error += reason + "\n";
            }
        }
    }
    return allCurrent;
}

} // namespace kestrune
