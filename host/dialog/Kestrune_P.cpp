#include "host/dialog/Kestrune_P.h"

#include "host/controls/command_skin.h"
#include "host/core/Kestrune_B.h"
#include "host/core/path_rules.h"
#include "host/dialog/dialog_painting.h"
#include "host/dialog/repeat_text.h"
#include "host/dialog/settings_pictures.h"
#include "host/dialog/settings_save.h"
#include "host/forms/window_services.h"

#include <algorithm>

namespace kestrune {

namespace {

// The layout, in twips as it was designed: left, top, width, height. A width
// of 0 lets a label take the width of its text.
struct Place {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
constexpr int kClientWidth = 7440;
constexpr int kClientHeight = 3690;
constexpr Place kPanel{180, 240, 7035, 2475};
// Within the panel.
constexpr Place kTitleFrame{300, 300, 1695, 315};
constexpr Place kTitle{300, 360, 1665, 195};
constexpr Place kMarks[3] = {{420, 1140, 195, 195}, {420, 840, 195, 195}, {420, 1440, 195, 195}};
constexpr Place kMarkLabels[3] = {{660, 1140}, {660, 840}, {660, 1440}};
constexpr Place kRepeatBox{1680, 780, 615, 300};
constexpr Place kRepeatCaption{2340, 840};
constexpr Place kFileButton{420, 1740, 615, 315};
constexpr Place kFileName{1080, 1740, 5595, 495};
// On the window.
constexpr Place kCredit{180, 2880};
constexpr Place kSaveButton{4860, 3000, 1155, 375};
constexpr Place kCancelButton{6060, 3000, 1155, 375};
constexpr Place kLink{180, 3120};

constexpr forms::Rgb kWindowColour = forms::RgbFromBgr(0xC0C0C0);
constexpr forms::Rgb kPanelColour = forms::RgbFromBgr(0xE0E0E0);
constexpr forms::Rgb kBlack{0, 0, 0};
constexpr forms::Rgb kWhite{255, 255, 255};

// The last choice and the tracks the box offers.
constexpr int kLastTrack = 30;

// The texts of the dialog.
constexpr const char* kMarkTexts[3] = {"なし", "音楽CD", "MP3、WAV"};
constexpr const char* kTitleText = "BGM";
constexpr const char* kRepeatText = "曲目をﾘﾋﾟｰﾄ";
// The credit line names the screensaver and its version.
constexpr const char* kCreditText = "Kestrune ｽｸﾘｰﾝｾｰﾊﾞｰ  Ver.1.0.0";
constexpr const char* kFileButtonCaption = "...";
constexpr const char* kSaveCaption = "設定";
constexpr const char* kCancelCaption = "ｷｬﾝｾﾙ";
constexpr const char* kFileDialogTitle = "ﾌｧｲﾙを開く";
constexpr const char* kFileFilterDescription = "BGMﾌｧｲﾙ (MP3 WAV)";
// Linux file names are case-sensitive; the file chooser matches these
// patterns in any letter case, so song.mp3 and SONG.MP3 are both offered.
const std::vector<std::string> kFilePatterns = {"*.MP3", "*.WAV"};

// The link is the project's own page: there is no web site, so it is the
// README installed beside the programs, opened as a file address.
constexpr const char* kReadmeName = "README.md";

// The gap kept between the link and the buttons when a long address is cut.
constexpr int kLinkGapTwips = 120;

const forms::Font& LabelFont() {
    static const forms::Font kFont{"ＭＳ Ｐゴシック", 9.75, 400, false, 128};
    return kFont;
}

const forms::Font& LinkFont() {
    static const forms::Font kFont{"ＭＳ Ｐゴシック", 9.75, 400, true, 128};
    return kFont;
}

const forms::Font& PanelFont() {
    static const forms::Font kFont{"Tahoma", 8.25, 400, false, 0};
    return kFont;
}

int PixelsX(int twips) {
    return TwipsToPixels(twips, forms::ScreenTwipsPerPixelX());
}

int PixelsY(int twips) {
    return TwipsToPixels(twips, forms::ScreenTwipsPerPixelY());
}

void PlaceControl(forms::Control& control, const Place& place) {
    control.Move(PixelsX(place.left), PixelsY(place.top), PixelsX(place.width),
                 PixelsY(place.height));
}

// A label as the dialog's labels are: transparent, in the P-Gothic face.
void StyleLabel(forms::Label& label, const std::string& caption, forms::Rgb colour) {
    label.SetTransparent(true);
    label.SetFont(LabelFont());
    label.SetForeColor(colour);
    label.SetCaption(caption);
}

// A one-line label whose width follows its text.
void PlaceAutoSized(forms::Label& label, const Place& place) {
    PlaceControl(label, place);
    label.SetAutoSize(true);
}

// What the layout stores for a button: its caption and its font.
forms::PropertyBag ButtonLayout(const std::string& caption) {
    forms::PropertyBag bag;
    bag.WriteString("Caption", caption, "Command");
    bag.WriteFont("Font", LabelFont(), forms::Font{});
    return bag;
}

// The file address of a path, with every byte outside the plain ones
// percent-encoded, so that blanks and Japanese names survive the opener.
std::string FileUrl(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.empty() || path.front() != '/') {
        path.insert(path.begin(), '/');
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                           (byte >= '0' && byte <= '9') || c == '/' || c == '-' || c == '.' ||
                           c == '_' || c == '~' || c == ':';
        if (plain) {
            url += c;
        } else {
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 0x0F];
        }
    }
    return url;
}

} // namespace

