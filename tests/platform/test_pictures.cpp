// The picture loader: decoders by extension, damaged and huge files, DCT scaling,
// the cache and the picture boxes. Every file is made here, in a temporary folder.
#include "platform/PictureBox.h"
#include "tests/support/Rows.h"

#include <QApplication>
#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace velmora;
using velmora::test::row;

namespace {

const QColor left(200, 30, 40);
const QColor right(30, 60, 210);

// Left half one colour, right half another.
QImage twoColours(QSize size = {64, 32}) {
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, size.width() / 2, size.height(), left);
    p.fillRect(size.width() / 2, 0, size.width() - size.width() / 2, size.height(), right);
    return image;
}

// Noise over gradients: compresses like a photograph.
QImage photoLike(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator rng(7);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int n = int(rng.bounded(48));
            line[x] = qRgb((x * 255 / size.width() + n) & 255, (y * 255 / size.height() + n) & 255,
                           ((x + y) * 127 / size.width() + n) & 255);
        }
    }
    return image;
}

bool near(QRgb a, QColor b, int tolerance = 12) {
    return qAbs(qRed(a) - b.red()) <= tolerance && qAbs(qGreen(a) - b.green()) <= tolerance &&
           qAbs(qBlue(a) - b.blue()) <= tolerance;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& data) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(data), data.size());
}

// Rewrites the frame size in a JPEG's SOF0 header; the data stays tiny.
QByteArray withJpegSize(QByteArray jpeg, int width, int height) {
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    if (sof < 0)
        return {};
    jpeg[sof + 5] = char(height >> 8);
    jpeg[sof + 6] = char(height & 0xFF);
    jpeg[sof + 7] = char(width >> 8);
    jpeg[sof + 8] = char(width & 0xFF);
    return jpeg;
}

// Rewrites the size in a BMP's info header (little-endian 32-bit fields).
QByteArray withBmpSize(QByteArray bmp, int width, int height) {
    for (int i = 0; i < 4; ++i) {
        bmp[18 + i] = char((width >> (8 * i)) & 0xFF);
        bmp[22 + i] = char((height >> (8 * i)) & 0xFF);
    }
    return bmp;
}

// A file of the given length that takes no disk space: all zeros after head.
void sparseFile(const QString& path, const QByteArray& head, qint64 length) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(head), head.size());
    QVERIFY(f.resize(length));
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return data;
}

// The header of an uncompressed bottom-up bitmap; the pixel rows are left to the caller.
QByteArray bmpHeader(int width, int height, int bits) {
    const int stride = (width * bits + 31) / 32 * 4;
    QByteArray header(54, '\0');
    const auto put = [&](int at, quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            header[at + i] = char((value >> (8 * i)) & 0xFF);
    };
    header[0] = 'B';
    header[1] = 'M';
    put(2, quint32(54 + stride * height), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, quint32(width), 4);
    put(22, quint32(height), 4);
    put(26, 1, 2);
    put(28, quint32(bits), 2);
    return header;
}

// A square split along its diagonal: left-bottom one colour, right-top the other.
QByteArray svgDiagonal(int width = 10, int height = 10) {
    return QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" "
                          "height=\"%2\" viewBox=\"0 0 10 10\">"
                          "<rect width=\"10\" height=\"10\" fill=\"%3\"/>"
                          "<polygon points=\"0,0 10,10 0,10\" fill=\"%4\"/></svg>")
        .arg(width)
        .arg(height)
        .arg(right.name(), left.name())
        .toUtf8();
}

// A JPEG with an Exif block giving its orientation (1 to 8).
QByteArray withOrientation(const QByteArray& jpeg, int orientation) {
    QByteArray tiff("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0", 18);
    tiff.append(char(orientation)).append(QByteArray(7, '\0'));
    const QByteArray body = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xFF\xE1", 2);
    segment.append(char((body.size() + 2) >> 8)).append(char((body.size() + 2) & 0xFF));
    return jpeg.left(2) + segment + body + jpeg.mid(2);
}

// An SVG of 20 x 20 around body; head comes before it (a declaration, a DOCTYPE).
QByteArray svgWith(const QString& body, const QString& head = {}) {
    return (head +
            QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" "
                           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"20\" "
                           "height=\"20\">") +
            body + QStringLiteral("</svg>"))
        .toUtf8();
}

// An <image> holding bytes as a data: URI.
QString embedded(const QByteArray& bytes, const char* type = "image/png") {
    return QStringLiteral("<image width=\"20\" height=\"20\" xlink:href=\"data:%1;base64,%2\"/>")
        .arg(QLatin1String(type), QLatin1String(bytes.toBase64()));
}

