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
    explicit PictureBoxImpl(Container::Impl& parent)
        : Control::Impl(parent, std::make_unique<PictureFrame>(), false),
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
    Surface& Canvas() { return qt::SyncedCanvas(canvas, *client, backColor); }

    // Destroyed before the frame that holds it.
    std::unique_ptr<PictureClient> client;
    Surface canvas;
    Rgb backColor{240, 240, 240};
    bool border = false;
};

void PictureClient::paintEvent(QPaintEvent*) {
    qt::PaintCanvas(*this, m_box.Canvas(), m_box.backColor);
}

PictureBoxImpl& Of(const PictureBox& box) {
    return static_cast<PictureBoxImpl&>(box.ControlImpl());
}

} // namespace

// A new box has no border, unlike the designer's default: the boxes that
// carry pictures are made that way, and a border would change their image.
PictureBox::PictureBox(Container& parent)
    : Control(std::make_unique<PictureBoxImpl>(parent.ContainerImpl())) {}

PictureBox::~PictureBox() = default;

void PictureBox::SetPicture(const Picture& picture) {
    PictureBoxImpl& box = Of(*this);
    if (!box.border) {
        Move(Left(), Top(), picture.width, picture.height);
    }
    Surface& canvas = box.Canvas();
    canvas.Clear(box.backColor);
    canvas.DrawPicture(picture, 0, 0);
    box.client->update();
}

const Picture& PictureBox::Image() const {
    return Of(*this).Canvas().Image();
}

void PictureBox::SetBorder(bool single) {
    PictureBoxImpl& box = Of(*this);
    box.border = single;
    box.Frame().setFrameStyle(single ? QFrame::Panel | QFrame::Sunken : QFrame::NoFrame);
    box.Frame().setLineWidth(single ? 2 : 0);
    box.client->setGeometry(box.Frame().contentsRect());
}

void PictureBox::SetBackColor(Rgb colour) {
    PictureBoxImpl& box = Of(*this);
    box.backColor = colour;
    box.Canvas().Clear(colour);
    box.client->update();
}

Surface& PictureBox::Canvas() {
    return Of(*this).Canvas();
}

void PictureBox::RefreshCanvas() {
    Of(*this).client->update();
}

Container::Impl& PictureBox::ContainerImpl() const {
    return Of(*this);
}

} // namespace kestrune::forms
