#pragma once

#include <string>
#include <string_view>

// The few file operations the settings need, one implementation per
// platform. Paths are UTF-8.
namespace kestrune {

enum class FileReadStatus {
    Read,    // `bytes` holds the whole file
    Missing, // no such file (a missing folder on the way counts too)
    Failed,  // the file is there but could not be read (or is no file)
};

FileReadStatus ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces the file's contents with `bytes`, or creates the file. A
// symbolic link is followed to its target, which is what gets replaced, and
// stays a link (a link to a missing file gets that file created); the
// saver's texture files are replaced the other way (ReplaceFileNotFollowingLinks
// in host/core/replace_file.h). The new contents go into a temporary file
// beside the target, which then takes the target's place in one step, with
// the target's permissions: a crash or a full disk leaves the old file or the
// new one, never half of one. Only where this user may not create files in
// that folder is an existing file rewritten in place instead; a full disk or
// quota is reported as a failure and leaves the old file as it was. Returns
// whether the file now holds `bytes`.
bool ReplaceFileFollowingLinks(const std::string& path, std::string_view bytes);

// Whether `path` names a regular file that this process can open for
// reading. Folders, devices, pipes and unreadable files give false.
bool IsReadableRegularFile(const std::string& path);

} // namespace kestrune
