#pragma once

#include <cstddef>
#include <cstdint>

namespace kestrune {

// Makes the sizes in a RIFF WAVE file's headers fit the file's `size` bytes:
// the RIFF size, and the size of each chunk up to and including "data", are
// cut to what the file really holds. A sound player trusts these sizes and
// reads as far as they say, so a file cut short (an interrupted download or
// copy) would otherwise be read past its end. Sizes that fit are not written
// at all. Returns whether the bytes are a RIFF WAVE file.
bool FitWaveSizesToFile(std::uint8_t* bytes, std::size_t size);

} // namespace kestrune
