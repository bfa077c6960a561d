// Picture loading: a full JPEG decode, a DCT-scaled decode for a gallery badge slot,
// and a second load of the same badge served from the cache.
#include "core/Pictures.h"

#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr QSize badgeSlot{57, 57};

// A 2000 x 2000 photograph-like JPEG (noise over gradients, quality 90), made once.
const QString& photoJpeg() {
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.filePath(QStringLiteral("photo.jpg"));
        QImage image(2000, 2000, QImage::Format_RGB32);
        QRandomGenerator rng(11);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int n = int(rng.bounded(40));
                line[x] = qRgb((x / 8 + n) & 255, (y / 8 + n) & 255, ((x + y) / 16 + n) & 255);
            }
        }
        image.save(p, "JPEG", 90);
        return p;
    }();
    return path;
}

// Arg 0: full size; otherwise the smallest DCT scale covering an Arg x Arg box.
void BM_JpegDecode(benchmark::State& state) {
    const QString& path = photoJpeg();
    const int side = int(state.range(0));
    const QSize box = side > 0 ? QSize(side, side) : QSize();
    QSize decoded;
    for (auto _ : state) {
        const QImage image = velmora::Pictures::decodeJpeg(path, box);
        decoded = image.size();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["width"] = decoded.width();
}
BENCHMARK(BM_JpegDecode)->Arg(0)->Arg(57)->Unit(benchmark::kMillisecond);

// What a cache miss costs a badge slot: DCT-scaled decode plus the smooth stretch.
void BM_PictureLoadMiss(benchmark::State& state) {
    const QString& path = photoJpeg();
    velmora::Pictures pictures;
    for (auto _ : state) {
        pictures.clearCache();
        benchmark::DoNotOptimize(pictures.load(path, badgeSlot));
    }
}
BENCHMARK(BM_PictureLoadMiss)->Unit(benchmark::kMillisecond);

void BM_PictureCacheHit(benchmark::State& state) {
    const QString& path = photoJpeg();
    velmora::Pictures pictures;
    pictures.load(path, badgeSlot);
    for (auto _ : state)
        benchmark::DoNotOptimize(pictures.load(path, badgeSlot));
    state.counters["decodes"] = pictures.decodeCount();
}
BENCHMARK(BM_PictureCacheHit)->Unit(benchmark::kMicrosecond);

} // namespace
