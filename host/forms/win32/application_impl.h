#pragma once

#include "host/forms/form.h"
#include "host/forms/forms_types.h"

#include <windows.h>

#include <vector>

// What the backend's parts share about the running program: which forms are
// loaded (Run lasts as long as one is), the message loop, and the program's
// mouse pointer.
namespace kestrune::forms::win32 {

// The loaded forms, oldest first.
const std::vector<Form::Impl*>& LoadedForms();
void NoteFormLoaded(Form::Impl& form);
void NoteFormUnloaded(Form::Impl& form);

// Takes the next message from the thread's queue, waiting for one, and
// handles it as every loop of the program does (Tab moves the focus between
// a form's controls). False once WM_QUIT comes, which stays posted for the
// loops around.
bool PumpOneMessage();

// The program's module.
HINSTANCE Instance();

// The program's mouse pointer: the hourglass over all of its windows while
// it works, or each window's own.
void SetHourglassPointer(bool hourglass);
bool HourglassPointer();

} // namespace kestrune::forms::win32
