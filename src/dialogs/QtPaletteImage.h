#pragma once

#include <QString>

#include "settings/EnvData.h"
#include "settings/PaletteImage.h"

namespace lumavox {

// PNG palette images. The settings store decodes bitmaps and JPEG itself; PNG files are read
// through Qt's image reader here, in the editor, into the same RGB form. UI thread.

// Decodes a PNG file into image, transparent pixels laid over black (the colour the palette
// area shows around the image). False, and image empty, for a missing or corrupt file or one of
// more than kMaxImagePixels pixels.
bool DecodePngFile(const QString& path, RgbImage& image);

// Completes a palette image load of the settings store: when ImgFile names a .png file (without
// regard to case) and the store left the image empty, the file is decoded here. Call it after
// EnvData::Create, LoadPaletteImage and ChoosePaletteImage. True when the image is not empty.
bool CompletePaletteImage(EnvData& env);

}  // namespace lumavox
