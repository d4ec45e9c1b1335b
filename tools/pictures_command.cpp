#include "tools/pictures_command.h"

#include "common/kestrune_names.h"
#include "host/pictures/texture_pictures.h"

#include <cstdio>
#include <string>

namespace kestrune::tool {

namespace {

int RunPictures(std::span<char* const> args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "Usage: kestrune-tool pictures DIR\n");
        return 2;
    }
    const std::string folder = args[0];
    std::string error;
    // The folder is made as the host makes the texture folder: a fresh
    // account has no ~/.cache/r_vosk yet.
    if (!CreateFolderWithParents(folder, &error)) {
        std::fprintf(stderr, "kestrune-tool pictures: %s\n", error.c_str());
        return 1;
    }
    if (!SaveTexturePictures(folder, &error)) {
        std::fprintf(stderr, "kestrune-tool pictures: %s", error.c_str());
        return 1;
    }
    for (int number = 1; number <= kTextureFileCount; ++number) {
        const int size = Pic1Size(number);
        std::printf("%s %dx%d\n", TextureFilePath(folder, number).c_str(), size, size);
    }
    return 0;
}

} // namespace

const Command kPicturesCommand = {
    "pictures", "DIR",
    "Write the saver's texture pictures as Kestrune1.bmp to Kestrune4.bmp into the folder DIR "
    "(made when missing).",
    RunPictures};

} // namespace kestrune::tool
