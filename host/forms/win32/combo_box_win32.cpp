#include "host/forms/combo_box.h"

#include "host/forms/win32/application_impl.h"
#include "host/forms/win32/control_impl.h"
#include "host/forms/win32/font_win32.h"
#include "host/forms/win32/form_impl.h"
#include "host/forms/win32/gdi_drawing.h"
#include "host/forms/win32/text_win32.h"

namespace kestrune::forms {

namespace {

// The height of the list that drops down, below the edit field: a combo
// box's window reaches down over it, while the control's own height is the
// edit field's, as the layouts give it.
constexpr int kListHeight = 160;

struct ComboBoxImpl : Control::Impl {
    ComboBoxImpl(Container::Impl& parent, ComboBox& combo)
        : Control::Impl(parent, false), owner(combo) {}

    ~ComboBoxImpl() override {
        if (window) {
            DestroyWindow(window);
        }
    }

    HWND Handle() const override { return window; }

    void CreateWindowIn(HWND parent) override {
        // An edit field with a list to drop down; typing neither adds
        // entries to the list nor is completed from it.
        window =
            CreateWindowExW(0, L"COMBOBOX", L"",
                            StateStyle() | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                            Bounds().x, Bounds().y, Bounds().width, Bounds().height + kListHeight,
                            parent, nullptr, win32::Instance(), nullptr);
        if (!window) {
            return;
        }
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(gdiFont.get()), FALSE);
        for (int i = 0; i < owner.ListCount(); ++i) {
            SendMessageW(window, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(win32::Utf16(owner.List(i)).c_str()));
        }
        SetWindowTextW(window, win32::Utf16(text).c_str());
    }

    void PlaceWindow() override {
        if (window) {
            SetWindowPos(window, nullptr, Bounds().x, Bounds().y, Bounds().width,
                         Bounds().height + kListHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    void WindowGoing() override {
        text = WindowText();
        window = nullptr;
    }

    HBRUSH ControlColour(HDC dc) override {
        if (!background) {
            return nullptr;
        }
        SetBkColor(dc, win32::ColourRef(owner.BackColor()));
        return background.get();
    }

    std::string WindowText() const {
        const int length = GetWindowTextLengthW(window);
        std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        const int got = GetWindowTextW(window, wide.data(), static_cast<int>(wide.size()));
        wide.resize(static_cast<std::size_t>(got > 0 ? got : 0));
        return win32::Utf8(wide);
    }

    ComboBox& owner;
    HWND window = nullptr;
    // The edit field's text while the control has no window.
    std::string text;
    win32::OwnedFont gdiFont;
    win32::OwnedBrush background;
};

ComboBoxImpl& Of(const ComboBox& control) {
    return static_cast<ComboBoxImpl&>(control.ControlImpl());
}

} // namespace

ComboBox::ComboBox(Container& parent)
    : Control(std::make_unique<ComboBoxImpl>(parent.ContainerImpl(), *this)) {
    m_font = parent.ContainerImpl().OwnerForm().owner.GetFont();
    Changed(Change::Font);
}

ComboBox::~ComboBox() = default;

void ComboBox::SetText(const std::string& text) {
    ComboBoxImpl& combo = Of(*this);
    combo.text = text;
    if (combo.window) {
        SetWindowTextW(combo.window, win32::Utf16(text).c_str());
    }
}

std::string ComboBox::Text() const {
    const ComboBoxImpl& combo = Of(*this);
    return combo.window ? combo.WindowText() : combo.text;
}

void ComboBox::Changed(Change what) {
    ComboBoxImpl& combo = Of(*this);
    switch (what) {
    case Change::ItemAdded:
        // Adding to the list leaves the edit field as it is.
        if (combo.window) {
            SendMessageW(combo.window, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(win32::Utf16(m_items.back()).c_str()));
        }
        break;
    case Change::ItemsCleared:
        // Emptying the list also empties a combo box's edit field; its text
        // is kept, as adding items keeps it.
        if (combo.window) {
            const std::string text = combo.WindowText();
            SendMessageW(combo.window, CB_RESETCONTENT, 0, 0);
            SetWindowTextW(combo.window, win32::Utf16(text).c_str());
        }
        break;
    case Change::Font: {
        win32::OwnedFont made = win32::MakeFont(m_font);
        if (combo.window) {
            SendMessageW(combo.window, WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), TRUE);
        }
        combo.gdiFont = std::move(made);
        break;
    }
    case Change::BackColor:
        combo.background.reset(CreateSolidBrush(win32::ColourRef(m_backColor)));
        if (combo.window) {
            InvalidateRect(combo.window, nullptr, TRUE);
        }
        break;
    }
}

} // namespace kestrune::forms
