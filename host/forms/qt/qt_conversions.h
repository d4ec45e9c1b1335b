#pragma once

#include "host/forms/forms_types.h"
#include "host/forms/picture.h"
#include "host/forms/surface.h"

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QImage>
#include <QString>

#include <string>

class QPainter;
class QWidget;

// Conversions between the layer's plain types and Qt's.
namespace kestrune::forms::qt {

inline QColor ToQColor(Rgb colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

inline QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToUtf8(const QString& text) {
    return text.toUtf8().toStdString();
}

// A view of the picture's pixels, valid while the picture is unchanged.
QImage ImageView(const Picture& picture);

// The installed faces that stand in for the faces the forms' layouts name.
// Called once when the application starts.
void InstallFontSubstitutes();

QFont ToQFont(const Font& font);

QCursor ToQCursor(const MonoCursor& cursor);

MouseButton ToMouseButton(Qt::MouseButton button);
MouseButton ToButtonMask(Qt::MouseButtons buttons);
ShiftState ToShiftState(Qt::KeyboardModifiers modifiers);

// The backing image kept at the size of `widget`, new parts in `fill`.
Surface& SyncedCanvas(Surface& canvas, const QWidget& widget, Rgb fill);

// Paints the background colour and the backing image over the widget.
void PaintCanvas(QWidget& widget, const Surface& canvas, Rgb background);

} // namespace kestrune::forms::qt
