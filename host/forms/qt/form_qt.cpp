#include "host/forms/form.h"

#include "host/forms/event_dispatch.h"
#include "host/forms/qt/application_impl.h"
#include "host/forms/qt/form_impl.h"
#include "host/forms/qt/qt_conversions.h"
#include "host/forms/qt/timer_impl.h"
#include "host/forms/qt/x11_display.h"
#include "host/forms/qt/x11_event_filter.h"
#include "host/forms/window_services.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QIcon>
#include <QPixmap>
#include <QResizeEvent>
#include <QTimer>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <utility>

namespace kestrune::forms {

using qt::FromUtf8;

namespace {

// The window's parent as the X server has it; 0 when it cannot tell. The
// question waits for the answer, so every earlier request has taken effect.
std::uint32_t ParentOf(std::uint32_t window) {
    xcb_connection_t* connection = qt::X11Connection();
    xcb_query_tree_reply_t* tree =
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr);
    const std::uint32_t parent = tree ? tree->parent : 0;
    std::free(tree);
    return parent;
}

} // namespace

FormWidget::FormWidget(Form::Impl& form) : m_form(form) {}

void FormWidget::paintEvent(QPaintEvent*) {
    qt::PaintCanvas(*this, m_form.Canvas(), m_form.owner.Settings().backColor);
}

void FormWidget::resizeEvent(QResizeEvent*) {
    m_form.resizeEvents.Sized(m_form.owner, width(), height());
}

void FormWidget::closeEvent(QCloseEvent* event) {
    // A close request of the window system (WM_DELETE_WINDOW: the close box,
    // the end of the session, another program). The form decides in
    // Form_QueryUnload; the window stays until the unload has run, which
    // happens from the event loop rather than inside Qt's close handling.
    event->ignore();
    m_form.QueueUnload(UnloadMode::ControlMenu);
}

bool FormWidget::focusNextPrevChild(bool next) {
    return m_form.MoveFocus(next) || QWidget::focusNextPrevChild(next);
}

Form::Impl::Impl(Form& form) : owner(form), widget(std::make_unique<FormWidget>(*this)) {
    widget->setAttribute(Qt::WA_QuitOnClose, false);
    widget->resize(320, 240);
    ApplyBorderStyle();
}

Form::Impl::~Impl() {
    if (loaded) {
        DestroyWindow();
    }
}

QWidget& Form::Impl::ChildArea() {
    return *widget;
}

NativeWindow Form::Impl::Window() const {
    return loaded ? static_cast<NativeWindow>(widget->internalWinId()) : 0;
}

Surface& Form::Impl::Canvas() {
    return qt::SyncedCanvas(canvas, *widget, owner.Settings().backColor);
}

void Form::Impl::ApplyBorderStyle() {
    if (owner.Settings().borderStyle == BorderStyle::None) {
        widget->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        widget->setMinimumSize(0, 0);
        widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        // A title bar with a close box only, and a size the user cannot
        // change: the minimum and maximum size are the size itself.
        widget->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowCloseButtonHint);
        widget->setFixedSize(widget->size());
    }
}

void Form::Impl::Load() {
    if (loaded) {
        return;
    }
    widget->setWindowTitle(FromUtf8(owner.Caption()));
    // The native window is made now, hidden, with the caption as its title,
    // so that a lookup by title finds the loaded form before it is shown.
    widget->winId();
    loaded = true;
    ++generation;
    qt::NoteFormLoaded(*this);
    if (qt::X11EventFilter* filter = qt::EventFilter()) {
        filter->Watch(Window(), *this);
    }
    qt::FlushX11();
    for (Timer::Impl* timer : timers) {
        timer->Restart();
    }
    EventDispatch::Load(owner);
}

