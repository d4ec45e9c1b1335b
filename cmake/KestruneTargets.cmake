# Shared helpers for the project's targets: one place for warnings and for the
# way programs are named and placed.

# Compiler warnings for every target of the project's own code.
function(kestrune_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
        # GCC 12 reports -Wrestrict inside libstdc++'s own std::string
        # concatenation at -O2/-O3 (GCC bug 105651): a false alarm in code we
        # do not own, and it would fail every optimised build.
        if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
            target_compile_options(${target} PRIVATE -Wno-restrict)
        endif()
        if(KESTRUNE_WERROR)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
    endif()
endfunction()

# A static library of the project's code. Sources are given relative to the
# calling folder; the repository root is the include root, so code includes
# "renderer/Classes/CVector.h" and the like.
function(kestrune_library name)
    add_library(${name} STATIC ${ARGN})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    kestrune_warnings(${name})
endfunction()

# A program that ships (or a developer tool): built into bin/. OUTPUT names the
# file without suffix and SUFFIX overrides the platform's suffix, which is how
# the renderer becomes "Kestrune.dll" and the host "Kestrune.scr" everywhere.
function(kestrune_program name)
    cmake_parse_arguments(ARG "" "OUTPUT;SUFFIX" "SOURCES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    kestrune_warnings(${name})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KESTRUNE_BIN_DIR})
    if(ARG_OUTPUT)
        set_target_properties(${name} PROPERTIES OUTPUT_NAME ${ARG_OUTPUT})
    endif()
    if(DEFINED ARG_SUFFIX)
        set_target_properties(${name} PROPERTIES SUFFIX "${ARG_SUFFIX}")
    endif()
endfunction()

# Compiles the bytes of FILE (relative to the calling folder) into TARGET as
# `kestrune::SYMBOL` and `kestrune::SYMBOLSize` (see EmbedFile.cmake); the
# target rebuilds when the file changes.
function(kestrune_embed_file target file symbol)
    set(input ${CMAKE_CURRENT_SOURCE_DIR}/${file})
    set(output ${CMAKE_CURRENT_BINARY_DIR}/${symbol}.cpp)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DSYMBOL=${symbol}
                -P ${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake
        DEPENDS ${input} ${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake
        COMMENT "Embedding ${file}")
    target_sources(${target} PRIVATE ${output})
endfunction()
