#include "renderer/resources/mapped_file.h"

#include <windows.h>

#include <cstdint>

namespace kestrune {

MappedFile::MappedFile(const char* path) {
    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    LARGE_INTEGER size = {};
    // An empty file cannot be mapped; the size check says so before trying.
    if (!GetFileSizeEx(file, &size) || size.QuadPart <= 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > SIZE_MAX) {
        CloseHandle(file);
        return;
    }
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
    // The view keeps the mapping and the file alive until it is unmapped, so
    // both handles can go now.
    if (mapping) {
        CloseHandle(mapping);
    }
    CloseHandle(file);
    if (!view) {
        return;
    }
    m_data = static_cast<const std::uint8_t*>(view);
    m_size = static_cast<std::size_t>(size.QuadPart);
}

MappedFile::~MappedFile() {
    if (m_data) {
        UnmapViewOfFile(m_data);
    }
}

} // namespace kestrune
