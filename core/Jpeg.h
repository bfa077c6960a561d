#pragma once

// The JPEG path of the picture loader, through libjpeg-turbo: its error and source
// managers, the Exif orientation and the decoding. Shared by the loader's files only.

#include "core/PictureFormats.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace velmora::picture {

// JpegSource.cpp
struct JpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onJpegError(j_common_ptr cinfo);
void onJpegMessage(j_common_ptr cinfo, int level);
void useDeviceSource(j_decompress_ptr cinfo, QIODevice* device);

// Exif.cpp
int exifOrientation(const jpeg_decompress_struct& cinfo);
bool turnsQuarter(int orientation);
QImage oriented(const QImage& image, int orientation);

// JpegDecode.cpp
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

JpegJob jpegJob(const QString& path, QSize box, bool headerOnly, QIODevice* opened = nullptr);

} // namespace velmora::picture
