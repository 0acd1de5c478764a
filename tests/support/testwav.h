// Test fixtures: WAV images and text files written by the tests themselves.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

namespace testsupport {

// The sample value of frame f, channel c in the generated test signal: distinct per frame and
// channel, so a misplaced or dropped frame shows.
std::int16_t SampleAt(std::uint64_t frame, int channel);

// Writes a 44100 Hz, 16-bit stereo WAV of `frames` frames of the test signal. With sparse set
// the audio is left as a hole (zeros) so that hour-long images cost nothing to make.
bool WriteTestWav(const QString &path, std::uint64_t frames, bool sparse = false);

// Writes bytes to path, making missing directories.
bool WriteFileBytes(const QString &path, const QByteArray &bytes);

// The text in the given encoding ("UTF-8", "UTF-16LE", "Shift_JIS", ...), with a byte-order
// mark when bom is set.
QByteArray EncodeText(const QString &text, const char *encoding, bool bom);

} // namespace testsupport
