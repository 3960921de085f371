// The .wfm loader takes any bytes as whole 16-byte records; what it loads saves back unchanged.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "../FuzzFile.h"
#include "sound/WavSound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumavox;
    const std::string path = fuzz::WriteScratch("input.wfm", data, size);
    fuzz::SilentReporter reporter;
    WavSound sound(reporter);
    const int32_t count = sound.LoadPeakCache(path);
    const size_t records = size / sizeof(PeakFrame);
    if (records > static_cast<size_t>(kMaxPeakFrames)) {
        if (count != 0) std::abort();
        return 0;
    }
    if (count < 0 || static_cast<size_t>(count) != records) std::abort();
    if (count == 0) return 0;

    const std::string copy = fuzz::ScratchFolder() + "/copy.wfm";
    if (!sound.SavePeakCache(copy)) std::abort();
    std::ifstream in(copy, std::ios::binary);
    const std::vector<char> saved((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    const size_t whole = static_cast<size_t>(count) * sizeof(PeakFrame);
    if (saved.size() != whole || std::memcmp(saved.data(), data, whole) != 0) std::abort();
    return 0;
}
