#include "platform/Pictures.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QTransform>
#include <QXmlStreamReader>
#include <QtEndian>
#include <algorithm>
#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

namespace velmora {

namespace {

enum class Decoder { Jpeg, Qt };

// Whether a file's header promises more data than the file holds.
using CompletenessCheck = bool (*)(QIODevice& file, qint64 fileSize);
bool bmpComplete(QIODevice& file, qint64 fileSize);
bool icoComplete(QIODevice& file, qint64 fileSize);
bool jpegEnds(QIODevice& file, qint64 fileSize);
bool pngEnds(QIODevice& file, qint64 fileSize);
bool webpEnds(QIODevice& file, qint64 fileSize);

struct PictureType {
    QString label;
    QStringList extensions;
    Decoder decoder;
    const char* qtFormat;
    CompletenessCheck complete = nullptr;
    bool vector = false; // drawn at the size asked for, never scaled from pixels
    // Whether the file ends as its type ends: a check without decoding tells a file
    // cut short by it.
    CompletenessCheck ends = nullptr;
};

const QList<PictureType>& pictureTypes() {
    static const QList<PictureType> types{
        {QStringLiteral("JPEG"),
         {QStringLiteral("jpg"), QStringLiteral("jpeg")},
         Decoder::Jpeg,
         nullptr,
         nullptr,
         false,
         jpegEnds},
        {QStringLiteral("Bitmap"), {QStringLiteral("bmp")}, Decoder::Qt, "bmp", bmpComplete},
        {QStringLiteral("Ícone"), {QStringLiteral("ico")}, Decoder::Qt, "ico", icoComplete},
        {QStringLiteral("PNG"),
         {QStringLiteral("png")},
         Decoder::Qt,
         "png",
         nullptr,
         false,
         pngEnds},
        {QStringLiteral("WebP"),
         {QStringLiteral("webp")},
         Decoder::Qt,
         "webp",
         nullptr,
         false,
         webpEnds},
        {QStringLiteral("SVG"), {QStringLiteral("svg")}, Decoder::Qt, "svg", nullptr, true},
        {QStringLiteral("TIFF"),
         {QStringLiteral("tif"), QStringLiteral("tiff")},
         Decoder::Qt,
         "tiff"},
    };
    return types;
}

// Metafiles are a known picture type, but nothing available renders them well.
bool isMetafile(const QString& suffix) {
    return suffix == QLatin1String("wmf") || suffix == QLatin1String("emf");
}

QString globs(const QStringList& extensions) {
    QStringList patterns;
    for (const QString& e : extensions)
        patterns.append(QStringLiteral("*.") + e);
    return patterns.join(u' ');
}

using Kind = PictureError::Kind;

[[noreturn]] void fail(const QString& path, const QString& reason, Kind kind = Kind::Damaged) {
    throw PictureError(
        QStringLiteral("Não foi possível carregar a imagem \"%1\": %2.").arg(path, reason), kind);
}

[[noreturn]] void failTooBig(const QString& path, QSize size) {
    fail(path,
         QStringLiteral("imagem grande demais, %1 × %2 pixels, acima do limite de %3 megapixels")
             .arg(size.width())
             .arg(size.height())
             .arg(Pictures::maxPixels / 1'000'000),
         Kind::TooBig);
}

constexpr qint64 mebibyte = 1024 * 1024;

[[noreturn]] void failFileTooBig(const QString& path, qint64 bytes) {
    fail(path,
         QStringLiteral("arquivo grande demais, %1 MB, acima do limite de %2 MB para imagens")
             .arg((bytes + mebibyte - 1) / mebibyte)
             .arg(Pictures::maxFileBytes / mebibyte),
         Kind::TooBig);
}

bool tooBig(QSize size) {
    return qint64(size.width()) * qint64(size.height()) > Pictures::maxPixels;
}

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

struct FileStamp {
    qint64 size = 0;
    qint64 modifiedNs = 0;
};

// Every load starts here: the file must be there now, whatever the cache holds.
FileStamp stampOf(const QString& path) {
    if (path.isEmpty())
        throw PictureError(
            QStringLiteral("Não foi possível carregar a imagem: nenhum arquivo foi informado."),
            Kind::Missing);
    if (path.startsWith(QLatin1String(":/"))) {
        // Artwork compiled into the program: fixed for the run.
        const QFileInfo resource(path);
        if (!resource.exists())
            fail(path, QStringLiteral("arquivo não encontrado"), Kind::Missing);
        return {resource.size(), 0};
    }
    std::error_code ec;
    const auto p = fsPath(path);
    const auto status = std::filesystem::status(p, ec);
    if (ec || !std::filesystem::exists(status))
        fail(path, QStringLiteral("arquivo não encontrado"), Kind::Missing);
    if (!std::filesystem::is_regular_file(status))
        fail(path, QStringLiteral("o caminho não é um arquivo"), Kind::Missing);
    FileStamp stamp;
    stamp.size = qint64(std::filesystem::file_size(p, ec));
    const auto modified = std::filesystem::last_write_time(p, ec);
    if (ec)
        fail(path, QStringLiteral("não foi possível ler o arquivo"));
    // Refused on its size alone: nothing of a huge file is ever read.
    if (stamp.size > Pictures::maxFileBytes)
        failFileTooBig(path, stamp.size);
    stamp.modifiedNs =
        std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch()).count();
    return stamp;
}

const PictureType& typeOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix.isEmpty())
        fail(path, QStringLiteral("o arquivo não tem extensão, o tipo da imagem é desconhecido"),
             Kind::UnknownType);
    if (isMetafile(suffix))
        throw PictureError(QStringLiteral("Formato de imagem não suportado: %1").arg(path),
                           Kind::UnknownType);
    for (const PictureType& t : pictureTypes())
        if (t.extensions.contains(suffix))
            return t;
    fail(path, QStringLiteral("tipo de imagem desconhecido (\".%1\")").arg(suffix),
         Kind::UnknownType);
}

