// The WAV readers take any bytes: they load exact peaks or refuse with a code, never crash, hang
// or allocate beyond one second of samples plus the peak list.
#include <cstdlib>

#include "../FuzzFile.h"
#include "sound/WavSound.h"
#include "sound/WaveFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumavox;
    const std::string path = fuzz::WriteScratch("input.wav", data, size);
    fuzz::SilentReporter reporter;
    WavSound sound(reporter);

    const int32_t result = sound.LoadSound(path);
    if (result < kSoundMp3Failed) std::abort();
    if (result >= 0 && result != sound.List().Count()) std::abort();
    for (int32_t i = 0; i < sound.List().Count(); ++i) {
        const PeakFrame& p = sound.List()[i];
        if (p.LeftMax < 0 || p.LeftMax > 32767 || p.LeftMin > 0 || p.LeftMin < -32768 ||
            p.RightMax < 0 || p.RightMax > 32767 || p.RightMin > 0 || p.RightMin < -32768) {
            std::abort();
        }
        if (sound.Channels() == 1 && (p.RightMax != 0 || p.RightMin != 0)) std::abort();
    }

    WaveInfo info;
    if (sound.ReadWaveInfo(path, &info)) {
        if (info.Channels < 1 || info.Channels > 2 || info.Rate <= 0 || info.LengthMs < 0 ||
            info.BitsPerSample != 8 * info.BytesPerSample) {
            std::abort();
        }
    }
    const WaveLayout layout = ReadWaveLayout(path);
    if (layout.Fault == WaveFault::None && layout.Data.Offset + layout.Data.Bytes > size) {
        std::abort();
    }
    return 0;
}
