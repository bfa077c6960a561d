#include "platform/Pictures.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <algorithm>
#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <jpeglib.h>

namespace velmora {

namespace {

enum class Decoder { Jpeg, Qt };

struct PictureType {
    QString label;
    QStringList extensions;
    Decoder decoder;
    const char* qtFormat;
};

const QList<PictureType>& pictureTypes() {
    static const QList<PictureType> types{
        {QStringLiteral("JPEG"),
         {QStringLiteral("jpg"), QStringLiteral("jpeg")},
         Decoder::Jpeg,
         nullptr},
        {QStringLiteral("Bitmap"), {QStringLiteral("bmp")}, Decoder::Qt, "bmp"},
        {QStringLiteral("Ícone"), {QStringLiteral("ico")}, Decoder::Qt, "ico"},
        {QStringLiteral("PNG"), {QStringLiteral("png")}, Decoder::Qt, "png"},
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

[[noreturn]] void fail(const QString& path, const QString& reason) {
    throw PictureError(
        QStringLiteral("Não foi possível carregar a imagem \"%1\": %2.").arg(path, reason));
}

[[noreturn]] void failTooBig(const QString& path, QSize size) {
    fail(path, QStringLiteral("a imagem tem %1 × %2 pixels, acima do limite de %3 megapixels")
                   .arg(size.width())
                   .arg(size.height())
                   .arg(Pictures::maxPixels / 1'000'000));
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
            QStringLiteral("Não foi possível carregar a imagem: nenhum arquivo foi informado."));
    if (path.startsWith(QLatin1String(":/"))) {
        // Artwork compiled into the program: fixed for the run.
        const QFileInfo resource(path);
        if (!resource.exists())
            fail(path, QStringLiteral("arquivo não encontrado"));
        return {resource.size(), 0};
    }
    std::error_code ec;
    const auto p = fsPath(path);
    const auto status = std::filesystem::status(p, ec);
    if (ec || !std::filesystem::exists(status))
        fail(path, QStringLiteral("arquivo não encontrado"));
    if (!std::filesystem::is_regular_file(status))
        fail(path, QStringLiteral("o caminho não é um arquivo"));
    FileStamp stamp;
    stamp.size = qint64(std::filesystem::file_size(p, ec));
    const auto modified = std::filesystem::last_write_time(p, ec);
    if (ec)
        fail(path, QStringLiteral("não foi possível ler o arquivo"));
    stamp.modifiedNs =
        std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch()).count();
    return stamp;
}

const PictureType& typeOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix.isEmpty())
        fail(path, QStringLiteral("o arquivo não tem extensão, o tipo da imagem é desconhecido"));
    if (isMetafile(suffix))
        throw PictureError(QStringLiteral("Formato de imagem não suportado: %1").arg(path));
    for (const PictureType& t : pictureTypes())
        if (t.extensions.contains(suffix))
            return t;
    fail(path, QStringLiteral("tipo de imagem desconhecido (\".%1\")").arg(suffix));
}

QByteArray readFile(const QString& path) {
    stampOf(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(path, QStringLiteral("não foi possível ler o arquivo (%1)").arg(file.errorString()));
    return file.readAll();
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

enum class JpegOutcome { Done, Damaged, TooBig, NoMemory };

struct JpegJob {
    const QByteArray* data = nullptr;
    QSize box;
    bool headerOnly = false;
    // results
    QSize fullSize;
    QImage image;
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
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(job.data->constData()),
                 static_cast<unsigned long>(job.data->size()));
    jpeg_read_header(&cinfo, TRUE);
    job.fullSize = QSize(int(cinfo.image_width), int(cinfo.image_height));
    if (tooBig(job.fullSize) || job.headerOnly) {
        jpeg_destroy_decompress(&cinfo);
        return job.headerOnly ? JpegOutcome::Done : JpegOutcome::TooBig;
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : rgb32Space;
    chooseScale(cinfo, job.box);
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

JpegJob jpegJob(const QString& path, const QByteArray& data, QSize box, bool headerOnly) {
    JpegJob job;
    job.data = &data;
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
        fail(path, QStringLiteral("memória insuficiente para a imagem"));
    }
    return job;
}

// ---- bitmap, icon and PNG through Qt's readers ----

QImage decodeWithQt(const QString& path, const PictureType& type) {
    stampOf(path);
    QImageReader reader(path, type.qtFormat);
    reader.setAutoDetectImageFormat(false); // the extension chooses the decoder
    const QSize size = reader.size();
    if (size.isValid() && tooBig(size))
        failTooBig(path, size);
    QImage image;
    if (!reader.read(&image))
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
    const QByteArray data = readFile(path);
    return jpegJob(path, data, normalBox(box), false).image;
}

QSize Pictures::pictureSize(const QString& path) {
    stampOf(path);
    const PictureType& type = typeOf(path);
    if (type.decoder == Decoder::Jpeg) {
        const QByteArray data = readFile(path);
        return jpegJob(path, data, {}, true).fullSize;
    }
    QImageReader reader(path, type.qtFormat);
    reader.setAutoDetectImageFormat(false);
    const QSize size = reader.size();
    return size.isValid() ? size : decodeWithQt(path, type).size();
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
    QImage image = type.decoder == Decoder::Jpeg ? decodeJpeg(path, box) : decodeWithQt(path, type);
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
}

void clearPicture(QLabel* box) {
    if (box != nullptr)
        box->clear();
}

} // namespace velmora