Kestrune_P::Kestrune_P(SettingsDialogPlace place, SettingsDialogServices services)
    : Pic_C(*this), Shape3(Pic_C), BGM_Repeat(Pic_C), Cmd_Set(*this), Cmd_Can(*this),
      lbl_URL(*this), m_place(std::move(place)), m_services(std::move(services)),
      m_texture(MakeGrainTexture()), m_markOff(MakeChoiceMark(false)),
      m_markOn(MakeChoiceMark(true)), m_hand(MakeHandCursor()) {
    SetCaption(kCaption);
    SetBorderStyle(forms::BorderStyle::FixedSingle);
    SetIcon(MakeDialogIcon());
    SetClientSize(PixelsX(kClientWidth), PixelsY(kClientHeight));
    SetBackColor(kWindowColour);

    // The panel and what it holds.
    PlaceControl(Pic_C, kPanel);
    Pic_C.SetBorder(false);
    Pic_C.SetBackColor(kPanelColour);

    PlaceControl(Shape3, kTitleFrame);
    Shape3.SetBorderColor(kBlack);
    forms::Label& title = lbl.Add(15, Pic_C);
    StyleLabel(title, kTitleText, kBlack);
    title.SetAlignment(forms::Alignment::Centre);
    PlaceControl(title, kTitle);

    for (int index = 0; index < 3; ++index) {
        forms::ImageControl& mark = Img_BGM.Add(index, Pic_C);
        PlaceControl(mark, kMarks[index]);
        mark.SetStretch(false);
        mark.onMouseDown = [this, index](forms::MouseButton button, forms::ShiftState shift, int x,
                                         int y) { Img_BGM_MouseDown(index, button, shift, x, y); };
        forms::Label& label = lbl_BGM.Add(index, Pic_C);
        StyleLabel(label, kMarkTexts[index], kBlack);
        PlaceAutoSized(label, kMarkLabels[index]);
        label.onMouseDown = [this, index](forms::MouseButton button, forms::ShiftState shift, int x,
                                          int y) { lbl_BGM_MouseDown(index, button, shift, x, y); };
    }

    PlaceControl(BGM_Repeat, kRepeatBox);
    BGM_Repeat.SetFont(PanelFont());
    BGM_Repeat.SetBackColor(kWhite);
    forms::Label& repeatCaption = lbl.Add(14, Pic_C);
    StyleLabel(repeatCaption, kRepeatText, kBlack);
    PlaceAutoSized(repeatCaption, kRepeatCaption);

    Command& fileButton = Cmd_File.Add(0, Pic_C);
    PlaceControl(fileButton, kFileButton);
    fileButton.ReadProperties(ButtonLayout(kFileButtonCaption));
    fileButton.onClick = [this] { Cmd_File_Click(0); };

    forms::Label& fileName = lbl_Fname.Add(0, Pic_C);
    StyleLabel(fileName, "", kBlack);
    PlaceControl(fileName, kFileName);
    fileName.SetBorder(true);
    fileName.SetWordWrap(true);

    // The window's own controls.
    forms::Label& credit = lbl.Add(7, *this);
    StyleLabel(credit, kCreditText, kWhite);
    PlaceAutoSized(credit, kCredit);

    PlaceControl(Cmd_Set, kSaveButton);
    Cmd_Set.ReadProperties(ButtonLayout(kSaveCaption));
    Cmd_Set.onClick = [this] { Cmd_Set_Click(); };
    PlaceControl(Cmd_Can, kCancelButton);
    Cmd_Can.ReadProperties(ButtonLayout(kCancelCaption));
    Cmd_Can.onClick = [this] { Cmd_Can_Click(); };

    StyleLabel(lbl_URL, FileUrl(JoinPlatformPath(m_place.programFolder, kReadmeName)), kWhite);
    lbl_URL.SetFont(LinkFont());
    PlaceAutoSized(lbl_URL, kLink);
    // A long address is cut short of the buttons rather than run under them.
    const int longest = PixelsX(kSaveButton.left - kLinkGapTwips - kLink.left);
    if (lbl_URL.Width() > longest) {
        lbl_URL.SetAutoSize(false);
        lbl_URL.Move(lbl_URL.Left(), lbl_URL.Top(), longest, lbl_URL.Height());
    }
    lbl_URL.SetMouseCursor(&m_hand);
    lbl_URL.onClick = [this] { lbl_URL_Click(); };

    m_commands = {&fileButton, &Cmd_Set, &Cmd_Can};
    SetTabOrder({&BGM_Repeat, &fileButton, &Cmd_Set, &Cmd_Can});
}

