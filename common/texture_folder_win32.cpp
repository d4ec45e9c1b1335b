#include "common/kestrune_names.h"

namespace kestrune {

std::string TextureFolder() {
    return "C:\\r_vosk";
}

const char* PathSeparator() {
    return "\\";
}

} // namespace kestrune
