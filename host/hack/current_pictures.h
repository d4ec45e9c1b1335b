#pragma once

#include <string>

namespace kestrune {

// Brings the texture files in `folder` up to the saver's current pictures:
// a file that is missing, is not a regular file (a link, say) or holds other
// bytes than the saver writes is written again; a current one is left alone,
// so that a screensaver that starts the show again and again does not
// rewrite the same files each time. A failed file does not stop the others;
// returns whether all four are current now, with the reasons of the failures,
// one a line, in `error` when one is given.
bool WriteCurrentTexturePictures(const std::string& folder, std::string* error = nullptr);

} // namespace kestrune
