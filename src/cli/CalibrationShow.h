#pragma once

#include <cstdint>
#include <vector>

#include "model/ProjectData.h"

namespace lumavox::cli {

// The calibration show: a click on every whole second of the sound (from 1 s on) and, on all
// eight lines, a white flash of kCalibrationFlashMs that starts exactly then, black in between.
inline constexpr int kCalibrationSeconds = 60;
inline constexpr int kMaxCalibrationSeconds = 3600;
inline constexpr int32_t kCalibrationFlashMs = 100;
inline constexpr int32_t kCalibrationPreMs = 2000;
inline constexpr int32_t kCalibrationPostMs = 1000;

// The clicks as the bytes of a 16-bit stereo PCM WAV file: a 2 kHz burst of 10 ms whose first
// sample is at full level, so the onset can be read to the sample.
std::vector<uint8_t> CalibrationWavBytes(int seconds = kCalibrationSeconds);
// Fills the project's lines with the flashes (sorted, lengths consistent) and sets its times.
void BuildCalibrationSteps(ProjectData& project, int seconds = kCalibrationSeconds);

}  // namespace lumavox::cli
