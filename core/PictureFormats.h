#pragma once

// The picture loader's parts, shared by its files and by no one else: the types it
// knows, its failures, the file checks before decoding and the SVG guard.

#include "core/Pictures.h"

#include <QFile>
#include <QIODevice>
#include <QImageReader>
#include <QList>

namespace velmora::picture {

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

const QList<PictureType>& pictureTypes();
// "*.jpg *.jpeg": the patterns of an open dialog's filter.
QString globs(const QStringList& extensions);

using Kind = PictureError::Kind;

[[noreturn]] void fail(const QString& path, const QString& reason, Kind kind = Kind::Damaged);
[[noreturn]] void failTooBig(const QString& path, QSize size);

constexpr qint64 mebibyte = 1024 * 1024;

bool tooBig(QSize size);

struct FileStamp {
    qint64 size = 0;
    qint64 modifiedNs = 0;
};

FileStamp stampOf(const QString& path);
const PictureType& typeOf(const QString& path);
void openFile(QFile& file);

// The header checks (PictureHeaders.cpp).
void allowPixelLimitInQt();
bool isComplete(QIODevice& file, CompletenessCheck check);
QSize declaredSize(QImageReader& reader);
QSize shownSize(QImageReader& reader);

// The SVG guard (SvgGuard.cpp).
QByteArray checkedSvg(QFile& file);

} // namespace velmora::picture
