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
    LabelImpl(Container::Impl& parent, Label& label)
        : Control::Impl(parent, true), owner(label), font(parent.OwnerForm().font),
          gdiFont(win32::MakeFont(font)) {}

    bool TakesMouse() const override { return !passMouse; }
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
        const UINT horizontal = alignment == Alignment::Centre  ? DT_CENTER
                                : alignment == Alignment::Right ? DT_RIGHT
                                                                : DT_LEFT;
        // "&" is a character like any other, as the captions are written.
        return DT_TOP | DT_NOPREFIX | DT_EXPANDTABS | horizontal | (wordWrap ? DT_WORDBREAK : 0);
    }

    int Border() const { return border ? kBorderWidth : 0; }

    void Paint(HDC dc) override {
        RECT area = win32::RectOf(Bounds());
        if (!transparent) {
            const win32::OwnedBrush brush(CreateSolidBrush(win32::ColourRef(backColor)));
            FillRect(dc, &area, brush.get());
        }
        if (border) {
            DrawEdge(dc, &area, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        }
        const win32::SelectedObject selected(dc, gdiFont.get());
        SetBkMode(dc, TRANSPARENT);
        // A disabled label shows the system's greyed text.
        SetTextColor(dc, Enabled() ? win32::ColourRef(foreColor) : GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, TextFlags());
    }

    // With auto-size on, the label takes the size of its text: one line (or
    // its explicit lines) without word wrap, or the height of the wrapped
    // text at its width.
    void Fit() {
        if (!autoSize) {
            return;
        }
        const win32::ScreenDc screen;
        const win32::SelectedObject selected(screen.Handle(), gdiFont.get());
        TEXTMETRICW metrics{};
        GetTextMetricsW(screen.Handle(), &metrics);
        RECT area{0, 0, wordWrap ? std::max(Bounds().width - 2 * Border(), 1) : 0, 0};
        if (!text.empty()) {
            DrawTextW(screen.Handle(), text.c_str(), static_cast<int>(text.size()), &area,
                      TextFlags() | DT_CALCRECT);
        }
        const Box& bounds = Bounds();
        Resize(wordWrap ? bounds.width : area.right + 2 * Border(),
               std::max<int>(area.bottom, metrics.tmHeight) + 2 * Border());
    }

    void Changed() {
        Fit();
        Repaint();
    }

    Label& owner;
    std::string caption;
    std::wstring text;
    Font font;
    win32::OwnedFont gdiFont;
    win32::OwnedCursor cursor;
    Rgb foreColor{0, 0, 0};
    Rgb backColor{240, 240, 240};
    Alignment alignment = Alignment::Left;
    bool transparent = false;
    bool border = false;
    bool wordWrap = false;
    bool autoSize = false;
    bool passMouse = false;
};

LabelImpl& Of(const Label& label) {
    return static_cast<LabelImpl&>(label.ControlImpl());
}

} // namespace

Label::Label(Container& parent)
    : Control(std::make_unique<LabelImpl>(parent.ContainerImpl(), *this)) {}

Label::~Label() = default;

void Label::SetCaption(const std::string& caption) {
    LabelImpl& label = Of(*this);
    label.caption = caption;
    label.text = win32::Utf16(caption);
    label.Changed();
}

const std::string& Label::Caption() const {
    return Of(*this).caption;
}

void Label::SetFont(const Font& font) {
    LabelImpl& label = Of(*this);
    label.font = font;
    label.gdiFont = win32::MakeFont(font);
    label.Changed();
}

const Font& Label::GetFont() const {
    return Of(*this).font;
}

void Label::SetForeColor(Rgb colour) {
    Of(*this).foreColor = colour;
    Of(*this).Repaint();
}

Rgb Label::ForeColor() const {
    return Of(*this).foreColor;
}

void Label::SetTransparent(bool transparent) {
    Of(*this).transparent = transparent;
    Of(*this).Repaint();
}

void Label::SetBackColor(Rgb colour) {
    Of(*this).backColor = colour;
    Of(*this).Repaint();
}

void Label::SetBorder(bool single) {
    Of(*this).border = single;
    Of(*this).Changed();
}

void Label::SetAlignment(Alignment alignment) {
    Of(*this).alignment = alignment;
    Of(*this).Repaint();
}

void Label::SetWordWrap(bool wrap) {
    Of(*this).wordWrap = wrap;
    Of(*this).Changed();
}

void Label::SetAutoSize(bool autoSize) {
    Of(*this).autoSize = autoSize;
    Of(*this).Changed();
}

void Label::SetMouseCursor(const MonoCursor* cursor) {
    Of(*this).cursor = cursor ? win32::MakeCursor(*cursor) : nullptr;
}

void Label::SetPassMouseToContainer(bool pass) {
    Of(*this).passMouse = pass;
}

} // namespace kestrune::forms
