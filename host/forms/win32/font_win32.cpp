#include "host/forms/win32/font_win32.h"

#include "host/forms/win32/text_win32.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <span>
#include <string_view>
#include <vector>

namespace kestrune::forms::win32 {

namespace {

constexpr double kPointsPerInch = 72.0;

// The Japanese and English names of the faces the layouts use.
struct FaceNames {
    std::wstring_view japanese;
    std::wstring_view english;
    bool proportional;
};
constexpr FaceNames kJapaneseFaces[] = {
    {L"ＭＳ Ｐゴシック", L"MS PGothic", true},
    {L"ＭＳ ゴシック", L"MS Gothic", false},
    {L"ＭＳ Ｐ明朝", L"MS PMincho", true},
    {L"ＭＳ 明朝", L"MS Mincho", false},
};

// Japanese faces that come with every Windows since Vista (the UI faces),
// or with most: tried in this order when a layout's face is missing.
constexpr std::wstring_view kProportionalFallbacks[] = {L"MS UI Gothic", L"Yu Gothic UI",
                                                        L"Meiryo UI", L"Meiryo", L"Yu Gothic"};
constexpr std::wstring_view kFixedFallbacks[] = {L"MS Gothic", L"Yu Gothic", L"Meiryo"};

int CALLBACK NoteFace(const LOGFONTW* logFont, const TEXTMETRICW*, DWORD, LPARAM found) {
    auto* faces = reinterpret_cast<std::vector<std::pair<std::wstring, bool>>*>(found);
    faces->emplace_back(logFont->lfFaceName, (logFont->lfPitchAndFamily & 0x3) != FIXED_PITCH);
    return 1;
}

// The installed faces of `charset` (or, with a name, the face of that name),
// each with whether it is proportional.
std::vector<std::pair<std::wstring, bool>> EnumerateFaces(BYTE charset, std::wstring_view name) {
    std::vector<std::pair<std::wstring, bool>> faces;
    LOGFONTW query{};
    query.lfCharSet = charset;
    name.copy(query.lfFaceName, std::min<std::size_t>(name.size(), LF_FACESIZE - 1));
    const ScreenDc screen;
    EnumFontFamiliesExW(screen.Handle(), &query, NoteFace, reinterpret_cast<LPARAM>(&faces), 0);
    return faces;
}

bool Installed(std::wstring_view face) {
    static std::map<std::wstring, bool, std::less<>> known;
    const auto entry = known.find(face);
    if (entry != known.end()) {
        return entry->second;
    }
    const bool installed = !EnumerateFaces(DEFAULT_CHARSET, face).empty();
    known.emplace(std::wstring(face), installed);
    return installed;
}

// Whether `face` draws the Latin letters and digits that the layouts' texts
// mix with their Japanese ("BGM", "MP3、WAV", "Ver.1.0.0"). Some faces that
// claim the Japanese character set hold the ideographs and kana alone (a
// fallback face such as Droid Sans Fallback), and would draw every Latin
// letter as an empty box.
bool DrawsLatin(const std::wstring& face) {
    constexpr std::wstring_view kLatin =
        L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.";
    LOGFONTW logFont{};
    logFont.lfHeight = -12;
    logFont.lfCharSet = SHIFTJIS_CHARSET;
    face.copy(logFont.lfFaceName, std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
    const OwnedFont font(CreateFontIndirectW(&logFont));
    if (!font) {
        return false;
    }
    const ScreenDc screen;
    const SelectedObject selected(screen.Handle(), font.get());
    std::array<WORD, kLatin.size()> glyphs{};
    return GetGlyphIndicesW(screen.Handle(), kLatin.data(), static_cast<int>(kLatin.size()),
                            glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS) == kLatin.size() &&
           std::ranges::find(glyphs, WORD{0xFFFF}) == glyphs.end();
}

// Any installed face with Japanese glyphs, the same one on every run: the
// first by name among the best, where drawing Latin letters weighs more than
// being proportional or fixed as asked. Vertical faces ("@...") are left out.
std::wstring AnyJapaneseFace(bool proportional) {
    std::vector<std::pair<std::wstring, bool>> faces = EnumerateFaces(SHIFTJIS_CHARSET, L"");
    std::sort(faces.begin(), faces.end());
    std::wstring best;
    int bestRank = 4;
    for (const auto& [face, isProportional] : faces) {
        if (face.empty() || face.front() == L'@') {
            continue;
        }
        const int rank = (DrawsLatin(face) ? 0 : 2) + (isProportional == proportional ? 0 : 1);
        if (rank < bestRank) {
            best = face;
            bestRank = rank;
        }
        if (bestRank == 0) {
            break;
        }
    }
    return best;
}

std::wstring ResolveFace(const std::wstring& face, int charset) {
    const FaceNames* japanese = nullptr;
    for (const FaceNames& names : kJapaneseFaces) {
        if (face == names.japanese || face == names.english) {
            japanese = &names;
        }
    }
    if (!japanese && charset != SHIFTJIS_CHARSET) {
        return face;
    }
    std::vector<std::wstring_view> candidates{face};
    if (japanese) {
        candidates = {japanese->japanese, japanese->english};
    }
    const bool proportional = !japanese || japanese->proportional;
    const std::span<const std::wstring_view> fallbacks =
        proportional ? std::span<const std::wstring_view>(kProportionalFallbacks)
                     : std::span<const std::wstring_view>(kFixedFallbacks);
    candidates.insert(candidates.end(), fallbacks.begin(), fallbacks.end());
    for (const std::wstring_view candidate : candidates) {
        if (Installed(candidate)) {
            return std::wstring(candidate);
        }
    }
    const std::wstring any = AnyJapaneseFace(proportional);
    return any.empty() ? face : any;
}

} // namespace

std::wstring InstalledFaceFor(const Font& font) {
    static std::map<std::pair<std::string, int>, std::wstring> resolved;
    const auto key = std::make_pair(font.face, font.charset);
    const auto entry = resolved.find(key);
    if (entry != resolved.end()) {
        return entry->second;
    }
    return resolved.emplace(key, ResolveFace(Utf16(font.face), font.charset)).first->second;
}

OwnedFont MakeFont(const Font& font) {
    LOGFONTW logFont{};
    const ScreenDc screen;
    const int dotsPerInch = GetDeviceCaps(screen.Handle(), LOGPIXELSY);
    logFont.lfHeight = -static_cast<LONG>(
        std::lround(font.points * (dotsPerInch > 0 ? dotsPerInch : 96) / kPointsPerInch));
    logFont.lfWeight = std::clamp(font.weight, 1, 1000);
    logFont.lfUnderline = font.underline ? TRUE : FALSE;
    logFont.lfCharSet = static_cast<BYTE>(font.charset);
    logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont.lfQuality = DEFAULT_QUALITY;
    logFont.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const std::wstring face = InstalledFaceFor(font);
    face.copy(logFont.lfFaceName, std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
    return OwnedFont(CreateFontIndirectW(&logFont));
}

} // namespace kestrune::forms::win32
