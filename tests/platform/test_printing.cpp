// Printing for real: a private CUPS scheduler with the PDF queue, and a page saved as a
// PDF, both read back (pixels, text, page size, pictures). Also the no-printer error and
// the client area that a window prints.
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/PictureBox.h"
#include "platform/Printing.h"
#include "tests/support/CupsFixture.h"
#include "tests/support/Doubles.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using velmora::test::CupsFixture;

namespace {

// Records which widget it was asked to print and the job's title.
class CapturingPrinting final : public Printing {
public:
    void printArea(QWidget* area, const QString& title) override {
        printed = area->grab().toImage();
        printedArea = area;
        printedTitle = title;
    }
    QImage printed;
    QWidget* printedArea = nullptr;
    QString printedTitle;
};

const QColor blockColour(20, 40, 200);
const QColor paperColour(225, 235, 190); // the window's own background, not white
const QString words = QStringLiteral("Relação Ímpar de Clubes");

bool isBlock(QRgb p) {
    return qAbs(qRed(p) - blockColour.red()) < 40 && qAbs(qGreen(p) - blockColour.green()) < 40 &&
           qAbs(qBlue(p) - blockColour.blue()) < 40;
}

void fill(QWidget* w, const QColor& colour) {
    w->setAutoFillBackground(true);
    QPalette palette = w->palette();
    palette.setColor(QPalette::Window, colour);
    w->setPalette(palette);
}

// A window's client area as the program's windows are made: a coloured background,
// a block, a line of text and a stretched picture box showing a large picture.
struct TestWindow {
    QTemporaryDir dir;
    QWidget client;
    QLabel* block = new QLabel(&client);
    QLabel* caption = new QLabel(words, &client);
    QLabel* picture = new PictureBox(&client);
    QSize ownPictureSize{900, 600};

