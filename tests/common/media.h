#pragma once
// Media files made by the tests themselves.
#include <string>

namespace glimtest {

// A 16-bit mono 22050 Hz PCM WAV file of a 440 Hz tone; false when it could
// not be written.
bool WriteToneWav(const std::wstring& path, unsigned milliseconds);

// An MPEG-1 Layer III file (44.1 kHz mono, 128 kbit/s) of silent frames:
// every granule carries no coded data, which decoders play as silence.
bool WriteSilentMp3(const std::wstring& path, unsigned milliseconds);

// A new, empty folder under the system's temporary folder, with a trailing
// "\"; empty when none could be made.
std::wstring TempFolder(const std::wstring& name);

} // namespace glimtest
