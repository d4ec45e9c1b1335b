#include "host/controls/Command.h"

#include "host/controls/command_skin.h"
#include "host/forms/system_services.h"
#include "host/forms/window_services.h"

#include <optional>

namespace kestrune {

namespace {

// The leave timer's interval: how soon a hovered button notices that the
// mouse has gone.
constexpr int kMouseTimerInterval = 100;

// The caption's design defaults: its text and text colour, and the stored
// layout's defaults, which differ for the caption on purpose (a caption
// equal to the written default is not stored and loads as the read default).
constexpr const char* kDefaultCaption = "Command";
constexpr const char* kCaptionReadDefault = "Command1";
constexpr std::uint32_t kDefaultFontColour = 0;

// Behind the skin, where nothing else is drawn.
constexpr forms::Rgb kBackColour{240, 240, 240};

// The design font of the button and its caption.
const forms::Font& DesignFont() {
    static const forms::Font kFont{"ＭＳ Ｐゴシック", 9.75, 400, false, 128};
    return kFont;
}

std::uint32_t BgrOf(forms::Rgb colour) {
    return static_cast<std::uint32_t>(colour.red) |
           (static_cast<std::uint32_t>(colour.green) << 8) |
           (static_cast<std::uint32_t>(colour.blue) << 16);
}

} // namespace

Command::Command(forms::Container& parent)
    : forms::UserControl(parent), LblMsg(*this), TmrMouse(ParentForm()) {
    SetBackColor(kBackColour);
    SetOpaque(true);
    SetTabStop(true);

    // The caption is windowless and lets the mouse through to the button, so
    // that hovering or clicking the text is hovering or clicking the button.
    LblMsg.SetTransparent(true);
    LblMsg.SetAlignment(forms::Alignment::Centre);
    LblMsg.SetWordWrap(false);
    LblMsg.SetFont(DesignFont());
    LblMsg.SetForeColor(forms::RgbFromBgr(kDefaultFontColour));
    LblMsg.SetCaption(kDefaultCaption);
    LblMsg.SetPassMouseToContainer(true);
    MeasureCaption();

    TmrMouse.SetInterval(kMouseTimerInterval);
    TmrMouse.SetEnabled(false);
    TmrMouse.onTick = [this] { MouseLeave(); };

    // A fresh button, before its stored properties are read: disabled, and
    // FirstRun 0 until the first read of Enabled.
    StoreEnabled(false);
}

Command::~Command() = default;

void Command::Initialize() {
    m_states.Initialize();
    TmrMouse.SetInterval(kMouseTimerInterval);
    TmrMouse.SetEnabled(true);
}

void Command::SetVisible(std::uint8_t visible) {
    if (visible != 0) {
        SetOpaque(true);
        RefreshLook();
    } else {
        SetOpaque(false);
    }
    PropertyChanged("Visible");
}

std::uint8_t Command::Visible() {
    if (!Opaque()) {
        return 0;
    }
    RefreshLook();
    return 255;
}

void Command::SetFontColour(std::uint32_t colour) {
    LblMsg.SetForeColor(forms::RgbFromBgr(colour));
    RefreshLook();
    PropertyChanged("FontColour");
}

std::uint32_t Command::FontColour() {
    const std::uint32_t colour = BgrOf(LblMsg.ForeColor());
    RefreshLook();
    return colour;
}

void Command::SetEnabled(bool enabled) {
    StoreEnabled(enabled);
    PropertyChanged("Enabled");
    ApplyEnabled();
}

bool Command::Enabled() {
    if (m_firstRun == 0) {
        RefreshLook();
        m_firstRun = 1;
        StoreEnabled(true);
    }
    const bool enabled = m_states.Enabled;
    ApplyEnabled();
    return enabled;
}

void Command::SetCaption(const std::string& caption) {
    LblMsg.SetCaption(caption);
    MeasureCaption();
    PropertyChanged("Caption");
}

std::string Command::Caption() const {
    return LblMsg.Caption();
}

void Command::SetFont(const forms::Font& font) {
    LblMsg.SetFont(font);
    MeasureCaption();
    PropertyChanged("Font");
}

forms::Font Command::GetFont() const {
    return LblMsg.GetFont();
}

void Command::WriteProperties(forms::PropertyBag& bag) {
    bag.WriteBool("Enabled", m_states.Enabled, true);
    bag.WriteString("Caption", LblMsg.Caption(), kDefaultCaption);
    bag.WriteInteger("FirstRun", m_firstRun, 1);
    bag.WriteFont("Font", LblMsg.GetFont(), AmbientFont());
    bag.WriteInteger("FontColour", static_cast<std::int32_t>(BgrOf(LblMsg.ForeColor())),
                     static_cast<std::int32_t>(kDefaultFontColour));
    bag.WriteInteger("Visible", Opaque() ? 1 : 0, 1);
    RefreshLook();
}

void Command::ReadProperties(const forms::PropertyBag& bag) {
    StoreEnabled(bag.ReadBool("Enabled", true));
    LblMsg.SetCaption(bag.ReadString("Caption", kCaptionReadDefault));
    LblMsg.SetFont(bag.ReadFont("Font", AmbientFont()));
    m_firstRun = static_cast<std::uint8_t>(bag.ReadInteger("FirstRun", 1));
    LblMsg.SetForeColor(forms::RgbFromBgr(static_cast<std::uint32_t>(
        bag.ReadInteger("FontColour", static_cast<std::int32_t>(kDefaultFontColour)))));
    SetOpaque(bag.ReadInteger("Visible", 1) != 0);
    MeasureCaption();
    RefreshLook();
}

void Command::UserControl_MouseDown(forms::MouseButton button, forms::ShiftState, int, int) {
    React(m_states.MouseDown(button));
}

void Command::UserControl_MouseMove(forms::MouseButton, forms::ShiftState, int, int) {
    React(m_states.MouseMove());
}

void Command::UserControl_MouseUp(forms::MouseButton button, forms::ShiftState, int, int) {
    React(m_states.MouseUp(button));
}

void Command::UserControl_GotFocus() {
    React(m_states.GotFocus());
}

void Command::UserControl_LostFocus() {
    React(m_states.LostFocus());
}

void Command::UserControl_Resize() {
    ApplyEnabled();
}

void Command::React(const CommandReaction& reaction) {
    if (reaction.paint) {
        PaintSkin(*reaction.paint);
    }
    // Raised last: the handler may unload the form the button sits on.
    if (reaction.click && onClick) {
        onClick();
    }
}

void Command::MouseLeave() {
    const std::optional<forms::Point> cursor = forms::CursorPosition();
    // A cursor that cannot be read is taken as off the button, as the
    // position (0, 0) that a failed read leaves would be.
    const forms::NativeWindow under = forms::WindowFromPoint(cursor.value_or(forms::Point{}));
    React(m_states.TimerTick(under != 0 && under == Window()));
}

void Command::PaintSkin(CommandLook look) {
    // States 1 and 3 draw the tint at the bottom, state 2 at the top; the
    // others keep the direction they had.
    if (m_states.State == 1 || m_states.State == 3) {
        m_tintTop = false;
    } else if (m_states.State == 2) {
        m_tintTop = true;
    }
    const SkinMetrics metrics{Width() * forms::ScreenTwipsPerPixelX(),
                              Height() * forms::ScreenTwipsPerPixelY(),
                              forms::ScreenTwipsPerPixelX(), forms::ScreenTwipsPerPixelY()};
    forms::Surface& canvas = Canvas();
    if (canvas.Width() != Width() || canvas.Height() != Height()) {
        canvas.Resize(Width(), Height(), kBackColour);
    }
    kestrune::PaintSkin(canvas, CommandLookPicture(look), metrics, BackColor(), m_tintTop);
    RefreshCanvas();
    PlaceCaption();
}

void Command::MeasureCaption() {
    // The caption is one line high: let the label take its text's size once
    // to learn that height; placing it then gives it the button's width.
    LblMsg.SetAutoSize(true);
    m_captionHeight = LblMsg.Height();
    LblMsg.SetAutoSize(false);
    PlaceCaption();
}

void Command::PlaceCaption() {
    const SkinMetrics metrics{Width() * forms::ScreenTwipsPerPixelX(),
                              Height() * forms::ScreenTwipsPerPixelY(),
                              forms::ScreenTwipsPerPixelX(), forms::ScreenTwipsPerPixelY()};
    LblMsg.Move(0, CaptionTopPixels(metrics, m_captionHeight * forms::ScreenTwipsPerPixelY()),
                Width(), m_captionHeight);
}

void Command::ApplyEnabled() {
    if (m_states.Enabled) {
        PaintSkin(CommandLook::Normal);
        LblMsg.SetEnabled(true);
    } else {
        PaintSkin(CommandLook::Disable);
        LblMsg.SetEnabled(false);
    }
}

void Command::RefreshLook() {
    if (!m_states.Enabled) {
        return;
    }
    LblMsg.SetEnabled(true);
    if (m_firstRun == 0) {
        LblMsg.SetForeColor(forms::RgbFromBgr(0));
    }
    PaintSkin(CommandLook::Normal);
}

void Command::StoreEnabled(bool enabled) {
    m_states.Enabled = enabled;
    // A disabled button also takes no focus from Tab and no mouse input from
    // the window system, as a user expects of a greyed button; the state
    // table ignores such events anyway.
    forms::Control::SetEnabled(enabled);
}

void Command::PropertyChanged(std::string_view property) {
    if (onPropertyChanged) {
        onPropertyChanged(property);
    }
}

} // namespace kestrune
