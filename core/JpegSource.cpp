#include "core/Jpeg.h"

// After jpeglib.h, which it needs.
#include <jerror.h>

namespace velmora::picture {

// ---- JPEG through libjpeg-turbo ----

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
namespace {

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

} // namespace

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

} // namespace velmora::picture
