#include "core/PictureFormats.h"

#include <QBuffer>
#include <QXmlStreamReader>

namespace velmora::picture {

namespace {

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

} // namespace

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

} // namespace velmora::picture
