// Feeds arbitrary bytes to the palette image decoders. The first byte picks the decoder (even: BMP,
// odd: JPEG); a decoded image must be exactly as large as its sides say, a refused one empty.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/PaletteImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    lumavox::RgbImage image;
    const bool ok =
        (data[0] & 1) == 0 ? lumavox::DecodeBmp(bytes, image) : lumavox::DecodeJpeg(bytes, image);
    if (ok) {
        const auto expected =
            static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height) * 3;
        if (image.Empty() || image.Pixels.size() != expected) std::abort();
        (void)image.ColourAt(image.Width - 1, image.Height - 1);
    } else if (!image.Empty() || !image.Pixels.empty()) {
        std::abort();
    }
    return 0;
}