    explicit TestWindow(QSize size) {
        client.setFixedSize(size);
        fill(&client, paperColour);
        block->setGeometry(QRect(QPoint(size.width() / 4, size.height() / 4), size / 5));
        fill(block, blockColour);
        caption->setGeometry(10, size.height() - 40, size.width() - 20, 30);
        picture->setGeometry(size.width() / 2, 10, 60, 40);
        QImage big(ownPictureSize, QImage::Format_RGB32);
        big.fill(Qt::darkGreen);
        const QString file = dir.filePath(QStringLiteral("escudo.png"));
        big.save(file);
        Pictures pictures;
        showPicture(pictures, picture, file);
    }
};

// The bounding box of what is not white on a page.
QRect inked(const QImage& page) {
    QRect box;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 245)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class TestPrinting final : public QObject {
    Q_OBJECT

    // Points this process's CUPS calls at its own socket, dead until start().
    CupsFixture cups;
    QString skipReason; // why no scheduler could start here

    // The PDF a page became: printed on the queue, or saved.
    QString produce(bool printer, TestWindow& window, const QString& title) {
        if (!printer) {
            const QString pdf = window.dir.filePath(QStringLiteral("página.pdf"));
            RecordingPrinting().savePdf(&window.client, title, pdf);
            return pdf;
        }
        if (skipReason.isNull() && !cups.running())
            skipReason = cups.start();
        if (!skipReason.isEmpty())
            return {};
        const CupsFixture::Snapshot before = CupsFixture::pdfs();
        QtPrinting().printArea(&window.client, title);
        return cups.awaitPdf(before);
    }

private slots:
    void printWindowGrabsTheClientAreaOnly() {
        QMainWindow window;
        window.menuBar()->addMenu(QStringLiteral("Arquivo"));
        window.setWindowTitle(QStringLiteral("Ficha"));
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
        printing.printWindow(&window, dialogs, QStringLiteral("Flamengo"));
        QCOMPARE(printing.printedArea, client);
        QCOMPARE(printing.printed.size(), QSize(300, 200));
        QCOMPARE(QColor(printing.printed.pixel(2, 2)), QColor(Qt::yellow));
        QVERIFY(isBlock(printing.printed.pixel(15, 15)));
        QCOMPARE(printing.printedTitle, QStringLiteral("Ficha - Flamengo"));
    }

    // Runs before any scheduler exists: the socket CUPS is told to use is dead.
    void noPrinterIsAClearError() {
        QVERIFY(QPrinterInfo::defaultPrinter().isNull());
        QtPrinting printing;
        TestWindow window({200, 100});
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 printing.printArea(&window.client, QStringLiteral("x")));
        try {
            printing.printArea(&window.client, QStringLiteral("x"));
        } catch (const std::runtime_error& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral("Nenhuma impressora disponível para imprimir."));
        }
    }

    // On paper and in a saved PDF alike: one A4 page turned as the window is, the
    // window as large as fits inside the margins with its proportions kept, its text
    // as text and its picture finer than on the screen.
    void pageFitsInsideTheMarginsAsVectors_data() {
        QTest::addColumn<bool>("printer");
        QTest::addColumn<QSize>("windowSize");
        QTest::newRow("printed, wide window") << true << QSize(800, 500);
        QTest::newRow("printed, tall window") << true << QSize(300, 600);
        QTest::newRow("saved, wide window") << false << QSize(800, 500);
        QTest::newRow("saved, tall window") << false << QSize(420, 560);
    }
    void pageFitsInsideTheMarginsAsVectors() {
        QFETCH(bool, printer);
        QFETCH(QSize, windowSize);
        for (const char* tool : {"pdfinfo", "pdftoppm", "pdftotext", "pdfimages"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP("poppler-utils is not installed");
        TestWindow window(windowSize);
        const QPixmap screenPicture = window.picture->pixmap();
        const QString pdf = produce(printer, window, QStringLiteral("Página de teste"));
        if (!skipReason.isEmpty())
            QSKIP(qPrintable(skipReason));
        QVERIFY2(!pdf.isEmpty(),
                 qPrintable(QStringLiteral("no PDF arrived; log: %1").arg(cups.errorLog())));
        QCOMPARE(CupsFixture::pageCount(pdf), 1);
        // The window's picture is the screen's again once the page is drawn.
        QCOMPARE(window.picture->pixmap().cacheKey(), screenPicture.cacheKey());

        // A4 (595 x 842 points), turned as the window is; the printer's paper stays
        // upright and carries a wide page turned.
        const QSizeF page = CupsFixture::pageSize(pdf);
        const bool wide = windowSize.width() > windowSize.height();
        QVERIFY2(qAbs(std::min(page.width(), page.height()) - 595.3) < 2 &&
                     qAbs(std::max(page.width(), page.height()) - 841.9) < 2,
                 qPrintable(QStringLiteral("%1 x %2").arg(page.width()).arg(page.height())));
        const bool turned = (page.width() > page.height()) != wide;
        QVERIFY(printer || !turned);

        // The text is text: a font in the file, and in a saved page the words themselves
        // (the printer's own PDF writer keeps the glyphs but not what they spell).
        QVERIFY(!CupsFixture::fonts(pdf).isEmpty());
        if (!printer)
            QVERIFY2(CupsFixture::text(pdf).simplified().contains(words),
                     qPrintable(CupsFixture::text(pdf)));

        // Rendered at 50 dpi: the window's background marks where it lies.
        const double dpi = 50;
        const QImage rendered = cups.render(pdf, dpi);
        QVERIFY(!rendered.isNull());
        const QRect placed = inked(rendered);
        const double margin = Printing::marginMm / 25.4 * dpi;
        const QRectF printable = QRectF(rendered.rect()).adjusted(margin, margin, -margin, -margin);
        QVERIFY2(printable.adjusted(-1, -1, 1, 1).contains(QRectF(placed)),
                 qPrintable(QStringLiteral("window at %1,%2 %3x%4 on a %5x%6 page")
                                .arg(placed.x())
                                .arg(placed.y())
                                .arg(placed.width())
                                .arg(placed.height())
                                .arg(rendered.width())
                                .arg(rendered.height())));
        // As large as fits: it meets both margins across or both margins down.
        QVERIFY(qAbs(placed.width() - printable.width()) <= 2 ||
                qAbs(placed.height() - printable.height()) <= 2);
        const QSize upright = turned ? windowSize.transposed() : windowSize;
        const double shape = double(placed.width()) / placed.height();
        const double windowShape = double(upright.width()) / upright.height();
        QVERIFY2(qAbs(shape / windowShape - 1) < 0.02,
                 qPrintable(QStringLiteral("%1 against %2").arg(shape).arg(windowShape)));
        // The block where the window has it.
        if (!turned) {
            const double scale = double(placed.width()) / windowSize.width();
            const QPointF centre =
                QPointF(placed.topLeft()) + QPointF(window.block->geometry().center()) * scale;
            QVERIFY(isBlock(rendered.pixel(centre.toPoint())));
        }

        // The picture is finer than on the screen (60 x 40 pixels there), and no finer
        // than its own pixels.
        const QList<QSize> pictures = CupsFixture::pictureSizes(pdf);
        const auto finest =
            std::max_element(pictures.begin(), pictures.end(),
                             [](const QSize& a, const QSize& b) { return a.width() < b.width(); });
        QVERIFY(finest != pictures.end());
        QVERIFY2(finest->width() >= 3 * window.picture->width() &&
                     finest->width() <= window.ownPictureSize.width(),
                 qPrintable(QStringLiteral("%1 x %2").arg(finest->width()).arg(finest->height())));
    }
};

QTEST_MAIN(TestPrinting)
#include "test_printing.moc"
