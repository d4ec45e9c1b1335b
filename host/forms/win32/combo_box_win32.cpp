#include "host/forms/combo_box.h"

#include "host/forms/win32/application_impl.h"
#include "host/forms/win32/control_impl.h"
#include "host/forms/win32/font_win32.h"
#include "host/forms/win32/form_impl.h"
#include "host/forms/win32/gdi_drawing.h"
#include "host/forms/win32/text_win32.h"

#include <vector>

namespace kestrune::forms {

namespace {

// The height of the list that drops down, below the edit field: a combo
// box's window reaches down over it, while the control's own height is the
// edit field's, as the layouts give it.
constexpr int kListHeight = 160;

struct ComboBoxImpl : Control::Impl {
    explicit ComboBoxImpl(Container::Impl& parent)
        : Control::Impl(parent, false), font(parent.OwnerForm().font),
          gdiFont(win32::MakeFont(font)) {}

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
        for (const std::string& item : items) {
            SendMessageW(window, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(win32::Utf16(item).c_str()));
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
        SetBkColor(dc, win32::ColourRef(backColor));
        return background.get();
    }

    std::string WindowText() const {
        const int length = GetWindowTextLengthW(window);
        std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        const int got = GetWindowTextW(window, wide.data(), static_cast<int>(wide.size()));
        wide.resize(static_cast<std::size_t>(got > 0 ? got : 0));
        return win32::Utf8(wide);
    }

    HWND window = nullptr;
    // The edit field's text while the control has no window.
    std::string text;
    std::vector<std::string> items;
    Font font;
    win32::OwnedFont gdiFont;
    Rgb backColor{255, 255, 255};
    win32::OwnedBrush background;
};

ComboBoxImpl& Of(const ComboBox& control) {
    return static_cast<ComboBoxImpl&>(control.ControlImpl());
}

} // namespace

ComboBox::ComboBox(Container& parent)
    : Control(std::make_unique<ComboBoxImpl>(parent.ContainerImpl())) {}

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

void ComboBox::AddItem(const std::string& item) {
    // Adding to the list leaves the edit field as it is.
    ComboBoxImpl& combo = Of(*this);
    combo.items.push_back(item);
    if (combo.window) {
        SendMessageW(combo.window, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(win32::Utf16(item).c_str()));
    }
}

void ComboBox::ClearItems() {
    // Emptying the list also empties a combo box's edit field; its text is
    // kept, as adding items keeps it.
    ComboBoxImpl& combo = Of(*this);
    combo.items.clear();
    if (combo.window) {
        const std::string text = combo.WindowText();
        SendMessageW(combo.window, CB_RESETCONTENT, 0, 0);
        SetWindowTextW(combo.window, win32::Utf16(text).c_str());
    }
}

int ComboBox::ListCount() const {
    return static_cast<int>(Of(*this).items.size());
}

std::string ComboBox::List(int index) const {
    const std::vector<std::string>& items = Of(*this).items;
    return index >= 0 && index < static_cast<int>(items.size())
               ? items[static_cast<std::size_t>(index)]
               : std::string();
}

void ComboBox::SetFont(const Font& font) {
    ComboBoxImpl& combo = Of(*this);
    combo.font = font;
    win32::OwnedFont made = win32::MakeFont(font);
    if (combo.window) {
        SendMessageW(combo.window, WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), TRUE);
    }
    combo.gdiFont = std::move(made);
}

void ComboBox::SetBackColor(Rgb colour) {
    ComboBoxImpl& combo = Of(*this);
    combo.backColor = colour;
    combo.background.reset(CreateSolidBrush(win32::ColourRef(colour)));
    if (combo.window) {
        InvalidateRect(combo.window, nullptr, TRUE);
    }
}

} // namespace kestrune::forms
