#include "bench/Photo.h"

#include <QImage>
#include <QRandomGenerator>

namespace velmora::bench {

QString writePhoto(const QString& path, QSize size, quint32 seed) {
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator rng(seed);
    const int shift = int(seed % 97);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = int(rng.bounded(40));
            line[x] = qRgb((x / 4 + n + shift) & 255, (y / 4 + n) & 255,
                           ((x + y) / 8 + n + 2 * shift) & 255);
        }
    }
    image.save(path, "JPEG", 90);
    return path;
}

} // namespace velmora::bench
