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

std::vector<SaveFailure> SaveSettings(const std::string& settingsFile, std::int16_t kind,
                                      std::int16_t repeat, const std::string& musicFile) {
    struct Setting {
        const char* key;
        std::string value;
    };
    const Setting settings[] = {
        {kBgmKindKey, NumberText(kind)},
        {kBgmRepeatKey, NumberText(repeat)},
        {kBgmFileKey, FileValueText(musicFile)},
    };
    std::vector<SaveFailure> failures;
    for (const Setting& setting : settings) {
        if (!WriteIniValue(kSettingsSection, setting.key, setting.value, settingsFile)) {
            failures.push_back(
                SaveFailure{setting.key, setting.value, !EncodeCp932(setting.value).has_value()});
        }
    }
    return failures;
}

std::string SaveFailureMessage(const std::vector<SaveFailure>& failures,
                               const std::string& settingsFile) {
    std::string message = "次の設定を保存できませんでした。\n";
    for (const SaveFailure& failure : failures) {
        message += "\n";
        message += failure.key;
        message += " = ";
        message += failure.value;
        message += failure.unrepresentable ? "\n（設定ﾌｧｲﾙの文字ｺｰﾄﾞで表せない文字があります）"
                                           : "\n（設定ﾌｧｲﾙに書き込めません）";
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
