#pragma once

#include <cstdint>
#include <string>

// The host's music module: an MP3 through a media device with restart, a
// looping WAV through the simple sound player, or an audio CD with an
// optional single-track repeat. It owns no timer: the saver calls the
// repeat and watch routines from its own.
namespace kestrune {

class MciPlatform;

// True at the start of every CdWatch tick, false once the CD queries failed;
// the saver's CD timer follows it.
extern bool CdWatchOk;

// Sends one command string. Returns 0 on success, -1 for an empty command
// (nothing is sent), otherwise the error code; `reply` receives the device's
// answer or the text of the error.
std::int32_t SendMci(const std::string& command, std::string& reply);

// The reply of a command, or "Error:" followed by the code in decimal.
std::string QueryMci(const std::string& command);

// Sends "play DEVICE [from START] [to END]", leaving out an empty start or end.
std::int32_t PlayDevice(const std::string& device, const std::string& start,
                        const std::string& end);

void Mp3Start();
bool Mp3IsPlaying();
void Mp3Repeat();
void Mp3Close();

void WavStart();
void WavStop();

void CdOpen();
void CdWatch();
void CdClose();

// Routes the module's platform calls to `platform`, or back to the system's
// when it is null; returns the one used before. Tests record the command
// strings with it.
MciPlatform* SetMciPlatform(MciPlatform* platform);

} // namespace kestrune
