#include "host/music/Kestrune_BGM.h"

#include "host/core/Kestrune_B.h"
#include "host/music/mci_errors.h"
#include "host/music/mci_platform.h"

#include <array>
#include <charconv>
#include <cstring>
#include <optional>
#include <string_view>

namespace kestrune {

bool CdWatchOk = false;

namespace {

// Reply buffer sizes, as handed to the platform.
constexpr std::size_t kReplyLength = 512;
constexpr std::size_t kErrorTextLength = 256;
constexpr std::size_t kCdModeLength = 255;
constexpr std::size_t kMp3ModeLength = 30;

constexpr char kEmptyCommandText[] = "コマンド文字列が指定されていません";
constexpr char kNoErrorText[] = "Error (文字列が取れません)";

constexpr std::string_view kPlaying = "playing";
constexpr std::string_view kStopped = "stopped";

MciPlatform* g_platform = nullptr;

// The two mode queries answer into buffers that outlive the call: a failed
// query leaves the buffer as it was, so the previous answer counts again.
std::array<char, kMp3ModeLength> g_mp3Mode{};
std::array<char, kCdModeLength> g_cdMode{};

MciPlatform& Platform() {
    return g_platform ? *g_platform : SystemMciPlatform();
}

std::uint32_t Send(const std::string& command) {
    return Platform().SendString(command.c_str(), nullptr, 0);
}

template <std::size_t kSize> std::string TextUpToNul(const std::array<char, kSize>& buffer) {
    return std::string(buffer.data(), strnlen(buffer.data(), kSize));
}

template <std::size_t kSize>
bool BeginsWith(const std::array<char, kSize>& buffer, std::string_view word) {
    static_assert(kSize >= 7);
    return std::memcmp(buffer.data(), word.data(), word.size()) == 0;
}

bool ContainsErr(const std::string& reply) {
    std::string upper = reply;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper.find("ERR") != std::string::npos;
}

// A reply read as a number: a decimal with optional sign, fraction and
// exponent, blanks around it allowed. Anything else is a conversion error.
std::optional<double> ReadAsNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    double value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// Opens BgmFile under the MP3 alias. On Linux a file name may hold a double
// quote, which would close the quoted name early and turn the rest of the
// name into parameters of the command (another file, another alias); such a
// name is refused here, with the code the device layer gives a stray quote.
std::uint32_t OpenMp3File() {
    if (BgmFile.find('"') != std::string::npos) {
        return mci::kExtraCharacters;
    }
    return Send("open \"" + BgmFile + "\" type MPEGVideo Alias MP3Play");
}

} // namespace

MciPlatform* SetMciPlatform(MciPlatform* platform) {
    MciPlatform* const previous = g_platform;
    g_platform = platform;
    return previous;
}

std::int32_t SendMci(const std::string& command, std::string& reply) {
    if (command.empty()) {
        reply = kEmptyCommandText;
        return -1;
    }
    std::array<char, kReplyLength> answer{};
    const std::uint32_t code = Platform().SendString(command.c_str(), answer.data(), answer.size());
    if (code != 0) {
        std::array<char, kErrorTextLength> text{};
        if (Platform().GetErrorString(code, text.data(), text.size())) {
            reply = TextUpToNul(text);
        } else {
            reply = kNoErrorText;
        }
        return static_cast<std::int32_t>(code);
    }
    reply = TextUpToNul(answer);
    return 0;
}

std::string QueryMci(const std::string& command) {
    std::string reply;
    const std::int32_t result = SendMci(command, reply);
    if (result != 0) {
        return "Error:" + std::to_string(result);
    }
    return reply;
}

std::int32_t PlayDevice(const std::string& device, const std::string& start,
                        const std::string& end) {
    std::string command = "play " + device;
    if (!start.empty()) {
        command += " from " + start;
    }
    if (!end.empty()) {
        command += " to " + end;
    }
    std::string reply;
    return SendMci(command, reply);
}

void Mp3Start() {
    if (OpenMp3File() == 0) {
        Send("play MP3Play");
    }
}

bool Mp3IsPlaying() {
    Platform().SendString("status MP3Play mode", g_mp3Mode.data(), g_mp3Mode.size());
    return BeginsWith(g_mp3Mode, kPlaying);
}

void Mp3Repeat() {
    if (Mp3IsPlaying()) {
        return;
    }
    Send("stop MP3Play");
    Send("play MP3Play from 0");
}

void Mp3Close() {
    Send("stop MP3Play");
    Send("close MP3Play");
}

void WavStart() {
    // The count is unsigned on the platform; one past the signed range reads
    // as "none" there as well.
    if (static_cast<std::int32_t>(Platform().WaveOutDeviceCount()) <= 0) {
        return;
    }
    // No default sound: where a file is missing or cannot be played, Windows
    // plays the system's default sound instead, and with the loop flag would
    // ring it for the whole run. Silence is what a user wants then. (Under
    // Wine no default sound plays either way, so its runs cannot show this.)
    Platform().PlayWaveSound(BgmFile.c_str(), kSoundAsync | kSoundNoDefault | kSoundLoop);
}

void WavStop() {
    Platform().PlayWaveSound(nullptr, kSoundSync);
}

void CdOpen() {
    Send("open cdaudio");
    Send("set cdaudio time format tmsf");
}

void CdWatch() {
    CdWatchOk = true;
    const std::string current = QueryMci("status cdaudio current track");
    if (ContainsErr(current)) {
        CdWatchOk = false;
        return;
    }
    if (ContainsErr(QueryMci("status cdaudio number of tracks"))) {
        CdWatchOk = false;
        return;
    }
    Platform().SendString("status cdaudio mode", g_cdMode.data(), g_cdMode.size());
    const bool stopped = BeginsWith(g_cdMode, kStopped);

    if (BgmRepeat != 0) {
        // The track number is converted whatever the mode: a reply that is
        // no number is a run-time error, which ends the watch.
        const std::optional<double> track = ReadAsNumber(current);
        if (!track) {
            CdWatchOk = false;
            return;
        }
        if (stopped || *track != BgmRepeat) {
            const std::string start =
                QueryMci("status cdaudio position track " + std::to_string(BgmRepeat));
            PlayDevice("cdaudio", start, "");
        }
    } else if (stopped) {
        PlayDevice("cdaudio", "", "");
    }
}

void CdClose() {
    Send("stop cdaudio");
    Send("close cdaudio");
}

} // namespace kestrune