// Opens a picture file for streaming; its size is checked first.
void openFile(QFile& file) {
    stampOf(file.fileName());
    if (!file.open(QIODevice::ReadOnly))
        fail(file.fileName(),
             QStringLiteral("não foi possível ler o arquivo (%1)").arg(file.errorString()));
}

// ---- JPEG through libjpeg-turbo ----

struct JpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// The library's own handler would exit() the process.
void onJpegError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// A warning means damaged or truncated data; the decoder would go on and return a
// partly grey picture, so it fails the load instead.
void onJpegMessage(j_common_ptr cinfo, int level) {
    if (level < 0)
        onJpegError(cinfo);
}

// A source manager over a QIODevice: the file is read in chunks as the decoder asks,
// never whole. Its memory comes from the decoder's pool, so a long jump leaks nothing.
struct JpegSource {
    jpeg_source_mgr pub;
    QIODevice* device;
    JOCTET* buffer;
    bool started;
};

constexpr qint64 jpegChunk = 64 * 1024;

void initJpegSource(j_decompress_ptr cinfo) {
    reinterpret_cast<JpegSource*>(cinfo->src)->started = false;
}

boolean fillJpegInput(j_decompress_ptr cinfo) {
    auto* src = reinterpret_cast<JpegSource*>(cinfo->src);
    qint64 n = src->device->read(reinterpret_cast<char*>(src->buffer), jpegChunk);
    if (n <= 0) {
        if (!src->started)
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        // Cut short: warn (which fails the load) and end the stream cleanly.
        WARNMS(cinfo, JWRN_JPEG_EOF);
        src->buffer[0] = JOCTET(0xFF);
        src->buffer[1] = JOCTET(JPEG_EOI);
        n = 2;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = size_t(n);
    src->started = true;
    return TRUE;
}

void skipJpegInput(j_decompress_ptr cinfo, long count) {
    if (count <= 0)
        return;
    jpeg_source_mgr* src = cinfo->src;
    while (count > long(src->bytes_in_buffer)) {
        count -= long(src->bytes_in_buffer);
        fillJpegInput(cinfo);
    }
    src->next_input_byte += count;
    src->bytes_in_buffer -= size_t(count);
}

void termJpegSource(j_decompress_ptr) {}

void useDeviceSource(j_decompress_ptr cinfo, QIODevice* device) {
    auto* common = reinterpret_cast<j_common_ptr>(cinfo);
    auto* src = static_cast<JpegSource*>(
        (*cinfo->mem->alloc_small)(common, JPOOL_PERMANENT, sizeof(JpegSource)));
    src->buffer =
        static_cast<JOCTET*>((*cinfo->mem->alloc_small)(common, JPOOL_PERMANENT, jpegChunk));
    src->device = device;
    src->started = false;
    src->pub.init_source = initJpegSource;
    src->pub.fill_input_buffer = fillJpegInput;
    src->pub.skip_input_data = skipJpegInput;
    src->pub.resync_to_restart = jpeg_resync_to_restart;
    src->pub.term_source = termJpegSource;
    src->pub.bytes_in_buffer = 0;
    src->pub.next_input_byte = nullptr;
    cinfo->src = &src->pub;
}

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

enum class JpegOutcome { Done, Damaged, TooBig, NoMemory };

struct JpegJob {
    QIODevice* device = nullptr;
    QSize box; // as shown, after orientation
    bool headerOnly = false;
    // results
    QSize fullSize; // as shown, after orientation
    int orientation = 1;
    QImage image; // as stored, before orientation
    char message[JMSG_LENGTH_MAX] = {};
};

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE rgb32Space = JCS_EXT_BGRX;
#else
constexpr J_COLOR_SPACE rgb32Space = JCS_EXT_XRGB;
#endif

// The smallest DCT scale (n/8) whose output still covers the box.
void chooseScale(jpeg_decompress_struct& cinfo, QSize box) {
    cinfo.scale_denom = 8;
    cinfo.scale_num = 8;
    if (box.isEmpty())
        return;
    for (unsigned n = 1; n <= 8; ++n) {
        cinfo.scale_num = n;
        jpeg_calc_output_dimensions(&cinfo);
        if (int(cinfo.output_width) >= box.width() && int(cinfo.output_height) >= box.height())
            return;
    }
    cinfo.scale_num = 8;
}

void cmykToRgb(const JSAMPLE* in, QRgb* out, unsigned width, bool inverted) {
    for (unsigned x = 0; x < width; ++x, in += 4) {
        int c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[x] = qRgb(k * c / 255, k * m / 255, k * y / 255);
    }
}

void readScanlines(jpeg_decompress_struct& cinfo, QImage& image, bool cmyk) {
    JSAMPARRAY cmykRow = nullptr;
    if (cmyk)
        cmykRow = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                             cinfo.output_width * 4, 1);
    while (cinfo.output_scanline < cinfo.output_height) {
        uchar* line = image.scanLine(int(cinfo.output_scanline));
        if (cmyk) {
            jpeg_read_scanlines(&cinfo, cmykRow, 1);
            cmykToRgb(cmykRow[0], reinterpret_cast<QRgb*>(line), cinfo.output_width,
                      cinfo.saw_Adobe_marker);
        } else {
            JSAMPROW row = line;
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
    }
}

// Holds no object with a destructor across the library calls, so the long jump
// back from the error manager skips nothing.
JpegOutcome runJpeg(JpegJob& job) {
    jpeg_decompress_struct cinfo;
    JpegErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onJpegError;
    err.pub.emit_message = onJpegMessage;
    if (setjmp(err.jump)) {
        std::memcpy(job.message, err.message, sizeof job.message);
        jpeg_destroy_decompress(&cinfo);
        return JpegOutcome::Damaged;
    }
    jpeg_create_decompress(&cinfo);
    useDeviceSource(&cinfo, job.device);
    jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&cinfo, TRUE);
    job.orientation = exifOrientation(cinfo);
    const bool quarter = turnsQuarter(job.orientation);
    job.fullSize = QSize(int(cinfo.image_width), int(cinfo.image_height));
    if (quarter)
        job.fullSize.transpose();
    if (tooBig(job.fullSize) || job.headerOnly) {
        jpeg_destroy_decompress(&cinfo);
        return job.headerOnly ? JpegOutcome::Done : JpegOutcome::TooBig;
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : rgb32Space;
    chooseScale(cinfo, quarter ? job.box.transposed() : job.box);
    jpeg_start_decompress(&cinfo);
    job.image = QImage(int(cinfo.output_width), int(cinfo.output_height), QImage::Format_RGB32);
    if (job.image.isNull()) {
        jpeg_destroy_decompress(&cinfo);
        return JpegOutcome::NoMemory;
    }
    readScanlines(cinfo, job.image, cmyk);
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return JpegOutcome::Done;
}

// Reads from file when given (already open), else opens path.
JpegJob jpegJob(const QString& path, QSize box, bool headerOnly, QFile* opened = nullptr) {
    QFile own(path);
    if (!opened)
        openFile(own);
    JpegJob job;
    job.device = opened ? opened : &own;
    job.box = box;
    job.headerOnly = headerOnly;
    switch (runJpeg(job)) {
    case JpegOutcome::Done:
        break;
    case JpegOutcome::Damaged:
        fail(path, QStringLiteral("arquivo JPEG danificado ou incompleto (%1)")
                       .arg(QString::fromLocal8Bit(job.message)));
    case JpegOutcome::TooBig:
        failTooBig(path, job.fullSize);
    case JpegOutcome::NoMemory:
        fail(path, QStringLiteral("memória insuficiente para a imagem"), Kind::TooBig);
    }
    return job;
}

// ---- the other types through Qt's readers ----

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

// Where the end of a file is looked for: past any trailer a camera adds.
constexpr qint64 endWindow = 64 * 1024;

// A JPEG's compressed data ends with the end-of-image marker. The marker segments
// before the first scan are stepped over: only in the scan data is every 0xFF byte
// followed by 0x00 or a marker, so only there does FF D9 mean the end.
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

// ---- what an SVG may hold ----

// Qt's SVG reader follows an <image> to any file it names (the SVG itself too, recursing
// until the stack ends), reads a style sheet a processing instruction names, and decodes
// embedded pictures without our limits. So the SVG is read whole and checked, streamed,
// and the reader gets those same bytes: only references inside the file (#name) pass,
// and pictures embedded as data: URIs within the pixel limit, all of them together.
constexpr int svgElementLimit = 100'000;
constexpr int svgDepthLimit = 256;

struct SvgScan {
    QString path;
    qint64 pixels = 0; // of the embedded pictures
    int elements = 0;
    int depth = 0;
    int styleDepth = 0; // inside <style>, whose text is a style sheet
};

[[noreturn]] void failExternal(const SvgScan& scan, QStringView target) {
    constexpr qsizetype shown = 60;
    const QString name = target.size() > shown
                             ? target.left(shown - 1).toString() + QStringLiteral("…")
                             : target.toString();
    fail(scan.path, QStringLiteral("o SVG se refere a algo fora dele (\"%1\"); só é aceito SVG "
                                   "com todo o desenho dentro do próprio arquivo")
                        .arg(name));
}

// Every url() of a style names a part of this file, url(#name); nothing is imported.
void checkStyleText(const SvgScan& scan, QStringView text) {
    if (const qsizetype at = text.indexOf(u"@import", 0, Qt::CaseInsensitive); at >= 0)
        failExternal(scan, text.mid(at));
    for (qsizetype at = text.indexOf(u"url(", 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(u"url(", at + 4, Qt::CaseInsensitive)) {
        QStringView target = text.mid(at + 4).trimmed();
        if (target.startsWith(u'\'') || target.startsWith(u'"'))
            target = target.mid(1).trimmed();
        if (!target.startsWith(u'#'))
            failExternal(scan, text.mid(at));
    }
}

// Decoded as Qt's reader would (what follows the last "base64,", the type found from
// the bytes), only its header read here.
void checkEmbedded(SvgScan& scan, QStringView uri) {
    const qsizetype data = uri.lastIndexOf(u"base64,");
    if (!uri.startsWith(u"data:") || data < 0)
        failExternal(scan, uri);
    QByteArray bytes = QByteArray::fromBase64(uri.mid(data + 7).toLatin1());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Raster types only: an SVG inside would be read without this check.
    static const QList<QByteArray> rasters{"png", "jpeg", "gif", "bmp", "webp"};
    const QSize size =
        reader.canRead() && rasters.contains(reader.format()) ? declaredSize(reader) : QSize();
    if (!size.isValid())
        fail(scan.path, QStringLiteral("imagem embutida no SVG danificada ou de tipo não aceito"));
    scan.pixels += qint64(size.width()) * size.height();
    if (scan.pixels > Pictures::maxPixels)
        fail(scan.path,
             QStringLiteral("desenho SVG grande demais, com imagens embutidas que passam de %1 "
                            "megapixels ao todo")
                 .arg(Pictures::maxPixels / 1'000'000),
             Kind::TooBig);
}

// An <image> holds its picture (a data: URI); other references may only point inside the
// file. A hyperlink (<a>) is a place for a reader to visit, nothing is drawn from it.
void checkElement(SvgScan& scan, const QXmlStreamReader& xml) {
    if (++scan.elements > svgElementLimit)
        fail(scan.path,
             QStringLiteral("desenho SVG grande demais, com mais de %1 elementos")
                 .arg(svgElementLimit),
             Kind::TooBig);
    if (++scan.depth > svgDepthLimit)
        fail(scan.path, QStringLiteral("desenho SVG danificado, com mais de %1 níveis de elementos")
                            .arg(svgDepthLimit));
    if (xml.name() == QLatin1String("style") || scan.styleDepth > 0)
        ++scan.styleDepth;
    const bool picture = xml.name() == QLatin1String("image");
    const bool hyperlink = xml.name() == QLatin1String("a");
    for (const QXmlStreamAttribute& a : xml.attributes()) {
        const QStringView value = a.value();
        if (a.name() == QLatin1String("href") && !hyperlink) {
            if (picture)
                checkEmbedded(scan, value);
            else if (!value.startsWith(u'#'))
                failExternal(scan, value);
        }
        checkStyleText(scan, value);
    }
}

// Entities may only stand for text written in the file, and never for more text than a
// file may hold: Qt's XML reader gathers the expansions of a run of references into one
// piece of text, so a few kilobytes could ask for gigabytes. Each "&" counts as the
// longest entity; a value naming other entities could multiply that, and is refused.
void checkDeclarations(const SvgScan& scan, const QXmlStreamReader& xml, const QByteArray& bytes) {
    qint64 longest = 0;
    for (const QXmlStreamEntityDeclaration& e : xml.entityDeclarations()) {
        if (!e.systemId().isEmpty() || !e.publicId().isEmpty() || !e.notationName().isEmpty())
            failExternal(scan, e.systemId().isEmpty() ? e.name() : e.systemId());
        if (e.value().contains(u'&'))
            fail(scan.path, QStringLiteral("arquivo SVG danificado (entidade \"%1\" definida por "
                                           "outras entidades)")
                                .arg(e.name()));
        longest = qMax<qint64>(longest, e.value().size());
    }
    if (longest * bytes.count('&') > Pictures::maxFileBytes)
        fail(scan.path,
             QStringLiteral("desenho SVG grande demais, com entidades que passam de %1 MB de texto")
                 .arg(Pictures::maxFileBytes / mebibyte),
             Kind::TooBig);
}

void scanSvg(SvgScan& scan, QXmlStreamReader& xml, const QByteArray& bytes) {
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            checkElement(scan, xml);
            break;
        case QXmlStreamReader::EndElement:
            --scan.depth;
            scan.styleDepth = qMax(0, scan.styleDepth - 1);
            break;
        case QXmlStreamReader::Characters:
            if (scan.styleDepth > 0)
                checkStyleText(scan, xml.text());
            break;
        case QXmlStreamReader::DTD:
            checkDeclarations(scan, xml, bytes);
            break;
        case QXmlStreamReader::ProcessingInstruction:
            if (xml.processingInstructionTarget() == QLatin1String("xml-stylesheet"))
                failExternal(scan, xml.processingInstructionData());
            break;
        default:
            break;
        }
    }
}

