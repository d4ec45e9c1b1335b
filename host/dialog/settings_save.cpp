#include "host/dialog/settings_save.h"

#include "host/core/Kestrune_B.h"
#include "host/core/numeric_text.h"
#include "host/core/text_codec.h"

namespace kestrune {

namespace {

bool IsBlank(char c) {
    // The blanks the settings file trims around a value.
    return c == ' ' || c == '\t' || c == '\v';
}

} // namespace

std::string FileValueText(const std::string& path) {
    if (!path.empty() && (IsBlank(path.front()) || IsBlank(path.back()))) {
        return '"' + path + '"';
    }
    return path;
}

SaveResult SaveSettings(const std::string& settingsFile, std::int16_t kind, std::int16_t repeat,
                        const std::string& musicFile) {
    const std::string fileValue = FileValueText(musicFile);
    // The numbers are digits; only a path can hold what the file cannot.
    if (!EncodeCp932(fileValue)) {
        return SaveResult::Unrepresentable;
    }
    const std::string kindText = NumberText(kind);
    const std::string repeatText = NumberText(repeat);
    const IniEntry settings[] = {
        {kBgmKindKey, kindText},
        {kBgmRepeatKey, repeatText},
        {kBgmFileKey, fileValue},
    };
    return WriteIniValues(kSettingsSection, settings, settingsFile) ? SaveResult::Saved
                                                                    : SaveResult::FileError;
}

std::string SaveFailureMessage(SaveResult result, const std::string& musicFile,
                               const std::string& settingsFile) {
    std::string message = "設定を保存できませんでした。設定ﾌｧｲﾙは元のままです。\n\n";
    if (result == SaveResult::Unrepresentable) {
        message += std::string(kBgmFileKey) + " = " + musicFile +
                   "\n（設定ﾌｧｲﾙの文字ｺｰﾄﾞで表せない文字があります）";
    } else {
        message += "（設定ﾌｧｲﾙに書き込めません）";
    }
    message += "\n\n設定ﾌｧｲﾙ: ";
    message += settingsFile;
    return message;
}

std::optional<std::string> RefusedPathMessage(const std::string& path) {
    // A path that code page 932 cannot hold at all is left to the save,
    // which names it; here only the length is at stake.
    const std::optional<std::string> bytes = EncodeCp932(path);
    if (!bytes || bytes->size() <= kLongestStoredPath) {
        return std::nullopt;
    }
    return "ﾌｧｲﾙのﾊﾟｽが長すぎるため選べません（" + std::to_string(kLongestStoredPath) +
           " ﾊﾞｲﾄまで、このﾊﾟｽは " + std::to_string(bytes->size()) + " ﾊﾞｲﾄ）。\n\n" + path;
}

} // namespace kestrune
