// stb_image's implementation, compiled once for the BMP benchmark's peer
// decoder. Only its BMP reader is built, so that stb does not spend time
// probing for other formats on every load.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb/stb_image.h>
