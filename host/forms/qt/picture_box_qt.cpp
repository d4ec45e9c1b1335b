#include "host/forms/picture_box.h"

#include "host/forms/qt/control_impl.h"
#include "host/forms/qt/qt_conversions.h"

#include <QFrame>

namespace kestrune::forms {

namespace {

struct PictureBoxImpl;

// The box's client area: it shows the box's image and holds its controls.
class PictureClient : public QWidget {
public:
    PictureClient(QWidget& frame, PictureBoxImpl& box) : QWidget(&frame), m_box(box) {}

protected:
    void paintEvent(QPaintEvent*) override;

private:
    PictureBoxImpl& m_box;
};

// The box itself: its border, with the client area inside it.
class PictureFrame : public QFrame {
public:
    QWidget* client = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override {
        QFrame::resizeEvent(event);
        if (client) {
            client->setGeometry(contentsRect());
        }
    }
};

struct PictureBoxImpl : Control::Impl, Container::Impl {
    PictureBoxImpl(Container::Impl& parent, PictureBox& box)
        : Control::Impl(parent, std::make_unique<PictureFrame>(), false), owner(box),
          client(std::make_unique<PictureClient>(*widget, *this)) {
        Frame().client = client.get();
        client->setGeometry(Frame().contentsRect());
        client->show();
    }

    PictureFrame& Frame() { return static_cast<PictureFrame&>(*widget); }
    QWidget& ChildArea() override { return *client; }
    // A hidden box gets no resize event until it is shown, yet its image is
    // drawn and saved before that: the client area follows every move at once.
    void Moved() override { client->setGeometry(Frame().contentsRect()); }
    Form::Impl& OwnerForm() override { return container.OwnerForm(); }
    Surface& Canvas() { return qt::SyncedCanvas(canvas, *client, owner.BackColor()); }

    PictureBox& owner;
    // Destroyed before the frame that holds it.
    std::unique_ptr<PictureClient> client;
    Surface canvas;
};

void PictureClient::paintEvent(QPaintEvent*) {
    qt::PaintCanvas(*this, m_box.Canvas(), m_box.owner.BackColor());
}

PictureBoxImpl& Of(const PictureBox& box) {
    return static_cast<PictureBoxImpl&>(box.ControlImpl());
}

} // namespace

PictureBox::PictureBox(Container& parent)
    : Control(std::make_unique<PictureBoxImpl>(parent.ContainerImpl(), *this)) {}

PictureBox::~PictureBox() = default;

Surface& PictureBox::BackingImage() const {
    return Of(*this).Canvas();
}

void PictureBox::BorderChanged() {
    PictureBoxImpl& box = Of(*this);
    box.Frame().setFrameStyle(m_border ? QFrame::Panel | QFrame::Sunken : QFrame::NoFrame);
    box.Frame().setLineWidth(m_border ? 2 : 0);
    box.client->setGeometry(box.Frame().contentsRect());
}

void PictureBox::RefreshCanvas() {
    Of(*this).client->update();
}

Container::Impl& PictureBox::ContainerImpl() const {
    return Of(*this);
}

} // namespace kestrune::forms
