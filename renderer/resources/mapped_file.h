#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace kestrune {

// A whole file mapped read-only into memory, so that the picture loader reads
// headers, colour table and pixels in place instead of copying the file into
// a buffer of its own. The mapping lives as long as the object.
class MappedFile {
public:
    // Opens and maps `path`. When the file cannot be opened, mapped or viewed
    // (an empty file included, which no platform can map) the object is empty
    // and Ok() is false.
    explicit MappedFile(const char* path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool Ok() const { return m_data != nullptr; }
    std::span<const std::uint8_t> Bytes() const { return {m_data, m_size}; }

private:
    const std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
};

} // namespace kestrune
