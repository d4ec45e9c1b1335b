#pragma once

#include <string_view>

namespace kestrune::forms::win32 {

// The command-line text after the program name, as Windows passes a whole
// command line: the program name is skipped the way the system's own parser
// takes it apart (from an opening double quote to the closing one, or else
// up to the first blank or tab), then the blanks and tabs that follow it.
// The rest comes back exactly as it was passed: "Kestrune.scr /p 1234"
// gives "/p 1234", and "\"C:\\My Savers\\Kestrune.scr\"  /c:42" gives
// "/c:42".
std::wstring_view ArgumentTextOf(std::wstring_view commandLine);

} // namespace kestrune::forms::win32
