#include "renderer/resources/dib_loader.h"

#include "renderer/resources/dib_decoder.h"
#include "renderer/resources/mapped_file.h"
#include "renderer/resources/message_sink.h"

#include <cstdio>
#include <string>

namespace kestrune {

namespace {

constexpr const char* kMessageCaption = "Error";

// The file name is put into the message whole, however long it is.
std::string OpenFailureMessage(const char* fileName) {
    return std::string("Failed to open DIB file ") + fileName + ".\n";
}

} // namespace

std::optional<RgbImage> LoadDib(const char* fileName) {
    if (!fileName) {
        return std::nullopt;
    }
    // A file that cannot be opened at all is passed over in silence, before
    // anything else is tried.
    if (std::FILE* probe = std::fopen(fileName, "r")) {
        std::fclose(probe);
    } else {
        return std::nullopt;
    }

    const MappedFile file(fileName);
    if (!file.Ok()) {
        CurrentMessageSink().ShowMessage(OpenFailureMessage(fileName), kMessageCaption);
        return std::nullopt;
    }
    RgbImage image;
    const DibStatus status = DecodeDib(file.Bytes(), image);
    if (status != DibStatus::Decoded) {
        CurrentMessageSink().ShowMessage(DibStatusMessage(status), kMessageCaption);
        return std::nullopt;
    }
    return image;
}

} // namespace kestrune
