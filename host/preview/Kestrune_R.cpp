#include "host/preview/Kestrune_R.h"

#include "host/forms/system_services.h"
#include "host/forms/window_services.h"
#include "host/preview/preview_still.h"

#include <cmath>
#include <optional>

namespace kestrune {

namespace {

// The form's size is kept in twips as a 16-bit value: a side that does not fit
// (wider than 32767 twips) fails to convert and stays 0, so the form shows
// nothing on that side.
std::int16_t PixelsToTwips(int pixels, int twipsPerPixel) {
    const double twips = std::nearbyint(static_cast<double>(pixels) * twipsPerPixel);
    if (!(twips >= -32768.0 && twips <= 32767.0)) {
        return 0;
    }
    return static_cast<std::int16_t>(twips);
}

} // namespace

Kestrune_R::Kestrune_R() : Img_Prev(*this) {
    SetCaption(kCaption);
    SetBorderStyle(forms::BorderStyle::None);
    SetBackColor(forms::Rgb{0, 0, 0});
    Img_Prev.SetPicture(PreviewStill());
    // The still is made at the usual preview size; any other preview area
    // gets it stretched to cover the area, as a user would expect of a
    // preview, rather than a corner of it or black margins.
    Img_Prev.SetStretch(true);
}

void Kestrune_R::Form_Unload(bool& cancel) {
    (void)cancel;
    PostClose();
}

std::unique_ptr<Kestrune_R> PreviewSetUp(std::int32_t parentHandle) {
    const auto parent = static_cast<forms::NativeWindow>(static_cast<std::intptr_t>(parentHandle));
    const std::optional<forms::Rect> parentRect = forms::WindowRect(parent);
    // A zero handle, or one that names no window, would leave an empty form
    // that nothing ever closes; the preview ends at once instead.
    if (parentHandle == 0 || !parentRect) {
        return nullptr;
    }
    const int twipsX = forms::ScreenTwipsPerPixelX();
    const int twipsY = forms::ScreenTwipsPerPixelY();
    const std::int16_t widthTwips = PixelsToTwips(parentRect->Width(), twipsX);
    const std::int16_t heightTwips = PixelsToTwips(parentRect->Height(), twipsY);

    auto form = std::make_unique<Kestrune_R>();
    form->Load();
    // A form that could not go inside the parent (gone meanwhile, or one
    // that cannot hold it) would show as a bare window at the screen's
    // corner that nothing closes; the preview ends instead.
    if (!form->EmbedIn(parent)) {
        return nullptr;
    }
    const int width = widthTwips / twipsX;
    const int height = heightTwips / twipsY;
    form->MoveTo(0, 0);
    form->SetClientSize(width, height);
    form->Img_Prev.Move(0, 0, width, height);
    form->Show();
    return form;
}

} // namespace kestrune
