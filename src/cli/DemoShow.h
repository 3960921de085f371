#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/ProjectData.h"

namespace lumavox::cli {

// The generated demo: a 24-second piece at 120 beats per minute (kick on every beat, hi-hat on the
// off-beats, a soft chord underneath) and a show whose eight lines flash on that beat.
inline constexpr int kDemoSampleRate = 44100;
inline constexpr int kDemoSeconds = 24;
inline constexpr int kDemoBeatMs = 500;
inline constexpr int32_t kDemoPrePostMs = 2000;

// The 44-byte header of a 16-bit stereo PCM WAV file of frameCount frames at kDemoSampleRate,
// with room reserved for the samples; PutStereoSample appends one frame.
std::vector<uint8_t> StereoWavHeader(uint32_t frameCount);
void PutStereoSample(std::vector<uint8_t>& bytes, int16_t left, int16_t right);

// The piece (its first `seconds`) as the bytes of a 16-bit stereo PCM WAV file.
std::vector<uint8_t> DemoWavBytes(int seconds = kDemoSeconds);
// Writes them, atomically. False when the file cannot be written.
bool WriteDemoWav(const std::string& path, int seconds = kDemoSeconds);

// Fills the project's lines with the demo steps (sorted, lengths consistent) and sets its times.
void BuildDemoSteps(ProjectData& project);

}  // namespace lumavox::cli
