#include "core/Jpeg.h"

#include <cstring>

namespace velmora::picture {

namespace {

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
} // namespace

JpegJob jpegJob(const QString& path, QSize box, bool headerOnly, QIODevice* opened) {
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

} // namespace velmora::picture