// The file's bytes once they passed the check. Throws PictureError.
QByteArray checkedSvg(QFile& file) {
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        fail(file.fileName(),
             QStringLiteral("não foi possível ler o arquivo (%1)").arg(file.errorString()));
    SvgScan scan{file.fileName()};
    QXmlStreamReader xml(bytes);
    scanSvg(scan, xml, bytes);
    if (xml.hasError())
        fail(scan.path,
             QStringLiteral("arquivo SVG danificado ou ilegível (%1)").arg(xml.errorString()));
    return bytes;
}

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
    QFile file(path);
    openFile(file); // once: a check of a big catalogue opens every file
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

void Pictures::remember(const QString& key, const QImage& image) {
    if (image.sizeInBytes() > limit_)
        return;
    entries_.push_front({key, image});
    index_.insert(key, entries_.begin());
    bytes_ += image.sizeInBytes();
    trim();
}

void Pictures::trim() {
    while (bytes_ > limit_ && !entries_.empty()) {
        bytes_ -= entries_.back().image.sizeInBytes();
        index_.remove(entries_.back().key);
        entries_.pop_back();
    }
}

void Pictures::clearCache() {
    entries_.clear();
    index_.clear();
    bytes_ = 0;
}

int Pictures::cacheSize() const {
    return int(entries_.size());
}

qint64 Pictures::cacheBytes() const {
    return bytes_;
}

void Pictures::setCacheLimit(qint64 bytes) {
    limit_ = qMax<qint64>(0, bytes);
    trim();
}

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
