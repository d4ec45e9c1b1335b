#include "host/forms/qt/qt_conversions.h"

#include <QBitmap>
#include <QPainter>
#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace kestrune::forms::qt {

QImage ImageView(const Picture& picture) {
    return QImage(picture.rgb.data(), picture.width, picture.height, picture.width * 3,
                  QImage::Format_RGB888);
}

void InstallFontSubstitutes() {
    // The forms' layouts name the faces of the system they were designed on.
    // Debian has metric-compatible stand-ins for the Japanese ones
    // (fonts-ipafont-gothic); Tahoma's usual substitute is DejaVu Sans, which
    // fontconfig would pick as well, named here so the choice does not depend
    // on the machine's fontconfig rules.
    const QStringList pGothic{QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック")};
    const QStringList gothic{QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), pGothic);
    QFont::insertSubstitutions(QStringLiteral("MS PGothic"), pGothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("MS Gothic"), gothic);
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
}

QFont ToQFont(const Font& font) {
    QFont result(FromUtf8(font.face));
    if (font.points > 0) {
        result.setPointSizeF(font.points);
    }
    result.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 1, 1000)));
    result.setUnderline(font.underline);
    return result;
}

QCursor ToQCursor(const MonoCursor& cursor) {
    // The bitmap holds the black pixels, the mask every pixel that is drawn:
    // a masked pixel that is not black shows white.
    const int stride = (cursor.width + 7) / 8;
    std::vector<uchar> bits(static_cast<std::size_t>(stride * cursor.height));
    std::vector<uchar> mask(bits.size());
    for (int y = 0; y < cursor.height; ++y) {
        for (int x = 0; x < cursor.width; ++x) {
            const std::size_t index = static_cast<std::size_t>(y * cursor.width + x);
            const std::uint8_t pixel =
                index < cursor.pixels.size() ? cursor.pixels[index] : std::uint8_t{0};
            const auto byte = static_cast<std::size_t>(y * stride + x / 8);
            const auto bit = static_cast<uchar>(1u << (x % 8));
            if (pixel == MonoCursor::Black) {
                bits[byte] |= bit;
            }
            if (pixel != MonoCursor::Transparent) {
                mask[byte] |= bit;
            }
        }
    }
    const QSize size(cursor.width, cursor.height);
    return QCursor(QBitmap::fromData(size, bits.data(), QImage::Format_MonoLSB),
                   QBitmap::fromData(size, mask.data(), QImage::Format_MonoLSB), cursor.hotX,
                   cursor.hotY);
}

MouseButton ToMouseButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return MouseButton::Left;
    case Qt::RightButton:
        return MouseButton::Right;
    case Qt::MiddleButton:
        return MouseButton::Middle;
    default:
        return MouseButton::None;
    }
}

MouseButton ToButtonMask(Qt::MouseButtons buttons) {
    int mask = 0;
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        if (buttons & button) {
            mask |= static_cast<int>(ToMouseButton(button));
        }
    }
    return static_cast<MouseButton>(mask);
}

ShiftState ToShiftState(Qt::KeyboardModifiers modifiers) {
    return ((modifiers & Qt::ShiftModifier) ? 1 : 0) | ((modifiers & Qt::ControlModifier) ? 2 : 0) |
           ((modifiers & Qt::AltModifier) ? 4 : 0);
}

Surface& SyncedCanvas(Surface& canvas, const QWidget& widget, Rgb fill) {
    canvas.Resize(widget.width(), widget.height(), fill);
    return canvas;
}

void PaintCanvas(QWidget& widget, const Surface& canvas, Rgb background) {
    QPainter painter(&widget);
    painter.fillRect(widget.rect(), ToQColor(background));
    painter.drawImage(0, 0, ImageView(canvas.Image()));
}

} // namespace kestrune::forms::qt
