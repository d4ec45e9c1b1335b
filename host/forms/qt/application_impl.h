#pragma once

#include "host/forms/form.h"

#include <vector>

// What the backend's parts share about the running application: which forms
// are loaded (Run lasts as long as one is) and the X11 event watch.
namespace kestrune::forms::qt {

class X11EventFilter;

// The loaded forms, oldest first; empty before the application exists.
const std::vector<Form::Impl*>& LoadedForms();
void NoteFormLoaded(Form::Impl& form);
void NoteFormUnloaded(Form::Impl& form);

// The watch over the X server's events; null without an X server.
X11EventFilter* EventFilter();

} // namespace kestrune::forms::qt
