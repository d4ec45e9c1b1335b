#include "common/kestrune_names.h"

namespace kestrune {

std::string TextureFilePath(const std::string& folder, int number) {
    if (folder.empty()) {
        return {};
    }
    return folder + PathSeparator() + "Kestrune" + std::to_string(number) + ".bmp";
}

std::string TextureFilePath(int number) {
    return TextureFilePath(TextureFolder(), number);
}

} // namespace kestrune
