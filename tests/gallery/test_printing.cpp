// "Imprimir" on the gallery page, for real: a private CUPS scheduler with the PDF queue,
// the printed page read back as pixels. Also the page's error when there is no printer.
#include "gallery/MenuGalleries.h"
#include "platform/Printing.h"
#include "tests/gallery/GalleryTest.h"
#include "tests/support/CupsFixture.h"

#include <QPrinterInfo>
#include <QtTest>

using namespace velmora;
using velmora::test::AppFixture;
using velmora::test::CupsFixture;
using velmora::test::TestStore;

namespace {

// An application that prints on the real default printer.
struct PagePrinting : AppFixture {
    PagePrinting() { realPrinter = true; }

    TFrmRelatorios& filledPage() {
        for (int i = 1; i <= 3; ++i)
            store.add(i, QStringLiteral("Clube%1").arg(i));
        start().runMenuGallery(MenuGallery::TodosOsClubes);
        return *app().FrmRelatorios;
    }
};

// Mean colour of a rectangle of an image.
int darkPixels(const QImage& image, const QRect& rect) {
    int dark = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (image.rect().contains(x, y) && qGray(image.pixel(x, y)) < 80)
                ++dark;
    return dark;
}

} // namespace

class TestGalleryPrinting final : public QObject {
    Q_OBJECT

    CupsFixture cups; // before any CUPS call of this process

private slots:
    // Runs before the scheduler starts: CUPS knows no printer. The user is asked
    // whether to keep the page as a PDF instead; No leaves everything as it was.
    void noPrinterOffersAPdfInstead() {
        QVERIFY(QPrinterInfo::defaultPrinter().isNull());
        PagePrinting p;
        TFrmRelatorios& page = p.filledPage();
        page.Imprimir1->trigger();
        const auto& shown = p.dialogs.shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QStringLiteral("Velmora"));
        QCOMPARE(shown[0].icon, MsgIcon::Question);
        QCOMPARE(shown[0].buttons, MsgButtons::YesNo);
        QVERIFY(shown[0].text.contains(QStringLiteral("impressora")));
        QVERIFY(page.isVisible()); // the page goes on
    }

    void printsTheFilledPageOnOnePdfPage() {
        const QString why = cups.start();
        if (!why.isEmpty())
            QSKIP(qPrintable(why));
        QCOMPARE(QPrinterInfo::defaultPrinter().printerName(), QStringLiteral("PDF"));

        PagePrinting p;
        TFrmRelatorios& page = p.filledPage();
        const QImage screen = page.client()->grab().toImage();
        const CupsFixture::Snapshot before = CupsFixture::pdfs();
        page.Imprimir1->trigger();
        QVERIFY2(p.dialogs.shown().isEmpty(),
                 qPrintable(p.dialogs.messages().join(QLatin1Char('\n'))));

        const QString pdf = cups.awaitPdf(before);
        QVERIFY2(!pdf.isEmpty(),
                 qPrintable(QStringLiteral("no PDF arrived; log: %1").arg(cups.errorLog())));
        QCOMPARE(CupsFixture::pageCount(pdf), 1);

        const CupsFixture::PrintedPage printed =
            cups.renderPrinted(pdf, page.client(), Printing::marginMm);
        const QImage& rendered = printed.image;
        QVERIFY(!rendered.isNull());
        const auto onPage = [&](const QRect& r) { return printed.onPage(r); };

        // The title is there, dark, where the window shows it.
        const QRect title = page.LblTitulo->geometry();
        const int screenDark = darkPixels(screen, title);
        QVERIFY(screenDark > 50);
        QVERIFY2(darkPixels(rendered, onPage(title)) > screenDark / 2,
                 qPrintable(QStringLiteral("%1 dark title pixels on screen, %2 printed")
                                .arg(screenDark)
                                .arg(darkPixels(rendered, onPage(title)))));
        // The page's words are drawn as text, in a font, not as a picture of them.
        QVERIFY(!CupsFixture::fonts(pdf).isEmpty());
        // Badges, flags and the background keep their colours in their places.
        for (QWidget* w : QList<QWidget*>{page.slot(1).ImgClube, page.slot(2).ImgClube,
                                          page.slot(3).ImgBandClube, page.slot(9).ImgClube}) {
            const QRect inner = w->geometry().adjusted(6, 6, -6, -6);
            const QColor shown = CupsFixture::meanColour(screen, inner);
            const QColor printed = CupsFixture::meanColour(rendered, onPage(inner));
            QVERIFY2(CupsFixture::near(shown, printed, 40),
                     qPrintable(QStringLiteral("%1: %2 on screen, %3 printed")
                                    .arg(w->objectName(), shown.name(), printed.name())));
        }
    }
};

QTEST_MAIN(TestGalleryPrinting)
#include "test_printing.moc"