Kestrune_P::~Kestrune_P() = default;

void Kestrune_P::Form_Load() {
    // 1. The frame centred across the screen, at a third of the free height,
    // worked out in twips with whole-number division.
    PlaceFrame([](int frameWidth, int frameHeight) {
        const int twipsX = forms::ScreenTwipsPerPixelX();
        const int twipsY = forms::ScreenTwipsPerPixelY();
        const int left = (forms::ScreenWidth() * twipsX - frameWidth * twipsX) / 2;
        const int top = (forms::ScreenHeight() * twipsY - frameHeight * twipsY) / 3;
        return forms::Point{TwipsToPixels(left, twipsX), TwipsToPixels(top, twipsY)};
    });

    // 2. Every button starts following the mouse.
    SetCommandButtons(true, false);
    // 3.
    TilePicture(Pic_C);
    // 4.-7. The marks and what the choice enables.
    BGM_Repeat.SetEnabled(false);
    ShowMarks();
    if (BgmKind == 1) {
        BGM_Repeat.SetEnabled(true);
    }
    Cmd_File[0].SetEnabled(BgmKind == 2);
    // 8.-9. The track to repeat and the tracks on offer, an empty entry
    // first for "no single track".
    BGM_Repeat.SetText(FormatHashes(BgmRepeat));
    for (int track = 0; track <= kLastTrack; ++track) {
        BGM_Repeat.AddItem(FormatHashes(track));
    }
    // 10.
    lbl_Fname[0].SetCaption(BgmFile);
    // 11.-12. The window zooms open from the mouse, and closes back to where
    // it was.
    m_cursorAtOpening = forms::CursorPosition().value_or(forms::Point{});
    forms::AnimateRects(Window(),
                        forms::Rect{m_cursorAtOpening.x, m_cursorAtOpening.y, m_cursorAtOpening.x,
                                    m_cursorAtOpening.y},
                        WindowRect());
    // 13.
    forms::SetScreenMousePointer(forms::MousePointer::Default);
}

