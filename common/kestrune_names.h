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

// The folder holding the texture files. On Windows the fixed "C:\r_vosk"; on
// Linux a per-user cache folder ($XDG_CACHE_HOME/r_vosk, or ~/.cache/r_vosk),
// never a shared world-writable one. The folder is not created here.
std::string TextureFolder();

// Creates the texture folder when it is missing: on Windows the one folder
// "C:\r_vosk"; on Linux with its missing parents, each made readable by the
// user alone (mode 0700), as a cache of the user's own should be. Returns
// whether the folder exists now.
bool CreateTextureFolder();

// The platform's path separator, as a string to append.
const char* PathSeparator();

// Full path of texture file `number` (1 to 4) in `folder`.
std::string TextureFilePath(const std::string& folder, int number);

// Full path of texture file `number` in TextureFolder().
std::string TextureFilePath(int number);

} // namespace kestrune
