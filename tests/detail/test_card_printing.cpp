// "Imprimir" on the detail card, for real: a private CUPS scheduler with the PDF queue,
// the printed page read back as pixels; and the card's error when there is no printer.
#include "platform/Printing.h"
#include "tests/detail/CardHelpers.h"
#include "tests/support/CupsFixture.h"

#include <QFileInfo>
#include <QPrinterInfo>

using namespace velmora;
using namespace velmora::test;

namespace {

// An application that prints on the real default printer, its card open.
struct CardPrinting : AppFixture {
    CardPrinting() { realPrinter = true; }

    TFrmClubeSelecionado* openedCard() {
        store.add(1, QStringLiteral("Paulista"), QStringLiteral("Brasil"), QStringLiteral("SP"));
        if (!openCard(start(), QStringLiteral("Paulista")))
            return nullptr;
        return app().FrmClubeSelecionado.get();
    }
};

} // namespace

class TestCardPrinting final : public QObject {
    Q_OBJECT

    CupsFixture cups; // before any CUPS call of this process

private slots:
    // Runs before the scheduler starts: CUPS knows no printer. The user is offered
    // a PDF named after the card's caption (here cancelled: nothing is written).
    void noPrinterOffersAPdfNamedAfterTheCard() {
        QVERIFY(QPrinterInfo::defaultPrinter().isNull());
        CardPrinting p;
        TFrmClubeSelecionado* card = p.openedCard();
        QVERIFY(card);
        p.dialogs.clearLog();
        p.dialogs.queueAnswer(MsgResult::Yes);
        card->Imprimir1->trigger();
        const auto& shown = p.dialogs.shown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].icon, MsgIcon::Question);
        QCOMPARE(shown[1].kind, QStringLiteral("save"));
        QCOMPARE(QFileInfo(shown[1].text).fileName(), card->windowTitle() + QStringLiteral(".pdf"));
        QVERIFY(card->isVisible()); // the card stays
    }

    void printsTheCardOnOnePdfPage() {
        const QString why = cups.start();
        if (!why.isEmpty())
            QSKIP(qPrintable(why));
        QCOMPARE(QPrinterInfo::defaultPrinter().printerName(), QStringLiteral("PDF"));

        CardPrinting p;
        TFrmClubeSelecionado* card = p.openedCard();
        QVERIFY(card);
        const QImage screen = card->client()->grab().toImage();
        const CupsFixture::Snapshot before = CupsFixture::pdfs();
        card->Imprimir1->trigger();
        QVERIFY2(p.dialogs.shown().isEmpty(),
                 qPrintable(p.dialogs.messages().join(QLatin1Char('\n'))));

        const QString pdf = cups.awaitPdf(before);
        QVERIFY2(!pdf.isEmpty(),
                 qPrintable(QStringLiteral("no PDF arrived; log: %1").arg(cups.errorLog())));
        QCOMPARE(CupsFixture::pageCount(pdf), 1);

        const CupsFixture::PrintedPage printed =
            cups.renderPrinted(pdf, card->client(), Printing::marginMm);
        const QImage& rendered = printed.image;
        QVERIFY(!rendered.isNull());
        const auto onPage = [&](const QRect& r) { return printed.onPage(r); };

        // The dark header band at the top-left, the light area under it: the client
        // area starts the page, with no menu bar above it.
        const QRect band(6, 4, 24, 16);
        const QColor printedBand = CupsFixture::meanColour(rendered, onPage(band));
        QVERIFY2(printedBand.lightness() < 90, qPrintable(printedBand.name()));
        QVERIFY(CupsFixture::near(CupsFixture::meanColour(screen, band), printedBand, 40));
        const QRect light(10, 262, 40, 20);
        QVERIFY(CupsFixture::meanColour(rendered, onPage(light)).lightness() > 180);
        // Badge, flags and logo keep their colours in their places.
        for (QLabel* picture : {card->ImgEscudoClube, card->ImgBandeiraPais, card->ImgLogoFeder,
                                card->ImgBandeiraUF}) {
            const QRect inner = picture->geometry().adjusted(6, 6, -6, -6);
            const QColor shown = CupsFixture::meanColour(screen, inner);
            const QColor printed = CupsFixture::meanColour(rendered, onPage(inner));
            QVERIFY2(CupsFixture::near(shown, printed, 40),
                     qPrintable(QStringLiteral("%1: %2 on screen, %3 printed")
                                    .arg(picture->objectName(), shown.name(), printed.name())));
        }
        // The white short name over the band.
        const QRect name = card->LblNomeClube->geometry();
        int white = 0;
        for (int y = name.top(); y <= name.bottom(); ++y)
            for (int x = name.left(); x <= name.right(); ++x)
                if (qGray(rendered.pixel(onPage(QRect(x, y, 1, 1)).topLeft())) > 220)
                    ++white;
        QVERIFY2(white > 50, qPrintable(QString::number(white)));
    }
};

QTEST_MAIN(TestCardPrinting)
#include "test_card_printing.moc"
