#include "host/saver/Kestrune_S.h"

#include "common/kestrune_names.h"
#include "host/core/Kestrune_B.h"
#include "host/core/command_line.h"
#include "host/core/path_rules.h"
#include "host/forms/application.h"
#include "host/forms/system_services.h"
#include "host/forms/window_services.h"
#include "host/music/Kestrune_BGM.h"
#include "host/pictures/bmp_writer.h"

namespace kestrune {

namespace {

constexpr int kTimer1Interval = 1000; // MP3 restart check
constexpr int kTimer2Interval = 200;  // audio CD watch
constexpr int kTimer3Interval = 500;  // renderer window watch

// The music file's kind by its last three characters, upper-cased: "MP3",
// "WAV", or anything else (which plays nothing). A name shorter than three
// characters is taken whole. Only ASCII letters change case, which is all the
// comparison needs.
std::string MusicFileExtension(const std::string& path) {
    std::size_t at = path.size();
    for (int characters = 0; characters < 3 && at > 0; ++characters) {
        --at;
        while (at > 0 && (static_cast<unsigned char>(path[at]) & 0xC0) == 0x80) {
            --at;
        }
    }
    std::string extension = path.substr(at);
    for (char& c : extension) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return extension;
}

} // namespace

Kestrune_S::Kestrune_S() : Timer1(*this), Timer2(*this), Timer3(*this) {
    SetCaption(kCaption);
    for (int index = 0; index < kPic1Count; ++index) {
        Pic1[index] = std::make_unique<forms::PictureBox>(*this);
        Pic1[index]->SetBorder(false);
        Pic1[index]->SetPicture(Pic1Picture(index));
    }
    Timer1.SetInterval(kTimer1Interval);
    Timer1.SetEnabled(false);
    Timer1.onTick = [this] { Timer1_Timer(); };
    Timer2.SetInterval(kTimer2Interval);
    Timer2.SetEnabled(false);
    Timer2.onTick = [this] { Timer2_Timer(); };
    Timer3.SetInterval(kTimer3Interval);
    Timer3.SetEnabled(true);
    Timer3.onTick = [this] { Timer3_Timer(); };
}

void Kestrune_S::Form_Load() {
    // The texture files, written on every run and always before the renderer
    // starts; a failed file is passed over (the renderer then goes without).
    for (int index = 1; index <= kTextureFileCount; ++index) {
        SaveBmp(TextureFilePath(index), Pic1[index]->Image());
    }

    if (BgmKind == 1) {
        // The first watch tick, one interval from now, starts the disc.
        CdOpen();
        Timer2.SetEnabled(true);
    }
    if (BgmKind == 2) {
        const std::string extension = MusicFileExtension(BgmFile);
        if (extension == "WAV") {
            WavStart();
        }
        if (extension == "MP3") {
            Mp3Start();
            Timer1.SetEnabled(true);
        }
    }

    // Never a renderer from the working folder: a host that cannot tell its
    // own folder starts nothing, and its first watch tick ends the run.
    RendererPath = RendererProgramPath();
    if (!RendererPath.empty()) {
        m_renderer = forms::StartProgram(RendererPath);
    }
    m_rendererStartTime = std::chrono::steady_clock::now();
}

void Kestrune_S::Timer1_Timer() {
    Mp3Repeat();
}

void Kestrune_S::Timer2_Timer() {
    CdWatch();
    // After its first error the watch stops for the rest of the run.
    Timer2.SetEnabled(CdWatchOk);
}

void Kestrune_S::Timer3_Timer() {
    // The show is over when the renderer this run started has ended, whether
    // or not its window was ever seen (it crashed, or the user said no to
    // the windowed show), and whatever other window bears its title.
    const bool rendererRuns = m_renderer && m_renderer->Running();
    if (rendererRuns && forms::FindWindowByTitle(kRendererWindowTitle) != 0) {
        m_rendererWindowSeen = true;
        return;
    }
    // A renderer that runs but has not opened its window yet (a slow
    // machine, a cold disk) is given a while: ending now would stop the music
    // and leave the show running on alone. Once its window has been seen,
    // its absence means the show is over.
    if (rendererRuns && !m_rendererWindowSeen &&
        std::chrono::steady_clock::now() - m_rendererStartTime < kRendererWindowGrace) {
        return;
    }
    Timer3.SetEnabled(false);
    Unload();
}

void Kestrune_S::Form_QueryUnload(bool& cancel, forms::UnloadMode mode) {
    (void)cancel; // the run always ends, whoever closes the form
    (void)mode;
    if (Timer2.Enabled()) {
        Timer2.SetEnabled(false);
        CdClose();
    }
    if (BgmKind == 2) {
        const std::string extension = MusicFileExtension(BgmFile);
        if (extension == "WAV") {
            WavStop();
        }
        if (extension == "MP3") {
            Timer1.SetEnabled(false);
            Mp3Close();
        }
    }
    if (ModeLetter(forms::CommandLineText()) == "S") {
        CursorCount = forms::ShowCursor(CursorCount != 0);
    }
    // The renderer runs on untouched; only the host's hold on it goes.
    m_renderer.reset();
    forms::EndProcess();
}

} // namespace kestrune
