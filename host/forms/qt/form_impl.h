#pragma once

#include "host/forms/event_dispatch.h"
#include "host/forms/form.h"
#include "host/forms/qt/control_impl.h"
#include "host/forms/timer.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QEventLoop;
class QWindow;

namespace kestrune::forms {

class FormWidget;

struct Form::Impl : Container::Impl {
    explicit Impl(Form& owner);
    ~Impl() override;

    QWidget& ChildArea() override;
    Form::Impl& OwnerForm() override { return *this; }

    void Load();
    void Show(bool modal);
    // Form_QueryUnload, Form_Unload, then (unless they cancel) the window
    // goes (see EventDispatch::UnloadEvents).
    void Unload(UnloadMode mode, bool windowGone = false);
    // The same, later, through the event loop, unless the form has been
    // unloaded (or loaded anew) meanwhile.
    void QueueUnload(UnloadMode mode, bool windowGone = false);
    NativeWindow Window() const;
    Surface& Canvas();

    Form& owner;
    std::unique_ptr<FormWidget> widget;
    Surface canvas;
    std::vector<Timer::Impl*> timers;
    bool loaded = false;
    bool unloading = false;
    FormResizeEvents resizeEvents;
    // Counts loads and unloads, so that a queued request can tell whether
    // the form it was meant for is still the one loaded.
    unsigned generation = 0;
    QEventLoop* modalLoop = nullptr;
    // The foreign window the form is a child of (see EmbedIn).
    std::unique_ptr<QWindow> foreignParent;
    // The widgets that Tab moves through, in order (see SetTabOrder).
    std::vector<QPointer<QWidget>> tabOrder;

    // Gives the focus to the next (or previous) control of the tab order
    // after the one that has it; false when none can take it.
    bool MoveFocus(bool forward);

    // The window's kind: frameless, or a fixed frame with a close box.
    void ApplyBorderStyle();

    // How the form wants its frame placed (Form::PlaceFrame), kept until the
    // window manager tells its frame; then FrameKnown places it once more.
    std::function<Point(int width, int height)> framePlacer;
    void PlaceFrame(const std::function<Point(int width, int height)>& place);
    void FrameKnown();

private:
    void DestroyWindow();
};

// The form's top-level window: it shows the form's backing image under the
// controls and turns the window system's close requests into unloads.
class FormWidget : public QWidget {
public:
    explicit FormWidget(Form::Impl& form);
    // Frees the native window (and those of native children) while the
    // widget and its children stay, so that the form can be loaded again.
    using QWidget::destroy;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    Form::Impl& m_form;
};

} // namespace kestrune::forms
