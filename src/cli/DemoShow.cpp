#include "cli/DemoShow.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>
#include <vector>

#include "model/UsrFunc.h"
#include "platform/FileReplace.h"

namespace lumavox::cli {

namespace {

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutTag(std::vector<uint8_t>& out, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

int16_t ToSample(double v) {
    v = std::clamp(v, -1.0, 1.0);
    return static_cast<int16_t>(v * 32000.0);
}

}  // namespace

std::vector<uint8_t> StereoWavHeader(uint32_t frameCount) {
    constexpr int kChannels = 2;
    const uint32_t dataBytes = frameCount * kChannels * 2;
    std::vector<uint8_t> bytes;
    bytes.reserve(44 + dataBytes);
    PutTag(bytes, "RIFF");
    PutLe(bytes, 36 + dataBytes, 4);
    PutTag(bytes, "WAVE");
    PutTag(bytes, "fmt ");
    PutLe(bytes, 16, 4);
    PutLe(bytes, 1, 2);  // PCM
    PutLe(bytes, kChannels, 2);
    PutLe(bytes, kDemoSampleRate, 4);
    PutLe(bytes, kDemoSampleRate * kChannels * 2, 4);
    PutLe(bytes, kChannels * 2, 2);
    PutLe(bytes, 16, 2);
    PutTag(bytes, "data");
    PutLe(bytes, dataBytes, 4);
    return bytes;
}

void PutStereoSample(std::vector<uint8_t>& bytes, int16_t left, int16_t right) {
    PutLe(bytes, static_cast<uint16_t>(left), 2);
    PutLe(bytes, static_cast<uint16_t>(right), 2);
}

std::vector<uint8_t> DemoWavBytes(int seconds) {
    const uint32_t frameCount =
        kDemoSampleRate * static_cast<uint32_t>(std::clamp(seconds, 0, 3600));
    std::vector<uint8_t> bytes = StereoWavHeader(frameCount);

    std::mt19937 noise(42);
    std::uniform_real_distribution<double> white(-1.0, 1.0);
    constexpr double kTwoPi = 2.0 * std::numbers::pi;
    constexpr int kBeatFrames = kDemoSampleRate * kDemoBeatMs / 1000;
    double kickPhase = 0.0;
    for (uint32_t n = 0; n < frameCount; ++n) {
        const double t = static_cast<double>(n) / kDemoSampleRate;
        const int beat = static_cast<int>(n / kBeatFrames);
        const double sinceBeat = static_cast<double>(n % kBeatFrames) / kDemoSampleRate;
        // kick: a falling sine with a fast decay, on every beat
        const double kickFreq = 50.0 + 90.0 * std::exp(-sinceBeat * 30.0);
        kickPhase += kTwoPi * kickFreq / kDemoSampleRate;
        const double kick = std::sin(kickPhase) * std::exp(-sinceBeat * 12.0);
        // hi-hat: short noise burst half-way between beats
        const double sinceOff = sinceBeat - kDemoBeatMs / 2000.0;
        const double hat = sinceOff >= 0.0 ? white(noise) * 0.25 * std::exp(-sinceOff * 60.0) : 0;
        // chord: changes every 4 beats
        static constexpr double kRoots[] = {220.0, 174.61, 261.63, 196.0};
        const double root = kRoots[(beat / 4) % 4];
        const double pad =
            0.06 * (std::sin(kTwoPi * root * t) + std::sin(kTwoPi * root * 1.25 * t) +
                    std::sin(kTwoPi * root * 1.5 * t));
        const int16_t left = ToSample(0.7 * kick + hat * 0.8 + pad);
        const int16_t right = ToSample(0.7 * kick + hat * 1.2 + pad);
        PutStereoSample(bytes, left, right);
    }

    return bytes;
}

bool WriteDemoWav(const std::string& path, int seconds) {
    return ReplaceFileAtomically(path, DemoWavBytes(seconds)) == 0;
}

void BuildDemoSteps(ProjectData& project) {
    constexpr int kBeats = kDemoSeconds * 1000 / kDemoBeatMs;
    for (int line = 0; line < kLineCount; ++line) {
        std::vector<Step> steps;
        auto add = [&](int32_t time, int32_t colour, int32_t brightness) {
            Step s;
            s.LineIndex = line;
            s.Time = time;
            s.Colour = colour;
            s.Brightness = brightness;
            steps.push_back(s);
        };
        // fade in from black over the pre-roll
        add(-kDemoPrePostMs, 0x000000, 0);
        for (int beat = 0; beat < kBeats; ++beat) {
            const int32_t t = beat * kDemoBeatMs;
            // each line a step further round the hue ramp, the whole rig turning once per bar
            const double hue = std::fmod((beat / 4 + line) / 8.0, 1.0);
            const int32_t colour = HueRamp(hue);
            // a flash on the beat for the lines whose turn it is, the others pulse darker
            const bool accent = (beat + line) % 2 == 0;
            add(t, colour, accent ? 160 : 0);
            add(t + kDemoBeatMs / 2, colour, accent ? -120 : -200);
        }
        const int32_t end = kDemoSeconds * 1000;
        add(end, 0x000000, 0);
        add(end + kDemoPrePostMs, 0x000000, -255);
        for (size_t i = 0; i < steps.size(); ++i) {
            steps[i].Length = i + 1 < steps.size() ? steps[i + 1].Time - steps[i].Time : 0;
        }
        project.Lines[static_cast<size_t>(line)].Assign(std::move(steps));
    }
    project.Header.PrePlayTime = kDemoPrePostMs;
    project.Header.PostPlayTime = kDemoPrePostMs;
}

}  // namespace lumavox::cli
