// Any bytes as a picture of each type the loader accepts (the first byte picks the
// extension): it must decode them or refuse them with its own error, never crash,
// hang or return an empty picture. An SVG is written twice, as picture.svg and
// partner.svg, so that references between two files and to itself can be tried.
#include "core/Pictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QTemporaryDir& folder() {
    // In memory where the system has it: a file is written for every input.
    static QTemporaryDir dir((QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                  ? QStringLiteral("/dev/shm")
                                  : QDir::tempPath()) +
                             QStringLiteral("/velmora-fuzz-XXXXXX"));
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Qt finds its image plugins (icon, WebP, TIFF, SVG) through the application.
    static QCoreApplication app(*argc, *argv);
    if (!folder().isValid())
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QStringList extensions = velmora::Pictures::extensions();
    if (size == 0)
        return 0;
    const QString extension = extensions[data[0] % extensions.size()];
    const QString path = folder().filePath(QStringLiteral("picture.") + extension);
    const QStringList written{path, folder().filePath(QStringLiteral("partner.svg"))};
    for (const QString& name : written.mid(0, extension == QLatin1String("svg") ? 2 : 1)) {
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char*>(data + 1), qint64(size - 1));
    }
    velmora::Pictures pictures;
    try {
        const QImage badge = pictures.load(path, {57, 57});
        if (badge.size() != QSize(57, 57))
            std::abort();
    } catch (const velmora::PictureError&) {
    }
    try {
        const QImage preview = pictures.loadFitted(path, {200, 200});
        if (preview.isNull() || preview.width() > 200 || preview.height() > 200)
            std::abort();
    } catch (const velmora::PictureError&) {
    }
    return 0;
}
