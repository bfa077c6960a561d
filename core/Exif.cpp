#include "core/Jpeg.h"

#include <QTransform>
#include <QtEndian>
#include <cstring>

namespace velmora::picture {

namespace {

// The Exif orientation (1 to 8, 1 = as stored) from a TIFF block.
int tiffOrientation(const JOCTET* data, unsigned length) {
    if (length < 8)
        return 1;
    const bool little = data[0] == 'I' && data[1] == 'I';
    if (!little && !(data[0] == 'M' && data[1] == 'M'))
        return 1;
    const auto u16 = [&](unsigned at) {
        return little ? qFromLittleEndian<quint16>(data + at) : qFromBigEndian<quint16>(data + at);
    };
    const auto u32 = [&](unsigned at) {
        return little ? qFromLittleEndian<quint32>(data + at) : qFromBigEndian<quint32>(data + at);
    };
    const quint32 ifd = u32(4);
    if (u16(2) != 42 || ifd < 8 || ifd > length - 2)
        return 1;
    const unsigned entries = u16(ifd);
    for (unsigned i = 0; i < entries; ++i) {
        const quint64 at = ifd + 2 + 12ULL * i;
        if (at + 12 > length)
            break;
        constexpr quint16 orientationTag = 0x0112, shortType = 3;
        if (u16(unsigned(at)) != orientationTag)
            continue;
        const unsigned value = u16(unsigned(at) + 8);
        return u16(unsigned(at) + 2) == shortType && value >= 1 && value <= 8 ? int(value) : 1;
    }
    return 1;
}

} // namespace

int exifOrientation(const jpeg_decompress_struct& cinfo) {
    static const char exif[] = "Exif\0";
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m != nullptr; m = m->next)
        if (m->marker == JPEG_APP0 + 1 && m->data_length > sizeof exif &&
            std::memcmp(m->data, exif, sizeof exif) == 0)
            return tiffOrientation(m->data + sizeof exif, m->data_length - unsigned(sizeof exif));
    return 1;
}

// Orientations 5 to 8 turn the picture a quarter: width and height change places.
bool turnsQuarter(int orientation) {
    return orientation >= 5;
}

QImage oriented(const QImage& image, int orientation) {
    const auto turned = [&](qreal degrees) {
        return image.transformed(QTransform().rotate(degrees));
    };
    switch (orientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        return turned(180);
    case 4:
        return image.mirrored(false, true);
    case 5:
        return turned(90).mirrored(true, false);
    case 6:
        return turned(90);
    case 7:
        return turned(270).mirrored(true, false);
    case 8:
        return turned(270);
    default:
        return image;
    }
}

} // namespace velmora::picture