QString repeated(const QString& text, int times) {
    QString all;
    all.reserve(text.size() * times);
    for (int i = 0; i < times; ++i)
        all += text;
    return all;
}

QString loadError(Pictures& pictures, const QString& path, QSize box = {}) {
    try {
        pictures.load(path, box);
    } catch (const PictureError& e) {
        return e.text();
    }
    return {};
}

} // namespace

class TestPictures final : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString bigJpeg;  // 2000 x 2000
    QString wideJpeg; // 2000 x 1000

    QString path(const QString& name) const { return dir.filePath(name); }

    QString saved(const QImage& image, const QString& name, const char* format, int quality = 95) {
        const QString p = path(name);
        if (!image.save(p, format, quality))
            qWarning("could not write %s", qPrintable(p));
        return p;
    }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        bigJpeg = saved(photoLike({2000, 2000}), QStringLiteral("big.jpg"), "JPEG", 90);
        wideJpeg = saved(photoLike({2000, 1000}), QStringLiteral("wide.jpg"), "JPEG", 90);
    }

    void filtersNameEveryTypeOnceAndAllTogetherFirst() {
        QCOMPARE(Pictures::extensions(),
                 QStringList({"jpg", "jpeg", "bmp", "ico", "png", "webp", "svg", "tif", "tiff"}));
        QCOMPARE(
            Pictures::nameFilters(),
            QStringList({QStringLiteral("Todas as imagens (*.jpg *.jpeg *.bmp *.ico *.png "
                                        "*.webp *.svg *.tif *.tiff)"),
                         QStringLiteral("JPEG (*.jpg *.jpeg)"), QStringLiteral("Bitmap (*.bmp)"),
                         QStringLiteral("Ícone (*.ico)"), QStringLiteral("PNG (*.png)"),
                         QStringLiteral("WebP (*.webp)"), QStringLiteral("SVG (*.svg)"),
                         QStringLiteral("TIFF (*.tif *.tiff)")}));
    }

    void decodesEachTypeByExtension_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<int>("tolerance");
        QTest::newRow("jpg") << "a.jpg" << QByteArray("JPEG") << 12;
        QTest::newRow("JPG upper case") << "b.JPG" << QByteArray("JPEG") << 12;
        QTest::newRow("jpeg") << "c.jpeg" << QByteArray("JPEG") << 12;
        QTest::newRow("Jpeg mixed case") << "d.Jpeg" << QByteArray("JPEG") << 12;
        QTest::newRow("bmp") << "e.bmp" << QByteArray("BMP") << 0;
        QTest::newRow("BMP upper case") << "f.BMP" << QByteArray("BMP") << 0;
        QTest::newRow("ico") << "g.ico" << QByteArray("ICO") << 0;
        QTest::newRow("png") << "h.png" << QByteArray("PNG") << 0;
        QTest::newRow("webp") << "i.webp" << QByteArray("WEBP") << 12;
        QTest::newRow("tif") << "j.tif" << QByteArray("TIFF") << 0;
        QTest::newRow("TIFF upper case") << "k.TIFF" << QByteArray("TIFF") << 0;
    }
    void decodesEachTypeByExtension() {
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        QFETCH(int, tolerance);
        const QString file = saved(twoColours(), name, format.constData());
        Pictures pictures;
        const QImage image = pictures.load(file);
        QCOMPARE(image.size(), QSize(64, 32));
        QVERIFY(near(image.pixel(8, 16), left, tolerance));
        QVERIFY(near(image.pixel(56, 16), right, tolerance));
        // Stretched into a box: exactly the box, colours in their halves.
        const QImage boxed = pictures.load(file, {20, 50});
        QCOMPARE(boxed.size(), QSize(20, 50));
        QVERIFY(near(boxed.pixel(2, 25), left, tolerance + 4));
        QVERIFY(near(boxed.pixel(17, 25), right, tolerance + 4));
    }

    void decodesGreyscaleJpeg() {
        QImage grey(16, 16, QImage::Format_Grayscale8);
        grey.fill(100);
        const QString file = saved(grey, QStringLiteral("grey.jpg"), "JPEG");
        const QImage image = Pictures().load(file);
        QVERIFY(near(image.pixel(8, 8), QColor(100, 100, 100), 3));
    }

    void decodesCmykJpeg() {
        const QString convert = QStandardPaths::findExecutable(QStringLiteral("convert"));
        if (convert.isEmpty())
            QSKIP("ImageMagick's convert is not installed");
        const QString source = saved(twoColours(), QStringLiteral("rgb.png"), "PNG");
        const QString file = path(QStringLiteral("cmyk.jpg"));
        QCOMPARE(QProcess::execute(convert,
                                   {source, QStringLiteral("-colorspace"), QStringLiteral("CMYK"),
                                    QStringLiteral("-quality"), QStringLiteral("95"), file}),
                 0);
        const QImage image = Pictures().load(file);
        QVERIFY2(near(image.pixel(8, 16), left, 30), qPrintable(QColor(image.pixel(8, 16)).name()));
        QVERIFY2(near(image.pixel(56, 16), right, 30),
                 qPrintable(QColor(image.pixel(56, 16)).name()));
    }

    void badFilesFailWithMessageNamingTheFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // empty: no file made
        QTest::addColumn<QString>("reason");
        const QByteArray jpeg = [] {
            QByteArray data;
            QBuffer buffer(&data);
            buffer.open(QIODevice::WriteOnly);
            photoLike({256, 256}).save(&buffer, "JPEG", 90);
            return data;
        }();
        QByteArray garbled = jpeg;
        for (qsizetype i = jpeg.size() / 2; i < jpeg.size() / 2 + 64; ++i)
            garbled[i] = char(0xFF - i % 7);
        QByteArray badHeader = jpeg;
        badHeader[0] = 'X';
        const QByteArray bmp = [] {
            QByteArray data;
            QBuffer buffer(&data);
            buffer.open(QIODevice::WriteOnly);
            twoColours().save(&buffer, "BMP");
            return data;
        }();

        const QString damaged = QStringLiteral("danificado ou incompleto");
        const QString limit = QStringLiteral("acima do limite de 100 megapixels");
        row("truncated JPEG", "half.jpg", jpeg.left(jpeg.size() / 2), damaged);
        row("garbage in JPEG data", "garbled.jpg", garbled, damaged);
        row("not a JPEG", "header.jpg", badHeader, damaged);
        row("empty JPEG file", "empty.jpg", QByteArray(""), damaged);
        row("JPEG over 100 megapixels", "huge.jpg", withJpegSize(jpeg, 10001, 10000), limit);
        row("bitmap over 100 megapixels", "huge.bmp", withBmpSize(bmp, 12000, 9000), limit);
        row("damaged bitmap", "bad.bmp", bmp.left(10), "danificado ou ilegível");
        const QByteArray ico = encoded(twoColours({32, 32}), "ICO");
        const QByteArray png = encoded(twoColours(), "PNG");
        const QString cut = QStringLiteral("danificado ou incompleto");
        row("truncated bitmap", "cut.bmp", bmp.left(bmp.size() * 3 / 4), cut);
        row("bitmap cut after its header", "head.bmp", bmp.left(60), cut);
        // Found by fuzzing: a header the reader takes for an old 16-bit one, with a
        // negative height; it once took minutes to decode from 38 bytes.
        row("old-style bitmap header with negative height", "negative.bmp",
            QByteArray::fromBase64("Qk2EtgIAAELHAAAAAAAYAAAAECkDwAEAEAAAAAAQAABGRlwAAAE="), limit);
        row("truncated icon", "cut.ico", ico.left(ico.size() * 3 / 4), cut);
        row("truncated PNG", "cut.png", png.left(png.size() * 3 / 4), "danificado");
        const QByteArray webp = encoded(photoLike({64, 64}), "WEBP");
        const QByteArray tiff = encoded(twoColours(), "TIFF");
        row("truncated WebP", "cut.webp", webp.left(webp.size() / 2), "danificado");
        row("truncated TIFF", "cut.tif", tiff.left(tiff.size() / 2), "danificado");
        row("truncated SVG", "cut.svg", svgDiagonal().left(60), "danificado");
        row("JPEG data under a bitmap name", "photo.bmp", jpeg, "danificado");
        row("unknown extension", "flag.gif", jpeg, "tipo de imagem desconhecido");
        row("no extension", "flag", jpeg, "não tem extensão");
        row("missing file", "missing.jpg", QByteArray(), "arquivo não encontrado");
    }
    void badFilesFailWithMessageNamingTheFile() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        const QString file = path(name);
        if (!content.isNull())
            writeAll(file, content);
        Pictures pictures;
        const QString message = loadError(pictures, file, {57, 57});
        QVERIFY2(message.startsWith(QStringLiteral("Não foi possível carregar a imagem \"") + file +
                                    QStringLiteral("\": ")),
                 qPrintable(message));
        QVERIFY2(message.contains(reason), qPrintable(message));
        QCOMPARE(pictures.cacheSize(), 0);
    }

    void pathsThatAreNoPictureFile_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("expected");
        row("empty path", QString(),
            QStringLiteral("Não foi possível carregar a imagem: nenhum arquivo foi informado."));
        const QString folder = path(QStringLiteral("pasta.jpg"));
        row("directory", folder,
            QStringLiteral("Não foi possível carregar a imagem \"%1\": o "
                           "caminho não é um arquivo.")
                .arg(folder));
        const QString wmf = path(QStringLiteral("logo.WMF"));
        row("metafile", wmf, QStringLiteral("Formato de imagem não suportado: %1").arg(wmf));
        const QString emf = path(QStringLiteral("logo.emf"));
        row("enhanced metafile", emf,
            QStringLiteral("Formato de imagem não suportado: %1").arg(emf));
    }
    void pathsThatAreNoPictureFile() {
        QFETCH(QString, file);
        QFETCH(QString, expected);
        QDir().mkpath(path(QStringLiteral("pasta.jpg")));
        for (const char* name : {"logo.WMF", "logo.emf"})
            writeAll(path(QString::fromLatin1(name)), "metafile");
        Pictures pictures;
        QCOMPARE(loadError(pictures, file), expected);
    }

    void dctScaleIsSmallestThatCoversTheBox_data() {
        QTest::addColumn<bool>("wide");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QSize>("decoded");
        QTest::newRow("badge slot") << false << QSize(57, 57) << QSize(250, 250);
        QTest::newRow("exactly one eighth") << false << QSize(250, 250) << QSize(250, 250);
        QTest::newRow("just over one eighth") << false << QSize(251, 10) << QSize(500, 500);
        QTest::newRow("editor badge") << false << QSize(201, 201) << QSize(250, 250);
        QTest::newRow("three eighths") << false << QSize(700, 600) << QSize(750, 750);
        QTest::newRow("full size") << false << QSize(2000, 2000) << QSize(2000, 2000);
        QTest::newRow("larger than picture") << false << QSize(2500, 100) << QSize(2000, 2000);
        QTest::newRow("no box") << false << QSize() << QSize(2000, 2000);
        QTest::newRow("wide picture, tall box") << true << QSize(100, 200) << QSize(500, 250);
    }
    void dctScaleIsSmallestThatCoversTheBox() {
        QFETCH(bool, wide);
        QFETCH(QSize, box);
        QFETCH(QSize, decoded);
        const QString file = wide ? wideJpeg : bigJpeg;
        QCOMPARE(Pictures::decodeJpeg(file, box).size(), decoded);
        if (!box.isEmpty())
            QCOMPARE(Pictures().load(file, box).size(), box);
    }

    void pictureSizeReadsOnlyTheHeader() {
        QCOMPARE(Pictures::pictureSize(wideJpeg), QSize(2000, 1000));
        const QString huge = path(QStringLiteral("header-only.jpg"));
        writeAll(huge, withJpegSize(readAll(saved(twoColours(), "tiny.jpg", "JPEG")), 9000, 7000));
        QCOMPARE(Pictures::pictureSize(huge), QSize(9000, 7000));
        QCOMPARE(Pictures::pictureSize(saved(twoColours(), "size.bmp", "BMP")), QSize(64, 32));
    }

    // A file beyond the limit is refused on its size alone: a read would take minutes
    // and more memory than the machine has.
    void filesBeyondTheSizeLimitAreRefusedUnread_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("length");
        const qint64 justOver = Pictures::maxFileBytes + 1;
        const qint64 beyondMemory = qint64(1) << 40;
        for (const char* ext : {"jpg", "jpeg", "bmp", "ico", "png"}) {
            const QString name = QStringLiteral("oversized.%1").arg(QLatin1String(ext));
            QTest::newRow(qPrintable(name + " just over")) << name << justOver;
            QTest::newRow(qPrintable(name + " 1 TiB")) << name << beyondMemory;
        }
    }
    void filesBeyondTheSizeLimitAreRefusedUnread() {
        QFETCH(QString, name);
        QFETCH(qint64, length);
        const QString file = path(name);
        sparseFile(file, encoded(twoColours(), "JPEG"), length);
        Pictures pictures;
        for (const auto& attempt :
             std::initializer_list<std::function<void()>>{[&] {
                                                              pictures.load(file, {57, 57});
                                                          },
                                                          [&] {
                                                              pictures.loadFitted(file, {200, 200});
                                                          },
                                                          [&] { Pictures::pictureSize(file); }}) {
            try {
                attempt();
                QFAIL("a file over the limit was accepted");
            } catch (const PictureError& e) {
                QCOMPARE(e.kind(), PictureError::Kind::TooBig);
                QVERIFY2(e.text().contains(QStringLiteral("grande demais")), qPrintable(e.text()));
                QVERIFY2(e.text().contains(QStringLiteral("limite de 100 MB")),
                         qPrintable(e.text()));
            }
        }
        QVERIFY(QFile::remove(file));
    }

    // Qt's readers stop at about 33 megapixels by default and call the picture damaged;
    // below our own limit such a picture loads, above it the refusal says it is too big.
    void largePicturesLoadOrAreCalledTooBig_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("bits"); // of a bitmap
        QTest::addColumn<bool>("loads");
        row("36-megapixel PNG", "large.png", QSize(6000, 6000), 0, true);
        row("36-megapixel 16-bit bitmap", "large.bmp", QSize(6000, 6000), 16, true);
        row("bitmap over the pixel limit, small file", "over.bmp", QSize(11000, 10000), 1, false);
    }
    void largePicturesLoadOrAreCalledTooBig() {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QFETCH(int, bits);
        QFETCH(bool, loads);
        const QString file = path(name);
        if (name.endsWith(QLatin1String(".png"))) {
            QImage image(size, QImage::Format_RGB32);
            image.fill(right);
            QVERIFY(image.save(file, "PNG"));
        } else {
            const int stride = (size.width() * bits + 31) / 32 * 4;
            sparseFile(file, bmpHeader(size.width(), size.height(), bits),
                       54 + qint64(stride) * size.height());
        }
        Pictures pictures;
        try {
            const QImage image = pictures.load(file, {57, 57});
            QVERIFY(loads);
            QCOMPARE(image.size(), QSize(57, 57));
        } catch (const PictureError& e) {
            QVERIFY2(!loads, qPrintable(e.text()));
            QCOMPARE(e.kind(), PictureError::Kind::TooBig);
            QVERIFY2(e.text().contains(QStringLiteral("grande demais")), qPrintable(e.text()));
        }
        QVERIFY(QFile::remove(file));
    }

    // Vector badges are drawn at the size they are shown, not scaled up from their
    // declared size: the diagonal stays sharp in a box twenty times larger.
    void svgIsDrawnAtTheBoxSize() {
        const QString file = path(QStringLiteral("diagonal.svg"));
        writeAll(file, svgDiagonal());
        Pictures pictures;
        QCOMPARE(pictures.load(file).size(), QSize(10, 10));
        const QImage big = pictures.load(file, {200, 200});
        QCOMPARE(big.size(), QSize(200, 200));
        QVERIFY(near(big.pixel(100, 106), left, 8));
        QVERIFY(near(big.pixel(106, 100), right, 8));
        QCOMPARE(Pictures::pictureSize(file), QSize(10, 10));
        // Declared larger than the pane: drawn straight at the fitted size.
        const QString large = path(QStringLiteral("large.svg"));
        writeAll(large, svgDiagonal(2000, 2000));
        const QImage fitted = pictures.loadFitted(large, {200, 100});
        QCOMPARE(fitted.size(), QSize(100, 100));
        QVERIFY(near(fitted.pixel(50, 53), left, 8));
        // No usable size: refused, or drawn in the pane, never an empty picture.
        const QString sizeless = path(QStringLiteral("sizeless.svg"));
        writeAll(sizeless, "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"d2\"/>");
        try {
            const QImage shown = pictures.loadFitted(sizeless, {200, 200});
            QVERIFY(!shown.isNull());
        } catch (const PictureError& e) {
            QVERIFY2(e.text().contains(QStringLiteral("danificado")), qPrintable(e.text()));
        }
        // At its own declared size, the pixel limit holds as for any picture.
        const QString huge = path(QStringLiteral("huge.svg"));
        writeAll(huge, svgDiagonal(20000, 20000));
        QVERIFY(loadError(pictures, huge).contains(QStringLiteral("grande demais")));
    }

    // An SVG is drawn only from what its own file holds. A reference to another file, or
    // to itself (which once recursed until the program died), is refused before Qt's
    // reader sees the file, and embedded pictures count against the pixel limit before
    // they are decoded. "@DIR@" stands for the test folder.
    void svgReferencesAreRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("tooBig");
        const QString image =
            QStringLiteral("<image width=\"20\" height=\"20\" xlink:href=\"%1\"/>");
        const QString rect = QStringLiteral("<rect width=\"9\" height=\"9\"/>");
        const QByteArray bmp = encoded(twoColours(), "BMP");
        const QByteArray jpeg = encoded(twoColours(), "JPEG");
        row("image naming the SVG itself", "self.svg", svgWith(image.arg("self.svg")), false);
        row("two SVGs naming each other", "pair-a.svg", svgWith(image.arg("pair-b.svg")), false);
        row("picture by absolute path", "absolute.svg", svgWith(image.arg("@DIR@/outside.png")),
            false);
        row("picture in the folder above", "sub/up.svg", svgWith(image.arg("../outside.png")),
            false);
        row("picture by file: URL", "url.svg", svgWith(image.arg("file://@DIR@/outside.png")),
            false);
        row("picture by a plain href", "plain.svg",
            svgWith("<image width=\"20\" height=\"20\" href=\"outside.png\"/>"), false);
        // Qt's reader takes an image's "#name" for a file name.
        row("picture named like a part of the file", "fragment.svg", svgWith(image.arg("#x")),
            false);
        row("use of another file", "use.svg", svgWith("<use xlink:href=\"pair-b.svg#a\"/>"), false);
        row("fill from another file", "fill.svg",
            svgWith("<rect width=\"9\" height=\"9\" style=\"fill: url('pair-b.svg#g')\"/>"), false);
        row("style sheet named by an instruction", "sheet.svg",
            svgWith(rect, "<?xml-stylesheet type=\"text/css\" href=\"@DIR@/style.css\"?>"), false);
        row("style sheet imported", "import.svg",
            svgWith("<style>@import url(style.css);</style>" + rect), false);
        row("entity read from a file", "entity.svg",
            svgWith("<text>&e;</text>", "<!DOCTYPE svg [<!ENTITY e SYSTEM \"@DIR@/style.css\">]>"),
            false);
        row("embedded SVG naming itself", "nested.svg",
            svgWith(embedded(svgWith(image.arg("nested.svg")), "image/svg+xml")), false);
        row("embedded picture over the pixel limit", "huge-data.svg",
            svgWith(embedded(withBmpSize(bmp, 12000, 9000), "image/bmp")), true);
        // Each within the limit, together beyond it: they would all be decoded at once.
        row("embedded pictures together over the pixel limit", "many-data.svg",
            svgWith(repeated(embedded(withJpegSize(jpeg, 4000, 4000), "image/jpeg"), 7)), true);
        row("a million elements", "elements.svg", svgWith(repeated("<g/>", 1'000'000)), true);
        row("elements nested ten thousand deep", "deep.svg",
            svgWith(repeated("<g>", 10'000) + repeated("</g>", 10'000)), false);
        // 120 KB of references to 4,000 characters: 120 million characters of text.
        row("entities expanding beyond the file limit", "expand.svg",
            svgWith("<text>" + repeated("&e;", 30'000) + "</text>",
                    "<!DOCTYPE svg [<!ENTITY e \"" + QString(4000, u'x') + "\">]>"),
            true);
    }
    void svgReferencesAreRefused() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(bool, tooBig);
        const QByteArray folder = QFile::encodeName(dir.path());
        QVERIFY(QDir().mkpath(path(QStringLiteral("sub"))));
        writeAll(path(QStringLiteral("outside.png")), encoded(twoColours(), "PNG"));
        writeAll(path(QStringLiteral("style.css")), "rect { fill: #1e3cd2 }");
        writeAll(path(QStringLiteral("pair-b.svg")),
                 svgWith("<g id=\"a\"><image width=\"20\" height=\"20\" "
                         "xlink:href=\"pair-a.svg\"/></g>"));
        const QString file = path(name);
        writeAll(file, content.replace("@DIR@", folder));
        Pictures pictures;
        for (const auto& attempt :
             std::initializer_list<std::function<void()>>{[&] {
                                                              pictures.load(file, {57, 57});
                                                          },
                                                          [&] {
                                                              pictures.loadFitted(file, {200, 200});
                                                          },
                                                          [&] { Pictures::pictureSize(file); }}) {
            try {
                attempt();
                QFAIL("an SVG reaching beyond itself was accepted");
            } catch (const PictureError& e) {
                QVERIFY2(
                    e.text().startsWith(QStringLiteral("Não foi possível carregar a imagem \"") +
                                        file + QStringLiteral("\": ")),
                    qPrintable(e.text()));
                QCOMPARE(e.kind(),
                         tooBig ? PictureError::Kind::TooBig : PictureError::Kind::Damaged);
                QVERIFY2(e.text().contains(tooBig ? QStringLiteral("grande demais")
                                                  : QStringLiteral("SVG")),
                         qPrintable(e.text()));
            }
        }
        QCOMPARE(pictures.cacheSize(), 0);
    }

    // What stays inside the file is drawn: parts used again, gradients, pictures embedded
    // within the limit, entities that stand for short text, links nothing is drawn from.
    void svgDrawnFromItsOwnParts_data() {
        QTest::addColumn<QByteArray>("content");
        const QString half =
            QStringLiteral("<rect id=\"h\" width=\"10\" height=\"20\" fill=\"%1\"/>")
                .arg(left.name());
        const QString right20 =
            QStringLiteral("<rect x=\"10\" width=\"10\" height=\"20\" fill=\"%1\"/>")
                .arg(right.name());
        row("part used again",
            svgWith("<defs>" + half + "</defs><use xlink:href=\"#h\"/>" + right20));
        row("gradient from another gradient",
            svgWith(QStringLiteral("<defs><linearGradient id=\"a\"><stop offset=\"0\" "
                                   "stop-color=\"%1\"/></linearGradient><linearGradient id=\"b\" "
                                   "xlink:href=\"#a\"/></defs><rect width=\"10\" height=\"20\" "
                                   "style=\"fill: url(#b)\"/>")
                        .arg(left.name()) +
                    right20));
        row("embedded picture", svgWith(embedded(encoded(twoColours({20, 20}), "PNG"))));
        row("hyperlink to a web page",
            svgWith("<a xlink:href=\"https://example.org/clube\">" + half + "</a>" + right20));
        row("entity for the namespace",
            QStringLiteral("<!DOCTYPE svg [<!ENTITY ns \"http://www.w3.org/2000/svg\">]>"
                           "<svg xmlns=\"&ns;\" width=\"20\" height=\"20\">%1%2</svg>")
                .arg(half, right20)
                .toUtf8());
    }
    void svgDrawnFromItsOwnParts() {
        QFETCH(QByteArray, content);
        const QString file = path(QStringLiteral("own.svg"));
        writeAll(file, content);
        Pictures pictures;
        const QImage image = pictures.load(file, {40, 40});
        QCOMPARE(image.size(), QSize(40, 40));
        QVERIFY2(near(image.pixel(5, 20), left), qPrintable(QColor(image.pixel(5, 20)).name()));
        QVERIFY2(near(image.pixel(35, 20), right), qPrintable(QColor(image.pixel(35, 20)).name()));
        QCOMPARE(Pictures::pictureSize(file), QSize(20, 20));
    }

    // Photos of real badges carry the camera's orientation; the picture is shown upright.
    void jpegExifOrientationIsHonoured_data() {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("shown");
        QTest::addColumn<QPoint>("redAt"); // where the picture's left half ends up
        QTest::newRow("as stored") << 1 << QSize(64, 32) << QPoint(8, 16);
        QTest::newRow("mirrored") << 2 << QSize(64, 32) << QPoint(56, 16);
        QTest::newRow("upside down") << 3 << QSize(64, 32) << QPoint(56, 16);
        QTest::newRow("flipped") << 4 << QSize(64, 32) << QPoint(8, 16);
        QTest::newRow("transposed") << 5 << QSize(32, 64) << QPoint(16, 8);
        QTest::newRow("quarter clockwise") << 6 << QSize(32, 64) << QPoint(16, 8);
        QTest::newRow("transverse") << 7 << QSize(32, 64) << QPoint(16, 56);
        QTest::newRow("quarter anticlockwise") << 8 << QSize(32, 64) << QPoint(16, 56);
    }
    void jpegExifOrientationIsHonoured() {
        QFETCH(int, orientation);
        QFETCH(QSize, shown);
        QFETCH(QPoint, redAt);
        const QString file = path(QStringLiteral("turned%1.jpg").arg(orientation));
        writeAll(file, withOrientation(encoded(twoColours(), "JPEG"), orientation));
        Pictures pictures;
        const QImage image = pictures.load(file);
        QCOMPARE(image.size(), shown);
        QVERIFY(near(image.pixel(redAt), left));
        QCOMPARE(Pictures::pictureSize(file), shown);
        QCOMPARE(pictures.loadFitted(file, {16, 16}).size(),
                 shown.scaled(16, 16, Qt::KeepAspectRatio));
    }

    void fittedKeepsAspectRatio() {
        Pictures pictures;
        QCOMPARE(pictures.loadFitted(wideJpeg, {200, 200}).size(), QSize(200, 100));
        const QString small = saved(twoColours(), QStringLiteral("small.png"), "PNG");
        QCOMPARE(pictures.loadFitted(small, {200, 200}).size(), QSize(64, 32));
    }

    void cacheServesUnchangedFileOnly() {
        const QString file = saved(twoColours(), QStringLiteral("cached.jpg"), "JPEG");
        Pictures pictures;
        pictures.load(file, {30, 30});
        pictures.load(file, {30, 30});
        QCOMPARE(pictures.decodeCount(), 1);
        QCOMPARE(pictures.cacheSize(), 1);
        pictures.load(file, {31, 30}); // another box is another picture
        QCOMPARE(pictures.decodeCount(), 2);

        // Same name, other content: decoded again and the new colours shown.
        QImage swapped = twoColours().mirrored(true, false);
        QVERIFY(swapped.save(file, "JPEG", 95));
        QFile touched(file);
        QVERIFY(touched.open(QIODevice::ReadWrite));
        QVERIFY(touched.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                    QFileDevice::FileModificationTime));
        touched.close();
        const QImage fresh = pictures.load(file, {30, 30});
        QCOMPARE(pictures.decodeCount(), 3);
        QVERIFY(near(fresh.pixel(3, 15), right, 16));

        // Gone from disk: never served from the cache.
        QVERIFY(QFile::remove(file));
        QVERIFY(loadError(pictures, file, {30, 30}).contains(QStringLiteral("não encontrado")));
        QCOMPARE(pictures.decodeCount(), 3);
    }

    void sameSizeRewriteWithinTheSecondIsSeen() {
        const QString file = path(QStringLiteral("subsecond.bmp"));
        QVERIFY(twoColours().save(file, "BMP"));
        Pictures pictures;
        QVERIFY(near(pictures.load(file).pixel(8, 16), left, 0));
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadWrite));
        const QDateTime first = f.fileTime(QFileDevice::FileModificationTime);
        f.close();
        QVERIFY(twoColours().mirrored(true, false).save(file, "BMP")); // same size in bytes
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(first.addMSecs(1), QFileDevice::FileModificationTime));
        f.close();
        QVERIFY(near(pictures.load(file).pixel(8, 16), right, 0));
        QCOMPARE(pictures.decodeCount(), 2);
    }

    void compiledInPicturesLoadAndCache() {
        const QString icon = QStringLiteral(":/qt-project.org/styles/commonstyle/images/up-16.png");
        Pictures pictures;
        QCOMPARE(pictures.load(icon).size(), QSize(16, 16));
        QCOMPARE(pictures.load(icon).size(), QSize(16, 16));
        QCOMPARE(pictures.decodeCount(), 1);
        const QString missing = QStringLiteral(":/velmora/nenhuma.jpg");
        QVERIFY(loadError(pictures, missing).contains(QStringLiteral("arquivo não encontrado")));
    }

    void cacheStaysWithinItsLimit() {
        Pictures pictures;
        pictures.setCacheLimit(3 * 100 * 100 * 4);
        for (int side = 100; side < 106; ++side)
            pictures.load(bigJpeg, {side, 100});
        QVERIFY(pictures.cacheBytes() <= 3 * 100 * 100 * 4);
        QVERIFY(pictures.cacheSize() >= 2);
        // The most recent survive, the oldest went.
        pictures.load(bigJpeg, {105, 100});
        QCOMPARE(pictures.decodeCount(), 6);
        pictures.load(bigJpeg, {100, 100});
        QCOMPARE(pictures.decodeCount(), 7);
        pictures.clearCache();
        QCOMPARE(pictures.cacheSize(), 0);
        QCOMPARE(pictures.cacheBytes(), 0);
    }

    void pictureBoxStretchedOrOwnSize() {
        const QString file = saved(twoColours(), QStringLiteral("box.png"), "PNG");
        Pictures pictures;
        QLabel box;
        box.setGeometry(0, 0, 40, 30);
        showPicture(pictures, &box, file, true);
        QCOMPARE(box.pixmap().size(), QSize(40, 30));
        // Own size is kept when it fits; a larger picture shrinks, proportions kept.
        box.setGeometry(0, 0, 80, 40);
        showPicture(pictures, &box, file, false);
        QCOMPARE(box.pixmap().size(), QSize(64, 32));
        QCOMPARE(box.alignment(), Qt::AlignLeft | Qt::AlignTop);
        box.setGeometry(0, 0, 40, 30);
        showPicture(pictures, &box, file, false);
        QCOMPARE(box.pixmap().size(), QSize(40, 20));
        clearPicture(&box);
        QVERIFY(box.pixmap().isNull());
    }

    void failedLoadKeepsTheOldPicture() {
        const QString file = saved(twoColours(), QStringLiteral("keep.bmp"), "BMP");
        Pictures pictures;
        QLabel box;
        box.setGeometry(0, 0, 40, 30);
        showPicture(pictures, &box, file, true);
        const QImage before = box.pixmap().toImage();
        QVERIFY_THROWS_EXCEPTION(PictureError, showPicture(pictures, &box, path("none.jpg")));
        QCOMPARE(box.pixmap().toImage(), before);
    }
};

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
