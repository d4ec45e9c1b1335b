#include "host/forms/system_services.h"

#include "host/forms/application.h"
#include "host/forms/qt/form_impl.h"
#include "host/forms/qt/qt_conversions.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>

namespace kestrune::forms {

namespace {

using qt::FromUtf8;

constexpr int kTwipsPerInch = 1440;
constexpr int kUsualTwipsPerPixel = 15;

int TwipsPerPixel(qreal dotsPerInch) {
    return dotsPerInch > 0 ? static_cast<int>(kTwipsPerInch / dotsPerInch) : kUsualTwipsPerPixel;
}

QScreen* Screen() {
    return qApp ? QGuiApplication::primaryScreen() : nullptr;
}

// The owner's window when it has one, for dialogs that belong to it.
QWidget* OwnerWidget(const Form& owner) {
    return owner.IsLoaded() ? owner.FormImpl().widget.get() : nullptr;
}

// "*.MP3" as "*.[mM][pP]3": a pattern that matches its extension in any
// letter case, whatever case rules the dialog applies.
QString AnyCase(const std::string& pattern) {
    QString result;
    for (const QChar c : FromUtf8(pattern)) {
        if (c.isLetter() && c.toLower() != c.toUpper()) {
            result += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        } else {
            result += c;
        }
    }
    return result;
}

} // namespace

int ScreenTwipsPerPixelX() {
    QScreen* screen = Screen();
    return screen ? TwipsPerPixel(screen->logicalDotsPerInchX()) : kUsualTwipsPerPixel;
}

int ScreenTwipsPerPixelY() {
    QScreen* screen = Screen();
    return screen ? TwipsPerPixel(screen->logicalDotsPerInchY()) : kUsualTwipsPerPixel;
}

int ScreenWidth() {
    QScreen* screen = Screen();
    return screen ? screen->geometry().width() : 0;
}

int ScreenHeight() {
    QScreen* screen = Screen();
    return screen ? screen->geometry().height() : 0;
}

void SetScreenMousePointer(MousePointer pointer) {
    // One override at most: setting the hourglass twice and the default once
    // leaves the default, as the designer's screen property does.
    static bool hourglass = false;
    if (pointer == MousePointer::Hourglass && !hourglass) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        hourglass = true;
    } else if (pointer == MousePointer::Default && hourglass) {
        QApplication::restoreOverrideCursor();
        hourglass = false;
    }
}

void ShowMessageBox(const std::string& text) {
    QMessageBox box;
    box.setWindowTitle(QString::fromUtf8(ProgramTitle()));
    box.setTextFormat(Qt::PlainText);
    box.setText(FromUtf8(text));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

std::optional<std::string> ChooseFileToOpen(const Form& owner, const OpenFileOptions& options) {
    QFileDialog dialog(OwnerWidget(owner), FromUtf8(options.title),
                       QFile::decodeName(options.initialFolder.c_str()));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The file need not exist: a typed name is taken as it is.
    dialog.setFileMode(QFileDialog::AnyFile);
    // Qt's own dialog on every desktop, so that the patterns below behave the
    // same everywhere.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!options.patterns.empty()) {
        // The dialog reads a filter's patterns from the last parentheses of
        // its text, and the description may hold parentheses of its own
        // ("BGMﾌｧｲﾙ (MP3 WAV)"): the patterns are added in parentheses of
        // their own and hidden, so the description shows as given.
        QStringList patterns;
        for (const std::string& pattern : options.patterns) {
            patterns << AnyCase(pattern);
        }
        dialog.setNameFilter(FromUtf8(options.filterDescription) + QStringLiteral(" (") +
                             patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
        dialog.setOption(QFileDialog::HideNameFilterDetails);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

bool OpenDocument(const Form&, const std::string& target) {
    // An address opens as it is; a plain path becomes a file URL.
    const QUrl url =
        QUrl::fromUserInput(FromUtf8(target), QDir::currentPath(), QUrl::AssumeLocalFile);
    return url.isValid() && QDesktopServices::openUrl(url);
}

} // namespace kestrune::forms
