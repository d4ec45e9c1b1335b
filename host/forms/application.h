#pragma once

#include <memory>
#include <string>

namespace kestrune::forms {

// The forms runtime of one process: the window system's connection and the
// event loop on which every form, timer and control event arrives. Exactly
// one exists, made first thing in main and alive until the process ends.
class Application {
public:
    struct Impl;
    Application(int argc, char** argv);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Runs the event loop for as long as any form is loaded; returns at once
    // when none is. The process's exit code.
    int Run();

private:
    std::unique_ptr<Impl> m_impl;
};

// The command-line text after the program name, as the system passed it. On
// Windows the text itself; on Linux the arguments joined by single blanks
// ("Kestrune.scr /p 1234" gives "/p 1234").
const std::string& CommandLineText();

// The program's title: the caption of its message boxes.
const char* ProgramTitle();

// Ends the process at once with exit code 0: no further form event runs and
// no form's destructor. Whatever must be stopped first (music) the caller
// stops before.
[[noreturn]] void EndProcess();

} // namespace kestrune::forms
