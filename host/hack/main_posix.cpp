// kestrune-hack: the show as an xscreensaver hack. The renderer reads its
// four pictures from the texture folder, which the host writes before every
// fullscreen run; started by a desktop screensaver instead, the renderer has
// no host before it. This small program writes the pictures that are missing
// or not the current ones, with the saver's own code, then becomes the
// renderer beside it with the same arguments, so that the screensaver's
// signals and its watch on the process reach the renderer itself.

#include "common/kestrune_names.h"
#include "host/core/path_rules.h"
#include "host/core/program_path.h"
#include "host/hack/current_pictures.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    // A stop request while the pictures are written waits until they are
    // whole; it then ends this program by its default action, before the
    // show ever starts.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigset_t previous;
    sigprocmask(SIG_BLOCK, &stopSignals, &previous);

    // Without the pictures the renderer still draws, untextured: a failure
    // here is reported and the show goes on.
    std::string error;
    if (!kestrune::CreateTextureFolder()) {
        std::fprintf(stderr, "kestrune-hack: cannot make the texture folder \"%s\"\n",
                     kestrune::TextureFolder().c_str());
    } else if (!kestrune::WriteCurrentTexturePictures(kestrune::TextureFolder(), &error)) {
        std::fprintf(stderr, "kestrune-hack: %s", error.c_str());
    }
    sigprocmask(SIG_SETMASK, &previous, nullptr);

    // The renderer lies beside this program, as it lies beside the host.
    // Where this program lies must be known: a renderer looked for anywhere
    // else (the working folder, say) could be any program of that name.
    const std::string self = kestrune::RunningProgramPath();
    if (self.empty()) {
        std::fprintf(stderr, "kestrune-hack: cannot tell which folder this program is in\n");
        return 1;
    }
    std::string renderer =
        kestrune::JoinPosixPath(kestrune::FolderOfPosixPath(self), kestrune::kRendererProgramName);
    std::vector<char*> arguments{renderer.data()};
    arguments.insert(arguments.end(), argv + (argc > 0 ? 1 : 0), argv + argc);
    arguments.push_back(nullptr);
    execv(renderer.c_str(), arguments.data());
    std::fprintf(stderr, "kestrune-hack: cannot start %s: %s\n", renderer.c_str(),
                 std::strerror(errno));
    return 1;
}
