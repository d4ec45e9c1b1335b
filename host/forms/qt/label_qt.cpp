#include "host/forms/label.h"

#include "host/forms/qt/control_impl.h"
#include "host/forms/qt/form_impl.h"
#include "host/forms/qt/qt_conversions.h"

#include <QLabel>
#include <QMouseEvent>

#include <utility>

namespace kestrune::forms {

namespace {

using qt::FromUtf8;

class LabelWidget : public QLabel {
public:
    explicit LabelWidget(Label& owner) : m_owner(owner) {
        setTextFormat(Qt::PlainText);
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setIndent(0);
        setMargin(0);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            m_leftPressed = true;
        }
        if (m_owner.onMouseDown) {
            const QPoint at = event->position().toPoint();
            m_owner.onMouseDown(qt::ToMouseButton(event->button()),
                                qt::ToShiftState(event->modifiers()), at.x(), at.y());
        }
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        // A click is a left press and release, both over the label.
        if (event->button() == Qt::LeftButton && std::exchange(m_leftPressed, false) &&
            rect().contains(event->position().toPoint()) && m_owner.onClick) {
            m_owner.onClick();
        }
    }

private:
    Label& m_owner;
    bool m_leftPressed = false;
};

struct LabelImpl : Control::Impl {
    LabelImpl(Container::Impl& parent, Label& owner)
        : Control::Impl(parent, std::make_unique<LabelWidget>(owner), true),
          font(parent.OwnerForm().font) {
        Widget().setFont(qt::ToQFont(font));
        ApplyColours();
    }

    QLabel& Widget() { return static_cast<QLabel&>(*widget); }

    void Moved() override { Fit(); }

    // With auto-size on, the label takes the size of its text: one line (or
    // its explicit lines) without word wrap, or the height of the wrapped
    // text at its width.
    void Fit() {
        if (!autoSize) {
            return;
        }
        QLabel& label = Widget();
        if (label.wordWrap()) {
            Resize(label.width(), label.heightForWidth(label.width()));
        } else {
            Resize(label.sizeHint().width(), label.sizeHint().height());
        }
    }

    void ApplyColours() {
        QLabel& label = Widget();
        QPalette palette = label.palette();
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            palette.setColor(group, QPalette::WindowText, qt::ToQColor(foreColor));
        }
        palette.setColor(QPalette::Window, qt::ToQColor(backColor));
        label.setPalette(palette);
        label.setAutoFillBackground(!transparent);
        label.update();
    }

    std::string caption;
    Font font;
    Rgb foreColor{0, 0, 0};
    Rgb backColor{240, 240, 240};
    bool transparent = false;
    bool autoSize = false;
};

LabelImpl& Of(const Label& label) {
    return static_cast<LabelImpl&>(label.ControlImpl());
}

} // namespace

Label::Label(Container& parent)
    : Control(std::make_unique<LabelImpl>(parent.ContainerImpl(), *this)) {}

Label::~Label() = default;

void Label::SetCaption(const std::string& caption) {
    Of(*this).caption = caption;
    Of(*this).Widget().setText(FromUtf8(caption));
    Of(*this).Fit();
}

const std::string& Label::Caption() const {
    return Of(*this).caption;
}

void Label::SetFont(const Font& font) {
    Of(*this).font = font;
    Of(*this).Widget().setFont(qt::ToQFont(font));
    Of(*this).Fit();
}

const Font& Label::GetFont() const {
    return Of(*this).font;
}

void Label::SetForeColor(Rgb colour) {
    Of(*this).foreColor = colour;
    Of(*this).ApplyColours();
}

Rgb Label::ForeColor() const {
    return Of(*this).foreColor;
}

void Label::SetTransparent(bool transparent) {
    Of(*this).transparent = transparent;
    Of(*this).ApplyColours();
}

void Label::SetBackColor(Rgb colour) {
    Of(*this).backColor = colour;
    Of(*this).ApplyColours();
}

void Label::SetBorder(bool single) {
    QLabel& label = Of(*this).Widget();
    label.setFrameStyle(single ? QFrame::Panel | QFrame::Sunken : QFrame::NoFrame);
    label.setLineWidth(1);
    Of(*this).Fit();
}

void Label::SetAlignment(Alignment alignment) {
    const Qt::Alignment horizontal = alignment == Alignment::Centre  ? Qt::AlignHCenter
                                     : alignment == Alignment::Right ? Qt::AlignRight
                                                                     : Qt::AlignLeft;
    Of(*this).Widget().setAlignment(horizontal | Qt::AlignTop);
}

void Label::SetWordWrap(bool wrap) {
    Of(*this).Widget().setWordWrap(wrap);
    Of(*this).Fit();
}

void Label::SetAutoSize(bool autoSize) {
    Of(*this).autoSize = autoSize;
    Of(*this).Fit();
}

void Label::SetMouseCursor(const MonoCursor* cursor) {
    if (cursor) {
        Of(*this).Widget().setCursor(qt::ToQCursor(*cursor));
    } else {
        Of(*this).Widget().unsetCursor();
    }
}

void Label::SetPassMouseToContainer(bool pass) {
    Of(*this).Widget().setAttribute(Qt::WA_TransparentForMouseEvents, pass);
}

} // namespace kestrune::forms
