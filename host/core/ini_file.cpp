#include "host/core/ini_file.h"

#include "host/core/file_access.h"
#include "host/core/ini_text.h"
#include "host/core/text_codec.h"

#include <optional>

namespace kestrune {

std::string ReadIniString(const std::string& path, std::string_view section, std::string_view key,
                          std::size_t maxBytes) {
    std::string text;
    if (ReadWholeFile(path, text) != FileReadStatus::Read) {
        return {};
    }
    const std::optional<std::string> value = FindProfileValue(text, section, key);
    if (!value) {
        return {};
    }
    return DecodeCp932(Cp932Prefix(*value, maxBytes));
}

IniWriteResult WriteIniString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view value) {
    const IniEntry entry{key, value};
    return WriteIniStrings(path, section, std::span(&entry, 1));
}

IniWriteResult WriteIniStrings(const std::string& path, std::string_view section,
                               std::span<const IniEntry> entries) {
    std::string text;
    const FileReadStatus status = ReadWholeFile(path, text);
    if (status == FileReadStatus::Failed) {
        // Never replace a file that is there but could not be read: its other
        // lines would be lost.
        return IniWriteResult::FileError;
    }
    // Each key is set in the text the previous one left, exactly as one
    // write after the other would leave the file, but nothing reaches the
    // disk until every key has its place.
    std::string edited = text;
    for (const IniEntry& entry : entries) {
        ProfileEdit edit = SetProfileValue(edited, section, entry.key, entry.value);
        switch (edit.status) {
        case ProfileEditStatus::Unrepresentable:
            return IniWriteResult::Unrepresentable;
        case ProfileEditStatus::InvalidName:
            return IniWriteResult::InvalidName;
        case ProfileEditStatus::Changed:
            break;
        }
        edited = std::move(edit.text);
    }
    if (status == FileReadStatus::Read && edited == text) {
        return IniWriteResult::Written; // already so; the file stays untouched
    }
    return ReplaceFileFollowingLinks(path, edited) ? IniWriteResult::Written
                                                   : IniWriteResult::FileError;
}

const char* DescribeIniWriteResult(IniWriteResult result) {
    switch (result) {
    case IniWriteResult::Written:
        return "written";
    case IniWriteResult::Unrepresentable:
        return "code page 932 cannot hold the section, key or value";
    case IniWriteResult::InvalidName:
        return "the section, key or value would break the file (line break, \"=\" in the key, "
               "\"]\" in the section, or a key starting with \";\" or \"[\")";
    case IniWriteResult::FileError:
        return "the file could not be read or written";
    }
    return "unknown result";
}

} // namespace kestrune
