#pragma once

#include "store/Error.h"

#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <list>

namespace velmora {

// The picture loader's one way to fail; the message names the file. The kind lets a
// caller (the data-directory check) sort failures without reading the text.
class PictureError final : public Error {
public:
    enum class Kind { Missing, UnknownType, Damaged, TooBig };

    explicit PictureError(const QString& message, Kind kind = Kind::Damaged)
        : Error(message), kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

// Loads pictures by file-name extension (jpg/jpeg by libjpeg-turbo, streamed from the
// file; the others by Qt's readers) and keeps a small cache of decoded, box-sized pictures.
class Pictures final {
public:
    // Limits checked before a picture is decoded: a file above maxFileBytes is refused
    // before a byte of it is read; a picture above maxPixels after its header.
    // A badge photo of a 50-megapixel camera stays far below both.
    static constexpr qint64 maxPixels = 100'000'000;
    static constexpr qint64 maxFileBytes = 100LL * 1024 * 1024;

    // Extensions the loader knows, lower case ("jpg", "jpeg", "bmp", "ico", "png", "webp",
    // "svg", "tif", "tiff").
    static QStringList extensions();
    // Filter for the open dialog: all picture types, then one entry per type.
    static QStringList nameFilters();

    // Decodes path for a box: the picture scaled to exactly box (stretched), or at
    // its own size when box is empty. Throws PictureError.
    QImage load(const QString& path, QSize box = {});
    // The picture scaled to fit inside bounds with its aspect ratio kept (previews).
    QImage loadFitted(const QString& path, QSize bounds);
    // Decodes a JPEG at the smallest DCT scale that still covers box (no cache).
    static QImage decodeJpeg(const QString& path, QSize box = {});
    // The picture's own size, read from its header only. Throws PictureError.
    static QSize pictureSize(const QString& path);
    // The checks a load makes before decoding, without decoding: the file's size, a
    // header of the extension's type (by content), the pixel limit, and for bitmaps
    // and icons the length the header promises. Throws PictureError.
    static void checkHeader(const QString& path);
    // Whether load(path, box) would succeed, at the least cost: the same checks and every
    // byte of the picture's data decoded (a JPEG at its smallest DCT scale), nothing
    // scaled or kept. Throws PictureError.
    static void verify(const QString& path, QSize box = {});

    void clearCache();
    int cacheSize() const;     // pictures held
    qint64 cacheBytes() const; // their decoded bytes
    void setCacheLimit(qint64 bytes);
    int decodeCount() const { return decodes_; } // files decoded so far (cache misses)

private:
    struct Entry {
        QString key;
        QImage image;
    };
    QImage decodeFor(const QString& path, QSize box);
    void remember(const QString& key, const QImage& image);
    void trim();

    // Most recently used first; looked up by a key of path, size, mtime and box.
    std::list<Entry> entries_;
    QHash<QString, std::list<Entry>::iterator> index_;
    qint64 bytes_ = 0;
    qint64 limit_ = 64LL * 1024 * 1024;
    int decodes_ = 0;
};

} // namespace velmora
