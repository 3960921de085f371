#include "editor/PaneCanvas.h"

#include <QtTest>

#include <random>

using namespace lumavox;

class PaneCanvasTest : public QObject {
    Q_OBJECT

private slots:
    // The direct pixel writes must set exactly what the painter's fills set, rectangles crossing
    // any edge of the image or lying wholly outside it included.
    void fillsMatchThePainterPixelForPixelAtAnyOrigin() {
        for (const int origin : {0, 37, -12, 1000000}) {
            QImage direct(120, 50, QImage::Format_RGB32);
            QImage painted(120, 50, QImage::Format_RGB32);
            direct.fill(Qt::darkGray);
            painted.fill(Qt::darkGray);
            QPainter dp(&direct);
            dp.translate(-origin, 0);
            PaneCanvas canvas(direct, dp, origin);
            QPainter pp(&painted);
            pp.translate(-origin, 0);
            std::mt19937 rng(static_cast<unsigned>(origin + 99));
            for (int i = 0; i < 300; ++i) {
                const int x = origin + static_cast<int>(rng() % 160) - 20;
                const int y = static_cast<int>(rng() % 80) - 15;
                const int w = static_cast<int>(rng() % 40);
                const int h = static_cast<int>(rng() % 30);
                const QRgb colour =
                    qRgb(static_cast<int>(rng() % 256), static_cast<int>(rng() % 256),
                         static_cast<int>(rng() % 256));
                canvas.Fill(x, y, w, h, colour);
                pp.fillRect(QRect(x, y, w, h), QColor::fromRgb(colour));
            }
            dp.end();
            pp.end();
            QCOMPARE(direct, painted);
        }
    }

    // On a high-density image a unit is more than one pixel: the fill must scale with it.
    void aFillOnAHighDensityImageCoversItsScaledPixels() {
        QImage image(20, 20, QImage::Format_RGB32);
        image.setDevicePixelRatio(2.0);
        image.fill(Qt::black);
        QPainter p(&image);
        p.translate(-100, 0);
        PaneCanvas canvas(image, p, 100);
        canvas.Fill(101, 1, 1, 1, qRgb(255, 0, 0));
        p.end();
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 6; ++x) {
                const bool inside = x >= 2 && x < 4 && y >= 2 && y < 4;
                QCOMPARE(image.pixel(x, y), inside ? qRgb(255, 0, 0) : qRgb(0, 0, 0));
            }
        }
    }
};

QTEST_MAIN(PaneCanvasTest)
#include "PaneCanvasTest.moc"
