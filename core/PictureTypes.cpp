#include "core/PictureFormats.h"

#include <QFileInfo>
#include <chrono>
#include <filesystem>

namespace velmora::picture {

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

namespace {

// Metafiles are a known picture type, but nothing available renders them well.
bool isMetafile(const QString& suffix) {
    return suffix == QLatin1String("wmf") || suffix == QLatin1String("emf");
}

} // namespace

QString globs(const QStringList& extensions) {
    QStringList patterns;
    for (const QString& e : extensions)
        patterns.append(QStringLiteral("*.") + e);
    return patterns.join(u' ');
}

[[noreturn]] void fail(const QString& path, const QString& reason, Kind kind) {
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

namespace {

[[noreturn]] void failFileTooBig(const QString& path, qint64 bytes) {
    fail(path,
         QStringLiteral("arquivo grande demais, %1 MB, acima do limite de %2 MB para imagens")
             .arg((bytes + mebibyte - 1) / mebibyte)
             .arg(Pictures::maxFileBytes / mebibyte),
         Kind::TooBig);
}

} // namespace

bool tooBig(QSize size) {
    return qint64(size.width()) * qint64(size.height()) > Pictures::maxPixels;
}

namespace {

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

} // namespace

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

} // namespace velmora::picture
