#include "settings/PaletteImage.h"

#include <stb_image.h>

// jpeglib.h needs the stdio types declared first.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <limits>

#include <jpeglib.h>

#include "platform/FileRead.h"
#include "settings/AtomicFile.h"

namespace lumavox {

namespace {

// Files above this size are not palette images and are not read into memory.
constexpr size_t kMaxImageFileBytes = size_t{256} << 20;
// A progressive JPEG may carry any number of scans, each a pass over the whole image; real
// encoders use about ten. Far more is a forged file meant to spin the decoder.
constexpr int kMaxJpegScans = 200;

uint32_t Le16(std::string_view b, size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8;
}

uint32_t Le32(std::string_view b, size_t at) {
    return Le16(b, at) | Le16(b, at + 2) << 16;
}

bool SizeAcceptable(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width * height <= kMaxImagePixels;
}

// Checks what the BMP header promises against what the file holds before any pixel is decoded:
// the decoder itself would read a truncated file's missing rows as zeros, and would allocate for
// whatever size the header claims.
bool BmpHeaderPlausible(std::string_view bytes) {
    constexpr size_t kFileHeader = 14;
    if (bytes.size() < kFileHeader + 12 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    const uint32_t dataOffset = Le32(bytes, 10);
    const uint32_t infoSize = Le32(bytes, 14);
    int64_t width = 0;
    int64_t height = 0;
    uint32_t bitsPerPixel = 0;
    uint32_t compression = 0;
    if (infoSize == 12) {  // OS/2 core header: 16-bit sizes
        width = Le16(bytes, 18);
        height = Le16(bytes, 20);
        bitsPerPixel = Le16(bytes, 24);
    } else {
        if (infoSize < 40 || bytes.size() < kFileHeader + 40) return false;
        width = static_cast<int32_t>(Le32(bytes, 18));
        height = static_cast<int32_t>(Le32(bytes, 22));
        bitsPerPixel = Le16(bytes, 28);
        compression = Le32(bytes, 30);
    }
    if (height < 0) height = -height;  // top-down rows
    if (!SizeAcceptable(width, height)) return false;
    // Uncompressed (0) and bit-field (3) layouts have fixed-size rows; compressed ones are refused
    // by the decoder anyway.
    if (compression != 0 && compression != 3) return false;
    if (bitsPerPixel == 0 || bitsPerPixel > 32) return false;
    const int64_t rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    return dataOffset <= bytes.size() &&
           rowBytes * height <= static_cast<int64_t>(bytes.size() - dataOffset);
}

// libjpeg reports fatal errors through error_exit, whose default ends the process; this one jumps
// back to the decoder. Only libjpeg's own C frames lie between setjmp and longjmp.
struct JpegError {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
};

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo) {
    auto* error = reinterpret_cast<JpegError*>(cinfo->err);
    std::longjmp(error->Jump, 1);
}

void JpegSilent(j_common_ptr /*cinfo*/) {}

void JpegProgress(j_common_ptr cinfo) {
    if (cinfo->is_decompressor == 0) return;
    auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (decompress->input_scan_number > kMaxJpegScans) JpegErrorExit(cinfo);
}

// Kept apart from DecodeJpeg so that no C++ object with a destructor lives in the frame that
// setjmp returns to twice; image is reached through a reference and so stays valid after a jump.
bool DecodeJpegInto(const unsigned char* data, unsigned long size, RgbImage& image,
                    jpeg_decompress_struct& cinfo, JpegError& error) {
    if (setjmp(error.Jump) != 0) return false;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return false;
    if (!SizeAcceptable(cinfo.image_width, cinfo.image_height)) return false;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 3 || !SizeAcceptable(cinfo.output_width, cinfo.output_height)) {
        return false;
    }
    const size_t rowBytes = size_t{cinfo.output_width} * 3;
    image.Pixels.resize(rowBytes * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = image.Pixels.data() + rowBytes * cinfo.output_scanline;
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) return false;
    }
    jpeg_finish_decompress(&cinfo);
    image.Width = static_cast<int32_t>(cinfo.output_width);
    image.Height = static_cast<int32_t>(cinfo.output_height);
    return true;
}

}  // namespace

int32_t RgbImage::ColourAt(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= Width || y >= Height) return 0;
    const size_t at =
        (static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)) * 3;
    if (at + 2 >= Pixels.size()) return 0;
    return static_cast<int32_t>(Pixels[at] | Pixels[at + 1] << 8 | Pixels[at + 2] << 16);
}

bool DecodeBmp(std::string_view bytes, RgbImage& image) {
    image = RgbImage{};
    if (!BmpHeaderPlausible(bytes) ||
        bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max())) {
        return false;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* pixels =
        stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                              static_cast<int>(bytes.size()), &width, &height, &channels, 3);
    if (pixels == nullptr) return false;
    if (SizeAcceptable(width, height)) {
        image.Width = width;
        image.Height = height;
        image.Pixels.assign(
            pixels, pixels + size_t{3} * static_cast<size_t>(width) * static_cast<size_t>(height));
    }
    stbi_image_free(pixels);
    return !image.Empty();
}

bool DecodeJpeg(std::string_view bytes, RgbImage& image) {
    image = RgbImage{};
    if (bytes.empty() || bytes.size() > std::numeric_limits<unsigned long>::max()) return false;
    jpeg_decompress_struct cinfo{};
    JpegError error{};
    cinfo.err = jpeg_std_error(&error.Manager);
    error.Manager.error_exit = JpegErrorExit;
    error.Manager.output_message = JpegSilent;  // corrupt-data warnings are not printed
    jpeg_progress_mgr progress{};
    progress.progress_monitor = JpegProgress;
    cinfo.progress = &progress;
    const bool ok = DecodeJpegInto(reinterpret_cast<const unsigned char*>(bytes.data()),
                                   static_cast<unsigned long>(bytes.size()), image, cinfo, error);
    jpeg_destroy_decompress(&cinfo);
    if (!ok) image = RgbImage{};
    return ok;
}

bool LoadImageFile(const std::string& path, RgbImage& image) {
    image = RgbImage{};
    const std::string ext = UpperExtension(path);
    const bool bmp = ext == ".BMP";
    const bool jpeg = ext == ".JPG" || ext == ".JPE" || ext == ".JPEG";
    if (!bmp && !jpeg) return false;
    const auto bytes = ReadFileBytes(path, kMaxImageFileBytes);
    if (!bytes) return false;
    return bmp ? DecodeBmp(*bytes, image) : DecodeJpeg(*bytes, image);
}

}  // namespace lumavox
