// Printing for real: a private CUPS scheduler with the PDF queue, the page read
// back as pixels. Also the no-printer error and the grab of a window's client area.
#include "platform/Dialogs.h"
#include "platform/Printing.h"
#include "tests/support/CupsFixture.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTest>

using namespace velmora;
using velmora::test::CupsFixture;

namespace {

// Records the grab and the resolution it was printed for.
class CapturingPrinting final : public Printing {
public:
    void printImage(const QImage& image, double dpiX, double dpiY) override {
        printed = image;
        windowDpi = {dpiX, dpiY};
    }
    QImage printed;
    QPointF windowDpi;
};

const QColor blockColour(20, 40, 200);
const QRect block(60, 30, 48, 24); // window pixels

QImage testWindowImage() {
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter(&image).fillRect(block, blockColour);
    return image;
}

bool isBlock(QRgb p) {
    return qAbs(qRed(p) - blockColour.red()) < 40 && qAbs(qGreen(p) - blockColour.green()) < 40 &&
           qAbs(qBlue(p) - blockColour.blue()) < 40;
}

} // namespace

class TestPrinting final : public QObject {
    Q_OBJECT

    // Points this process's CUPS calls at its own socket, dead until start().
    CupsFixture cups;
    QString skipReason; // why no scheduler could start here

private slots:
    void printWindowGrabsTheClientAreaOnly() {
        QMainWindow window;
        window.menuBar()->addMenu(QStringLiteral("Arquivo"));
        auto* client = new QWidget(&window);
        client->setFixedSize(300, 200);
        client->setAutoFillBackground(true);
        QPalette palette = client->palette();
        palette.setColor(QPalette::Window, Qt::yellow);
        client->setPalette(palette);
        auto* label = new QLabel(client);
        label->setGeometry(10, 10, 20, 20);
        label->setAutoFillBackground(true);
        palette.setColor(QPalette::Window, blockColour);
        label->setPalette(palette);
        window.setCentralWidget(client);
        window.show();
        CapturingPrinting printing;
        ScriptedDialogs dialogs;
        printing.printWindow(&window, dialogs);
        QCOMPARE(printing.printed.size(), QSize(300, 200));
        QCOMPARE(QColor(printing.printed.pixel(2, 2)), QColor(Qt::yellow));
        QVERIFY(isBlock(printing.printed.pixel(15, 15)));
        QCOMPARE(printing.windowDpi, QPointF(client->logicalDpiX(), client->logicalDpiY()));
    }

    // Runs before any scheduler exists: the socket CUPS is told to use is dead.
    void noPrinterIsAClearError() {
        QVERIFY(QPrinterInfo::defaultPrinter().isNull());
        QtPrinting printing;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 printing.printImage(testWindowImage(), 96, 96));
        try {
            printing.printImage(testWindowImage(), 96, 96);
        } catch (const std::runtime_error& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral("Nenhuma impressora disponível para imprimir."));
        }
    }

    void printsOnePageScaledByPrinterOverWindowResolution_data() {
        QTest::addColumn<double>("dpiX");
        QTest::addColumn<double>("dpiY");
        QTest::newRow("96 dpi window") << 96.0 << 96.0;
        QTest::newRow("unequal axes") << 96.0 << 48.0;
    }
    void printsOnePageScaledByPrinterOverWindowResolution() {
        QFETCH(double, dpiX);
        QFETCH(double, dpiY);
        if (skipReason.isNull() && !cups.running())
            skipReason = cups.start();
        if (!skipReason.isEmpty())
            QSKIP(qPrintable(skipReason));

        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        QCOMPARE(info.printerName(), QStringLiteral("PDF"));
        const CupsFixture::Snapshot before = CupsFixture::pdfs();
        QtPrinting().printImage(testWindowImage(), dpiX, dpiY);
        const QString pdf = cups.awaitPdf(before);
        QVERIFY2(!pdf.isEmpty(),
                 qPrintable(QStringLiteral("no PDF arrived; log: %1").arg(cups.errorLog())));
        QCOMPARE(CupsFixture::pageCount(pdf), 1);

        // Rendered at the window's horizontal resolution, one window pixel is one
        // page pixel across, and dpiX / dpiY page pixels down.
        const int render = int(dpiX);
        const QImage page = cups.render(pdf, render);
        QVERIFY(!page.isNull());

        const QPrinter printer(info, QPrinter::HighResolution);
        const QPointF origin = printer.pageLayout().paintRect(QPageLayout::Inch).topLeft() * render;
        const double sy = dpiX / dpiY;
        const QRectF expected(origin.x() + block.x(), origin.y() + block.y() * sy, block.width(),
                              block.height() * sy);
        const auto pixel = [&](double x, double y) { return page.pixel(int(x), int(y)); };
        QVERIFY(isBlock(pixel(expected.center().x(), expected.center().y())));
        QVERIFY(isBlock(pixel(expected.left() + 2, expected.top() + 2)));
        QVERIFY(isBlock(pixel(expected.right() - 2, expected.bottom() - 2)));
        for (const QPointF outside : {QPointF(expected.left() - 3, expected.center().y()),
                                      QPointF(expected.right() + 3, expected.center().y()),
                                      QPointF(expected.center().x(), expected.top() - 3),
                                      QPointF(expected.center().x(), expected.bottom() + 3)})
            QVERIFY2(
                !isBlock(pixel(outside.x(), outside.y())),
                qPrintable(
                    QStringLiteral("block spills to %1,%2").arg(outside.x()).arg(outside.y())));
    }
};

QTEST_MAIN(TestPrinting)
#include "test_printing.moc"
