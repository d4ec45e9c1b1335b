#pragma once

#include "host/forms/control.h"
#include "host/forms/form.h"

#include <QWidget>

#include <memory>

// The backend's side of controls and containers. A control is one QWidget.
// Windowless controls (labels, images, shapes) are widgets without a window
// of their own that paint over their container's image; windowed controls
// (combo boxes, picture boxes, user controls) always lie above them, as the
// window system would put child windows above whatever their parent paints.
namespace kestrune::forms {

struct Container::Impl {
    virtual ~Impl() = default;
    // The widget that holds the children; their positions are relative to it.
    virtual QWidget& ChildArea() = 0;
    // The form the container sits on (a form is its own).
    virtual Form::Impl& OwnerForm() = 0;
};

struct Control::Impl {
    Impl(Container::Impl& parent, std::unique_ptr<QWidget> control, bool windowless);
    virtual ~Impl();
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    // Runs after Move has placed the widget.
    virtual void Moved() {}

    // Sizes the control from its own measure, as Move would without what
    // follows a Move.
    void Resize(int width, int height);

    // The control whose side this is; set once the control exists.
    Control* owner = nullptr;
    Container::Impl& container;
    std::unique_ptr<QWidget> widget;
};

} // namespace kestrune::forms
