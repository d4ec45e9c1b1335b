#pragma once

#include "host/forms/form.h"
#include "host/forms/image_control.h"

#include <cstdint>

namespace kestrune {

// The preview: a borderless form holding a still picture of the show, made a
// child of the window the system previews screensavers in, and sized to
// cover it. It starts nothing, plays nothing and writes nothing.
class Kestrune_R final : public forms::Form {
public:
    static constexpr const char* kCaption = "Preview Window";

    Kestrune_R();

    forms::ImageControl Img_Prev;

private:
    void Form_Unload(bool& cancel) override;
};

// Shows the preview inside the window `parentHandle`. Returns the loaded form,
// which the process keeps until it is unloaded; nothing when the parent names
// no window or the form cannot be put inside it (the process then has nothing
// to show and ends).
std::unique_ptr<Kestrune_R> PreviewSetUp(std::int32_t parentHandle);

} // namespace kestrune