void Kestrune_P::Form_Resize() {
    forms::Surface& canvas = Canvas();
    if (canvas.Width() != ClientWidth() || canvas.Height() != ClientHeight()) {
        canvas.Resize(ClientWidth(), ClientHeight(), kWindowColour);
    }
    PaintGradientBackground(canvas);
    RefreshCanvas();
}

void Kestrune_P::Form_Unload(bool&) {
    forms::AnimateRects(Window(), WindowRect(),
                        forms::Rect{m_cursorAtOpening.x, m_cursorAtOpening.y, m_cursorAtOpening.x,
                                    m_cursorAtOpening.y});
}

void Kestrune_P::Img_BGM_MouseDown(int index, forms::MouseButton, forms::ShiftState, int, int) {
    ChooseMusic(index);
}

void Kestrune_P::lbl_BGM_MouseDown(int index, forms::MouseButton, forms::ShiftState, int, int) {
    ChooseMusic(index);
}

void Kestrune_P::ChooseMusic(int index) {
    BgmKind = static_cast<std::int16_t>(index);
    Cmd_File[0].SetEnabled(false);
    BGM_Repeat.SetEnabled(false);
    ShowMarks();
    if (index == 1) {
        BGM_Repeat.SetEnabled(true);
    }
    if (index == 2) {
        Cmd_File[0].SetEnabled(true);
    }
}

void Kestrune_P::ShowMarks() {
    Img_BGM.ForEach([&](int, forms::ImageControl& mark) { mark.SetPicture(m_markOff); });
    // A choice outside the three (from a hand-edited file) selects no mark.
    if (Img_BGM.Contains(BgmKind)) {
        Img_BGM[BgmKind].SetPicture(m_markOn);
    }
}

void Kestrune_P::Cmd_File_Click(int index) {
    const forms::OpenFileOptions options{kFileDialogTitle, kFileFilterDescription, kFilePatterns,
                                         BgmFolder};
    const std::optional<std::string> chosen = m_services.chooseFile(*this, options);
    if (!chosen) {
        return;
    }
    // A path the settings file cannot keep whole is refused now, while the
    // user can still choose another, rather than lost at the next load.
    if (const std::optional<std::string> refused = RefusedPathMessage(*chosen)) {
        m_services.showMessage(*refused);
        return;
    }
    BgmFile = *chosen;
    lbl_Fname[index].SetCaption(BgmFile);
    BgmFolder = FolderOfPath(BgmFile);
}

void Kestrune_P::Cmd_Set_Click() {
    BgmRepeat = RepeatFromText(BGM_Repeat.Text());
    const SaveResult result = SaveSettings(m_place.settingsFile, BgmKind, BgmRepeat, BgmFile);
    // A choice that was not saved is not reported as saved: the user learns
    // why and can choose again or cancel, and the file still holds the
    // previous choice whole.
    if (result != SaveResult::Saved) {
        m_services.showMessage(SaveFailureMessage(result, BgmFile, m_place.settingsFile));
        return;
    }
    Unload();
}

void Kestrune_P::Cmd_Can_Click() {
    Unload();
}

void Kestrune_P::lbl_URL_Click() {
    forms::SetScreenMousePointer(forms::MousePointer::Hourglass);
    m_services.openDocument(*this, lbl_URL.Caption());
    forms::SetScreenMousePointer(forms::MousePointer::Default);
}

void Kestrune_P::SetCommandButtons(bool initialize, bool enable) {
    for (Command* button : m_commands) {
        if (initialize) {
            button->Initialize();
        } else {
            button->SetEnabled(enable);
        }
    }
}

void Kestrune_P::TilePicture(forms::PictureBox& target) {
    forms::Surface& canvas = target.Canvas();
    if (canvas.Width() != target.Width() || canvas.Height() != target.Height()) {
        canvas.Resize(target.Width(), target.Height(), kPanelColour);
    }
    kestrune::TilePicture(canvas, m_texture);
    target.RefreshCanvas();
}

void ShowSettingsDialog() {
    Kestrune_P dialog(SettingsDialogPlace{SettingsFilePath(), ProgramFolder()});
    dialog.ShowModal();
}

} // namespace kestrune
