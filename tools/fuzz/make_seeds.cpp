// Writes the fuzz targets' starting inputs: one small picture of every type the loader
// accepts (its first byte picks the extension, as in fuzz_pictures), SVGs that reach
// beyond themselves, and statements in the program's local SQL. Usage: make_seeds DIR  (makes
// DIR/fuzz_pictures, DIR/fuzz_dialect)
#include "core/Pictures.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <cstdio>
#include <utility>

namespace {

QImage twoColours() {
    QImage image(24, 16, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, x < 12 ? qRgb(200, 30, 40) : qRgb(30, 60, 210));
    return image;
}

QByteArray encoded(const QString& extension) {
    if (extension == QLatin1String("svg"))
        return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"24\" height=\"16\">"
               "<rect width=\"12\" height=\"16\" fill=\"#c81e28\"/>"
               "<circle cx=\"18\" cy=\"8\" r=\"5\" fill=\"#1e3cd2\"/></svg>";
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    const QByteArray format = extension.startsWith(QLatin1String("jp"))    ? "JPEG"
                              : extension.startsWith(QLatin1String("tif")) ? "TIFF"
                                                                           : extension.toLatin1();
    twoColours().save(&buffer, format.constData(), 80);
    return data;
}

// The same JPEG with an Exif block saying "turn a quarter clockwise".
QByteArray withExifOrientation(const QByteArray& jpeg) {
    const QByteArray tiff("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0", 26);
    const QByteArray body = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xFF\xE1", 2);
    segment.append(char((body.size() + 2) >> 8)).append(char((body.size() + 2) & 0xFF));
    return jpeg.left(2) + segment + body + jpeg.mid(2);
}

// SVGs naming other files or themselves. fuzz_pictures writes each input as picture.svg
// and again as partner.svg beside it.
QByteArray svgAround(const QByteArray& body) {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
           "width=\"24\" height=\"16\">" +
           body + "</svg>";
}

QByteArray svgImage(const QByteArray& href) {
    return "<image width=\"12\" height=\"16\" xlink:href=\"" + href + "\"/>";
}

QList<std::pair<const char*, QByteArray>> svgReferences() {
    const QByteArray png = "data:image/png;base64," + encoded(QStringLiteral("png")).toBase64();
    const QByteArray self = svgAround(svgImage("picture.svg"));
    return {
        {"svg-self", self},
        {"svg-pair", svgAround(svgImage("partner.svg") + svgImage("picture.svg"))},
        {"svg-outside-absolute", svgAround(svgImage("/tmp/picture.png"))},
        {"svg-outside-relative", svgAround(svgImage("../picture.jpg"))},
        {"svg-file-url", svgAround(svgImage("file:///tmp/picture.png"))},
        {"svg-data-uri", svgAround(svgImage(png))},
        {"svg-data-uri-svg", svgAround(svgImage("data:image/svg+xml;base64," + self.toBase64()))},
        {"svg-use-outside", svgAround("<use xlink:href=\"partner.svg#a\"/>")},
        {"svg-stylesheet",
         "<?xml-stylesheet type=\"text/css\" href=\"partner.svg\"?>" + svgAround("<rect/>")},
        {"svg-entity",
         "<!DOCTYPE svg [<!ENTITY e SYSTEM \"partner.svg\">]>" + svgAround("<text>&e;</text>")},
    };
}

bool write(const QString& path, const QByteArray& data) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

const char* const statements[] = {
    "select * from clubes.db order by NomeClube",
    "select count(*) as total from Clubes.DB where Identificador = \"1\"",
    "select NomeClube, EscudoClube from clubes.db where PaisClube = :PAIS and Extinto = \"0\"",
    "select Cidade from cidades.db where país = :PAIS and Estado = :UF order by Cidade",
    "select max(codigo) as ultimo\nfrom clubes.db",
    "select * from clubes.db where upper(NomeClube) like upper(:NOME) -- \"nome\"\n",
    "select BandeiraPais as bandeira from paises.db where NomePais = \"Côte d'Ivoire\"",
    "update clubes.db set IdadeClube = \"100 anos\" where AnoFundacao = 1924",
};

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: make_seeds PASTA\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const QString pictures = root.filePath(QStringLiteral("fuzz_pictures"));
    const QString dialect = root.filePath(QStringLiteral("fuzz_dialect"));
    if (!QDir().mkpath(pictures) || !QDir().mkpath(dialect))
        return 1;
    const QStringList extensions = velmora::Pictures::extensions();
    bool ok = true;
    for (int i = 0; i < extensions.size(); ++i) {
        const QByteArray picture = encoded(extensions[i]);
        ok &=
            !picture.isEmpty() && write(QDir(pictures).filePath(extensions[i]), char(i) + picture);
        if (extensions[i] == QLatin1String("jpg"))
            ok &= write(QDir(pictures).filePath(QStringLiteral("jpg-exif")),
                        char(i) + withExifOrientation(picture));
        if (extensions[i] == QLatin1String("svg"))
            for (const auto& [name, svg] : svgReferences())
                ok &= write(QDir(pictures).filePath(QLatin1String(name)), char(i) + svg);
    }
    int n = 0;
    for (const char* statement : statements)
        ok &= write(QDir(dialect).filePath(QStringLiteral("statement-%1.sql").arg(++n)), statement);
    return ok ? 0 : 1;
}
