#pragma once

#include <string>
#include <string_view>

// How the settings routines take paths apart. Both platforms' rules are
// plain functions, so either can be used (and tested) anywhere; the
// Platform* functions apply the running platform's (path_rules_posix.cpp,
// path_rules_win32.cpp).
namespace kestrune {

// Windows: "\" and ":" both end a folder. The folder is the text up to the
// last of them, without a final "\": "C:\Music\a.mp3" gives "C:\Music",
// "C:\a.mp3" gives "C:" and "D:a.mp3" gives "D:"; a bare name gives "".
std::string FolderOfWindowsPath(std::string_view path);

// Linux: "/" is the only separator and ":" an ordinary character. The
// folder is the text up to the last "/", without that "/" unless it is the
// root, which keeps it as "C:" keeps its drive: "/music/a.mp3" gives
// "/music", "/a.mp3" gives "/"; a bare name gives "".
std::string FolderOfPosixPath(std::string_view path);

// The path without one final separator ("\" on Windows, "/" on Linux).
std::string_view WithoutTrailingWindowsSeparator(std::string_view path);
std::string_view WithoutTrailingPosixSeparator(std::string_view path);

// `name` in `folder`, with one separator between them even when the folder
// already ends in one (a root).
std::string JoinWindowsPath(std::string_view folder, std::string_view name);
std::string JoinPosixPath(std::string_view folder, std::string_view name);

std::string FolderOfPlatformPath(std::string_view path);
std::string_view WithoutTrailingPlatformSeparator(std::string_view path);
std::string JoinPlatformPath(std::string_view folder, std::string_view name);

} // namespace kestrune
