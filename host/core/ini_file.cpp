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
    std::string text;
    const FileReadStatus status = ReadWholeFile(path, text);
    if (status == FileReadStatus::Failed) {
        // Never replace a file that is there but could not be read: its other
        // lines would be lost.
        return IniWriteResult::FileError;
    }
    const ProfileEdit edit = SetProfileValue(text, section, key, value);
    switch (edit.status) {
    case ProfileEditStatus::Unrepresentable:
        return IniWriteResult::Unrepresentable;
    case ProfileEditStatus::InvalidName:
        return IniWriteResult::InvalidName;
    case ProfileEditStatus::Changed:
        break;
    }
    if (status == FileReadStatus::Read && edit.text == text) {
        return IniWriteResult::Written; // already so; the file stays untouched
    }
    return ReplaceFileFollowingLinks(path, edit.text) ? IniWriteResult::Written
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
