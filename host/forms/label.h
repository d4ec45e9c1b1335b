#pragma once

#include "host/forms/control.h"
#include "host/forms/forms_types.h"

#include <functional>
#include <string>

namespace kestrune::forms {

enum class Alignment { Left, Centre, Right };

// A label's settings, as its setters leave them.
struct LabelSettings {
    std::string caption; // UTF-8
    Font font;
    Rgb foreColor{0, 0, 0};
    Rgb backColor{240, 240, 240};
    Alignment alignment = Alignment::Left;
    bool transparent = false;
    bool border = false;
    bool wordWrap = false;
    bool autoSize = false;
    bool passMouse = false;
};

// A windowless text label, drawn over its container's image.
class Label : public Control {
public:
    explicit Label(Container& parent);
    ~Label() override;

    // UTF-8 text.
    void SetCaption(const std::string& caption);
    const std::string& Caption() const;

    void SetFont(const Font& font);
    const Font& GetFont() const;
    void SetForeColor(Rgb colour);
    Rgb ForeColor() const;

    // Transparent: the container shows through behind the text.
    void SetTransparent(bool transparent);
    void SetBackColor(Rgb colour);
    void SetBorder(bool single);
    void SetAlignment(Alignment alignment);
    // Long text breaks into lines within the label's width.
    void SetWordWrap(bool wrap);
    // The label's width (and, with word wrap off, its height) follows its
    // text and font.
    void SetAutoSize(bool autoSize);

    // The cursor shown while the mouse is over the label; none gives the
    // default arrow.
    void SetMouseCursor(const MonoCursor* cursor);

    // The label takes no mouse input of its own: its container receives the
    // events, at the container's coordinates, as if the label were not there.
    void SetPassMouseToContainer(bool pass);

    const LabelSettings& Settings() const { return m_settings; }

    std::function<void()> onClick;
    std::function<void(MouseButton button, ShiftState shift, int x, int y)> onMouseDown;

private:
    // What a setter changed, for the backend.
    enum class Change { Caption, Font, Colours, Border, Alignment, WordWrap, AutoSize, PassMouse };
    // The backend's side: shows the change, and sizes the label to its text
    // when it changed what the size follows.
    void Changed(Change what);

    LabelSettings m_settings;
};

} // namespace kestrune::forms
