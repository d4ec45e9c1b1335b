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
    LabelImpl(Container::Impl& parent, Label& label)
        : Control::Impl(parent, std::make_unique<LabelWidget>(label), true), owner(label) {}

    QLabel& Widget() { return static_cast<QLabel&>(*widget); }

    void Moved() override { Fit(); }

    // With auto-size on, the label takes the size of its text: one line (or
    // its explicit lines) without word wrap, or the height of the wrapped
    // text at its width.
    void Fit() {
        if (!owner.Settings().autoSize) {
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
        const LabelSettings& settings = owner.Settings();
        QLabel& label = Widget();
        QPalette palette = label.palette();
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            palette.setColor(group, QPalette::WindowText, qt::ToQColor(settings.foreColor));
        }
        palette.setColor(QPalette::Window, qt::ToQColor(settings.backColor));
        label.setPalette(palette);
        label.setAutoFillBackground(!settings.transparent);
        label.update();
    }

    Label& owner;
};

LabelImpl& Of(const Label& label) {
    return static_cast<LabelImpl&>(label.ControlImpl());
}

} // namespace

Label::Label(Container& parent)
    : Control(std::make_unique<LabelImpl>(parent.ContainerImpl(), *this)) {
    m_settings.font = parent.ContainerImpl().OwnerForm().owner.GetFont();
    Changed(Change::Font);
    Changed(Change::Colours);
}

Label::~Label() = default;

void Label::Changed(Change what) {
    LabelImpl& impl = Of(*this);
    QLabel& label = impl.Widget();
    switch (what) {
    case Change::Caption:
        label.setText(FromUtf8(m_settings.caption));
        break;
    case Change::Font:
        label.setFont(qt::ToQFont(m_settings.font));
        break;
    case Change::Colours:
        impl.ApplyColours();
        return;
    case Change::Border:
        label.setFrameStyle(m_settings.border ? QFrame::Panel | QFrame::Sunken : QFrame::NoFrame);
        label.setLineWidth(1);
        break;
    case Change::Alignment: {
        const Alignment alignment = m_settings.alignment;
        const Qt::Alignment horizontal = alignment == Alignment::Centre  ? Qt::AlignHCenter
                                         : alignment == Alignment::Right ? Qt::AlignRight
                                                                         : Qt::AlignLeft;
        label.setAlignment(horizontal | Qt::AlignTop);
        return;
    }
    case Change::WordWrap:
        label.setWordWrap(m_settings.wordWrap);
        break;
    case Change::AutoSize:
        break;
    case Change::PassMouse:
        label.setAttribute(Qt::WA_TransparentForMouseEvents, m_settings.passMouse);
        return;
    }
    impl.Fit();
}

void Label::SetMouseCursor(const MonoCursor* cursor) {
    if (cursor) {
        Of(*this).Widget().setCursor(qt::ToQCursor(*cursor));
    } else {
        Of(*this).Widget().unsetCursor();
    }
}

} // namespace kestrune::forms
