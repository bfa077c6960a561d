#include "core/Pictures.h"

#include "core/Jpeg.h"
#include "core/PictureFormats.h"

#include <QBuffer>

namespace velmora {

using namespace picture;

namespace {

// What Qt's reader reads a picture from: the file itself, or an SVG's bytes as checked.
class QtSource {
public:
    QtSource(const QString& path, const PictureType& type) : file_(path) {
        allowPixelLimitInQt();
        openFile(file_);
        if (!type.vector)
            return;
        svg_.setData(checkedSvg(file_));
        svg_.open(QIODevice::ReadOnly);
    }
    QIODevice& device() { return svg_.isOpen() ? static_cast<QIODevice&>(svg_) : file_; }

private:
    QFile file_;
    QBuffer svg_;
};

QImage decodeWithQt(const QString& path, const PictureType& type, QSize box) {
    QtSource source(path, type);
    QImageReader reader(&source.device(), type.qtFormat);
    reader.setAutoDetectImageFormat(false); // the extension chooses the decoder
    reader.setAutoTransform(true);
    QSize size = declaredSize(reader);
    if (type.vector && box.isValid()) {
        reader.setScaledSize(box); // drawn sharp at the box, whatever size it declares
        size = box;
    }
    // Without a size from the header nothing bounds what decoding would cost.
    if (!size.isValid())
        fail(path,
             QStringLiteral("arquivo de imagem danificado ou ilegível (tamanho desconhecido)"));
    if (tooBig(size))
        failTooBig(path, size);
    if (type.complete != nullptr && !isComplete(source.device(), type.complete))
        fail(path, QStringLiteral("arquivo de imagem danificado ou incompleto"));
    QImage image;
    if (!reader.read(&image) || image.isNull())
        fail(path, QStringLiteral("arquivo de imagem danificado ou ilegível (%1)")
                       .arg(reader.errorString()));
    const auto format =
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (image.format() != format)
        image.convertTo(format);
    return image;
}

QSize normalBox(QSize box) {
    return box.isEmpty() ? QSize() : box;
}

} // namespace

QStringList Pictures::extensions() {
    QStringList all;
    for (const PictureType& t : pictureTypes())
        all += t.extensions;
    return all;
}

QStringList Pictures::nameFilters() {
    QStringList filters{QStringLiteral("Todas as imagens (%1)").arg(globs(extensions()))};
    for (const PictureType& t : pictureTypes())
        filters.append(QStringLiteral("%1 (%2)").arg(t.label, globs(t.extensions)));
    return filters;
}

QImage Pictures::decodeJpeg(const QString& path, QSize box) {
    const JpegJob job = jpegJob(path, normalBox(box), false);
    return oriented(job.image, job.orientation);
}

QSize Pictures::pictureSize(const QString& path) {
    stampOf(path);
    const PictureType& type = typeOf(path);
    if (type.decoder == Decoder::Jpeg)
        return jpegJob(path, {}, true).fullSize;
    QtSource source(path, type);
    QImageReader reader(&source.device(), type.qtFormat);
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(true);
    const QSize size = shownSize(reader);
    return size.isValid() ? size : decodeWithQt(path, type, {}).size();
}

void Pictures::checkHeader(const QString& path) {
    const PictureType& type = typeOf(path);
    // A drawing's header is the whole file: only the guarded reader may see it.
    if (type.vector) {
        pictureSize(path);
        return;
    }
    QFile opened(path);
    openFile(opened); // once: a check of a big catalogue opens every file
    // A file of a badge's size is read whole in one go: the checks below seek about in
    // it, and every seek in a file is a system call or two.
    constexpr qint64 readWhole = 1 << 20;
    QBuffer whole;
    QIODevice& file = opened.size() <= readWhole ? whole : static_cast<QIODevice&>(opened);
    if (&file == &whole) {
        whole.setData(opened.readAll());
        whole.open(QIODevice::ReadOnly);
    }
    if (type.decoder == Decoder::Jpeg) {
        if (const QSize size = jpegJob(path, {}, true, &file).fullSize; tooBig(size))
            failTooBig(path, size);
        if (!isComplete(file, type.ends))
            fail(path, QStringLiteral("arquivo JPEG incompleto"));
        return;
    }
    allowPixelLimitInQt();
    QImageReader reader(&file, type.qtFormat);
    reader.setAutoDetectImageFormat(false);
    if (!reader.canRead())
        fail(path, QStringLiteral("arquivo de imagem danificado ou de outro tipo"));
    const QSize size = declaredSize(reader);
    if (!type.vector && !size.isValid())
        fail(path,
             QStringLiteral("arquivo de imagem danificado ou ilegível (tamanho desconhecido)"));
    if (!type.vector && tooBig(size))
        failTooBig(path, size);
    for (CompletenessCheck check : {type.complete, type.ends})
        if (check != nullptr && !isComplete(file, check))
            fail(path, QStringLiteral("arquivo de imagem danificado ou incompleto"));
}

void Pictures::verify(const QString& path, QSize box) {
    const PictureType& type = typeOf(path);
    // The scale only changes the inverse transform: damaged data fails at any scale.
    if (type.decoder == Decoder::Jpeg)
        jpegJob(path, QSize(1, 1), false);
    else
        decodeWithQt(path, type, normalBox(box));
}

QImage Pictures::load(const QString& path, QSize box) {
    box = normalBox(box);
    const FileStamp stamp = stampOf(path);
    const QString key = QStringLiteral("%1|%2|%3|%4x%5")
                            .arg(path)
                            .arg(stamp.size)
                            .arg(stamp.modifiedNs)
                            .arg(box.width())
                            .arg(box.height());
    if (const auto found = index_.constFind(key); found != index_.constEnd()) {
        entries_.splice(entries_.begin(), entries_, *found);
        return entries_.front().image;
    }
    QImage image = decodeFor(path, box);
    remember(key, image);
    return image;
}

QImage Pictures::loadFitted(const QString& path, QSize bounds) {
    QSize size = pictureSize(path);
    if (size.width() > bounds.width() || size.height() > bounds.height())
        size.scale(bounds, Qt::KeepAspectRatio);
    return load(path, size.expandedTo({1, 1}));
}

QImage Pictures::decodeFor(const QString& path, QSize box) {
    const PictureType& type = typeOf(path);
    ++decodes_;
    QImage image =
        type.decoder == Decoder::Jpeg ? decodeJpeg(path, box) : decodeWithQt(path, type, box);
    if (box.isValid() && image.size() != box)
        image = image.scaled(box, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

} // namespace velmora
