// libFuzzer target: the settings file's reader and writer on arbitrary file
// text, the file people edit by hand. The input is one byte choosing a key,
// one byte giving the length of a value, the value (code page 932 bytes) and
// then the file's text. Besides crashes and sanitizer reports, a finding is a
// write that reads back otherwise than written, changes another key, or
// changes a file that already holds the value.

#include "host/core/ini_text.h"
#include "host/core/text_codec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view kSection = "Section";
constexpr std::string_view kKeys[] = {"BGM区分", "BGMﾘﾋﾟｰﾄ", "BGMﾌｧｲﾙ"};
// What the host reads of a value: 255 bytes.
constexpr std::size_t kValueBytes = 255;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Reads a key as the host does: the file's value, cut where a character ends.
std::optional<std::string> Read(std::string_view text, std::string_view key) {
    const std::optional<std::string> value = kestrune::FindProfileValue(text, kSection, key);
    if (value) {
        Check(value->find_first_of("\r\n") == std::string::npos);
        const std::string_view cut = kestrune::Cp932Prefix(*value, kValueBytes);
        Check(cut.size() <= kValueBytes);
        kestrune::DecodeCp932(cut);
    }
    return value;
}

// A value that the reader gives back as it was written: blanks and quotes at
// its ends would be trimmed or dropped.
bool ReadsBackWhole(std::string_view bytes) {
    constexpr std::string_view kTrimmed = " \t\v\f\x1A\"'";
    return !bytes.empty() && kTrimmed.find(bytes.front()) == std::string_view::npos &&
           kTrimmed.find(bytes.back()) == std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t which = static_cast<std::uint8_t>(input[0]) % std::size(kKeys);
    const std::size_t valueLength =
        std::min<std::size_t>(static_cast<std::uint8_t>(input[1]), size - 2);
    const std::string value = kestrune::DecodeCp932(input.substr(2, valueLength));
    const std::string_view text = input.substr(2 + valueLength);

    std::optional<std::string> before[std::size(kKeys)];
    for (std::size_t k = 0; k < std::size(kKeys); ++k) {
        before[k] = Read(text, kKeys[k]);
    }
    const kestrune::ProfileEdit edit =
        kestrune::SetProfileValue(text, kSection, kKeys[which], value);
    if (edit.status != kestrune::ProfileEditStatus::Changed) {
        return 0;
    }
    const std::optional<std::string> written = kestrune::EncodeCp932(value);
    Check(written.has_value());
    const std::optional<std::string> after = Read(edit.text, kKeys[which]);
    Check(after.has_value());
    if (ReadsBackWhole(*written)) {
        Check(*after == *written);
    }
    for (std::size_t k = 0; k < std::size(kKeys); ++k) {
        if (k != which) {
            Check(Read(edit.text, kKeys[k]) == before[k]);
        }
    }
    // Written again, the same value leaves the text as it is.
    Check(kestrune::SetProfileValue(edit.text, kSection, kKeys[which], value).text == edit.text);
    return 0;
}
