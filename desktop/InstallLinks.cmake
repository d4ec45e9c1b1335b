# Run by `cmake --install` (see CMakeLists.txt beside this file): the parts of
# the installation that depend on the prefix given at install time, which may
# differ from the one configured. Expects KESTRUNE_DESKTOP_SOURCE,
# KESTRUNE_HACK_LINK, KESTRUNE_HACK_TARGET, KESTRUNE_BIN_DIR_NAME and
# KESTRUNE_DESKTOP_ENTRY to be set before it runs.
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

# The hack where xscreensaver looks for hacks: a relative link to the launcher
# beside the two programs, which finds the renderer through its own path.
set(link "${root}/${KESTRUNE_HACK_LINK}")
get_filename_component(link_folder "${link}" DIRECTORY)
file(MAKE_DIRECTORY "${link_folder}")
message(STATUS "Installing: ${link} -> ${KESTRUNE_HACK_TARGET}")
file(REMOVE "${link}")
file(CREATE_LINK "${KESTRUNE_HACK_TARGET}" "${link}" SYMBOLIC)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${link}")

# The desktop entry names the settings launcher by its full path under the
# prefix it is installed for (without DESTDIR, where a package is staged).
set(KESTRUNE_SETTINGS_COMMAND "${CMAKE_INSTALL_PREFIX}/${KESTRUNE_BIN_DIR_NAME}/kestrune-settings")
set(entry "${root}/${KESTRUNE_DESKTOP_ENTRY}")
message(STATUS "Installing: ${entry}")
configure_file("${KESTRUNE_DESKTOP_SOURCE}/kestrune-settings.desktop.in" "${entry}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")
