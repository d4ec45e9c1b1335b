#pragma once

#include "host/forms/control.h"
#include "host/forms/forms_types.h"
#include "host/forms/picture.h"
#include "host/forms/surface.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kestrune::forms {

class EventDispatch;

enum class BorderStyle {
    None,        // no frame and no title bar
    FixedSingle, // a frame and a title bar with only a close box; not resizable
};

// A form's settings, as its setters leave them. The client size is not one:
// the window's own size is the truth, and the user or the window system may
// change it.
struct FormSettings {
    std::string caption; // UTF-8
    BorderStyle borderStyle = BorderStyle::FixedSingle;
    Rgb backColor{240, 240, 240};
    Font font{"ＭＳ Ｐゴシック", 9.0, 400, false, 128};
};

// A top-level window with its events, the base of the host's forms. A derived
// form creates its controls as members (its constructor runs before the form
// is loaded) and overrides the events it handles.
//
// Life of a form: constructed (no window yet) -> Load (its window exists,
// hidden, with the caption as its title, so a lookup by title finds it; then
// Form_Load) -> Show or ShowModal (the first showing sends Form_Resize) ->
// Unload (Form_QueryUnload, Form_Unload, then the window is gone).
class Form : public Container {
public:
    struct Impl;
    Form();
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Creates the window, hidden, and runs Form_Load. A loaded form's
    // further Load calls do nothing.
    void Load();
    bool IsLoaded() const;

    // Loads the form if needed and shows it without waiting.
    void Show();
    // Loads the form if needed, shows it modally and returns once it is
    // unloaded.
    void ShowModal();
    void Hide();

    // Form_QueryUnload, then (unless cancelled) Form_Unload, then (unless
    // cancelled) the window is destroyed. Unloading an unloaded form does
    // nothing.
    void Unload();

    // The caption is the window's title, on screen and for window lookups.
    void SetCaption(const std::string& caption);
    const std::string& Caption() const;

    // Set before the form is loaded.
    void SetBorderStyle(BorderStyle style);
    void SetIcon(const Picture& icon);

    // The client area's size in pixels.
    void SetClientSize(int width, int height);
    int ClientWidth() const;
    int ClientHeight() const;

    // The top-left corner of the window's frame, in screen pixels.
    void MoveTo(int left, int top);
    // The window's frame on screen (GetWindowRect).
    Rect WindowRect() const;
    // Moves the frame to where `place` puts a frame of the given size
    // (pixels). A window manager may tell the size of its frame only after
    // the window is shown; the form is then placed once more by it, so that
    // a form centred by its frame stays centred.
    void PlaceFrame(const std::function<Point(int width, int height)>& place);

    void SetBackColor(Rgb colour);

    // The form's font, which its user controls take as their ambient font.
    void SetFont(const Font& font);
    const Font& GetFont() const;

    // The backing image of the client area; RefreshCanvas shows what was
    // drawn. It is shown again whenever the window is repainted.
    Surface& Canvas();
    void RefreshCanvas();

    // The order in which Tab moves the keyboard focus between controls.
    void SetTabOrder(const std::vector<Control*>& controls);

    // The form's own window (0 before it is loaded).
    NativeWindow Window() const;

    // Makes the form a child window of `parent`, a window of any program,
    // and returns whether that worked. When the parent is destroyed the form
    // is unloaded with it (Form_QueryUnload with UnloadMode::ControlMenu).
    bool EmbedIn(NativeWindow parent);

    // Asks the form's own window to close, later, through the event loop, as
    // a close request from outside would.
    void PostClose();

    const FormSettings& Settings() const { return m_settings; }

    Impl& FormImpl() const { return *m_impl; }
    Container::Impl& ContainerImpl() const override;

protected:
    virtual void Form_Load() {}
    virtual void Form_Resize() {}
    virtual void Form_QueryUnload(bool& cancel, UnloadMode mode) {
        (void)cancel;
        (void)mode;
    }
    virtual void Form_Unload(bool& cancel) { (void)cancel; }

private:
    // The backend delivers the events through it.
    friend class EventDispatch;

    // What a setter changed, for the backend.
    enum class Change { Caption, BorderStyle };
    // The backend's side: shows the change on the window, or keeps it for
    // the window still to be made.
    void Changed(Change what);

    // The settings come first: the backend's side is made after them and
    // reads them as it is made.
    FormSettings m_settings;
    std::unique_ptr<Impl> m_impl;
};

} // namespace kestrune::forms
