#include "core/PictureFormats.h"

#include <QtEndian>
#include <algorithm>

namespace velmora::picture {

// ---- the other types through Qt's readers, and each type's end ----

// Qt's bitmap reader takes a file cut short and makes up the missing rows; the header
// says how long the pixel data must be.
bool bmpComplete(QIODevice& file, qint64 fileSize) {
    const QByteArray head = file.peek(54);
    if (head.size() < 26 || !head.startsWith("BM"))
        return true; // no bitmap header at all: the reader refuses it
    const auto* d = reinterpret_cast<const uchar*>(head.constData());
    const qint64 pixelsAt = qFromLittleEndian<quint32>(d + 10);
    const quint32 infoSize = qFromLittleEndian<quint32>(d + 14);
    qint64 width = 0, rows = 0, bits = 0, compression = 0, stated = 0;
    if (infoSize < 40) {
        // The old core header, and what Qt's reader takes for one: 16-bit sides.
        width = qAbs(qint64(qFromLittleEndian<qint16>(d + 18)));
        rows = qAbs(qint64(qFromLittleEndian<qint16>(d + 20)));
        bits = qFromLittleEndian<quint16>(d + 24);
    } else {
        if (head.size() < 38)
            return false;
        width = qFromLittleEndian<qint32>(d + 18);
        rows = qAbs(qint64(qFromLittleEndian<qint32>(d + 22)));
        bits = qFromLittleEndian<quint16>(d + 28);
        compression = qFromLittleEndian<quint32>(d + 30);
        stated = qFromLittleEndian<quint32>(d + 34);
    }
    // Sizes the reader refuses anyway are left to it (and keep the sums below small).
    if (width <= 0 || width > Pictures::maxPixels || rows == 0 || rows > Pictures::maxPixels ||
        bits == 0 || bits > 64)
        return true;
    constexpr qint64 plain = 0, bitfields = 3, alphaBitfields = 6;
    const bool uncompressed =
        compression == plain || compression == bitfields || compression == alphaBitfields;
    const qint64 pixelBytes = uncompressed ? (width * bits + 31) / 32 * 4 * rows : stated;
    return pixelsAt + pixelBytes <= fileSize;
}

// An icon's directory names where each picture lies and how long it is.
bool icoComplete(QIODevice& file, qint64 fileSize) {
    const QByteArray head = file.peek(6);
    if (head.size() < 6)
        return false;
    const int count = qFromLittleEndian<quint16>(head.constData() + 4);
    const QByteArray directory = file.peek(6 + 16 * count);
    if (directory.size() < 6 + 16 * count)
        return false;
    for (int i = 0; i < count; ++i) {
        const char* entry = directory.constData() + 6 + 16 * i;
        const qint64 bytes = qFromLittleEndian<quint32>(entry + 8);
        const qint64 offset = qFromLittleEndian<quint32>(entry + 12);
        if (offset + bytes > fileSize)
            return false;
    }
    return true;
}

namespace {

// Where the end of a file is looked for: past any trailer a camera adds.
constexpr qint64 endWindow = 64 * 1024;

// A JPEG's compressed data ends with the end-of-image marker. The marker segments
// before the first scan are stepped over: only in the scan data is every 0xFF byte
// followed by 0x00 or a marker, so only there does FF D9 mean the end.
} // namespace

bool jpegEnds(QIODevice& file, qint64 fileSize) {
    qint64 at = 2; // after the start-of-image marker
    for (int segments = 0; segments < 256; ++segments) {
        if (!file.seek(at))
            return false;
        const QByteArray marker = file.read(4);
        if (marker.size() < 4 || uchar(marker[0]) != 0xFF)
            return false;
        if (uchar(marker[1]) == 0xFF) { // fill byte
            ++at;
            continue;
        }
        at += 2 + qFromBigEndian<quint16>(marker.constData() + 2);
        if (uchar(marker[1]) == 0xDA) // start of scan
            break;
    }
    const qint64 from = std::max(at, fileSize - endWindow);
    return file.seek(from) && file.read(fileSize - from).contains("\xFF\xD9");
}

// A PNG ends with its IEND chunk.
bool pngEnds(QIODevice& file, qint64 fileSize) {
    const qint64 from = std::max<qint64>(8, fileSize - endWindow);
    return file.seek(from) && file.read(fileSize - from).contains("IEND");
}

// A WebP file states its length in its RIFF header.
bool webpEnds(QIODevice& file, qint64 fileSize) {
    const QByteArray head = file.peek(8);
    return head.size() == 8 && qFromLittleEndian<quint32>(head.constData() + 4) + 8 <= fileSize;
}

// Our own pixel limit is the only size limit: Qt's smaller default would call a large
// picture damaged. Room for 8 bytes a pixel (16-bit colour with alpha).
void allowPixelLimitInQt() {
    static const bool once = [] {
        QImageReader::setAllocationLimit(int(Pictures::maxPixels * 8 / mebibyte + 1));
        return true;
    }();
    Q_UNUSED(once);
}

// Reads the header from the start and leaves the file where the reader had it.
bool isComplete(QIODevice& file, CompletenessCheck check) {
    const qint64 at = file.pos();
    const bool complete = file.seek(0) && check(file, file.size());
    file.seek(at);
    return complete;
}

// The size the header declares; a negative side (a top-down bitmap, or a lie) counts
// by its length. Invalid when the reader cannot tell.
QSize declaredSize(QImageReader& reader) {
    const QSize size = reader.size();
    if (size == QSize(-1, -1))
        return {};
    return {qAbs(size.width()), qAbs(size.height())};
}

// The picture's size as shown: a reader that turns it a quarter (Exif or TIFF
// orientation) swaps width and height.
QSize shownSize(QImageReader& reader) {
    QSize size = declaredSize(reader);
    if (size.isValid() && (reader.transformation() & QImageIOHandler::TransformationRotate90))
        size.transpose();
    return size;
}

} // namespace velmora::picture
