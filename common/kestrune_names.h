#pragma once

#include <string>

// The contract between the host and the renderer is nothing but these names:
// the files the host writes before every start, the program it starts, and
// the window title it polls for while the renderer runs.
namespace kestrune {

inline constexpr const char* kRendererWindowTitle = "Kestrune_VC";
inline constexpr const char* kRendererProgramName = "Kestrune.dll";
inline constexpr const char* kHostProgramName = "Kestrune.scr";

// The texture files are numbered 1 to 4: Kestrune1.bmp ... Kestrune4.bmp.
inline constexpr int kTextureFileCount = 4;

// What each texture file holds, by its number. The host writes the pictures
// in this order, and the renderer reads each file for the objects named here.
// The fade overlay's single black pixel.
inline constexpr int kOverlayTextureFile = 1;
// The spark that every particle of the emitters shows.
inline constexpr int kSparkTextureFile = 2;
// The star cluster: both textures of the figures and sky box slots 0 to 3.
inline constexpr int kClusterTextureFile = 3;
// The night sky: sky box slots 4 and 5.
inline constexpr int kSkyTextureFile = 4;

// The texture file of the sky box's face slot `slot` (0 to 5).
constexpr int SkyBoxTextureFile(unsigned slot) {
    constexpr unsigned kClusterSlots = 4;
    return slot < kClusterSlots ? kClusterTextureFile : kSkyTextureFile;
}

// The folder holding the texture files. On Windows the fixed "C:\r_vosk"; on
// Linux a per-user cache folder ($XDG_CACHE_HOME/r_vosk, or ~/.cache/r_vosk),
// never a shared world-writable one. Empty when no such folder can be named
// (no cache folder and no home folder is known): then there are no texture
// files at all, rather than files in the root folder. The folder is not
// created here.
std::string TextureFolder();

// Creates the texture folder when it is missing, with its missing parents
// (CreateFolderWithParents). Returns whether the folder exists now; false
// also when there is no texture folder to make.
bool CreateTextureFolder();

// Creates `folder` and every missing folder above it, as the texture folder
// needs (on a fresh Linux account not even ~/.cache exists); on Linux each
// folder made here is readable by the user alone (mode 0700), as a cache of
// the user's own should be. Folders that exist are left as they are. Returns
// whether `folder` is a folder now; otherwise `error` (when given) says why.
bool CreateFolderWithParents(const std::string& folder, std::string* error = nullptr);

// The platform's path separator, as a string to append.
const char* PathSeparator();

// Full path of texture file `number` (1 to 4) in `folder`; empty when the
// folder is empty, so that no texture file is ever looked for or written in
// the root folder or the working folder by accident.
std::string TextureFilePath(const std::string& folder, int number);

// Full path of texture file `number` in TextureFolder().
std::string TextureFilePath(int number);

} // namespace kestrune
