#include "editor/HuePalette.h"

#include "editor/logic/DialogMaths.h"

namespace lumavox {

QImage StandardPaletteImage(int w, int h) {
    QImage image(w, h, QImage::Format_RGB888);
    for (int i = 0; i < h; ++i) {
        uchar* row = image.scanLine(i);
        for (int j = 0; j < w; ++j) {
            const int32_t c = PaletteColour(j, i, w, h);
            row[3 * j] = static_cast<uchar>(c & 0xFF);
            row[3 * j + 1] = static_cast<uchar>((c >> 8) & 0xFF);
            row[3 * j + 2] = static_cast<uchar>((c >> 16) & 0xFF);
        }
    }
    return image;
}

}  // namespace lumavox
