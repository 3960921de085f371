#include "settings/PaletteImage.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "fakes/TempDir.h"
#include "settings/SettingsTestData.h"

namespace lumavox {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

void PutLe(std::string& b, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A BITMAPINFOHEADER bitmap; rows are given top row first and stored as the height's sign asks.
std::string Bmp(int32_t width, int32_t height, uint16_t bits, const std::string& pixelRows,
                const std::string& palette = {}) {
    std::string b = "BM";
    const uint32_t offset = 14 + 40 + static_cast<uint32_t>(palette.size());
    PutLe(b, offset + static_cast<uint32_t>(pixelRows.size()), 4);
    PutLe(b, 0, 4);
    PutLe(b, offset, 4);
    PutLe(b, 40, 4);
    PutLe(b, static_cast<uint32_t>(width), 4);
    PutLe(b, static_cast<uint32_t>(height), 4);
    PutLe(b, 1, 2);
    PutLe(b, bits, 2);
    PutLe(b, 0, 4);  // uncompressed
    PutLe(b, static_cast<uint32_t>(pixelRows.size()), 4);
    PutLe(b, 2835, 4);
    PutLe(b, 2835, 4);
    PutLe(b, static_cast<uint32_t>(palette.size() / 4), 4);
    PutLe(b, 0, 4);
    return b + palette + pixelRows;
}

// 3 × 2 pixels, 24 bits: rows stored bottom-up, BGR, each padded to 12 bytes.
std::string Bmp24() {
    const std::string bottom = std::string(
                                   "\x00\x00\xFF"
                                   "\x00\xFF\x00"
                                   "\xFF\x00\x00",
                                   9) +
                               std::string(3, '\0');
    const std::string top = std::string(
                                "\x10\x20\x30"
                                "\x40\x50\x60"
                                "\x70\x80\x90",
                                9) +
                            std::string(3, '\0');
    return Bmp(3, 2, 24, bottom + top);
}

bool Near(int32_t colour, int r, int g, int b) {
    const int tol = 60;
    return std::abs((colour & 0xFF) - r) < tol && std::abs(((colour >> 8) & 0xFF) - g) < tol &&
           std::abs(((colour >> 16) & 0xFF) - b) < tol;
}

TEST(PaletteImage, BitmapsDecodeBottomUpTopDownAndPaletted) {
    RgbImage image;
    ASSERT_TRUE(DecodeBmp(Bmp24(), image));
    EXPECT_EQ(image.Width, 3);
    EXPECT_EQ(image.Height, 2);
    EXPECT_EQ(image.ColourAt(0, 0), 0x102030);  // stored BGR 10 20 30 = red 0x30
    EXPECT_EQ(image.ColourAt(0, 1), 0x0000FF);  // pure red
    EXPECT_EQ(image.ColourAt(1, 1), 0x00FF00);
    EXPECT_EQ(image.ColourAt(2, 1), 0xFF0000);
    EXPECT_EQ(image.ColourAt(3, 0), 0);  // outside

    // 8-bit paletted, top-down (negative height), 2 × 2, rows padded to 4 bytes.
    const std::string palette(
        "\x00\x00\xFF\x00"
        "\xFF\xFF\xFF\x00",
        8);
    const std::string rows(
        "\x00\x01\x00\x00"
        "\x01\x00\x00\x00",
        8);
    ASSERT_TRUE(DecodeBmp(Bmp(2, -2, 8, rows, palette), image));
    EXPECT_EQ(image.ColourAt(0, 0), 0x0000FF);
    EXPECT_EQ(image.ColourAt(1, 0), 0xFFFFFF);
    EXPECT_EQ(image.ColourAt(0, 1), 0xFFFFFF);
}

TEST(PaletteImage, BadBitmapsAreRefusedWithAnEmptyImage) {
    const std::string good = Bmp24();
    std::string huge = Bmp(60000, 60000, 24, std::string(64, '\0'));
    std::string zeroWidth = Bmp(0, 2, 24, std::string(24, '\0'));
    std::string rle = good;
    rle[30] = 1;  // BI_RLE8
    std::string badOffset = good;
    badOffset[10] = '\x7F';
    const std::string cases[] = {"",
                                 "BM",
                                 good.substr(0, good.size() - 1),
                                 huge,
                                 zeroWidth,
                                 rle,
                                 badOffset,
                                 "PK" + good.substr(2),
                                 std::string(200, '\xFF')};
    for (const std::string& bytes : cases) {
        RgbImage image;
        image.Width = 5;  // a previous picture must not survive a failed load
        EXPECT_FALSE(DecodeBmp(bytes, image)) << bytes.size();
        EXPECT_TRUE(image.Empty());
        EXPECT_TRUE(image.Pixels.empty());
    }
}

TEST(PaletteImage, JpegsDecodeColourGreyAndProgressive) {
    RgbImage image;
    ASSERT_TRUE(DecodeJpeg(ReadBytes(DataFile("rgb16x8.jpg")), image));
    EXPECT_EQ(image.Width, 16);
    EXPECT_EQ(image.Height, 8);
    EXPECT_TRUE(Near(image.ColourAt(0, 0), 255, 0, 0));
    EXPECT_TRUE(Near(image.ColourAt(15, 0), 0, 0, 255));
    EXPECT_TRUE(Near(image.ColourAt(0, 7), 255, 255, 0));

    ASSERT_TRUE(DecodeJpeg(ReadBytes(DataFile("progressive16x8.jpg")), image));
    EXPECT_TRUE(Near(image.ColourAt(15, 7), 0, 255, 255));

    ASSERT_TRUE(DecodeJpeg(ReadBytes(DataFile("grey8x2.jpg")), image));
    EXPECT_EQ(image.Pixels.size(), 8u * 2 * 3);
    EXPECT_TRUE(Near(image.ColourAt(7, 1), 255, 255, 255));
    EXPECT_TRUE(Near(image.ColourAt(0, 1), 0, 0, 0));
}

TEST(PaletteImage, GarbageJpegsReturnControlWithAnEmptyImage) {
    const std::string good = ReadBytes(DataFile("rgb16x8.jpg"));
    std::string noStart = good;
    noStart[1] = '\x00';  // no start-of-image marker
    std::string hugeFrame = good;
    // Stretch the frame header's size to 65000 × 65000.
    const auto sof = good.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    hugeFrame[sof + 5] = '\xFD';
    hugeFrame[sof + 6] = '\xE8';
    hugeFrame[sof + 7] = '\xFD';
    hugeFrame[sof + 8] = '\xE8';
    const std::string cases[] = {"",      "\xFF\xD8", good.substr(0, 20),
                                 noStart, hugeFrame,  std::string(100, '\0')};
    for (const std::string& bytes : cases) {
        RgbImage image;
        EXPECT_FALSE(DecodeJpeg(bytes, image)) << bytes.size();
        EXPECT_TRUE(image.Empty());
        EXPECT_TRUE(image.Pixels.empty());
    }
    // A file cut short still yields a picture (the missing part grey), as other viewers show it.
    RgbImage partial;
    EXPECT_TRUE(DecodeJpeg(good.substr(0, good.size() - 40), partial));
}

TEST(PaletteImage, FilesAreChosenByExtensionIgnoringCase) {
    TempDir dir;
    const std::string jpeg = ReadBytes(DataFile("rgb16x8.jpg"));
    WriteBytes(dir.File("a.Jpeg"), jpeg);
    WriteBytes(dir.File("b.JPE"), jpeg);
    WriteBytes(dir.File("c.bmp"), Bmp24());
    WriteBytes(dir.File("d.png"), Bmp24());
    WriteBytes(dir.File("e.bmp"), jpeg);  // wrong content for its extension
    WriteBytes(dir.File("f.jpg.bak"), jpeg);
    RgbImage image;
    EXPECT_TRUE(LoadImageFile(dir.File("a.Jpeg"), image));
    EXPECT_TRUE(LoadImageFile(dir.File("b.JPE"), image));
    EXPECT_TRUE(LoadImageFile(dir.File("c.bmp"), image));
    EXPECT_EQ(image.Width, 3);
    for (const char* name : {"d.png", "e.bmp", "f.jpg.bak", "missing.bmp", ""}) {
        EXPECT_FALSE(LoadImageFile(dir.File(name), image)) << name;
        EXPECT_TRUE(image.Empty());
    }
    EXPECT_FALSE(LoadImageFile(dir.Folder() + ".bmp", image));  // a folder-like dot name
}

}  // namespace
}  // namespace lumavox
