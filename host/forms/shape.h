#pragma once

#include "host/forms/control.h"
#include "host/forms/forms_types.h"

namespace kestrune::forms {

// A windowless rectangle outline, one pixel wide, drawn over its container's
// image; the inside stays transparent.
class Shape : public Control {
public:
    explicit Shape(Container& parent);
    ~Shape() override;

    void SetBorderColor(Rgb colour);
};

} // namespace kestrune::forms
