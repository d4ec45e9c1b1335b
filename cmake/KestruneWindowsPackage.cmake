# The Windows release archive: `cmake --build --preset mingw --target package`
# makes build/mingw/Kestrune-1.0.0-windows.zip, one folder holding
# Kestrune.scr and Kestrune.dll side by side (stripped of their symbols) and
# the README, as a user installs them.
install(TARGETS kestrune_host kestrune_renderer RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Kestrune)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Kestrune-${CPACK_PACKAGE_VERSION}-windows)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
