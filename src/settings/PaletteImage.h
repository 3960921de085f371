#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumavox {

// A decoded picture: Width × Height pixels, 3 bytes each (red, green, blue), top row first, no
// row padding. Empty when either side is 0. Plain value, any thread.
struct RgbImage {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Pixels;

    bool Empty() const { return Width <= 0 || Height <= 0; }
    // The pixel as a colour 0x00BBGGRR; 0 outside the image.
    int32_t ColourAt(int32_t x, int32_t y) const;
};

// Pictures larger than this many pixels are refused (a palette image is a few hundred pixels
// square; a forged header must not make the loader allocate gigabytes).
inline constexpr int64_t kMaxImagePixels = int64_t{8192} * 8192;

// Decoders over the bytes of a whole file. On any error (truncated, corrupt, unsupported, too
// large) they return false and leave image empty. Any thread.
bool DecodeBmp(std::string_view bytes, RgbImage& image);
bool DecodeJpeg(std::string_view bytes, RgbImage& image);

// Loads a palette image file chosen by its extension, compared without regard to case: ".BMP" as
// a bitmap, ".JPG", ".JPE" and ".JPEG" as JPEG; any other extension, a missing file or a bad one
// gives false and an empty image.
bool LoadImageFile(const std::string& path, RgbImage& image);

}  // namespace lumavox
