#include "platform/PictureBox.h"

#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <algorithm>

namespace velmora {

namespace {

// Built-in artwork also comes drawn twice as fine ("name@2x.jpg") for high-density
// screens; user pictures come as they are.
QString finestVariant(const QString& path, qreal ratio, qreal& sourceRatio) {
    sourceRatio = 1;
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    if (ratio <= 1 || !path.startsWith(QLatin1String(":/")) || dot < 0)
        return path;
    const QString twice = path.left(dot) + QLatin1String("@2x") + path.mid(dot);
    if (!QFile::exists(twice))
        return path;
    sourceRatio = 2;
    return twice;
}

qreal screenRatio(const QLabel* box) {
    return std::max<qreal>(1, box->devicePixelRatioF());
}

} // namespace

QImage pictureForBox(Pictures& pictures, const QLabel* box, const QString& path) {
    // Decoded for the screen's pixels, not the box's logical ones: sharp at 200 %.
    const qreal ratio = screenRatio(box);
    qreal sourceRatio = 1;
    QImage image = pictures.load(finestVariant(path, ratio, sourceRatio), box->size() * ratio);
    image.setDevicePixelRatio(ratio);
    return image;
}

namespace {

// What a picture box shows, kept on the box so it can be decoded again for paper.
constexpr const char* shownPath = "velmoraPicturePath";
constexpr const char* shownStretched = "velmoraPictureStretched";
constexpr const char* shownPixmap = "velmoraPictureKey"; // still the one showPicture set

} // namespace

QImage finerPicture(Pictures& pictures, const QLabel* box, qreal ratio) {
    const QString path = box->property(shownPath).toString();
    if (path.isEmpty() || !box->property(shownStretched).toBool() || box->width() <= 0 ||
        box->height() <= 0 || box->pixmap().cacheKey() != box->property(shownPixmap).toLongLong())
        return {};
    try {
        qreal sourceRatio = 1;
        const QString source = finestVariant(path, ratio, sourceRatio);
        const QSize own = Pictures::pictureSize(source);
        const qreal available =
            std::max(qreal(own.width()) / box->width(), qreal(own.height()) / box->height());
        ratio = std::min(ratio, available);
        if (ratio <= screenRatio(box))
            return {};
        QImage image = pictures.load(source, (QSizeF(box->size()) * ratio).toSize());
        image.setDevicePixelRatio(ratio);
        return image;
    } catch (const PictureError&) {
        return {}; // changed since it was shown: the screen's picture will do
    }
}

void showPicture(Pictures& pictures, QLabel* box, const QString& path, bool stretch) {
    if (box == nullptr)
        return;
    QImage image;
    if (stretch) {
        image = pictureForBox(pictures, box, path);
    } else {
        // A picture shown at its own size is still never cut by its box: one larger
        // than the box is shrunk to fit, its proportions kept. Its own size counts in
        // the drawing's pixels, of which an @2x drawing has two per screen point.
        qreal sourceRatio = 1;
        const QString source = finestVariant(path, screenRatio(box), sourceRatio);
        image = pictures.loadFitted(source, box->size() * sourceRatio);
        image.setDevicePixelRatio(sourceRatio);
        box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    box->setScaledContents(stretch);
    box->setPixmap(QPixmap::fromImage(image));
    box->setProperty(shownPath, path);
    box->setProperty(shownStretched, stretch);
    box->setProperty(shownPixmap, box->pixmap().cacheKey());
}

void clearPicture(QLabel* box) {
    if (box == nullptr)
        return;
    box->clear();
    box->setProperty(shownPath, QVariant());
}

} // namespace velmora
