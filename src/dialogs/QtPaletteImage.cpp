#include "dialogs/QtPaletteImage.h"

#include <QImage>
#include <QImageReader>

#include "model/ProjectFile.h"
#include "platform/Paths.h"

namespace lumavox {

bool DecodePngFile(const QString& path, RgbImage& image) {
    image = RgbImage{};
    QImageReader reader(path, "png");
    // The header's size first, so that a forged one cannot make the reader allocate.
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() ||
        int64_t{size.width()} * size.height() > kMaxImagePixels) {
        return false;
    }
    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull()) return false;
    // Premultiplied colour is the colour laid over black.
    const QImage argb = decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    RgbImage out;
    out.Width = argb.width();
    out.Height = argb.height();
    out.Pixels.resize(static_cast<size_t>(out.Width) * static_cast<size_t>(out.Height) * 3);
    size_t i = 0;
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            out.Pixels[i++] = static_cast<uint8_t>(qRed(line[x]));
            out.Pixels[i++] = static_cast<uint8_t>(qGreen(line[x]));
            out.Pixels[i++] = static_cast<uint8_t>(qBlue(line[x]));
        }
    }
    image = std::move(out);
    return true;
}

bool CompletePaletteImage(EnvData& env) {
    if (!env.PaletteImage.Empty()) return true;
    const std::string full = CompletePathIn(env.ImgFile, env.ExeDir);
    if (full.empty() || !HasExtension(full, ".PNG")) return false;
    return DecodePngFile(QString::fromStdString(full), env.PaletteImage);
}

}  // namespace lumavox
