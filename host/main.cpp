// Kestrune.scr, the screensaver host: the system starts it with the
// screensaver's command lines (/s run, /p preview, /c settings).
#include "host/forms/application.h"
#include "host/startup/mode_dispatch.h"

int main(int argc, char** argv) {
    kestrune::forms::Application application(argc, argv);
    // The form that keeps the process alive dies before the application.
    const std::unique_ptr<kestrune::forms::Form> form = kestrune::Main();
    return application.Run();
}
