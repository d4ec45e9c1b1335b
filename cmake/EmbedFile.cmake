# Turns a file into a C++ source that holds its bytes, so that a program
# carries the file inside itself. Run as a script:
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=kName -P EmbedFile.cmake
# The source defines `const unsigned char SYMBOL[]` and `const std::size_t
# SYMBOLSize` in namespace kestrune.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Sixteen bytes a line keeps the generated file readable in a debugger.
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}" "// Generated from ${INPUT}; do not edit.\n#include <cstddef>\nnamespace kestrune {\nextern const unsigned char ${SYMBOL}[] = {\n    ${bytes}\n};\nextern const std::size_t ${SYMBOL}Size = ${size};\n} // namespace kestrune\n")
