#pragma once

#include "host/forms/picture.h"

#include <string>

namespace kestrune {

// The pictures the saver carries, by their index in its picture array:
//   0: 1 x 1, one black pixel (never exported)
//   1: 1 x 1, one black pixel, the fade overlay's texture
//   2: 64 x 64, a bright white star with a bluish-white halo and cross rays
//   3: 256 x 256, an open star cluster of blue-white stars in a blue haze
//   4: 512 x 512, a dark sky with a sparse scatter of small stars
// Index i of 1 to 4 is exported as texture file i.
inline constexpr int kPic1Count = 5;

// The width and height of picture `index` (0 for an index out of range).
int Pic1Size(int index);

// Makes picture `index`; every call gives the same bytes, on every platform.
// An index out of range gives an empty picture.
Picture Pic1Picture(int index);

// Saves pictures 1 to 4 as texture files 1 to 4 in `folder`, replacing any
// files there. A failed file does not stop the others (as the saver goes on
// past any failing step); returns whether all four were written, and the
// reasons of the failures, one a line, in `error` when one is given.
bool SaveTexturePictures(const std::string& folder, std::string* error = nullptr);

} // namespace kestrune
