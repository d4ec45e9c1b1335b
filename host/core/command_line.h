#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The two views of the host's command-line text (the text after the program
// name) that the start-up dispatches on.
namespace kestrune {

// The mode letter: the second character of the text, upper-cased, so "/s",
// "-s" and "/S" all give "S" (the first character is never looked at). Empty
// when the text is shorter than two characters. Characters are UTF-8 code
// points; only ASCII letters change case, which is all the comparison with
// "P", "C" and "S" needs.
std::string ModeLetter(std::string_view argumentText);

// The parent-window text: the text from its fourth character to the end
// ("/p 1234" gives "1234"; the third character is skipped whatever it is).
std::string ParentWindowText(std::string_view argumentText);

// The parent window's handle read leniently from the parent-window text, the
// way the screensaver protocol's handles have always been read: blanks, tabs
// and line feeds are skipped wherever they are, an optional sign, digits with
// an optional fraction and exponent are read up to the first character that
// cannot continue the number, no digits give 0, and the result is rounded to
// the nearest 32-bit signed integer (halves to even). A number outside that
// range gives 0, as the failed conversion leaves the handle at its start.
std::int32_t ParentWindowHandle(std::string_view parentWindowText);

} // namespace kestrune
