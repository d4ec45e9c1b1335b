#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kestrune::test {

// What tells two files apart on one machine: the device and the inode on
// Linux, the volume and the file index on Windows. A file replaced by a new
// one under the same name gets a new identity; one rewritten in place keeps
// its own.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at `path` (a link is followed), or nothing when
// there is no such file.
std::optional<FileIdentity> IdentityOf(const std::string& path);

} // namespace kestrune::test
