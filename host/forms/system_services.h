#pragma once

#include "host/forms/forms_types.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// General services of the forms runtime: the screen, message boxes, the file
// chooser, starting programs and documents, folders.
namespace kestrune::forms {

class Form;

// Twips (1/1440 inch) per screen pixel: 15 at 96 dots per inch.
int ScreenTwipsPerPixelX();
int ScreenTwipsPerPixelY();

// The screen's size in pixels.
int ScreenWidth();
int ScreenHeight();

// The mouse pointer shown over every window of the program.
void SetScreenMousePointer(MousePointer pointer);

// A modal message box with one OK button and the program's title as its
// caption; returns when it is closed.
void ShowMessageBox(const std::string& text);

struct OpenFileOptions {
    std::string title;
    // One filter entry: its description and its patterns ("*.MP3"). On Linux
    // a pattern matches its extension in any letter case.
    std::string filterDescription;
    std::vector<std::string> patterns;
    std::string initialFolder;
};

// The standard open-file dialog, modal to `owner`. The chosen path, or
// nothing when the user cancelled. The file need not exist.
std::optional<std::string> ChooseFileToOpen(const Form& owner, const OpenFileOptions& options);

// Opens a document or an address with the program the desktop associates
// with it, without waiting. Returns whether it could be handed over.
bool OpenDocument(const Form& owner, const std::string& target);

// A program that StartProgram started. The host never waits for it, signals
// it or ends it; it only asks whether it still runs. Released, it keeps
// nothing of the program (on Windows its process handle is closed).
class StartedProgram {
public:
    virtual ~StartedProgram() = default;
    // Whether the program's process has not ended yet.
    virtual bool Running() const = 0;
};

// Starts the program at `path` with no arguments, with a normal window that
// gets the focus, and does not wait for it. The started process is never
// left behind as a zombie. Nothing when it did not start.
std::unique_ptr<StartedProgram> StartProgram(const std::string& path);

// Creates one folder. Returns whether it exists now as a new folder; an
// existing folder gives false, as does any failure.
bool CreateFolder(const std::string& path);

} // namespace kestrune::forms
