#pragma once

namespace kestrune {

// SIGINT and SIGTERM ask the renderer to stop. Its loop looks at
// StopRequested() on every pass and ends as Escape ends it, so that the
// tear-down still runs: the display mode and the cursor are restored and the
// show's OpenGL objects are freed while their context is current. Killed at
// once by the default action instead, the renderer would leave the display in
// its mode. Installed once, before anything else starts.
void InstallStopSignalHandlers();

// Whether SIGINT or SIGTERM has arrived since the handlers were installed.
bool StopRequested();

} // namespace kestrune
