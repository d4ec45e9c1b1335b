#include "host/forms/label.h"

#include "host/forms/win32/control_impl.h"
#include "host/forms/win32/font_win32.h"
#include "host/forms/win32/form_impl.h"
#include "host/forms/win32/gdi_drawing.h"
#include "host/forms/win32/text_win32.h"

#include <algorithm>

namespace kestrune::forms {

namespace {

// The single border's width: a one-pixel sunken edge.
constexpr int kBorderWidth = 1;

struct LabelImpl : Control::Impl {
    LabelImpl(Container::Impl& parent, Label& label) : Control::Impl(parent, true), owner(label) {}

    bool TakesMouse() const override { return !owner.Settings().passMouse; }
    void MouseDown(MouseButton button, ShiftState shift, int x, int y) override {
        if (owner.onMouseDown) {
            owner.onMouseDown(button, shift, x, y);
        }
    }
    void Click() override {
        if (owner.onClick) {
            owner.onClick();
        }
    }
    HCURSOR Cursor() const override { return cursor.get(); }
    void Moved() override { Fit(); }

    UINT TextFlags() const {
        const Alignment alignment = owner.Settings().alignment;
        const UINT horizontal = alignment == Alignment::Centre  ? DT_CENTER
                                : alignment == Alignment::Right ? DT_RIGHT
                                                                : DT_LEFT;
        // "&" is a character like any other, as the captions are written.
        return DT_TOP | DT_NOPREFIX | DT_EXPANDTABS | horizontal |
               (owner.Settings().wordWrap ? DT_WORDBREAK : 0);
    }

    int Border() const { return owner.Settings().border ? kBorderWidth : 0; }

    void Paint(HDC dc) override {
        const LabelSettings& settings = owner.Settings();
        RECT area = win32::RectOf(Bounds());
        if (!settings.transparent) {
            const win32::OwnedBrush brush(CreateSolidBrush(win32::ColourRef(settings.backColor)));
            FillRect(dc, &area, brush.get());
        }
        if (settings.border) {
            DrawEdge(dc, &area, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        }
        const win32::SelectedObject selected(dc, gdiFont.get());
        SetBkMode(dc, TRANSPARENT);
        // A disabled label shows the system's greyed text.
        SetTextColor(dc, Enabled() ? win32::ColourRef(settings.foreColor)
                                   : GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, TextFlags());
    }

    // With auto-size on, the label takes the size of its text: one line (or
    // its explicit lines) without word wrap, or the height of the wrapped
    // text at its width.
    void Fit() {
        const LabelSettings& settings = owner.Settings();
        if (!settings.autoSize) {
            return;
        }
        const win32::ScreenDc screen;
        const win32::SelectedObject selected(screen.Handle(), gdiFont.get());
        TEXTMETRICW metrics{};
        GetTextMetricsW(screen.Handle(), &metrics);
        const Box& bounds = Bounds();
        RECT area{0, 0, settings.wordWrap ? std::max(bounds.width - 2 * Border(), 1) : 0, 0};
        if (!text.empty()) {
            DrawTextW(screen.Handle(), text.c_str(), static_cast<int>(text.size()), &area,
                      TextFlags() | DT_CALCRECT);
        }
        Resize(settings.wordWrap ? bounds.width : area.right + 2 * Border(),
               std::max<int>(area.bottom, metrics.tmHeight) + 2 * Border());
    }

    Label& owner;
    // The caption and font as the system draws them.
    std::wstring text;
    win32::OwnedFont gdiFont;
    win32::OwnedCursor cursor;
};

LabelImpl& Of(const Label& label) {
    return static_cast<LabelImpl&>(label.ControlImpl());
}

} // namespace

Label::Label(Container& parent)
    : Control(std::make_unique<LabelImpl>(parent.ContainerImpl(), *this)) {
    m_settings.font = parent.ContainerImpl().OwnerForm().owner.GetFont();
    Of(*this).gdiFont = win32::MakeFont(m_settings.font);
}

Label::~Label() = default;

void Label::Changed(Change what) {
    LabelImpl& label = Of(*this);
    switch (what) {
    case Change::Caption:
        label.text = win32::Utf16(m_settings.caption);
        break;
    case Change::Font:
        label.gdiFont = win32::MakeFont(m_settings.font);
        break;
    case Change::Border:
    case Change::WordWrap:
    case Change::AutoSize:
        break;
    case Change::Colours:
    case Change::Alignment:
        label.Repaint();
        return;
    case Change::PassMouse:
        return;
    }
    label.Fit();
    label.Repaint();
}

void Label::SetMouseCursor(const MonoCursor* cursor) {
    Of(*this).cursor = cursor ? win32::MakeCursor(*cursor) : nullptr;
}

} // namespace kestrune::forms