bool Form::Impl::MoveFocus(bool forward) {
    // The form keeps its own tab order rather than Qt's focus chain, which
    // cannot be reordered reliably around controls that take no focus.
    const auto count = static_cast<int>(tabOrder.size());
    if (count == 0) {
        return false;
    }
    const QWidget* current = widget->focusWidget();
    int at = forward ? -1 : count;
    for (int i = 0; i < count; ++i) {
        const QWidget* entry = tabOrder[static_cast<std::size_t>(i)];
        if (current && entry && (entry == current || entry->isAncestorOf(current))) {
            at = i;
            break;
        }
    }
    for (int step = 1; step <= count; ++step) {
        const int index = ((at + (forward ? step : -step)) % count + count) % count;
        QWidget* candidate = tabOrder[static_cast<std::size_t>(index)];
        if (candidate && candidate->isVisibleTo(widget.get()) && candidate->isEnabled() &&
            (candidate->focusPolicy() & Qt::TabFocus)) {
            candidate->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

void Form::Impl::Show(bool modal) {
    Load();
    if (!loaded) {
        return;
    }
    if (modal) {
        widget->setWindowModality(Qt::ApplicationModal);
    }
    if (!widget->focusWidget()) {
        MoveFocus(true);
    }
    widget->show();
    // A form that is shown becomes the active window, with the keyboard
    // focus on its first control, also where no window manager would
    // activate it. A form inside another program's window (the preview)
    // only appears there: the keyboard stays with that program.
    if (!foreignParent) {
        widget->activateWindow();
    }
    qt::FlushX11();
    resizeEvents.Shown(owner, widget->width(), widget->height());
    if (modal && loaded) {
        QEventLoop loop;
        modalLoop = &loop;
        loop.exec();
        modalLoop = nullptr;
    }
}

void Form::Impl::Unload(UnloadMode mode, bool windowGone) {
    if (!loaded || unloading) {
        return;
    }
    unloading = true;
    const bool goes = EventDispatch::UnloadEvents(owner, mode, windowGone);
    unloading = false;
    if (!goes) {
        return;
    }
    DestroyWindow();
}

void Form::Impl::QueueUnload(UnloadMode mode, bool windowGone) {
    const unsigned loadedAs = generation;
    QTimer::singleShot(0, widget.get(), [this, mode, windowGone, loadedAs] {
        if (loaded && generation == loadedAs) {
            Unload(mode, windowGone);
        }
    });
}

void Form::Impl::DestroyWindow() {
    for (Timer::Impl* timer : timers) {
        timer->timer.stop();
    }
    if (qt::X11EventFilter* filter = qt::EventFilter()) {
        filter->Forget(Window());
    }
    widget->hide();
    widget->setWindowModality(Qt::NonModal);
    // Destroying the native window also deletes Qt's window object, which a
    // foreign parent would otherwise delete as its child: the parent goes
    // second.
    widget->destroy();
    foreignParent.reset();
    loaded = false;
    resizeEvents.WindowGone();
    ++generation;
    if (modalLoop) {
        modalLoop->quit();
    }
    qt::FlushX11();
    qt::NoteFormUnloaded(*this);
}

Form::Form() : m_impl(std::make_unique<Impl>(*this)) {}

Form::~Form() = default;

void Form::Load() {
    m_impl->Load();
}

bool Form::IsLoaded() const {
    return m_impl->loaded;
}

void Form::Show() {
    m_impl->Show(false);
}

void Form::ShowModal() {
    m_impl->Show(true);
}

void Form::Hide() {
    m_impl->widget->hide();
}

void Form::Unload() {
    m_impl->Unload(UnloadMode::Code);
}

void Form::Changed(Change what) {
    switch (what) {
    case Change::Caption:
        m_impl->widget->setWindowTitle(FromUtf8(m_settings.caption));
        qt::FlushX11();
        break;
    case Change::BorderStyle:
        m_impl->ApplyBorderStyle();
        break;
    }
}

void Form::SetIcon(const Picture& icon) {
    m_impl->widget->setWindowIcon(QIcon(QPixmap::fromImage(qt::ImageView(icon).copy())));
}

void Form::SetClientSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (m_settings.borderStyle == BorderStyle::FixedSingle) {
        m_impl->widget->setFixedSize(width, height);
    } else {
        m_impl->widget->resize(width, height);
    }
}

int Form::ClientWidth() const {
    return m_impl->widget->width();
}

int Form::ClientHeight() const {
    return m_impl->widget->height();
}

void Form::MoveTo(int left, int top) {
    m_impl->widget->move(left, top);
}

void Form::PlaceFrame(const std::function<Point(int width, int height)>& place) {
    m_impl->PlaceFrame(place);
    m_impl->framePlacer = place;
}

void Form::Impl::PlaceFrame(const std::function<Point(int width, int height)>& place) {
    // The frame's size from the margins the window manager has told (none
    // before it has), and its place set as the frame's, not the client area's.
    QSize size = widget->size();
    QWindow* window = widget->windowHandle();
    if (window) {
        const QMargins margins = window->frameMargins();
        size += QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
    }
    const Point at = place(size.width(), size.height());
    if (window && widget->isVisible()) {
        window->setFramePosition(QPoint(at.x, at.y));
    } else {
        widget->move(at.x, at.y);
    }
}

void Form::Impl::FrameKnown() {
    // Qt reads the new frame extents when it handles the same event, after
    // the filter that reported it: place the frame once that is done.
    QTimer::singleShot(0, widget.get(), [this] {
        if (const auto place = std::exchange(framePlacer, {})) {
            PlaceFrame(place);
        }
    });
}

Rect Form::WindowRect() const {
    if (m_impl->foreignParent) {
        // Qt knows an embedded form's place only within its parent; the
        // server knows where that is on the screen.
        if (const auto onScreen = forms::WindowRect(Window())) {
            return *onScreen;
        }
    }
    const QRect frame = m_impl->widget->frameGeometry();
    return Rect{frame.left(), frame.top(), frame.left() + frame.width(),
                frame.top() + frame.height()};
}

Surface& Form::Canvas() {
    return m_impl->Canvas();
}

void Form::RefreshCanvas() {
    m_impl->widget->update();
}

void Form::SetTabOrder(const std::vector<Control*>& controls) {
    m_impl->tabOrder.clear();
    for (const Control* control : controls) {
        m_impl->tabOrder.emplace_back(control->ControlImpl().widget.get());
    }
}

NativeWindow Form::Window() const {
    return m_impl->Window();
}

bool Form::EmbedIn(NativeWindow parent) {
    if (!m_impl->loaded || !qt::X11Display() || !forms::WindowRect(parent)) {
        return false;
    }
    std::unique_ptr<QWindow> foreign(QWindow::fromWinId(static_cast<WId>(parent)));
    QWindow* own = m_impl->widget->windowHandle();
    if (!foreign || !own) {
        return false;
    }
    own->setParent(foreign.get());
    // The server may refuse the new parent (an input-only window cannot hold
    // a window that shows pictures); Qt does not say so, the tree does.
    if (ParentOf(static_cast<std::uint32_t>(Window())) != static_cast<std::uint32_t>(parent)) {
        own->setParent(nullptr);
        return false;
    }
    m_impl->foreignParent = std::move(foreign);
    m_impl->widget->move(0, 0);
    qt::FlushX11();
    return true;
}

void Form::PostClose() {
    m_impl->QueueUnload(UnloadMode::ControlMenu);
}

Container::Impl& Form::ContainerImpl() const {
    return *m_impl;
}

} // namespace kestrune::forms
