#pragma once
// The soundtrack: one audio output and looping streams decoded from MP3 files.
//
// Positions are counted in bytes of 16-bit stereo at the file's own sample rate (four
// bytes per sample frame), whatever the output device runs at. The playing position is
// smooth between audio callbacks and only steps back where the stream loops.
//
// Without a sound card the output plays through SDL's dummy driver, and where no SDL
// audio driver starts at all, through a clock alone; positions advance the same way in
// every case. Files are decoded on a thread of their own, so no call here waits for
// decoding. All functions are meant to be called from one thread.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

using MusicHandle = std::uint32_t;  // 0: no stream

// Opens the default output device at the given rate; true when the output is ready
// (also on the dummy driver or the clock alone). Calling it again while the output is
// open does nothing and succeeds.
bool InitMusicOutput(int sampleRate = 44100);
// Frees every stream and closes the output.
void FreeMusicOutput();
// The driver the output plays through: an SDL driver name, or "clock".
std::string MusicOutputDriver();

// A stream over the whole MP3 file that loops at its end; 0 when the output is not open
// or the file cannot be read (MusicError() says why).
MusicHandle CreateLoopingMusicStream(const std::string& path);
bool FreeMusicStream(MusicHandle stream);

// The stream's exact length in bytes; -1 for an unknown handle.
std::int64_t MusicLengthBytes(MusicHandle stream);
// Whole sample frames: seconds -> bytes rounds down to a frame; -1 for an unknown handle.
std::int64_t MusicSecondsToBytes(MusicHandle stream, double seconds);
// Negative for an unknown handle or a negative byte count.
double MusicBytesToSeconds(MusicHandle stream, std::int64_t bytes);

// Moves the stream to a byte position (rounded down to a frame); false for an unknown
// handle or a position beyond the end. Before Play this is where playing starts.
bool SetMusicPosition(MusicHandle stream, std::int64_t bytes);
// Starts playing from the current position; playing on is a no-op.
bool PlayMusic(MusicHandle stream);
// Stops playing and keeps the position, so that PlayMusic goes on from where the
// stream stood; pausing a paused stream is a no-op. False for an unknown handle.
bool PauseMusic(MusicHandle stream);
// The playing position in bytes; -1 for an unknown handle.
std::int64_t MusicPosition(MusicHandle stream);

// Decodes a whole MP3 file at once, exactly as a stream plays it: 16-bit stereo at the
// file's sample rate, encoder delay and padding removed. For tools and tests; needs no
// output. False with MusicError() set when the file cannot be read.
bool DecodeMp3File(const std::string& path, std::vector<std::int16_t>& interleavedStereo, int& sampleRate);

// The reason for the last failure, for log lines.
std::string MusicError();

}  // namespace platform
