#include "tools/bmp_command.h"

#include "renderer/resources/dib_loader.h"
#include "renderer/resources/message_sink.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace kestrune::tool {

namespace {

// Prints the loader's messages on standard error as they are, where the
// renderer would show them in a box.
class StandardErrorSink final : public MessageSink {
public:
    void ShowMessage(const std::string& text, const std::string&) override {
        std::fputs(text.c_str(), stderr);
        if (text.empty() || text.back() != '\n') {
            std::fputc('\n', stderr);
        }
        shown = true;
    }
    bool shown = false;
};

// Writes the picture as a binary PPM, the top row first as a person sees it
// (the loader's first row is the bottom one).
bool WritePpm(const char* path, const RgbImage& image) {
    std::FILE* out = std::fopen(path, "wb");
    if (!out) {
        return false;
    }
    bool ok = std::fprintf(out, "P6\n%d %d\n255\n", image.width, image.height) > 0;
    const std::size_t rowBytes = std::size_t(image.width) * 3;
    for (std::int32_t row = image.height - 1; ok && row >= 0; --row) {
        ok = std::fwrite(image.pixels.data() + rowBytes * std::size_t(row), 1, rowBytes, out) ==
             rowBytes;
    }
    return std::fclose(out) == 0 && ok;
}

int Run(std::span<char* const> args) {
    if (args.empty() || args.size() > 2) {
        std::fprintf(stderr, "usage: kestrune-tool bmp FILE [OUT.ppm]\n");
        return 2;
    }
    StandardErrorSink sink;
    SetMessageSink(&sink);
    const std::optional<RgbImage> image = LoadDib(args[0]);
    SetMessageSink(nullptr);
    if (!image) {
        // The loader passes over a file it cannot open in silence; the
        // developer still wants to know.
        if (!sink.shown) {
            std::fprintf(stderr, "kestrune-tool bmp: cannot open %s\n", args[0]);
        }
        return 1;
    }
    std::printf("%dx%d\n", image->width, image->height);
    if (args.size() == 2 && !WritePpm(args[1], *image)) {
        std::fprintf(stderr, "kestrune-tool bmp: cannot write %s: %s\n", args[1],
                     std::strerror(errno));
        return 1;
    }
    return 0;
}

} // namespace

const Command kBmpCommand = {"bmp", "FILE [OUT.ppm]",
                             "Load FILE with the renderer's BMP loader; print WIDTHxHEIGHT and "
                             "write the picture, top row first, as a binary PPM",
                             &Run};

} // namespace kestrune::tool
